// Draws the channel editor of a Tonvex-SU in MOH mode with rows in all
// three lists into a PNG, for the documentation:
//   channel_editor_picture FILE.png
// Run it on a display at 96 dots per inch (scripts/screenshots.sh does).

#include <QApplication>
#include <QTimer>
#include <cstdio>

#include "gui/app/Application.h"
#include "gui/channel/ChannelDlg.h"
#include "gui/channel/MediaListBox.h"
#include "session/DeviceModel.h"
#include "support/ScreenTest.h"

using namespace corvane;

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  PrepareApplication(app);
  if (argc != 2) {
    std::fprintf(stderr, "usage: channel_editor_picture FILE.png\n");
    return 64;
  }
  test::StandInProject project;
  test::RecordingScreens screens;
  SessionState& session = project.session;
  session.ApplyModel(ModelNumber(DeviceModel::TonvexSU), true);
  session.Security.MohMode = true;
  session.Security.DeviceDescription = "Front desk";
  ChannelConfig& channel = session.Channel1;
  channel = test::FreshChannel();
  channel.Music.entries = {EntryFor(232, "default_music.ogg"), EntryFor(187, "spring_waltz.ogg"),
                           EntryFor(243, "harbour_lights.ogg"), EntryFor(201, "quiet_morning.ogg")};
  channel.Music.Media_Duration = TotalDuration(channel.Music.entries);
  channel.Messages.entries = {EntryFor(24, "welcome.ogg"), EntryFor(31, "opening_hours.ogg"),
                              EntryFor(18, "please_hold.ogg")};
  channel.Messages.Media_Duration = TotalDuration(channel.Messages.entries);
  channel.Scheduled.AddEntry(EntryFor(22, "lunch_break.ogg"), 12 * 3600, 0x1C011F3E);
  channel.Scheduled.AddEntry(EntryFor(27, "closing_soon.ogg"), 17 * 3600 + 1800, 0x1C011F3E);
  channel.Scheduled.Media_Duration = 49;
  project.home.Channel1Modified = true;
  CChannelDlg editor(project.context, screens, 1);
  editor.ListBox(MediaListKind::Music)->Rows().Click(1, {});
  editor.ListBox(MediaListKind::Music)->Refresh();
  editor.ListBox(MediaListKind::Scheduled)->Rows().Click(1, {});
  editor.ListBox(MediaListKind::Scheduled)->Refresh();
  editor.show();
  editor.Tick();
  int status = 1;
  QTimer::singleShot(300, [&] {
    status = editor.grab().save(QString::fromLocal8Bit(argv[1])) ? 0 : 1;
    editor.hide();
    app.quit();
  });
  app.exec();
  return status;
}

// Draws screens no start-up reaches by itself into PNG files for the
// documentation: the channel editor of a Tonvex-SU in MOH mode with rows in
// all three lists, the home screen of each model (a player with MOH mode on
// and off), the media security screen with two devices and a stale date,
// and the progress dialog.
//   screen_pictures FOLDER
// Run it on a display at 96 dots per inch (scripts/screenshots.sh does).

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QProgressBar>
#include <QTimer>
#include <cstdio>
#include <functional>
#include <memory>

#include "gui/app/Application.h"
#include "gui/app/MainDlg.h"
#include "gui/audio/RecordDlg.h"
#include "gui/channel/ChannelDlg.h"
#include "gui/channel/MediaListBox.h"
#include "gui/package/ImportExportDlg.h"
#include "gui/package/SelectDRMDlg.h"
#include "package/SecuritySettingsFile.h"
#include "session/DeviceModel.h"
#include "support/ScreenTest.h"
#include "support/ScriptedAudioInput.h"

using namespace corvane;

namespace {

// Shows the screen, lets it draw, and saves it as FOLDER/name.
bool Picture(QWidget& screen, const QString& folder, const char* name) {
  screen.show();
  bool saved = false;
  QTimer::singleShot(300, [&] {
    saved = screen.grab().save(folder + QLatin1Char('/') + QString::fromLatin1(name));
    screen.hide();
    QCoreApplication::exit(0);
  });
  QCoreApplication::exec();
  if (!saved) std::fprintf(stderr, "could not save %s\n", name);
  return saved;
}

void FillChannel(ChannelConfig& channel) {
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
}

bool ChannelEditorPicture(const QString& folder) {
  test::StandInProject project;
  test::RecordingScreens screens;
  project.session.ApplyModel(ModelNumber(DeviceModel::TonvexSU), true);
  project.session.Security.MohMode = true;
  project.session.Security.DeviceDescription = "Front desk";
  FillChannel(project.session.Channel1);
  project.home.Channel1Modified = true;
  CChannelDlg editor(project.context, screens, 1);
  for (const MediaListKind kind : {MediaListKind::Music, MediaListKind::Scheduled}) {
    editor.ListBox(kind)->Rows().Click(1, {});
    editor.ListBox(kind)->Refresh();
  }
  editor.Tick();
  return Picture(editor, folder, "channel-editor.png");
}

bool HomePicture(const QString& folder, DeviceModel model, bool moh, const char* name) {
  test::StandInProject project;
  test::RecordingScreens screens;
  project.session.Security.MohMode = moh;
  project.session.Security.DeviceDescription = "Front desk";
  // A device change reloads the settings as the login stored them.
  SaveSecuritySettings(project.session.Security, project.session.Folders.ApplicationFolder, false);
  CMainDlg home(project.context, screens);
  if (model != DeviceModel::TonvexOne) {
    auto* device = home.findChild<QComboBox*>(QStringLiteral("device"));
    device->setCurrentIndex(ModelNumber(model) - 1);
    emit device->activated(device->currentIndex());
  }
  return Picture(home, folder, name);
}

bool SecurityPicture(const QString& folder) {
  test::StandInProject project;
  test::RecordingScreens screens;
  SessionState& session = project.session;
  session.ApplyModel(ModelNumber(DeviceModel::TonvexSU), true);
  session.Security.MohMode = true;
  session.Security.RestoreOffered = false;
  session.Security.Devices.push_back({"0000000000001A2B", "Front desk", "Europe/Berlin"});
  session.Security.DeviceId = "0000000000001A2B";
  const LocalDateTime now = project.clock.Now();
  session.Security.StaleDate = {{now.Year + 1, 1, 31, 0, 0, 0}, true};
  session.Security.LastConfirmedDate = {now, true};
  CSelectDRMDlg security(project.context, screens);
  return Picture(security, folder, "media-security.png");
}

bool ProgressPicture(const QString& folder) {
  CImportExportDlg progress(CImportExportDlg::kSavingText, [](Progress&) { return PackageStatus::Ok; });
  progress.findChild<QProgressBar*>(QStringLiteral("progress"))->setValue(45);
  return Picture(progress, folder, "progress.png");
}

// The recorder 12 seconds into a take, the voice at two thirds of the bar.
bool RecorderPicture(const QString& folder) {
  test::StandInProject project;
  test::ScriptedAudioInput input;
  input.devices = {"Built-in Microphone", "USB Headset Microphone"};
  CRecordDlg recorder(input, project.player, project.op,
                      RecorderWorkFile(project.session.Folders.ApplicationFolder));
  if (!recorder.Open()) return false;
  recorder.show();
  test::Click(recorder.findChild<QAbstractButton*>(QStringLiteral("record")));
  // The screen's own timer goes on ticking while the picture is taken.
  for (int tick = 0; tick < 140; ++tick) {
    input.blocks.emplace_back(kMeterBlockSamples, static_cast<std::int16_t>(tick % 2 ? 11000 : -11000));
  }
  for (int tick = 0; tick < 120; ++tick) recorder.RecordTick();
  return Picture(recorder, folder, "recorder.png");
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  PrepareApplication(app);
  if (argc != 2) {
    std::fprintf(stderr, "usage: screen_pictures FOLDER\n");
    return 64;
  }
  const QString folder = QString::fromLocal8Bit(argv[1]);
  bool ok = ChannelEditorPicture(folder);
  ok = HomePicture(folder, DeviceModel::TonvexSU, true, "home-su-moh.png") && ok;
  ok = HomePicture(folder, DeviceModel::TonvexSU, false, "home-su.png") && ok;
  ok = HomePicture(folder, DeviceModel::TonvexOne, true, "home-one-moh.png") && ok;
  ok = HomePicture(folder, DeviceModel::TonvexMix, false, "home-mix.png") && ok;
  ok = SecurityPicture(folder) && ok;
  ok = ProgressPicture(folder) && ok;
  ok = RecorderPicture(folder) && ok;
  return ok ? 0 : 1;
}

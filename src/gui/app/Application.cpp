#include "gui/app/Application.h"

#include <QApplication>
#include <QIcon>
#include <QSessionManager>

#include "gui/app/NestedScreens.h"
#include "gui/app/QtOperator.h"
#include "gui/app/SessionScreens.h"
#include "gui/app/SystemEndSignals.h"
#include "gui/audio/QtMediaPlayer.h"
#include "gui/chrome/ChromeLook.h"
#include "gui/chrome/Pictures.h"
#include "project/ProjectContext.h"
#include "project/SessionRun.h"

namespace corvane {

void PrepareApplication(QApplication& app) {
  QApplication::setApplicationName(QStringLiteral("corvane"));
  QApplication::setApplicationDisplayName(QStringLiteral("Corvane"));
  QApplication::setFont(ChromeFont(8, Weight::Regular));
  app.setWindowIcon(QIcon(LoadPicture(Picture::Application)));
  // The session decides when the program ends; a moment with no window shown
  // (the login screen hidden behind the change-password screen) is not it.
  QApplication::setQuitOnLastWindowClosed(false);
}

int RunApplication(int argc, char** argv) {
  // First of all, so that a signal at any later moment still ends the run
  // cleanly instead of leaving working files behind.
  SystemEndSignals systemEnd;

  // The lock, the folders and the settings need no screen. A second copy
  // ends here, before anything could show (or even reach the display).
  SessionState& session = CurrentSession();
  InstanceLock lock;
  if (StartSession(session, lock) == StartResult::AlreadyRunning) return 0;

  QApplication app(argc, argv);
  PrepareApplication(app);

  // The shared player; without a sound device it stays silent.
  QtMediaPlayer player;
  QtOperator op;
  HomeState home;
  SystemClock clock;
  FfmpegAudioConverter converter;
  // No screen shows a conversion's progress yet.
  NoProgress progress;
  ProjectContext context{session, home, op, clock, converter, player, progress, TraceLog()};
  DesktopScreens screens;
  // Ending every event loop unwinds every open screen; the session then ends
  // as it always does.
  systemEnd.Watch([] { QCoreApplication::exit(0); });
  // The desktop announcing log-off or shutdown: nothing worth keeping is in
  // the temporary folder, so empty it and let the session go.
  QObject::connect(&app, &QGuiApplication::commitDataRequest,
                   [&session](QSessionManager& /*manager*/) { session.ClearTempFolder(); });

  RunSessionScreens(context, screens, [&systemEnd] { return systemEnd.Requested(); });
  player.Stop();
  player.Release();
  return EndSession(session);
}

}  // namespace corvane

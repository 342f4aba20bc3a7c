#include "gui/app/Application.h"

#include <QApplication>
#include <QIcon>
#include <QSessionManager>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "gui/app/AboutDlg.h"
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
namespace {

constexpr const char* kUsage =
    "Usage: corvane [FILE.ipc]\n"
    "       corvane --help | --version\n"
    "\n"
    "Prepares Music On Hold content and media packages for Tonvex players.\n"
    "Starts at the login screen. A media package given as FILE.ipc is opened\n"
    "once the login is accepted, as \"Open Existing File\" opens it.\n"
    "\n"
    "Options:\n"
    "  --help      show this text and exit\n"
    "  --version   show the program version and exit\n";

constexpr int kUsageError = 64;

}  // namespace

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
  // Answered before anything starts: no lock, no folders, no display.
  const std::vector<std::string> words(argv + 1, argv + argc);
  if (words.size() == 1 && (words[0] == "--help" || words[0] == "-h")) {
    std::fputs(kUsage, stdout);
    return 0;
  }
  if (words.size() == 1 && words[0] == "--version") {
    std::printf("corvane %s\n", CAboutDlg::kVersion);
    return 0;
  }
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
  // Qt has taken its own options out; what is left is at most the package.
  const QStringList given = QApplication::arguments().mid(1);
  if (given.size() > 1 || (given.size() == 1 && given[0].startsWith(QLatin1Char('-')))) {
    std::fputs(kUsage, stderr);
    EndSession(session);
    return kUsageError;
  }
  std::optional<std::filesystem::path> package;
  if (given.size() == 1) package = std::filesystem::path(given[0].toStdString());

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

  RunSessionScreens(context, screens, [&systemEnd] { return systemEnd.Requested(); }, package);
  player.Stop();
  player.Release();
  return EndSession(session);
}

}  // namespace corvane

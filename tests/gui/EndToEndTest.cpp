// The whole road from the desktop, in one process: log in, pick a model,
// fill a channel in the real editor with files the real converter takes in,
// save a package through the real progress dialog, check it with the
// command-line tool, and open it back; and the ways an open fails.
#include <QComboBox>
#include <QLabel>
#include <QCoreApplication>
#include <QProcess>
#include <QThread>

#include "core/audio/AudioSignals.h"
#include "gui/app/LoginDlg.h"
#include "gui/app/MainDlg.h"
#include "gui/channel/ChannelDlg.h"
#include "gui/channel/MediaListBox.h"
#include "gui/chrome/ActionList.h"
#include "gui/chrome/ColorButton.h"
#include "gui/package/ImportExportDlg.h"
#include "support/ScreenTest.h"

namespace corvane::test {
namespace {

// The real editor and progress dialog, driven as the operator would.
class DrivingScreens final : public NestedScreens {
 public:
  void HelpBox(QWidget*) override {}
  int ChannelEditor(QWidget* parent, ProjectContext& context, int channelNumber) override {
    CChannelDlg editor(context, *this, channelNumber, parent);
    ShowScreen(editor);
    fillEditor(editor);
    Click(Find<QAbstractButton>(&editor, "save"));
    return editor.result();
  }
  std::optional<std::filesystem::path> RecordAudioFile(QWidget*, ProjectContext&) override {
    return std::nullopt;
  }
  int MediaSecurity(QWidget*, ProjectContext&) override { return 0; }
  void SamplingRates(QWidget*, ProjectContext&, bool) override {}
  int PackageProgress(QWidget* parent, const std::string& text, const ProgressWork& work) override {
    // The flow runs elsewhere; its dialog must still come to the UI thread.
    EXPECT_EQ(QThread::currentThread(), QCoreApplication::instance()->thread());
    CImportExportDlg dialog(text, work, parent);
    WhenScreenOpens([this](QDialog& screen) {
      auto& progress = static_cast<CImportExportDlg&>(screen);
      progress.Start();
      if (!progress.isVisible()) return;
      shownTexts.push_back(Find<QLabel>(&progress, "text")->text().toStdString());
      auto* ok = Find<CColorButton>(&progress, "ok");
      if (ok->isVisible()) {
        Click(ok);
      } else {
        progress.HoldTick();
      }
    });
    return dialog.Run();
  }

  std::function<void(CChannelDlg&)> fillEditor;
  std::vector<std::string> shownTexts;
};

class GuiEndToEnd : public ::testing::Test, protected StandInProject {
 protected:
  void TearDown() override { FinishScreenLooks(); }

  // Logs in with the factory credentials; the home screen opens on Tonvex-One.
  std::unique_ptr<CMainDlg> LogInAndOpenHome(int model) {
    CLoginDlg login(session, op);
    ShowScreen(login);
    Retype(Find(&login, "userName"), "tavik");
    Retype(Find(&login, "password"), "tavik");
    Click(Find<CColorButton>(&login, "ok"));
    EXPECT_EQ(login.result(), ChromeDialog::kConfirmed);
    auto homeScreen = std::make_unique<CMainDlg>(context, screens);
    ShowScreen(*homeScreen);
    auto* device = Find<QComboBox>(homeScreen.get(), "device");
    device->setCurrentIndex(model - 1);
    PressEnter(device);
    return homeScreen;
  }
  static void Pick(CMainDlg& screen, const char* list, const char* entry) {
    auto* actions = Find<ActionList>(&screen, list);
    actions->setCurrentIndex(actions->findText(QString::fromLatin1(entry)));
    PressEnter(actions);
  }
  // The editor takes one dropped file into the music list.
  void FillWithASong() {
    const auto song = data.Path() / "song.wav";
    WriteWave(song, 22050, Sine(330, 22050, 3.0));
    screens.fillEditor = [song](CChannelDlg& editor) {
      emit editor.ListBox(MediaListKind::Music)->FilesDropped({QString::fromStdString(song.string())});
    };
  }
  std::filesystem::path SavePackage(CMainDlg& screen, const std::string& name) {
    const auto folder = data.Path() / "packages";
    std::filesystem::create_directories(folder);
    op.ExpectSaveFile(folder / (name + ".ipc"));
    Pick(screen, "file", "Save Current Content to File");
    const auto names = NamesIn(folder);
    EXPECT_EQ(names.size(), 1u);
    return names.empty() ? folder : folder / names[0];
  }
  static int Verify(const std::filesystem::path& package, const QStringList& options = {}) {
    return QProcess::execute(QStringLiteral(CORVANE_CLI_EXE),
                             QStringList{"package", "verify", QString::fromStdString(package.string())} +
                                 options);
  }

  DrivingScreens screens;
};

TEST_F(GuiEndToEnd, ATonvexSUChannelSavedAsAPackageOpensBackWhole) {
  auto homeScreen = LogInAndOpenHome(1);
  FillWithASong();
  Pick(*homeScreen, "configure", "Channel 1 Media/Messages");
  ASSERT_TRUE(homeScreen->isVisible());
  // The first tick gave the untouched channel the default music first.
  const ChannelConfig saved = session.Channel1;
  ASSERT_EQ(saved.Music.entries.size(), 2u);
  EXPECT_EQ(saved.Music.entries[1].Line(), "00:00:03 | song.ogg");

  op.ExpectQuestion("Continue saving file?", "Channel 2 not Modified", OperatorAnswer::Yes);
  const auto package = SavePackage(*homeScreen, "shop");
  EXPECT_EQ(Verify(package), 0);

  // Opened as when Corvane is started with the package: no file dialog.
  session.Channel1.ResetPlaylists();
  homeScreen->OpenWhenShown(package);
  QCoreApplication::processEvents();
  EXPECT_EQ(session.Channel1.Music.entries, saved.Music.entries);
  EXPECT_EQ(NamesIn(Temp()), std::vector<std::string>{"song.ogg"});
  EXPECT_EQ(screens.shownTexts,
            (std::vector<std::string>{"File successfully saved.", "File successfully loaded."}));
}

// Each codec's export is checked where the export is; here, that the menu
// leads there and the production comes out whole.
TEST_F(GuiEndToEnd, ATonvexMixProductionIsExported) {
  auto homeScreen = LogInAndOpenHome(3);
  FillWithASong();
  Pick(*homeScreen, "configure", "Media/Messages");
  session.Audio.OutputCodec.Set("libvorbis");
  op.ExpectSaveFile(data / "lobby.ogg");
  Pick(*homeScreen, "file", "Create Audio Production");
  EXPECT_GE(DecodeAll(data / "lobby.ogg", 8000).size(), 8000u * 3);
}

}  // namespace
}  // namespace corvane::test

// The desktop's operator: what the message boxes and file dialogs show, and
// what the operator's answer comes back as.
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>

#include "gui/app/FileDialogFilter.h"
#include "gui/app/QtOperator.h"
#include "support/ScreenDriver.h"
#include "support/TempFolder.h"

namespace corvane::test {
namespace {

TEST(GuiFileDialogFilter, PairsBecomeQtFiltersAndAllFilesListsEverything) {
  EXPECT_EQ(QtNameFilters("Media Packages (*.ipc)|*.ipc|All Files (*.*)|*.*||"),
            QStringList({"Media Packages (*.ipc)", "All Files (*)"}));
  EXPECT_EQ(QtNameFilters("Audio|*.wav;*.ogg; *.mp3|"), QStringList({"Audio (*.wav *.ogg *.mp3)"}));
  // The shown brackets are replaced by the real patterns.
  EXPECT_EQ(QtNameFilters("Backups (*.bak)|*.isf||"), QStringList({"Backups (*.isf)"}));
  // Incomplete pairs are left out.
  EXPECT_EQ(QtNameFilters("Text (*.x)|*.x|Dangling"), QStringList({"Text (*.x)"}));
  EXPECT_EQ(QtNameFilters("|*.x|Text||"), QStringList());
  EXPECT_TRUE(QtNameFilters("").isEmpty());

  EXPECT_EQ(QtDefaultSuffix(".ipc"), "ipc");
  EXPECT_EQ(QtDefaultSuffix("wav"), "wav");
  EXPECT_EQ(QtDefaultSuffix(""), "");
}

struct BoxCase {
  OperatorButtons buttons;
  OperatorIcon icon;
  QMessageBox::StandardButton press;
  OperatorAnswer expected;
  QMessageBox::StandardButtons shown;
  QMessageBox::Icon shownIcon;
};

// A message is a box with OK alone, so Tell is the row that offers only OK.
TEST(GuiQtOperator, BoxesShowTitleTextIconAndButtonsAndGiveTheAnswer) {
  const BoxCase cases[] = {
      {OperatorButtons::YesNo, OperatorIcon::Exclamation, QMessageBox::No, OperatorAnswer::No,
       QMessageBox::Yes | QMessageBox::No, QMessageBox::Warning},
      {OperatorButtons::YesNo, OperatorIcon::Information, QMessageBox::Yes, OperatorAnswer::Yes,
       QMessageBox::Yes | QMessageBox::No, QMessageBox::Information},
      {OperatorButtons::OkCancel, OperatorIcon::Stop, QMessageBox::Cancel, OperatorAnswer::Cancel,
       QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Critical},
      {OperatorButtons::YesNoCancel, OperatorIcon::Question, QMessageBox::Cancel,
       OperatorAnswer::Cancel, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel,
       QMessageBox::Question},
      {OperatorButtons::Ok, OperatorIcon::Information, QMessageBox::Ok, OperatorAnswer::Ok,
       QMessageBox::Ok, QMessageBox::Information},
  };
  const std::string title = "Exit Corvane", text = "Are you sure\nyou want to <b>exit</b>?";
  QtOperator op;
  for (const BoxCase& c : cases) {
    WhenScreenOpens([&](QDialog& screen) {
      auto* box = qobject_cast<QMessageBox*>(&screen);
      ASSERT_NE(box, nullptr);
      EXPECT_EQ(box->windowTitle().toStdString(), title);
      EXPECT_EQ(box->text().toStdString(), text);
      EXPECT_EQ(box->textFormat(), Qt::PlainText);
      EXPECT_EQ(box->standardButtons(), c.shown);
      EXPECT_EQ(box->icon(), c.shownIcon);
      Click(box->button(c.press));
    });
    if (c.buttons == OperatorButtons::Ok) {
      op.Tell(title, text, c.icon);
    } else {
      EXPECT_EQ(op.Ask(title, text, c.buttons, c.icon), c.expected);
    }
    EXPECT_TRUE(ScreenWasDriven());
  }
}

// Each dialog is driven as the operator pressing Save or Open, or Cancel.
TEST(GuiQtOperator, FileDialogsCarryTheRequestAndGiveTheChosenFilesOrNothing) {
  TempFolder folder;
  WriteWholeFile(folder / "a.ipc", std::vector<std::uint8_t>{1});
  WriteWholeFile(folder / "b.ipc", std::vector<std::uint8_t>{1});
  QtOperator op;
  FileDialogRequest request{"Media Packages (*.ipc)|*.ipc|All Files (*.*)|*.*||",
                            (folder / "project").string(), ".ipc", true};
  WhenScreenOpens([](QDialog& screen) {
    auto* dialog = qobject_cast<QFileDialog*>(&screen);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->acceptMode(), QFileDialog::AcceptSave);
    EXPECT_EQ(dialog->nameFilters(), QStringList({"Media Packages (*.ipc)", "All Files (*)"}));
    EXPECT_EQ(dialog->defaultSuffix(), "ipc");
    EXPECT_FALSE(dialog->testOption(QFileDialog::DontConfirmOverwrite));
    screen.accept();
  });
  EXPECT_EQ(op.ChooseFileToSave(request), std::optional(folder / "project.ipc"));
  request.overwritePrompt = false;
  WhenScreenOpens([](QDialog& screen) {
    EXPECT_TRUE(qobject_cast<QFileDialog*>(&screen)->testOption(QFileDialog::DontConfirmOverwrite));
    screen.reject();
  });
  EXPECT_EQ(op.ChooseFileToSave(request), std::nullopt);

  request = {"Media Packages (*.ipc)|*.ipc||", (folder / "a.ipc").string(), "", false};
  WhenScreenOpens([](QDialog& screen) {
    auto* dialog = qobject_cast<QFileDialog*>(&screen);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->acceptMode(), QFileDialog::AcceptOpen);
    EXPECT_EQ(dialog->fileMode(), QFileDialog::ExistingFile);
    screen.accept();
  });
  EXPECT_EQ(op.ChooseFileToOpen(request), std::optional(folder / "a.ipc"));
  WhenScreenOpens([](QDialog& screen) { screen.reject(); });
  EXPECT_EQ(op.ChooseFileToOpen(request), std::nullopt);
  WhenScreenOpens([&](QDialog& screen) {
    auto* dialog = qobject_cast<QFileDialog*>(&screen);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->fileMode(), QFileDialog::ExistingFiles);
    dialog->selectFile("\"a.ipc\" \"b.ipc\"");
    screen.accept();
  });
  EXPECT_EQ(op.ChooseFilesToOpen(request), (std::vector{folder / "a.ipc", folder / "b.ipc"}));
}

}  // namespace
}  // namespace corvane::test

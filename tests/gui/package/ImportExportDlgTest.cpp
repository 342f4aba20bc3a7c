// The progress dialog of saving and opening: the work off the UI thread,
// the texts it ends with, and how it closes; and questions asked from a
// worker thread, which the desktop's operator shows on the UI thread.
#include <QApplication>
#include <QCoreApplication>
#include <QTimer>
#include <QLabel>
#include <QMessageBox>
#include <QProgressBar>
#include <QThread>

#include "gui/app/QtOperator.h"
#include "gui/chrome/ColorButton.h"
#include "gui/chrome/OffUiThread.h"
#include "gui/package/ImportExportDlg.h"
#include "support/ScreenDriver.h"

namespace corvane::test {
namespace {

TEST(GuiImportExportDlg, TheWorkRunsOffTheUiThreadAndItsStatusDecidesTheEnd) {
  const struct {
    const char* text;
    PackageStatus status;
    const char* shown;  // null: closed at once
    bool okShown;
  } cases[] = {
      {CImportExportDlg::kSavingText, PackageStatus::Ok, "File successfully saved.", false},
      {CImportExportDlg::kOpeningText, PackageStatus::Ok, "File successfully loaded.", false},
      {CImportExportDlg::kOpeningText, PackageStatus::UserCancelled, nullptr, false},
      {CImportExportDlg::kOpeningText, PackageStatus::FileCrcError, "", true},
      {CImportExportDlg::kSavingText, PackageStatus::UserCancelled, "", true},
  };
  for (const auto& c : cases) {
    bool offUiThread = false;
    CImportExportDlg dialog(c.text, [&](Progress& progress) {
      offUiThread = QThread::currentThread() != QCoreApplication::instance()->thread();
      progress.SetPosition(40);
      return c.status;
    });
    ShowScreen(dialog);
    EXPECT_EQ(Find<QLabel>(&dialog, "text")->text(), c.text);
    dialog.Start();
    EXPECT_TRUE(offUiThread);
    auto* ok = Find<CColorButton>(&dialog, "ok");
    EXPECT_EQ(ok->isVisible(), c.okShown) << c.text;
    const QString shown = c.shown == nullptr || *c.shown != '\0'
                              ? QString::fromLatin1(c.shown)
                              : QString::fromLatin1(PackageStatusText(c.status).data());
    if (c.shown == nullptr) {
      EXPECT_FALSE(dialog.isVisible());
    } else {
      EXPECT_EQ(Find<QLabel>(&dialog, "text")->text(), shown);
      // Only OK or the end of the two seconds close it; Escape never does.
      PressEscape(&dialog);
      EXPECT_TRUE(dialog.isVisible());
      if (c.okShown) {
        EXPECT_EQ(Find<QProgressBar>(&dialog, "progress")->value(), 40);
        PressEnter(ok);
      } else {
        EXPECT_EQ(Find<QProgressBar>(&dialog, "progress")->value(), 100);
        dialog.HoldTick();
      }
      EXPECT_FALSE(dialog.isVisible());
    }
    EXPECT_EQ(dialog.result(), static_cast<int>(c.status)) << c.text;
  }
}

TEST(GuiQtOperator, AQuestionFromAWorkerThreadIsShownOnTheUiThread) {
  QtOperator op;
  bool shownOnUiThread = false;
  int looks = 0;
  // The worker asks only once its thread runs: look until the box is there,
  // and give up (closing it) rather than hang.
  QTimer looker;
  looker.setInterval(5);
  QObject::connect(&looker, &QTimer::timeout, [&] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (box == nullptr && ++looks < 1000) return;
    looker.stop();
    ASSERT_NE(box, nullptr) << "no box was shown";
    shownOnUiThread = QThread::currentThread() == QCoreApplication::instance()->thread();
    box->button(QMessageBox::Yes)->click();
  });
  looker.start();
  OperatorAnswer answer = OperatorAnswer::No;
  RunOffUiThread([&] {
    answer = op.Ask("Confirm Save As", "shop.ipc already exists.", OperatorButtons::YesNo,
                    OperatorIcon::Exclamation);
  });
  EXPECT_TRUE(shownOnUiThread);
  EXPECT_EQ(answer, OperatorAnswer::Yes);
}

}  // namespace
}  // namespace corvane::test

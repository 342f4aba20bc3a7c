#include "gui/package/ImportExportDlg.h"

#include <QLabel>
#include <QProgressBar>

#include "gui/chrome/ColorButton.h"
#include "gui/chrome/OffUiThread.h"
#include "package/PackageStatus.h"

namespace corvane {

CImportExportDlg::CImportExportDlg(std::string text, ProgressWork work, QWidget* parent)
    : ChromeDialog(QSize(320, 101), 0, parent), text_(std::move(text)), work_(std::move(work)) {
  setObjectName(QStringLiteral("CImportExportDlg"));
  setWindowTitle(QString());
  line_ = AddLabel("text", QString::fromStdString(text_), ChromeFont(12, Weight::Bold),
                   kBannerColor, QRect(10, 15, 300, 15));
  bar_ = new QProgressBar(this);
  bar_->setObjectName(QStringLiteral("progress"));
  bar_->setAccessibleName(QString::fromStdString(text_));
  bar_->setGeometry(Units().Rect(10, 40, 300, 20));
  bar_->setRange(0, 100);
  bar_->setValue(0);
  bar_->setTextVisible(false);
  bar_->setStyleSheet(QStringLiteral("QProgressBar::chunk { background: rgb(26, 82, 142); }"));
  ok_ = AddButton("ok", QStringLiteral("OK"), QRect(230, 68, 80, 22));
  UseActionScheme(*ok_, 14);
  ok_->hide();
  connect(ok_, &QAbstractButton::clicked, this, [this] { done(code_); });
  hold_.setSingleShot(true);
  hold_.setInterval(kSuccessHoldMs);
  connect(&hold_, &QTimer::timeout, this, &CImportExportDlg::HoldTick);
}

CImportExportDlg::~CImportExportDlg() = default;

int CImportExportDlg::Run() {
  QTimer::singleShot(1, this, &CImportExportDlg::Start);
  return RunModal();
}

void CImportExportDlg::Start() {
  if (started_) return;
  started_ = true;
  working_ = true;
  BarProgress shown(*bar_);
  int code = 0;
  {
    // Reports still queued when the work ends go with the relay, so none
    // lands after the result.
    QObject relay;
    HandedOverProgress progress(relay, shown);
    RunOffUiThread([&] { code = static_cast<int>(work_(progress)); });
  }
  working_ = false;
  Finish(code);
}

void CImportExportDlg::Finish(int code) {
  code_ = code;
  const bool opening = text_ == kOpeningText;
  if (code == 0) {
    line_->setText(opening ? QStringLiteral("File successfully loaded.")
                           : QStringLiteral("File successfully saved."));
    bar_->setRange(0, 100);
    bar_->setValue(100);
    hold_.start();
    return;
  }
  if (opening && code == static_cast<int>(PackageStatus::UserCancelled)) {
    done(code);
    return;
  }
  line_->setText(QString::fromLatin1(PackageStatusText(code).data(),
                                     static_cast<qsizetype>(PackageStatusText(code).size())));
  ok_->show();
  ok_->setFocus();
}

void CImportExportDlg::HoldTick() {
  hold_.stop();
  done(code_);
}

QAbstractButton* CImportExportDlg::ButtonForEnter(QWidget* focus) const {
  return focus == ok_ && ok_->isVisible() ? ok_ : nullptr;
}

}  // namespace corvane

#include "gui/app/MainDlg.h"

#include <QKeyEvent>
#include <QLabel>

#include "gui/app/NestedScreens.h"
#include "gui/chrome/ActionList.h"
#include "gui/chrome/ColorButton.h"
#include "project/ProjectContext.h"

namespace corvane {
namespace {

constexpr int kWidthUnits = 450;
constexpr int kHeightUnits = 310;
constexpr int kBannerUnits = 37;
constexpr int kColumnUnits = 170;

}  // namespace

CMainDlg::CMainDlg(ProjectContext& context, NestedScreens& screens, QWidget* parent)
    : ChromeDialog(QSize(kWidthUnits, kHeightUnits), kBannerUnits, parent),
      context_(context),
      screens_(screens) {
  setObjectName(QStringLiteral("CMainDlg"));
  // The home screen has no caption of its own.
  setWindowTitle(QString());

  AddTitle(20, QRect(10, 10, 150, 18), Qt::AlignLeft | Qt::AlignVCenter);
  AddPicture("picture", Picture::Home, QPoint(Units().X(10), Units().Y(45)));
  AddLabel("heading", QStringLiteral("Home Screen"), ChromeFont(27, Weight::Bold), kBannerColor,
           QRect(kColumnUnits, 44, 270, 26));
  QLabel* description = AddLabel("description",
           QStringLiteral("Configure your security settings, channel configuration, as well as "
                          "open and save encrypted media packages."),
           ChromeFont(12, Weight::Regular), kBlackText, QRect(kColumnUnits, 72, 270, 34),
           Qt::AlignLeft | Qt::AlignTop);
  description->setWordWrap(true);

  AddLabel("fileLabel", QStringLiteral("File"), ChromeFont(12, Weight::Bold), kBannerColor,
           QRect(kColumnUnits, 114, 120, 12));
  file_ = new ActionList(this);
  file_->setObjectName(QStringLiteral("file"));
  file_->setFont(ChromeFont(12, Weight::Regular));
  file_->setGeometry(Units().Rect(kColumnUnits, 128, 150, 16));
  file_->SetActions({QString::fromLatin1(kExitAction)});
  AddLogo();
  help_ = AddHelpButton();

  setTabOrder(file_, help_);
  file_->setFocus();

  connect(file_, &ActionList::ActionChosen, this, &CMainDlg::OnFileAction);
  connect(help_, &QAbstractButton::clicked, this, [this] { screens_.HelpBox(this); });
}

QAbstractButton* CMainDlg::ButtonForEnter(QWidget* focus) const {
  return focus == help_ ? help_ : nullptr;
}

void CMainDlg::keyPressEvent(QKeyEvent* event) {
  // Enter on a list runs the selected entry as if its drop-down had closed.
  const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
  if (enter && focusWidget() == file_) {
    event->accept();
    file_->ActOnSelection();
    return;
  }
  ChromeDialog::keyPressEvent(event);
}

void CMainDlg::OnFileAction(const QString& action) {
  if (action == QString::fromLatin1(kExitAction)) {
    // The preview stops before the question, whatever the answer.
    context_.player.Stop();
    AskToExit();
  }
}

// Closing the window asks the same question but leaves the player alone.
void CMainDlg::CloseRequested() { AskToExit(); }

void CMainDlg::AskToExit() {
  if (context_.op.Ask("Exit Corvane", "Are you sure you want to exit?", OperatorButtons::YesNo,
              OperatorIcon::Information) == OperatorAnswer::Yes) {
    done(kConfirmed);
  }
}

}  // namespace corvane

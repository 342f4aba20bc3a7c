#include "gui/app/QtOperator.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>

#include "gui/app/FileDialogFilter.h"
#include "gui/chrome/OffUiThread.h"

namespace corvane {
namespace {

// Boxes and dialogs stand over whichever screen is in front.
QWidget* FrontScreen() {
  if (QWidget* modal = QApplication::activeModalWidget()) return modal;
  return QApplication::activeWindow();
}

QMessageBox::Icon IconOf(OperatorIcon icon) {
  switch (icon) {
    case OperatorIcon::Stop: return QMessageBox::Critical;
    case OperatorIcon::Exclamation: return QMessageBox::Warning;
    case OperatorIcon::Information: return QMessageBox::Information;
    case OperatorIcon::Question: return QMessageBox::Question;
    case OperatorIcon::None: break;
  }
  return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons ButtonsOf(OperatorButtons buttons) {
  switch (buttons) {
    case OperatorButtons::Ok: return QMessageBox::Ok;
    case OperatorButtons::OkCancel: return QMessageBox::Ok | QMessageBox::Cancel;
    case OperatorButtons::YesNo: return QMessageBox::Yes | QMessageBox::No;
    case OperatorButtons::YesNoCancel:
      return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
  }
  return QMessageBox::Ok;
}

// A box closed without a button (the application ending under it) answers
// the safe way: No where there is no Cancel.
OperatorAnswer AnswerOf(QMessageBox::StandardButton clicked, OperatorButtons buttons) {
  switch (clicked) {
    case QMessageBox::Ok: return OperatorAnswer::Ok;
    case QMessageBox::Yes: return OperatorAnswer::Yes;
    case QMessageBox::No: return OperatorAnswer::No;
    case QMessageBox::Cancel: return OperatorAnswer::Cancel;
    default: break;
  }
  return buttons == OperatorButtons::YesNo ? OperatorAnswer::No : OperatorAnswer::Cancel;
}

int ShowBox(const std::string& title, const std::string& text, OperatorButtons buttons,
            OperatorIcon icon) {
  QMessageBox box(IconOf(icon), QString::fromStdString(title), QString::fromStdString(text),
                  ButtonsOf(buttons), FrontScreen());
  box.setTextFormat(Qt::PlainText);
  box.exec();
  QAbstractButton* clicked = box.clickedButton();
  return clicked == nullptr ? QMessageBox::NoButton : box.standardButton(clicked);
}

void Prepare(QFileDialog& dialog, const FileDialogRequest& request,
             QFileDialog::AcceptMode acceptMode, QFileDialog::FileMode fileMode) {
  // The mode first: the initial name goes into the field the mode provides.
  dialog.setAcceptMode(acceptMode);
  dialog.setFileMode(fileMode);
  dialog.setNameFilters(QtNameFilters(request.filter));
  dialog.setDefaultSuffix(QtDefaultSuffix(request.defaultExtension));
  if (!request.initialName.empty()) dialog.selectFile(QString::fromStdString(request.initialName));
  dialog.setOption(QFileDialog::DontConfirmOverwrite, !request.overwritePrompt);
}

std::vector<std::filesystem::path> Run(QFileDialog& dialog) {
  std::vector<std::filesystem::path> paths;
  if (dialog.exec() != QDialog::Accepted) return paths;
  for (const QString& file : dialog.selectedFiles()) paths.emplace_back(file.toStdString());
  return paths;
}

std::optional<std::filesystem::path> First(const std::vector<std::filesystem::path>& paths) {
  if (paths.empty()) return std::nullopt;
  return paths.front();
}

}  // namespace

// Boxes and dialogs live on the UI thread only; long work that asks from a
// worker thread waits there while the UI thread shows the question.
OperatorAnswer QtOperator::Ask(const std::string& title, const std::string& text,
                               OperatorButtons buttons, OperatorIcon icon) {
  return OnUiThread([&] {
    return AnswerOf(static_cast<QMessageBox::StandardButton>(ShowBox(title, text, buttons, icon)),
                    buttons);
  });
}

void QtOperator::Tell(const std::string& title, const std::string& text, OperatorIcon icon) {
  OnUiThread([&] { return ShowBox(title, text, OperatorButtons::Ok, icon); });
}

// The dialog's kind and filter, chosen on whichever thread asks.
static std::vector<std::filesystem::path> Choose(const FileDialogRequest& request,
                                          QFileDialog::AcceptMode acceptMode,
                                          QFileDialog::FileMode fileMode) {
  return OnUiThread([&] {
    QFileDialog dialog(FrontScreen());
    Prepare(dialog, request, acceptMode, fileMode);
    return Run(dialog);
  });
}

std::optional<std::filesystem::path> QtOperator::ChooseFileToOpen(const FileDialogRequest& request) {
  return First(Choose(request, QFileDialog::AcceptOpen, QFileDialog::ExistingFile));
}

std::vector<std::filesystem::path> QtOperator::ChooseFilesToOpen(const FileDialogRequest& request) {
  return Choose(request, QFileDialog::AcceptOpen, QFileDialog::ExistingFiles);
}

std::optional<std::filesystem::path> QtOperator::ChooseFileToSave(const FileDialogRequest& request) {
  return First(Choose(request, QFileDialog::AcceptSave, QFileDialog::AnyFile));
}

}  // namespace corvane

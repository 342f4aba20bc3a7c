#pragma once
// The operator seam on the desktop: message boxes and file dialogs. This is
// the only place in the program that shows either.

#include "operator/Operator.h"

namespace corvane {

class QtOperator final : public Operator {
 public:
  OperatorAnswer Ask(const std::string& title, const std::string& text, OperatorButtons buttons,
                     OperatorIcon icon) override;
  void Tell(const std::string& title, const std::string& text, OperatorIcon icon) override;
  std::optional<std::filesystem::path> ChooseFileToOpen(const FileDialogRequest& request) override;
  std::vector<std::filesystem::path> ChooseFilesToOpen(const FileDialogRequest& request) override;
  std::optional<std::filesystem::path> ChooseFileToSave(const FileDialogRequest& request) override;
};

}  // namespace corvane

#pragma once
// The operator's own answers, except that the next file to open has been
// chosen already: the package the desktop started Corvane with (a double
// click in the file manager) goes through "Open Existing File" as if picked
// in its dialog, questions and all.

#include <filesystem>
#include <optional>
#include <utility>

#include "operator/Operator.h"

namespace corvane {

class GivenFileOperator final : public Operator {
 public:
  GivenFileOperator(Operator& inner, std::filesystem::path file)
      : inner_(inner), file_(std::move(file)) {}

  OperatorAnswer Ask(const std::string& title, const std::string& text, OperatorButtons buttons,
                     OperatorIcon icon) override {
    return inner_.Ask(title, text, buttons, icon);
  }
  void Tell(const std::string& title, const std::string& text, OperatorIcon icon) override {
    inner_.Tell(title, text, icon);
  }
  std::optional<std::filesystem::path> ChooseFileToOpen(const FileDialogRequest& request) override {
    if (!file_) return inner_.ChooseFileToOpen(request);
    return std::exchange(file_, std::nullopt);
  }
  std::vector<std::filesystem::path> ChooseFilesToOpen(const FileDialogRequest& request) override {
    return inner_.ChooseFilesToOpen(request);
  }
  std::optional<std::filesystem::path> ChooseFileToSave(const FileDialogRequest& request) override {
    return inner_.ChooseFileToSave(request);
  }

 private:
  Operator& inner_;
  std::optional<std::filesystem::path> file_;
};

}  // namespace corvane

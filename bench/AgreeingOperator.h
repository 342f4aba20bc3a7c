#pragma once
// An operator who answers every question with Yes or OK and picks no file:
// benchmarks measure the work, not the questions.

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "operator/Operator.h"

namespace corvane {

class AgreeingOperator : public Operator {
 public:
  OperatorAnswer Ask(const std::string&, const std::string&, OperatorButtons buttons,
                     OperatorIcon) override {
    return buttons == OperatorButtons::YesNo ? OperatorAnswer::Yes : OperatorAnswer::Ok;
  }
  void Tell(const std::string&, const std::string&, OperatorIcon) override {}
  std::optional<std::filesystem::path> ChooseFileToOpen(const FileDialogRequest&) override {
    return std::nullopt;
  }
  std::vector<std::filesystem::path> ChooseFilesToOpen(const FileDialogRequest&) override {
    return {};
  }
  std::optional<std::filesystem::path> ChooseFileToSave(const FileDialogRequest&) override {
    return std::nullopt;
  }
};

}  // namespace corvane

#pragma once
// An operator that answers from a script. Every message box and file dialog
// is recorded; one the script did not expect, or that differs from the
// expected title or text, fails the test at once instead of hanging.

#include <deque>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "operator/Operator.h"

namespace corvane::test {

class ScriptedOperator final : public Operator {
 public:
  enum class Kind { Question, Message, OpenFile, OpenFiles, SaveFile };

  struct Shown {
    Kind kind;
    std::string title;
    std::string text;
    OperatorIcon icon = OperatorIcon::None;
    OperatorButtons buttons = OperatorButtons::Ok;
    FileDialogRequest request;
  };

  ~ScriptedOperator() override;

  // Expectations, answered in order; a file dialog answered with nothing
  // was cancelled.
  ScriptedOperator& ExpectQuestion(std::string title, std::string text, OperatorAnswer answer);
  ScriptedOperator& ExpectMessage(std::string title, std::string text);
  ScriptedOperator& ExpectOpenFile(std::optional<std::filesystem::path> answer);
  ScriptedOperator& ExpectSaveFile(std::optional<std::filesystem::path> answer);
  // Several files chosen at once; none when the operator cancelled.
  ScriptedOperator& ExpectOpenFiles(std::vector<std::filesystem::path> answer);

  bool AllAnswered() const { return script_.empty(); }
  const std::vector<Shown>& History() const { return shown_; }

  OperatorAnswer Ask(const std::string& title, const std::string& text, OperatorButtons buttons,
                     OperatorIcon icon) override;
  void Tell(const std::string& title, const std::string& text, OperatorIcon icon) override;
  std::optional<std::filesystem::path> ChooseFileToOpen(const FileDialogRequest& request) override;
  std::vector<std::filesystem::path> ChooseFilesToOpen(const FileDialogRequest& request) override;
  std::optional<std::filesystem::path> ChooseFileToSave(const FileDialogRequest& request) override;

 private:
  struct Step {
    Kind kind;
    std::string title;
    std::string text;
    OperatorAnswer answer = OperatorAnswer::Ok;
    std::optional<std::filesystem::path> path;
    std::vector<std::filesystem::path> paths;
  };
  ScriptedOperator& Expect(Step step);
  // Records what was shown and takes the next step if it is of this kind;
  // records a failure otherwise.
  std::optional<Step> Next(Shown shown);
  std::optional<std::filesystem::path> Choose(Kind kind, const FileDialogRequest& request);

  std::deque<Step> script_;
  std::vector<Shown> shown_;
};

}  // namespace corvane::test

#pragma once
// The one seam through which the program asks the operator anything: message
// boxes and file dialogs. The desktop implements it with Qt; tests answer from
// a script and fail on any question they did not expect.

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace corvane {

enum class OperatorIcon { None, Stop, Exclamation, Information, Question };
enum class OperatorButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class OperatorAnswer { Ok, Cancel, Yes, No };

// A file dialog. The filter is written as "Text (*.a)|*.a|All Files (*.*)|*.*||":
// pairs of a shown text and its patterns.
struct FileDialogRequest {
  std::string filter;
  std::string initialName;
  std::string defaultExtension;  // with its dot, e.g. ".ipc"; empty for none
  bool overwritePrompt = false;
};

class Operator {
 public:
  virtual ~Operator() = default;
  // A question; the answer is one of the buttons shown.
  virtual OperatorAnswer Ask(const std::string& title, const std::string& text,
                             OperatorButtons buttons, OperatorIcon icon) = 0;
  // A message with an OK button.
  virtual void Tell(const std::string& title, const std::string& text, OperatorIcon icon) = 0;
  // Nothing when the operator cancelled.
  virtual std::optional<std::filesystem::path> ChooseFileToOpen(const FileDialogRequest& request) = 0;
  virtual std::vector<std::filesystem::path> ChooseFilesToOpen(const FileDialogRequest& request) = 0;
  virtual std::optional<std::filesystem::path> ChooseFileToSave(const FileDialogRequest& request) = 0;
};

// "Abandon changes?" (Yes/No, warning icon) under the given title; true for Yes.
inline bool AbandonChanges(Operator& op, const std::string& title = "Cancel") {
  return op.Ask(title, "Abandon changes?", OperatorButtons::YesNo, OperatorIcon::Exclamation) ==
         OperatorAnswer::Yes;
}

}  // namespace corvane

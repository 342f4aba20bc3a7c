#include "support/ScriptedOperator.h"

#include <gtest/gtest.h>

namespace corvane::test {
namespace {

const char* KindName(ScriptedOperator::Kind kind) {
  static const char* const names[] = {"question", "message", "open-file dialog",
                                      "open-files dialog", "save-file dialog"};
  return names[static_cast<int>(kind)];
}

}  // namespace

ScriptedOperator::~ScriptedOperator() {
  if (!script_.empty()) {
    ADD_FAILURE() << script_.size() << " expected operator step(s) never came; the first: "
                  << KindName(script_.front().kind) << " \"" << script_.front().text << "\"";
  }
}

ScriptedOperator& ScriptedOperator::Expect(Step step) {
  script_.push_back(std::move(step));
  return *this;
}

ScriptedOperator& ScriptedOperator::ExpectQuestion(std::string title, std::string text,
                                                   OperatorAnswer answer) {
  return Expect({Kind::Question, std::move(title), std::move(text), answer, {}, {}});
}

ScriptedOperator& ScriptedOperator::ExpectMessage(std::string title, std::string text) {
  return Expect({Kind::Message, std::move(title), std::move(text), OperatorAnswer::Ok, {}, {}});
}

ScriptedOperator& ScriptedOperator::ExpectOpenFile(std::optional<std::filesystem::path> answer) {
  return Expect({Kind::OpenFile, {}, {}, OperatorAnswer::Ok, std::move(answer), {}});
}

ScriptedOperator& ScriptedOperator::ExpectOpenFiles(std::vector<std::filesystem::path> answer) {
  return Expect({Kind::OpenFiles, {}, {}, OperatorAnswer::Ok, {}, std::move(answer)});
}

ScriptedOperator& ScriptedOperator::ExpectSaveFile(std::optional<std::filesystem::path> answer) {
  return Expect({Kind::SaveFile, {}, {}, OperatorAnswer::Ok, std::move(answer), {}});
}

std::optional<ScriptedOperator::Step> ScriptedOperator::Next(Shown shown) {
  shown_.push_back(shown);
  // A dialog is described by what it offers.
  const std::string& title = shown.title.empty() ? shown.request.initialName : shown.title;
  const std::string& text = shown.text.empty() ? shown.request.filter : shown.text;
  if (script_.empty()) {
    ADD_FAILURE() << "unexpected " << KindName(shown.kind) << " \"" << title << "\": \"" << text
                  << "\"";
    return std::nullopt;
  }
  Step step = std::move(script_.front());
  script_.pop_front();
  if (step.kind != shown.kind) {
    ADD_FAILURE() << "expected a " << KindName(step.kind) << " \"" << step.text << "\" but got a "
                  << KindName(shown.kind) << " \"" << title << "\": \"" << text << "\"";
    return std::nullopt;
  }
  if (step.kind == Kind::Question || step.kind == Kind::Message) {
    EXPECT_EQ(title, step.title);
    EXPECT_EQ(text, step.text);
  }
  return step;
}

OperatorAnswer ScriptedOperator::Ask(const std::string& title, const std::string& text,
                                     OperatorButtons buttons, OperatorIcon icon) {
  const auto step = Next({Kind::Question, title, text, icon, buttons, {}});
  if (!step) return buttons == OperatorButtons::YesNo ? OperatorAnswer::No : OperatorAnswer::Cancel;
  return step->answer;
}

void ScriptedOperator::Tell(const std::string& title, const std::string& text, OperatorIcon icon) {
  Next({Kind::Message, title, text, icon, OperatorButtons::Ok, {}});
}

std::optional<std::filesystem::path> ScriptedOperator::Choose(Kind kind,
                                                              const FileDialogRequest& request) {
  const auto step = Next({kind, {}, {}, OperatorIcon::None, OperatorButtons::Ok, request});
  return step ? step->path : std::nullopt;
}

std::optional<std::filesystem::path> ScriptedOperator::ChooseFileToOpen(
    const FileDialogRequest& request) {
  return Choose(Kind::OpenFile, request);
}

std::vector<std::filesystem::path> ScriptedOperator::ChooseFilesToOpen(
    const FileDialogRequest& request) {
  const auto step = Next({Kind::OpenFiles, {}, {}, OperatorIcon::None, OperatorButtons::Ok, request});
  return step ? step->paths : std::vector<std::filesystem::path>{};
}

std::optional<std::filesystem::path> ScriptedOperator::ChooseFileToSave(
    const FileDialogRequest& request) {
  return Choose(Kind::SaveFile, request);
}

}  // namespace corvane::test

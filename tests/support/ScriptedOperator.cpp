#include "support/ScriptedOperator.h"

#include <gtest/gtest.h>

namespace corvane::test {
namespace {

const char* KindName(ScriptedOperator::Kind kind) {
  switch (kind) {
    case ScriptedOperator::Kind::Question: return "question";
    case ScriptedOperator::Kind::Message: return "message";
    case ScriptedOperator::Kind::OpenFile: return "open-file dialog";
    case ScriptedOperator::Kind::OpenFiles: return "open-files dialog";
    case ScriptedOperator::Kind::SaveFile: return "save-file dialog";
  }
  return "?";
}

}  // namespace

ScriptedOperator::~ScriptedOperator() {
  if (!script_.empty()) {
    ADD_FAILURE() << script_.size() << " expected operator step(s) never came; the first: "
                  << KindName(script_.front().kind) << " \"" << script_.front().text << "\"";
  }
}

ScriptedOperator& ScriptedOperator::ExpectQuestion(std::string title, std::string text,
                                                   OperatorAnswer answer) {
  script_.push_back({Kind::Question, std::move(title), std::move(text), answer, {}, false});
  return *this;
}

ScriptedOperator& ScriptedOperator::ExpectMessage(std::string title, std::string text) {
  script_.push_back({Kind::Message, std::move(title), std::move(text), OperatorAnswer::Ok, {}, false});
  return *this;
}

ScriptedOperator& ScriptedOperator::ExpectOpenFile(std::optional<std::filesystem::path> answer) {
  Step step{Kind::OpenFile, {}, {}, OperatorAnswer::Ok, {}, !answer};
  if (answer) step.paths.push_back(*answer);
  script_.push_back(std::move(step));
  return *this;
}

ScriptedOperator& ScriptedOperator::ExpectOpenFiles(std::vector<std::filesystem::path> answer) {
  script_.push_back({Kind::OpenFiles, {}, {}, OperatorAnswer::Ok, std::move(answer), false});
  return *this;
}

ScriptedOperator& ScriptedOperator::ExpectSaveFile(std::optional<std::filesystem::path> answer) {
  Step step{Kind::SaveFile, {}, {}, OperatorAnswer::Ok, {}, !answer};
  if (answer) step.paths.push_back(*answer);
  script_.push_back(std::move(step));
  return *this;
}

std::optional<ScriptedOperator::Step> ScriptedOperator::Next(Kind kind, const std::string& title,
                                                             const std::string& text) {
  if (script_.empty()) {
    ADD_FAILURE() << "unexpected " << KindName(kind) << " \"" << title << "\": \"" << text << "\"";
    return std::nullopt;
  }
  Step step = std::move(script_.front());
  script_.pop_front();
  if (step.kind != kind) {
    ADD_FAILURE() << "expected a " << KindName(step.kind) << " \"" << step.text << "\" but got a "
                  << KindName(kind) << " \"" << title << "\": \"" << text << "\"";
    return std::nullopt;
  }
  if (kind == Kind::Question || kind == Kind::Message) {
    EXPECT_EQ(title, step.title);
    EXPECT_EQ(text, step.text);
  }
  return step;
}

OperatorAnswer ScriptedOperator::Ask(const std::string& title, const std::string& text,
                                     OperatorButtons buttons, OperatorIcon icon) {
  shown_.push_back({Kind::Question, title, text, icon, buttons, {}});
  const auto step = Next(Kind::Question, title, text);
  if (!step) return buttons == OperatorButtons::YesNo ? OperatorAnswer::No : OperatorAnswer::Cancel;
  return step->answer;
}

void ScriptedOperator::Tell(const std::string& title, const std::string& text, OperatorIcon icon) {
  shown_.push_back({Kind::Message, title, text, icon, OperatorButtons::Ok, {}});
  Next(Kind::Message, title, text);
}

std::optional<std::filesystem::path> ScriptedOperator::ChooseFileToOpen(
    const FileDialogRequest& request) {
  shown_.push_back({Kind::OpenFile, {}, {}, OperatorIcon::None, OperatorButtons::Ok, request});
  const auto step = Next(Kind::OpenFile, request.initialName, request.filter);
  if (!step || step->cancel) return std::nullopt;
  return step->paths.front();
}

std::vector<std::filesystem::path> ScriptedOperator::ChooseFilesToOpen(
    const FileDialogRequest& request) {
  shown_.push_back({Kind::OpenFiles, {}, {}, OperatorIcon::None, OperatorButtons::Ok, request});
  const auto step = Next(Kind::OpenFiles, request.initialName, request.filter);
  return step ? step->paths : std::vector<std::filesystem::path>{};
}

std::optional<std::filesystem::path> ScriptedOperator::ChooseFileToSave(
    const FileDialogRequest& request) {
  shown_.push_back({Kind::SaveFile, {}, {}, OperatorIcon::None, OperatorButtons::Ok, request});
  const auto step = Next(Kind::SaveFile, request.initialName, request.filter);
  if (!step || step->cancel) return std::nullopt;
  return step->paths.front();
}

}  // namespace corvane::test

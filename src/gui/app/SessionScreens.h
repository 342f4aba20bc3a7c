#pragma once
// The screens of one session, in their order: the login screen and, once the
// login is accepted, the home screen until the operator leaves.

#include <filesystem>
#include <functional>
#include <optional>

namespace corvane {

class NestedScreens;
struct ProjectContext;

enum class SessionOutcome {
  LoginCancelled,  // the home screen never opened
  Left,            // the operator left from the home screen
  EndedBySystem,   // the system ended the program meanwhile
};

// endRequested tells whether the system has asked the program to end; it is
// asked after each screen, since the screens then end at once, unconfirmed.
// A package, when given, is opened on the home screen as soon as it shows.
SessionOutcome RunSessionScreens(ProjectContext& context, NestedScreens& screens,
                                 const std::function<bool()>& endRequested,
                                 const std::optional<std::filesystem::path>& package = {});

}  // namespace corvane

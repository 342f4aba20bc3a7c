#pragma once
// A small tree of named values that the command line prints either as text
// for a person or as JSON for a script, from the one description.

#include <cstdint>
#include <string>
#include <utility>
#include <variant>
#include <vector>

namespace corvane::cli {

class Report {
 public:
  using Object = std::vector<std::pair<std::string, Report>>;
  using Array = std::vector<Report>;

  Report() : value_(Object{}) {}
  Report(std::string text) : value_(std::move(text)) {}  // NOLINT: implicit on purpose
  Report(const char* text) : value_(std::string(text)) {}  // NOLINT
  Report(std::int64_t number) : value_(number) {}  // NOLINT
  Report(bool flag) : value_(flag) {}  // NOLINT
  // A measurement: one decimal for a person, two for a script; one that is
  // not finite (the loudness of silence) is "-inf" as text and null in JSON.
  Report(double figure) : value_(figure) {}  // NOLINT
  static Report List() { Report r; r.value_ = Array{}; return r; }

  // Adds a named value to an object and returns it.
  Report& Add(const std::string& name, Report value);
  // Appends to a list and returns the new element.
  Report& Append(Report value);

  std::string Json() const;
  std::string Text() const;

 private:
  void JsonInto(std::string& out) const;
  void TextInto(std::string& out, int indent) const;
  std::string ScalarText() const;
  bool IsContainer() const;
  bool IsEmptyContainer() const;
  std::variant<Object, Array, std::string, std::int64_t, bool, double> value_;
};

}  // namespace corvane::cli

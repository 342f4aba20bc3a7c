#include "Report.h"

#include <cmath>
#include <cstdio>

namespace corvane::cli {
namespace {

std::string FigureText(double figure, int decimals) {
  char text[32];
  std::snprintf(text, sizeof text, "%.*f", decimals, figure);
  return text;
}

void JsonString(std::string& out, const std::string& text) {
  out += '"';
  for (const unsigned char c : text) {
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      default:
        if (c < 0x20 || c >= 0x7F) {
          // Texts from a package are bytes, not necessarily UTF-8: escape
          // anything outside printable ASCII so the output stays valid JSON.
          char escaped[8];
          std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
          out += escaped;
        } else {
          out += static_cast<char>(c);
        }
    }
  }
  out += '"';
}

}  // namespace

Report& Report::Add(const std::string& name, Report value) {
  auto& object = std::get<Object>(value_);
  object.emplace_back(name, std::move(value));
  return object.back().second;
}

Report& Report::Append(Report value) {
  auto& array = std::get<Array>(value_);
  array.push_back(std::move(value));
  return array.back();
}

std::string Report::Json() const {
  std::string out;
  JsonInto(out);
  return out + "\n";
}

void Report::JsonInto(std::string& out) const {
  if (const auto* object = std::get_if<Object>(&value_)) {
    out += '{';
    for (std::size_t i = 0; i < object->size(); ++i) {
      if (i > 0) out += ',';
      JsonString(out, (*object)[i].first);
      out += ':';
      (*object)[i].second.JsonInto(out);
    }
    out += '}';
  } else if (const auto* array = std::get_if<Array>(&value_)) {
    out += '[';
    for (std::size_t i = 0; i < array->size(); ++i) {
      if (i > 0) out += ',';
      (*array)[i].JsonInto(out);
    }
    out += ']';
  } else if (const auto* text = std::get_if<std::string>(&value_)) {
    JsonString(out, *text);
  } else if (const auto* number = std::get_if<std::int64_t>(&value_)) {
    out += std::to_string(*number);
  } else if (const auto* figure = std::get_if<double>(&value_)) {
    out += std::isfinite(*figure) ? FigureText(*figure, 2) : "null";
  } else {
    out += std::get<bool>(value_) ? "true" : "false";
  }
}

std::string Report::Text() const {
  std::string out;
  TextInto(out, 0);
  return out;
}

std::string Report::ScalarText() const {
  if (const auto* text = std::get_if<std::string>(&value_)) return *text;
  if (const auto* number = std::get_if<std::int64_t>(&value_)) return std::to_string(*number);
  if (const auto* figure = std::get_if<double>(&value_)) {
    return std::isfinite(*figure) ? FigureText(*figure, 1) : (*figure < 0 ? "-inf" : "inf");
  }
  return std::get<bool>(value_) ? "yes" : "no";
}

bool Report::IsContainer() const {
  return std::holds_alternative<Object>(value_) || std::holds_alternative<Array>(value_);
}

bool Report::IsEmptyContainer() const {
  if (const auto* object = std::get_if<Object>(&value_)) return object->empty();
  if (const auto* array = std::get_if<Array>(&value_)) return array->empty();
  return false;
}

void Report::TextInto(std::string& out, int indent) const {
  const std::string pad(static_cast<std::size_t>(indent), ' ');
  auto line = [&](const std::string& lead, const Report& value) {
    if (!value.IsContainer()) {
      out += pad + lead + " " + value.ScalarText() + "\n";
    } else if (value.IsEmptyContainer()) {
      out += pad + lead + " (none)\n";
    } else {
      out += pad + lead + "\n";
      value.TextInto(out, indent + 2);
    }
  };
  if (const auto* object = std::get_if<Object>(&value_)) {
    for (const auto& [name, value] : *object) line(name + ":", value);
  } else if (const auto* array = std::get_if<Array>(&value_)) {
    for (const auto& element : *array) line("-", element);
  } else {
    out += pad + ScalarText() + "\n";
  }
}

}  // namespace corvane::cli

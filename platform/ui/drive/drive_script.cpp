#include "platform/ui/drive/drive_script.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>
#include <iterator>
#include <optional>
#include <sstream>

namespace kit::ui::drive {

namespace {

// A word (run of characters up to white space or '#') or a quoted string of one line.
struct Token {
  std::string text;
  bool quoted = false;
};

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

bool IsSpace(char c) { return c == ' ' || c == '\t'; }

// Splits one line into tokens; an error text when a string is malformed.
std::variant<std::vector<Token>, std::string> Tokenise(const std::string& line) {
  std::vector<Token> tokens;
  std::size_t i = 0;
  while (i < line.size()) {
    if (IsSpace(line[i])) {
      ++i;
      continue;
    }
    if (line[i] == '#') break;
    Token token;
    if (line[i] == '"') {
      token.quoted = true;
      ++i;
      bool closed = false;
      while (i < line.size()) {
        const char c = line[i++];
        if (c == '"') {
          closed = true;
          break;
        }
        if (c != '\\') {
          token.text += c;
          continue;
        }
        if (i >= line.size()) return std::string("unterminated string");
        const char e = line[i++];
        switch (e) {
          case '"': token.text += '"'; break;
          case '\\': token.text += '\\'; break;
          case 'r': token.text += '\r'; break;
          case 'n': token.text += '\n'; break;
          case 't': token.text += '\t'; break;
          case 'x': {
            const int high = i < line.size() ? HexValue(line[i]) : -1;
            const int low = i + 1 < line.size() ? HexValue(line[i + 1]) : -1;
            if (high < 0 || low < 0) return std::string("\\x needs two hex digits");
            token.text += static_cast<char>(high * 16 + low);
            i += 2;
            break;
          }
          default:
            return std::string("unknown escape \\") + e;
        }
      }
      if (!closed) return std::string("unterminated string");
      if (i < line.size() && !IsSpace(line[i]) && line[i] != '#') return std::string("text after a string");
    } else {
      while (i < line.size() && !IsSpace(line[i]) && line[i] != '#') {
        if (line[i] == '"') return std::string("quote inside a word");
        token.text += line[i++];
      }
    }
    tokens.push_back(std::move(token));
  }
  return tokens;
}

std::optional<long long> Integer(const Token& token) {
  if (token.quoted || token.text.empty() || token.text.size() > 12) return std::nullopt;
  std::size_t i = token.text[0] == '-' ? 1 : 0;
  if (i == token.text.size()) return std::nullopt;
  long long value = 0;
  for (; i < token.text.size(); ++i) {
    const char c = token.text[i];
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
  }
  return token.text[0] == '-' ? -value : value;
}

struct Command {
  const char* name;
  StepKind kind;
  int arguments;
};

constexpr Command kCommands[] = {
    {"click", StepKind::Click, 1},  {"text", StepKind::Text, 2},   {"select", StepKind::Select, 2},
    {"dblclick", StepKind::DoubleClick, 2}, {"focus", StepKind::Focus, 1}, {"key", StepKind::Key, 1},
    {"page", StepKind::Page, 1},    {"file", StepKind::File, 1},   {"wait", StepKind::Wait, 1},
    {"show", StepKind::Show, 1},    {"close", StepKind::Close, 0},
};

// Builds the step of one line's tokens; an error text when they do not fit.
std::variant<Step, std::string> MakeStep(const std::vector<Token>& tokens) {
  const Command* command = nullptr;
  for (const auto& c : kCommands) {
    if (!tokens[0].quoted && tokens[0].text == c.name) command = &c;
  }
  if (!command) return "unknown step \"" + tokens[0].text + "\"";
  const int given = static_cast<int>(tokens.size()) - 1;
  if (given != command->arguments) {
    return std::string(command->name) + " takes " + std::to_string(command->arguments) +
           (command->arguments == 1 ? " argument" : " arguments") + ", not " + std::to_string(given);
  }
  Step step;
  step.kind = command->kind;
  auto number = [&](std::size_t index, long long low, long long high, const char* what)
      -> std::variant<int, std::string> {
    const auto value = Integer(tokens[index]);
    if (!value || *value < low || *value > high) {
      return std::string(what) + " must be a number from " + std::to_string(low) + " to " + std::to_string(high) +
             ", not \"" + tokens[index].text + "\"";
    }
    return static_cast<int>(*value);
  };
  auto take = [](std::variant<int, std::string> v, int& into) -> std::optional<std::string> {
    if (auto* error = std::get_if<std::string>(&v)) return *error;
    into = std::get<int>(v);
    return std::nullopt;
  };
  std::optional<std::string> error;
  switch (step.kind) {
    case StepKind::Click:
    case StepKind::Focus:
    case StepKind::Show:
      error = take(number(1, 0, 65535, "ID"), step.id);
      break;
    case StepKind::Text:
      error = take(number(1, 0, 65535, "ID"), step.id);
      if (!error && !tokens[2].quoted) error = "the text must be a string in double quotes";
      step.text = tokens[2].text;
      break;
    case StepKind::Select:
      error = take(number(1, 0, 65535, "ID"), step.id);
      if (!error) error = take(number(2, -1, 1000000000, "N"), step.number);
      break;
    case StepKind::DoubleClick:
      error = take(number(1, 0, 65535, "ID"), step.id);
      if (!error) error = take(number(2, 0, 1000000000, "N"), step.number);
      break;
    case StepKind::Page:
      error = take(number(1, 0, 1000000, "N"), step.number);
      break;
    case StepKind::Wait:
      error = take(number(1, 0, kMaxWaitMs, "MS"), step.number);
      break;
    case StepKind::Key: {
      static const std::pair<const char*, Key> keys[] = {
          {"enter", Key::Enter}, {"escape", Key::Escape}, {"tab", Key::Tab}, {"space", Key::Space}};
      bool known = false;
      for (const auto& [name, key] : keys) {
        if (!tokens[1].quoted && tokens[1].text == name) {
          step.key = key;
          known = true;
        }
      }
      if (!known) error = "key must be enter, escape, tab or space, not \"" + tokens[1].text + "\"";
      break;
    }
    case StepKind::File:
      step.cancel = !tokens[1].quoted && tokens[1].text == "cancel";
      step.text = step.cancel ? std::string() : tokens[1].text;
      if (!step.cancel && step.text.empty()) error = "file needs a path or cancel";
      break;
    case StepKind::Close:
      break;
  }
  if (error) return *error;
  return step;
}

}  // namespace

ParsedScript ParseScript(const std::string& text) {
  if (text.size() > kMaxScriptBytes) return ScriptError{0, "the script is larger than 4 MiB"};
  Script script;
  std::size_t start = 0;
  int lineNumber = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    start = end + 1;
    ++lineNumber;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.find('\0') != std::string::npos) return ScriptError{lineNumber, "NUL byte in the script"};
    auto tokens = Tokenise(line);
    if (auto* error = std::get_if<std::string>(&tokens)) return ScriptError{lineNumber, *error};
    const auto& list = std::get<std::vector<Token>>(tokens);
    if (list.empty()) continue;
    auto step = MakeStep(list);
    if (auto* error = std::get_if<std::string>(&step)) return ScriptError{lineNumber, *error};
    std::get<Step>(step).line = lineNumber;
    script.steps.push_back(std::move(std::get<Step>(step)));
  }
  return script;
}

namespace {

std::optional<std::string> ReadBounded(std::istream& in) {
  std::string text;
  char buffer[65536];
  while (in.read(buffer, sizeof buffer) || in.gcount() > 0) {
    text.append(buffer, static_cast<std::size_t>(in.gcount()));
    if (text.size() > kMaxScriptBytes) return text;  // ParseScript refuses it
  }
  if (in.bad()) return std::nullopt;
  return text;
}

}  // namespace

ParsedScript LoadScript(const std::string& path) {
  std::optional<std::string> text;
  if (path == "-") {
    text = ReadBounded(std::cin);
    if (!text) return ScriptError{0, "standard input cannot be read"};
  } else {
    std::ifstream in(path, std::ios::binary);
    if (!in) return ScriptError{0, path + ": " + std::strerror(errno)};
    text = ReadBounded(in);
    if (!text) return ScriptError{0, path + ": cannot be read"};
  }
  return ParseScript(*text);
}

}  // namespace kit::ui::drive

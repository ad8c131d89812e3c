#include "platform/profile/ini_document.h"

#include <algorithm>
#include <utility>

namespace kit::profile {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view Trim(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

char Fold(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; }

bool SameName(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return Fold(x) == Fold(y); });
}

bool HasLineBreak(std::string_view s) { return s.find_first_of("\r\n") != std::string_view::npos; }

std::string Unquote(std::string_view v) {
  if (v.size() >= 2 && v.front() == '"' && v.back() == '"') v = v.substr(1, v.size() - 2);
  return std::string(v);
}

// Quotes a value whose outer blanks or quotes would otherwise be lost when read back.
std::string Encode(std::string_view v) {
  const bool outerBlank = !v.empty() && (IsBlank(v.front()) || IsBlank(v.back()));
  const bool quoted = v.size() >= 2 && v.front() == '"' && v.back() == '"';
  if (outerBlank || quoted) return "\"" + std::string(v) + "\"";
  return std::string(v);
}

}  // namespace

IniDocument::IniDocument(std::string content) : m_content(std::move(content)) { parse(); }

bool IniDocument::ValidSection(std::string_view section) {
  section = Trim(section);
  return !section.empty() && !HasLineBreak(section) && section.find(']') == std::string_view::npos;
}

bool IniDocument::ValidKey(std::string_view key) {
  key = Trim(key);
  return !key.empty() && !HasLineBreak(key) && key.find('=') == std::string_view::npos && key.front() != '[' &&
         key.front() != ';';
}

bool IniDocument::ValidValue(std::string_view value) { return !HasLineBreak(value); }

void IniDocument::parse() {
  m_lines.clear();
  std::size_t pos = 0;
  while (pos < m_content.size()) {
    std::size_t nl = m_content.find('\n', pos);
    std::size_t end = nl == std::string::npos ? m_content.size() : nl;
    const std::size_t next = nl == std::string::npos ? m_content.size() : nl + 1;
    // A carriage return ends a line's text whether or not the line feed follows: the
    // last line of a file may end in a lone "\r".
    if (end > pos && m_content[end - 1] == '\r') --end;
    Line line{pos, end, next, LineKind::Other, {}, {}};
    const std::string_view text = Trim(std::string_view(m_content).substr(pos, end - pos));
    if (text.empty()) {
      line.kind = LineKind::Blank;
    } else if (text.front() == ';') {
      line.kind = LineKind::Comment;
    } else if (text.front() == '[') {
      line.kind = LineKind::Section;
      const auto close = text.find(']');
      line.name = std::string(Trim(text.substr(1, close == std::string_view::npos ? std::string_view::npos : close - 1)));
    } else if (const auto eq = text.find('='); eq != std::string_view::npos) {
      line.kind = LineKind::Key;
      line.name = std::string(Trim(text.substr(0, eq)));
      line.value = Unquote(Trim(text.substr(eq + 1)));
    }
    m_lines.push_back(std::move(line));
    pos = next;
  }
}

IniDocument::Place IniDocument::locate(std::string_view section, std::string_view key) const {
  Place place;
  section = Trim(section);
  key = Trim(key);
  for (std::size_t i = 0; i < m_lines.size(); ++i) {
    const Line& line = m_lines[i];
    if (!place.section) {
      if (line.kind == LineKind::Section && SameName(line.name, section)) {
        place.section = i;
        place.lastUsed = i;
      }
      continue;
    }
    if (line.kind == LineKind::Section) break;  // the section ended
    if (line.kind != LineKind::Blank) place.lastUsed = i;
    if (line.kind == LineKind::Key && !place.key && SameName(line.name, key)) place.key = i;
  }
  return place;
}

std::optional<std::string> IniDocument::value(std::string_view section, std::string_view key) const {
  const Place place = locate(section, key);
  if (!place.key) return std::nullopt;
  return m_lines[*place.key].value;
}

std::string IniDocument::lineEnding() const {
  // The first line's ending when it has a line feed; a file of one line without one
  // (nothing, or a lone "\r") takes "\r\n".
  if (m_lines.empty()) return "\r\n";
  const Line& first = m_lines.front();
  if (first.next == 0 || m_content[first.next - 1] != '\n') return "\r\n";
  return m_content.substr(first.end, first.next - first.end);
}

bool IniDocument::setValue(std::string_view section, std::string_view key, std::string_view value) {
  if (!ValidSection(section) || !ValidKey(key) || !ValidValue(value)) return false;
  const std::string eol = lineEnding();
  const Place place = locate(section, key);
  if (place.key) {
    const Line& line = m_lines[*place.key];
    m_content.replace(line.begin, line.end - line.begin, line.name + "=" + Encode(value));
  } else if (place.section) {
    const Line& after = m_lines[place.lastUsed];
    std::string insert = std::string(Trim(key)) + "=" + Encode(value) + eol;
    // The last line had no line feed (nothing, or a lone "\r"): end it first.
    if (after.next == 0 || m_content[after.next - 1] != '\n') insert = eol + insert;
    m_content.insert(after.next, insert);
  } else {
    if (!m_content.empty() && m_content.back() != '\n') m_content += eol;
    m_content += "[" + std::string(Trim(section)) + "]" + eol + std::string(Trim(key)) + "=" + Encode(value) + eol;
  }
  parse();
  return true;
}

}  // namespace kit::profile

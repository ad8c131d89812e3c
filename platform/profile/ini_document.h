#pragma once
// The text of one profile file and the rules by which sections and keys are found and
// changed. Every byte that a change does not touch stays as it was.
//
// Dialect:
//  - Lines end with "\r\n" or "\n"; the last line may lack an ending. New lines take the
//    ending of the file's first line ("\r\n" for a new or single-line file).
//  - "[name]" starts a section; blanks around the name are ignored. Names of sections
//    and keys compare without regard to the case of ASCII letters. When a section or a
//    key appears twice, the first one counts.
//  - "key=value": blanks (space, tab) around the key and around the value are ignored.
//    A value enclosed in double quotes loses that one pair of quotes; this lets a value
//    keep outer blanks or quotes of its own: such values are written quoted.
//  - Lines starting with ";" are comments; other lines without "=" are ignored.
//  - Texts are bytes; nothing is re-encoded.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kit::profile {

class IniDocument {
 public:
  explicit IniDocument(std::string content);

  // The value of the key, or nothing when the section or key is missing.
  std::optional<std::string> value(std::string_view section, std::string_view key) const;

  // Sets the key's value, adding the section and key when missing. False (and no change)
  // for names or values the dialect cannot hold: empty names, line breaks, "]" in a
  // section name, "=" in a key, a key starting with "[" or ";".
  bool setValue(std::string_view section, std::string_view key, std::string_view value);

  const std::string& content() const { return m_content; }

  static bool ValidSection(std::string_view section);
  static bool ValidKey(std::string_view key);
  static bool ValidValue(std::string_view value);

 private:
  enum class LineKind { Blank, Comment, Section, Key, Other };
  struct Line {
    std::size_t begin;  // first byte
    std::size_t end;    // one past the last byte before the line ending
    std::size_t next;   // first byte of the next line
    LineKind kind;
    std::string name;   // section or key name, trimmed
    std::string value;  // key value, trimmed and unquoted
  };
  struct Place {
    std::optional<std::size_t> section;  // index of the header line
    std::optional<std::size_t> key;      // index of the key line
    std::size_t lastUsed = 0;            // last non-blank line of the section
  };

  void parse();
  Place locate(std::string_view section, std::string_view key) const;
  std::string lineEnding() const;

  std::string m_content;
  std::vector<Line> m_lines;
};

}  // namespace kit::profile

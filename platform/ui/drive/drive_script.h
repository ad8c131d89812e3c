#pragma once
// The script of the drive mode: one step a line, applied in order to the top-most
// window of a program as a user would.
//
//   click ID            text ID "TEXT"       select ID N (-1 clears)   dblclick ID N
//   focus ID            key enter|escape|tab|space                      page N
//   file PATH           file cancel          wait MS                   show ID      close
//
// `#` starts a comment (outside strings). Strings are in double quotes with the escapes
// \" \\ \r \n \t \xHH; PATH is a bare word (backslashes in it are kept as they are, so
// C:\TEMP\A.TXT works) or a string (`file "cancel"` is a file named cancel). IDs are
// 0..65535, MS 0..3600000. Lines may end in CR LF.
#include <cstddef>
#include <string>
#include <variant>
#include <vector>

#include "platform/ui/dialog.h"

namespace kit::ui::drive {

enum class StepKind { Click, Text, Select, DoubleClick, Focus, Key, Page, File, Wait, Show, Close };

struct Step {
  int line = 0;  // 1-based line of the script
  StepKind kind = StepKind::Click;
  int id = 0;           // click, text, select, dblclick, focus, show
  int number = 0;       // select and dblclick: index; page: page; wait: milliseconds
  std::string text;     // text: the typed text; file: the path
  Key key = Key::Enter;  // key
  bool cancel = false;  // file cancel
};

struct Script {
  std::vector<Step> steps;
};

struct ScriptError {
  int line = 0;  // 0: the script as a whole (unreadable, too large)
  std::string message;
};

using ParsedScript = std::variant<Script, ScriptError>;

// Scripts above this size are refused before parsing.
inline constexpr std::size_t kMaxScriptBytes = 4 * 1024 * 1024;
inline constexpr int kMaxWaitMs = 3600000;

// Parses a whole script. The first error wins and names its line.
ParsedScript ParseScript(const std::string& text);
// Reads and parses the script at `path`; "-" reads standard input to its end.
ParsedScript LoadScript(const std::string& path);

}  // namespace kit::ui::drive

#pragma once
// Requests for the host's services: message boxes, file choosers, pop-up menus.
#include <string>
#include <vector>

namespace kit::ui {

enum class BoxButtons { Ok, OkCancel, YesNo, YesNoCancel, RetryCancel };
enum class BoxIcon { None, Information, Warning, Error, Question };
// Numbers as the system's box results, so that callers may compare them with 1 and 2.
enum class BoxResult { Ok = 1, Cancel = 2, Retry = 4, Yes = 6, No = 7 };

struct MessageBoxRequest {
  std::string text;
  std::string title;
  BoxButtons buttons = BoxButtons::Ok;
  BoxIcon icon = BoxIcon::None;
};

enum class ChooserMode { Open, Save };

struct FileFilter {
  std::string label;
  std::vector<std::string> patterns;  // "*.cfg"
};

struct FileChooserRequest {
  ChooserMode mode = ChooserMode::Open;
  std::string title;
  // Filter text in the "Label|*.a;*.b|Label2|*.c||" form; a text without "|" is one
  // pattern (the label is the pattern itself).
  std::string filter;
  std::string defaultExtension;  // without dot; added to a typed name that has none
  std::string initialName;
  std::string initialDirectory;
  bool mustExist = false;       // the chosen file must exist
  bool promptToCreate = false;  // ask before accepting a name that does not exist
  bool overwritePrompt = false;
};

// Splits a filter text into its entries. Pairs without patterns are dropped.
std::vector<FileFilter> ParseFilter(const std::string& filter);

// Adds ".ext" to a file name whose last path element has no extension.
std::string WithDefaultExtension(const std::string& path, const std::string& extension);

struct MenuItem {
  int command = 0;  // 0: a separator
  std::string text;
  bool enabled = true;
};

}  // namespace kit::ui

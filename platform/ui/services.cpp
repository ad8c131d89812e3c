#include "platform/ui/services.h"

namespace kit::ui {

namespace {
std::vector<std::string> SplitPatterns(const std::string& text) {
  std::vector<std::string> out;
  std::string cur;
  for (char c : text) {
    if (c == ';') {
      if (!cur.empty()) out.push_back(cur);
      cur.clear();
    } else {
      cur += c;
    }
  }
  if (!cur.empty()) out.push_back(cur);
  return out;
}
}  // namespace

std::vector<FileFilter> ParseFilter(const std::string& filter) {
  std::vector<FileFilter> out;
  if (filter.find('|') == std::string::npos) {
    if (!filter.empty()) out.push_back({filter, {filter}});
    return out;
  }
  std::vector<std::string> parts;
  std::string cur;
  for (char c : filter) {
    if (c == '|') {
      parts.push_back(cur);
      cur.clear();
    } else {
      cur += c;
    }
  }
  parts.push_back(cur);
  for (std::size_t i = 0; i + 1 < parts.size(); i += 2) {
    if (parts[i].empty() && parts[i + 1].empty()) break;  // the "||" end
    auto patterns = SplitPatterns(parts[i + 1]);
    if (!patterns.empty()) out.push_back({parts[i], std::move(patterns)});
  }
  return out;
}

std::string WithDefaultExtension(const std::string& path, const std::string& extension) {
  if (extension.empty()) return path;
  const auto slash = path.find_last_of("/\\");
  const auto name = slash == std::string::npos ? path : path.substr(slash + 1);
  if (name.empty() || name.find('.') != std::string::npos) return path;
  return path + "." + extension;
}

}  // namespace kit::ui

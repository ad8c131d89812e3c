#pragma once
// The drive mode's transcript: one line per event, in the order things happen, written
// and flushed at once so that a reader on a pipe or terminal sees each as it comes.
//
//   open ID "CAPTION"          open box "TITLE" "TEXT"
//   close ID RESULT            close box RESULT
//   show ID "TEXT" enabled|disabled [checked|unchecked] [sel=N] [pos=N]
//     N "CELL" "CELL" ...      (entries of a list, drop-down, list control or page area)
//   refused LINE "WHY"
#include <ostream>
#include <string>
#include <vector>

namespace kit::ui::drive {

// A string in double quotes for the transcript: UTF-8 passes, \r \n \t \" \\ are escaped
// as in scripts, and other control bytes and bytes that are not UTF-8 become \xHH.
std::string Quote(const std::string& text);

class Transcript {
 public:
  explicit Transcript(std::ostream& out) : m_out(out) {}

  void open(int id, const std::string& caption);
  void openBox(const std::string& title, const std::string& text);
  void close(int id, int result);
  void closeBox(int result);
  void refused(int line, const std::string& why);
  // The first line of a show: "show ID "TEXT" ..." with the attributes given.
  void show(int id, const std::string& text, const std::vector<std::string>& attributes);
  void entry(int index, const std::vector<std::string>& cells);

 private:
  void line(const std::string& text);
  std::ostream& m_out;
};

}  // namespace kit::ui::drive

#pragma once
// The dialogs kit-gallery can draw: each entry names a dialog and makes it, filled with
// sample values, on a given host. Programs add their dialogs with one add() line each.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/ui/dialog.h"

namespace kit::gallery {

struct GalleryEntry {
  std::string name;         // command-line name, e.g. "tarnwave-wl-set"
  std::string description;  // one line for --list
  std::function<std::unique_ptr<kit::ui::Dialog>(kit::ui::Host&)> make;
};

class GalleryRegistry {
 public:
  void add(std::string name, std::string description,
           std::function<std::unique_ptr<kit::ui::Dialog>(kit::ui::Host&)> make);
  const GalleryEntry* find(const std::string& name) const;
  const std::vector<GalleryEntry>& entries() const { return m_entries; }

 private:
  std::vector<GalleryEntry> m_entries;
};

// Every program's dialogs; one function per program, called from here.
GalleryRegistry AllDialogs();
void AddTarnwaveDialogs(GalleryRegistry& registry);

}  // namespace kit::gallery

#pragma once
// The dialogs kit-gallery can draw: each entry names a dialog and makes it, filled with
// sample values, on a given host, or names a message box a program shows and gives its
// request. Programs add their dialogs with one add() line each.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/ui/dialog.h"
#include "platform/ui/services.h"

namespace kit::gallery {

// Shared, so that a dialog that needs companions (the demo's forms point to each other)
// can keep them alive alongside it.
using DialogMaker = std::function<std::shared_ptr<kit::ui::Dialog>(kit::ui::Host&)>;
using BoxMaker = std::function<kit::ui::MessageBoxRequest()>;

struct GalleryEntry {
  std::string name;         // command-line name, e.g. "tarnwave-wl-set"
  std::string description;  // one line for --list
  DialogMaker make;         // set for dialogs
  BoxMaker box;             // set for message boxes
};

class GalleryRegistry {
 public:
  void add(std::string name, std::string description, DialogMaker make);
  void addBox(std::string name, std::string description, BoxMaker box);
  const GalleryEntry* find(const std::string& name) const;
  const std::vector<GalleryEntry>& entries() const { return m_entries; }

 private:
  std::vector<GalleryEntry> m_entries;
};

// Every program's dialogs; one function per program, called from here.
GalleryRegistry AllDialogs();
void AddTarnwaveDialogs(GalleryRegistry& registry);
void AddTarnwaveMainWindow(GalleryRegistry& registry);
void AddTarnwaveConfigPage(GalleryRegistry& registry);
void AddTarnwavePages(GalleryRegistry& registry);
void AddJ57DemoDialogs(GalleryRegistry& registry);
void AddSetupDialogs(GalleryRegistry& registry);
void AddSetupWizardPages(GalleryRegistry& registry);

}  // namespace kit::gallery

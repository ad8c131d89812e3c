#include "gallery/gallery_registry.h"

#include <utility>

namespace kit::gallery {

void GalleryRegistry::add(std::string name, std::string description, DialogMaker make) {
  m_entries.push_back({std::move(name), std::move(description), std::move(make), {}});
}

void GalleryRegistry::addBox(std::string name, std::string description, BoxMaker box) {
  m_entries.push_back({std::move(name), std::move(description), {}, std::move(box)});
}

const GalleryEntry* GalleryRegistry::find(const std::string& name) const {
  for (const auto& e : m_entries) {
    if (e.name == name) return &e;
  }
  return nullptr;
}

GalleryRegistry AllDialogs() {
  GalleryRegistry registry;
  AddTarnwaveDialogs(registry);
  AddTarnwaveMainWindow(registry);
  AddTarnwaveConfigPage(registry);
  AddTarnwavePages(registry);
  AddJ57DemoDialogs(registry);
  AddSetupDialogs(registry);
  AddSetupWizardPages(registry);
  return registry;
}

}  // namespace kit::gallery

#include "gallery/gallery_registry.h"

#include <utility>

namespace kit::gallery {

void GalleryRegistry::add(std::string name, std::string description,
                          std::function<std::unique_ptr<kit::ui::Dialog>(kit::ui::Host&)> make) {
  m_entries.push_back({std::move(name), std::move(description), std::move(make)});
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
  return registry;
}

}  // namespace kit::gallery

#include "gallery/gallery_renderer.h"

namespace kit::gallery {

using namespace kit::ui;

bool RenderToPng(QtHost& host, const GalleryEntry& entry, const std::string& path, std::string& error) {
  if (entry.box) {
    const bool saved = host.saveBoxScreenshot(entry.box(), path);
    if (!saved) error = "cannot write " + path;
    return saved;
  }
  auto dialog = entry.make ? entry.make(host) : nullptr;
  if (!dialog) {
    error = "the gallery entry made no dialog";
    return false;
  }
  const DialogTemplate& t = dialog->dialogTemplate();
  if (t.flags & kChildWindow) {
    // A page is drawn inside a frame of its own size.
    DialogTemplate frameTemplate;
    frameTemplate.caption = entry.name;
    frameTemplate.width = t.width;
    frameTemplate.height = t.height;
    frameTemplate.font = t.font;
    Dialog frame(host, frameTemplate);
    if (!frame.create() || !dialog->create(&frame)) {
      error = "the page could not be created";
      return false;
    }
    dialog->showWindow(true);
    const bool saved = host.saveScreenshot(frame, path);
    dialog->destroyWindow();
    frame.destroyWindow();
    if (!saved) error = "cannot write " + path;
    return saved;
  }
  if (!dialog->create()) {
    error = "the window could not be created";
    return false;
  }
  const bool saved = host.saveScreenshot(*dialog, path);
  dialog->destroyWindow();
  if (!saved) error = "cannot write " + path;
  return saved;
}

int ShowOnDesktop(QtHost& host, const GalleryEntry& entry) {
  if (entry.box) return static_cast<int>(host.messageBox(nullptr, entry.box()));
  auto dialog = entry.make ? entry.make(host) : nullptr;
  return dialog ? dialog->runModal() : -1;
}

}  // namespace kit::gallery

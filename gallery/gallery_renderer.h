#pragma once
// Draws gallery dialogs with the Qt host: to PNG (offscreen works) or as a real window.
#include <string>

#include "gallery/gallery_registry.h"
#include "platform/ui/qt/qt_host.h"

namespace kit::gallery {

// Creates the dialog's window (pages inside a plain frame of their size), saves it and
// destroys it again. False with a reason in `error`.
bool RenderToPng(kit::ui::QtHost& host, const GalleryEntry& entry, const std::string& path, std::string& error);

// Runs the dialog modally on the desktop; returns its end code.
int ShowOnDesktop(kit::ui::QtHost& host, const GalleryEntry& entry);

}  // namespace kit::gallery

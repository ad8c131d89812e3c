// Tarnwave's dialogs in the gallery, with sample values.
#include <memory>

#include "config_tool/app/c_fix_complete.h"
#include "config_tool/app/c_mess.h"
#include "config_tool/app/c_series_set.h"
#include "config_tool/app/c_wl_set.h"
#include "gallery/gallery_registry.h"

namespace kit::gallery {

using kit::ui::Host;

void AddTarnwaveDialogs(GalleryRegistry& registry) {
  registry.add("tarnwave-mess-note", "Tarnwave CMess (170) as a note", [](Host& host) {
    auto d = std::make_unique<tarnwave::CMess>(host);
    d->m_text = "Update firmware is finished.";
    return d;
  });
  registry.add("tarnwave-mess-confirm", "Tarnwave CMess (170) as a confirmation", [](Host& host) {
    auto d = std::make_unique<tarnwave::CMess>(host);
    d->m_text = "Sure you determine the recovery factory setting?";
    d->m_mode = 1;
    return d;
  });
  registry.add("tarnwave-fix-complete", "Tarnwave CFixComplete (176)",
               [](Host& host) { return std::make_unique<tarnwave::CFixComplete>(host); });
  registry.add("tarnwave-wl-set", "Tarnwave CWlSet (184) with a fixed MAC address", [](Host& host) {
    auto d = std::make_unique<tarnwave::CWlSet>(host);
    d->m_password = "123456";
    d->m_searchAddress = {0x00, 0x1A, 0x2B, 0x3C, 0x4D, 0x5E};
    return d;
  });
  registry.add("tarnwave-series-set", "Tarnwave CSeriesSet (131)", [](Host& host) {
    auto d = std::make_unique<tarnwave::CSeriesSet>(host);
    d->m_baudRate = 115200;
    return d;
  });
}

}  // namespace kit::gallery

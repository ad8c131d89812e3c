#include "platform/ui/property_page.h"

#include <utility>

namespace kit::ui {

PropertyPage::PropertyPage(Host& host, DialogTemplate dialogTemplate)
    : Dialog(host, [&] {
        dialogTemplate.flags |= kChildWindow;
        return std::move(dialogTemplate);
      }()) {}

}  // namespace kit::ui

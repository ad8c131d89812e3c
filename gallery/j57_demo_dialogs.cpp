// J57 Demo's three forms in the gallery, each as it looks when it is first shown.
#include "gallery/gallery_registry.h"
#include "printer_demo/app/standalone_form.h"

namespace kit::gallery {

void AddJ57DemoDialogs(GalleryRegistry& registry) {
  registry.add("j57-form1", "J57 Demo Form1: serial or parallel attachment",
               [](kit::ui::Host& host) { return j57::MakeStandaloneForm(host, 1); });
  registry.add("j57-form2", "J57 Demo Form2: sample receipts and barcode tests",
               [](kit::ui::Host& host) { return j57::MakeStandaloneForm(host, 2); });
  registry.add("j57-form3", "J57 Demo Form3: manual text test",
               [](kit::ui::Host& host) { return j57::MakeStandaloneForm(host, 3); });
}

}  // namespace kit::gallery

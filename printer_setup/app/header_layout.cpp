#include "printer_setup/app/header_layout.h"

#include "printer_setup/app/picture_files.h"
#include "printer_setup/app/resource.h"
#include "printer_setup/app/wizard_layout.h"

namespace kit::setup {

namespace {
// The frame's border and caption in dialog units.
constexpr int kBorder = 2;
constexpr int kCaption = 11;
}  // namespace

ui::Rect FrameOuterRect(const ui::Dialog& frame) {
    const auto& t = frame.dialogTemplate();
    return ui::Rect{-kBorder, -kBorder - kCaption, t.width + 2 * kBorder, t.height + 2 * kBorder + kCaption};
}

void LayoutHeader(ui::Dialog& page, const ui::Dialog& frame) {
    const ui::Rect outer = FrameOuterRect(frame);
    const int outerRight = outer.x + outer.width;
    const ui::Rect header = page.controlRect(IDC_HEADER);
    const int bottom = header.y + header.height;
    (void)page.setControlRect(IDC_HEADER, ui::Rect{outer.x, outer.y, outer.width, bottom - outer.y});
    const ui::Rect picture = page.controlRect(IDC_HEADER_PICTURE);
    (void)page.setControlRect(IDC_HEADER_PICTURE,
                              ui::Rect{outerRight - 5 - picture.width, 18, picture.width, picture.height});
}

ui::DialogTemplate HeaderPageTemplate(int dialogId) {
    ui::DialogTemplate t;
    t.id = dialogId;
    t.width = kWizardWidth;
    t.height = kPageHeight;
    t.font = WizardFont();
    auto picture = ui::Control(IDC_HEADER_PICTURE, ui::ControlKind::Picture, {0, 0, 22, 22});
    picture.text = PictureFile(kHeaderPicture);
    t.controls = {ui::Label(IDC_HEADER, "", {0, 0, kWizardWidth, kHeaderHeight}, ui::kWhiteBackground), picture};
    return t;
}

}  // namespace kit::setup

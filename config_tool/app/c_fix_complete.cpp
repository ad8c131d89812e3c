#include "config_tool/app/c_fix_complete.h"

#include "config_tool/app/resource.h"

namespace tarnwave {

using namespace kit::ui;

CFixComplete::CFixComplete(Host& host, Dialog* owner) : Dialog(host, Template(), owner) {}

DialogTemplate CFixComplete::Template() {
  DialogTemplate t;
  t.id = IDD_FIX_COMPLETE;
  t.caption = "Note";
  t.width = 210;
  t.height = 70;
  t.controls = {
      Label(IDC_FIX_COMPLETE_TEXT, "Modify parameter completed,it will valid after reset!", {10, 12, 190, 20},
            kCentered),
      Button(IDOK, "Reset Now", {40, 44, 55, 14}, kDefaultButton),
      Button(IDCANCEL, "Reset Later", {115, 44, 55, 14}),
  };
  return t;
}

}  // namespace tarnwave

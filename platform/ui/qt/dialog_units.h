#pragma once
// Conversion of dialog units to pixels for one dialog font.
#include <QFont>
#include <QRect>

#include "platform/ui/dialog_template.h"

namespace kit::ui::qt {

QFont MakeFont(const Font& font);

class DialogUnits {
 public:
  explicit DialogUnits(const QFont& font);
  int x(int units) const { return (units * m_baseX + 2) / 4; }
  int y(int units) const { return (units * m_baseY + 4) / 8; }
  QRect rect(const Rect& r) const { return QRect(x(r.x), y(r.y), x(r.width), y(r.height)); }

 private:
  int m_baseX;
  int m_baseY;
};

}  // namespace kit::ui::qt

#include "platform/ui/qt/dialog_units.h"

#include <QFontMetrics>
#include <QString>

namespace kit::ui::qt {

QFont MakeFont(const Font& font) {
  QFont f(QString::fromStdString(font.family));
  if (font.pixelHeight > 0) {
    f.setPixelSize(font.pixelHeight);
  } else {
    f.setPointSize(font.pointSize > 0 ? font.pointSize : 8);
  }
  f.setWeight(static_cast<QFont::Weight>(font.weight >= 700 ? QFont::Bold : QFont::Normal));
  return f;
}

DialogUnits::DialogUnits(const QFont& font) {
  const QFontMetrics metrics(font);
  // The average width of the Latin letters, as the system computes dialog base units.
  const int letters = metrics.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
  m_baseX = std::max(1, (letters / 26 + 1) / 2);
  m_baseY = std::max(1, metrics.height());
}

}  // namespace kit::ui::qt

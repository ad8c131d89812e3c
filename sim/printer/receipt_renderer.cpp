// The only file of the virtual printer that draws: Qt's raster painter on a QImage.
#include "sim/printer/receipt_renderer.h"

#include <QFont>
#include <QFontInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include "platform/ui/qt/qt_process_setup.h"

namespace printer {
namespace {

constexpr const char* kTextFamily = "DejaVu Sans Mono";

QFont MakeFont(int pixelSize, bool bold) {
  QFont font(kTextFamily);
  font.setFamilies({kTextFamily, "Droid Sans Fallback", "WenQuanYi Micro Hei", "Noto Sans CJK SC"});
  font.setPixelSize(pixelSize);
  font.setBold(bold);
  font.setStyleStrategy(QFont::NoAntialias);
  font.setHintingPreference(QFont::PreferFullHinting);
  return font;
}

}  // namespace

struct ReceiptRenderer::Impl {
  std::unique_ptr<QGuiApplication> application;
  int argc = 1;
  char name[16] = "kit-sim-printer";
  char* argv[2] = {name, nullptr};
};

ReceiptRenderer::ReceiptRenderer() : m_impl(std::make_unique<Impl>()) {
  if (QGuiApplication::instance() == nullptr) {
    kit::ui::PrepareQtProcess();
    m_impl->application = std::make_unique<QGuiApplication>(m_impl->argc, m_impl->argv);
  }
}

ReceiptRenderer::~ReceiptRenderer() = default;

std::string ReceiptRenderer::textFontFamily() const {
  return QFontInfo(MakeFont(20, false)).family().toStdString();
}

std::optional<std::string> ReceiptRenderer::savePng(const Receipt& receipt, const std::string& path) const {
  const int width = receipt.width + 2 * kSideMargin;
  const int height = std::max(1, receipt.height) + kTopMargin + kBottomMargin;
  QImage image(width, height, QImage::Format_Grayscale8);
  image.fill(Qt::white);
  QPainter painter(&image);
  painter.setPen(Qt::black);
  painter.translate(kSideMargin, kTopMargin);
  for (const PlacedBarcode& barcode : receipt.barcodes) {
    for (std::size_t i = 0; i < barcode.symbol.modules.size(); ++i)
      if (barcode.symbol.modules[i])
        painter.fillRect(barcode.x + static_cast<int>(i) * barcode.moduleWidth, barcode.y, barcode.moduleWidth,
                         barcode.height, Qt::black);
  }
  for (const PlacedGlyph& glyph : receipt.glyphs) {
    const int cellWidth = glyph.width / glyph.scaleX;
    const int cellHeight = glyph.height / glyph.scaleY;
    // Font A cells are 12 x 24, font B 9 x 17, double-byte cells 24 x 24.
    const bool wide = cellWidth >= 24;
    const int pixelSize = wide ? 22 : glyph.fontB ? 15 : 20;
    painter.save();
    painter.translate(glyph.x, glyph.y);
    painter.scale(glyph.scaleX, glyph.scaleY);
    painter.setFont(MakeFont(pixelSize, glyph.emphasized));
    painter.drawText(QRect(0, 0, cellWidth, cellHeight), Qt::AlignHCenter | Qt::AlignBottom,
                     QString::fromUtf8(glyph.text.data(), static_cast<qsizetype>(glyph.text.size())));
    if (glyph.underline) painter.fillRect(0, cellHeight - 1, cellWidth, 1, Qt::black);
    painter.restore();
  }
  painter.end();
  if (!image.save(QString::fromStdString(path), "PNG")) return "cannot write " + path;
  return std::nullopt;
}

}  // namespace printer

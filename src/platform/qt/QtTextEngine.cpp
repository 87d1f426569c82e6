// Non-antialiased text through QPainter on a QImage that wraps our pixels.
#include "platform/qt/QtTextEngine.h"

#include <QColor>
#include <QFile>
#include <QFontDatabase>
#include <QImage>
#include <QPainter>
#include <QStringList>

#include "platform/Image.h"

namespace ratiscope {
namespace {

constexpr const char* kTahomaPath = "/usr/share/wine/fonts/tahoma.ttf";

// The largest pixel size whose cell is at most 11 pixels, an exact 11 preferred.
QFont CellFont(const QString& family) {
    QFont font(family);
    font.setStyleStrategy(QFont::StyleStrategy(QFont::NoAntialias | QFont::PreferMatch));
    font.setHintingPreference(QFont::PreferFullHinting);
    int best = 0, bestHeight = 0;
    for (int px = 4; px <= 2 * kTextCellHeight; ++px) {
        font.setPixelSize(px);
        const int h = QFontMetrics(font).height();
        if (h <= kTextCellHeight && h >= bestHeight) {
            best = px;
            bestHeight = h;
        }
    }
    font.setPixelSize(best > 0 ? best : kTextCellHeight);
    return font;
}

// Draws one line of text with its baseline starting at (x, baseline), never antialiased.
void PaintText(QImage& surface, const QFont& font, QRgb pen, int x, int baseline, const QString& text) {
    QPainter painter(&surface);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setRenderHint(QPainter::TextAntialiasing, false);
    painter.setFont(font);
    painter.setPen(QColor::fromRgb(pen));
    painter.drawText(x, baseline, text);
}

}  // namespace

QString RegisterBundledTahoma() {
    static const QString family = [] {
        if (!QFile::exists(kTahomaPath)) return QString();
        const int id = QFontDatabase::addApplicationFont(kTahomaPath);
        if (id < 0) return QString();
        const QStringList families = QFontDatabase::applicationFontFamilies(id);
        return families.isEmpty() ? QString() : families.front();
    }();
    return family;
}

TQtTextEngine::TQtTextEngine()
    : font_([] {
          const QString bundled = RegisterBundledTahoma();
          return CellFont(bundled.isEmpty() ? QStringLiteral("Tahoma") : bundled);
      }()),
      metrics_(font_) {}

TSize TQtTextEngine::Measure(std::string_view text) {
    const QString s = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    return {metrics_.horizontalAdvance(s), metrics_.height()};
}

void TQtTextEngine::Draw(TImage& image, std::int32_t x, std::int32_t y, std::string_view text, std::uint32_t rgb,
                         int angleDegrees) {
    if (text.empty() || image.Width() == 0 || image.Height() == 0) return;
    const QString s = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    const bool turned = angleDegrees == 90;
    // Early out: the footprint (with a cell of slack for overhanging glyphs)
    // misses the image; this also keeps huge coordinates away from Qt's ints.
    const std::int64_t length = metrics_.horizontalAdvance(s), cell = metrics_.height();
    const std::int64_t left = x - cell, top = turned ? std::int64_t{y} - length - cell : std::int64_t{y} - cell;
    const std::int64_t right = turned ? std::int64_t{x} + 2 * cell : std::int64_t{x} + length + cell;
    const std::int64_t bottom = turned ? std::int64_t{y} + cell : std::int64_t{y} + 2 * cell;
    if (right <= 0 || bottom <= 0 || left >= image.Width() || top >= image.Height()) return;

    const QRgb pen = static_cast<QRgb>(rgb & 0xFFFFFFu);
    if (!turned) {
        // Format_RGB32 over our 0xFFRRGGBB buffer: no copy, and with
        // antialiasing off every pixel QPainter touches gets exactly the pen colour.
        QImage surface(reinterpret_cast<uchar*>(image.Data()), image.Width(), image.Height(), image.Stride(),
                       QImage::Format_RGB32);
        PaintText(surface, font_, pen, x, y + metrics_.ascent(), s);
        return;
    }
    // Qt's own rotated glyphs are rasterised differently from the upright ones
    // (shapes shift by a pixel), so turned text is drawn upright on a scratch
    // image and turned pixel by pixel: both angles show the same glyphs.
    // Text-space (u, v), measured from the scratch origin, lands at (x + v, y - 1 - u).
    const int margin = static_cast<int>(cell);
    if (length + 2 * cell > 65535) return;
    QImage scratch(static_cast<int>(length + 2 * cell), static_cast<int>(3 * cell), QImage::Format_RGB32);
    if (scratch.isNull()) return;
    const QRgb background = 0xFF000000u | (~pen & 0xFFFFFFu);
    scratch.fill(background);
    PaintText(scratch, font_, pen, margin, margin + metrics_.ascent(), s);
    const QRgb lit = 0xFF000000u | pen;
    for (int sy = 0; sy < scratch.height(); ++sy) {
        const auto* row = reinterpret_cast<const QRgb*>(scratch.constScanLine(sy));
        const std::int64_t tx = std::int64_t{x} + (sy - margin);
        if (tx < 0 || tx >= image.Width()) continue;
        for (int sx = 0; sx < scratch.width(); ++sx) {
            if (row[sx] != lit) continue;
            const std::int64_t ty = std::int64_t{y} - 1 - (sx - margin);
            if (ty >= 0 && ty < image.Height())
                image.Set(static_cast<std::int32_t>(tx), static_cast<std::int32_t>(ty), lit);
        }
    }
}

}  // namespace ratiscope

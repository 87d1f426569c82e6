// Non-antialiased text through QPainter on a QImage that wraps our pixels.
#include "platform/qt/QtTextEngine.h"

#include <QColor>
#include <QFile>
#include <QFontDatabase>
#include <QImage>
#include <QPainter>
#include <QStringList>

#include <optional>

#include "platform/Image.h"
#include "platform/raster/CellFontSize.h"

namespace ratiscope {
namespace {

#ifndef RATISCOPE_TEXT_FONT
#define RATISCOPE_TEXT_FONT "/usr/share/wine/fonts/tahoma.ttf"
#endif
constexpr const char* kTahomaPath = RATISCOPE_TEXT_FONT;

// Longer texts (none the program draws) are neither kept nor drawn through a mask.
constexpr std::size_t kMaxCachedTextBytes = 256;

// The pixel sizes searched for the 11-pixel cell. Each size measured sets up
// a font engine (a fontconfig match and a FreeType size), so the search starts
// where Tahoma's cell is 11 pixels: the pixel size equal to the cell.
constexpr TCellSizeSearch kCellSearch{4, 2 * kTextCellHeight, kTextCellHeight};

// The largest pixel size whose cell is at most 11 pixels.
QFont CellFont(const QString& family) {
    QFont font(family);
    font.setStyleStrategy(QFont::StyleStrategy(QFont::NoAntialias | QFont::PreferMatch));
    font.setHintingPreference(QFont::PreferFullHinting);
    const std::optional<int> size = LargestSizeWithinCell(kTextCellHeight, kCellSearch, [&font](int px) {
        font.setPixelSize(px);
        return QFontMetrics(font).height();
    });
    font.setPixelSize(size.value_or(kTextCellHeight));
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

TQtTextEngine::TQtTextEngine(std::size_t cacheEntries)
    : font_([] {
          const QString bundled = RegisterBundledTahoma();
          return CellFont(bundled.isEmpty() ? QStringLiteral("Tahoma") : bundled);
      }()),
      metrics_(font_),
      caching_(cacheEntries > 0),
      masks_(cacheEntries, kTextCacheBytes),
      sizes_(cacheEntries, kTextCacheBytes / 4) {}

TSize TQtTextEngine::Measure(std::string_view text) {
    const bool keep = caching_ && text.size() <= kMaxCachedTextBytes;
    if (keep)
        if (const TTextMask* known = sizes_.Find(text, 0)) return known->size;
    const QString s = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    const TSize size{metrics_.horizontalAdvance(s), metrics_.height()};
    if (keep) sizes_.Insert(text, 0, TTextMask{size, {}, {}});
    return size;
}

void TQtTextEngine::Draw(TImage& image, std::int32_t x, std::int32_t y, std::string_view text, std::uint32_t rgb,
                         int angleDegrees) {
    if (text.empty() || image.Width() == 0 || image.Height() == 0) return;
    const bool turned = angleDegrees == 90;
    if (!caching_ || text.size() > kMaxCachedTextBytes) {
        DrawUncached(image, x, y, text, rgb, turned);
        return;
    }
    // Fast path: a text drawn before is a copy of its spans.
    const TTextMask* mask = masks_.Find(text, angleDegrees);
    if (!mask) {
        const QString s = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
        mask = &masks_.Insert(text, angleDegrees, RenderMask(s, turned));
    }
    DrawTextMask(image, *mask, x, y, 0xFF000000u | (rgb & 0xFFFFFFu));
}

TTextMask TQtTextEngine::RenderMask(const QString& text, bool turned) {
    // Drawn upright on a scratch image with a cell of margin all round for
    // overhanging glyphs. Qt's own rotated glyphs are rasterised differently
    // from the upright ones (shapes shift by a pixel), so turned text is the
    // upright pixels turned: both angles show the same glyphs. Text-space
    // (u, v), measured from the text's origin, lands at (u, v) upright and
    // at (v, -1 - u) turned.
    const int length = metrics_.horizontalAdvance(text), cell = metrics_.height();
    const TSize size{length, cell};
    if (std::int64_t{length} + 2 * cell > 65535) return TTextMask{size, {}, {}};
    QImage scratch(length + 2 * cell, 3 * cell, QImage::Format_RGB32);
    if (scratch.isNull()) return TTextMask{size, {}, {}};
    // With antialiasing off, the pixels QPainter touches are the same whatever
    // the colours, so black on white tells them apart.
    constexpr QRgb kLit = 0xFF000000u;
    scratch.fill(0xFFFFFFFFu);
    PaintText(scratch, font_, kLit, cell, cell + metrics_.ascent(), text);
    std::vector<TTextPixel> lit;
    for (int sy = 0; sy < scratch.height(); ++sy) {
        const auto* row = reinterpret_cast<const QRgb*>(scratch.constScanLine(sy));
        for (int sx = 0; sx < scratch.width(); ++sx) {
            if (row[sx] != kLit) continue;
            const int u = sx - cell, v = sy - cell;
            lit.push_back(turned ? TTextPixel{v, -1 - u} : TTextPixel{u, v});
        }
    }
    return MaskFromPixels(size, std::move(lit));
}

void TQtTextEngine::DrawUncached(TImage& image, std::int32_t x, std::int32_t y, std::string_view text,
                                 std::uint32_t rgb, bool turned) {
    const QString s = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    // Early out: the footprint (with a cell of slack for overhanging glyphs)
    // misses the image; this also keeps huge coordinates away from Qt's ints.
    const std::int64_t length = metrics_.horizontalAdvance(s), cell = metrics_.height();
    const std::int64_t left = x - cell, top = turned ? std::int64_t{y} - length - cell : std::int64_t{y} - cell;
    const std::int64_t right = turned ? std::int64_t{x} + 2 * cell : std::int64_t{x} + length + cell;
    const std::int64_t bottom = turned ? std::int64_t{y} + cell : std::int64_t{y} + 2 * cell;
    if (right <= 0 || bottom <= 0 || left >= image.Width() || top >= image.Height()) return;

    const QRgb pen = static_cast<QRgb>(rgb & 0xFFFFFFu);
    if (turned) {
        DrawTextMask(image, RenderMask(s, true), x, y, 0xFF000000u | pen);
        return;
    }
    // Format_RGB32 over our 0xFFRRGGBB buffer: no copy, and with
    // antialiasing off every pixel QPainter touches gets exactly the pen colour.
    QImage surface(reinterpret_cast<uchar*>(image.Data()), image.Width(), image.Height(), image.Stride(),
                   QImage::Format_RGB32);
    PaintText(surface, font_, pen, x, y + metrics_.ascent(), s);
}

}  // namespace ratiscope

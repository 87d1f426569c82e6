// Glyphs from Qt: "Tahoma" at an 11-pixel cell, never antialiased, drawn
// straight into our raster images.
#pragma once

#include <QFont>
#include <QFontMetrics>
#include <QString>

#include "platform/TextEngine.h"
#include "platform/raster/TextCache.h"

namespace ratiscope {

// The cell height every text of the overlay and the panel is drawn with.
inline constexpr int kTextCellHeight = 11;

// Bounds of the drawn-text cache: a 4K grid look paints a few hundred
// labels, so a repaint finds all of them, in well under the memory bound.
inline constexpr std::size_t kTextCacheEntries = 1024;
inline constexpr std::size_t kTextCacheBytes = std::size_t{4} << 20;

// Needs a QGuiApplication (see TQtGuiSession). The face is "Tahoma": the copy
// fonts-wine installs outside fontconfig's view is registered when present;
// otherwise Qt substitutes a face, and the pixel size is chosen so the
// measured cell height is 11 (a substitute is often taller at equal size).
//
// Drawn texts and measured sizes are kept, whole strings (so kerning and
// shaping stay exactly as Qt does them), up to `cacheEntries` of each; 0
// keeps none and draws upright text straight through QPainter every time.
class TQtTextEngine final : public ITextEngine {
public:
    explicit TQtTextEngine(std::size_t cacheEntries = kTextCacheEntries);

    TSize Measure(std::string_view text) override;
    void Draw(TImage& image, std::int32_t x, std::int32_t y, std::string_view text, std::uint32_t rgb,
              int angleDegrees) override;

    // The face and pixel size in use, for diagnostics.
    QString Family() const { return font_.family(); }
    int PixelSize() const { return font_.pixelSize(); }
    int CellHeight() const { return metrics_.height(); }
    // Texts whose pixels are kept, for tests and diagnostics.
    std::size_t CachedTexts() const { return masks_.Count(); }

private:
    // The pixels the text lights, as offsets from its origin.
    TTextMask RenderMask(const QString& text, bool turned);
    void DrawUncached(TImage& image, std::int32_t x, std::int32_t y, std::string_view text, std::uint32_t rgb,
                      bool turned);

    QFont font_;
    QFontMetrics metrics_;
    bool caching_;
    TTextCache masks_;
    TTextCache sizes_;  // masks without spans: Measure's answers
};

// Registers fonts-wine's Tahoma with Qt once per process; returns its family
// name, or an empty string when the file is missing or unreadable.
QString RegisterBundledTahoma();

}  // namespace ratiscope

// Glyphs from Qt: "Tahoma" at an 11-pixel cell, never antialiased, drawn
// straight into our raster images.
#pragma once

#include <QFont>
#include <QFontMetrics>
#include <QString>

#include "platform/TextEngine.h"

namespace ratiscope {

// The cell height every text of the overlay and the panel is drawn with.
inline constexpr int kTextCellHeight = 11;

// Needs a QGuiApplication (see TQtGuiSession). The face is "Tahoma": the copy
// fonts-wine installs outside fontconfig's view is registered when present;
// otherwise Qt substitutes a face, and the pixel size is chosen so the
// measured cell height is 11 (a substitute is often taller at equal size).
class TQtTextEngine final : public ITextEngine {
public:
    TQtTextEngine();

    TSize Measure(std::string_view text) override;
    void Draw(TImage& image, std::int32_t x, std::int32_t y, std::string_view text, std::uint32_t rgb,
              int angleDegrees) override;

    // The face and pixel size in use, for diagnostics.
    QString Family() const { return font_.family(); }
    int PixelSize() const { return font_.pixelSize(); }
    int CellHeight() const { return metrics_.height(); }

private:
    QFont font_;
    QFontMetrics metrics_;
};

// Registers fonts-wine's Tahoma with Qt once per process; returns its family
// name, or an empty string when the file is missing or unreadable.
QString RegisterBundledTahoma();

}  // namespace ratiscope

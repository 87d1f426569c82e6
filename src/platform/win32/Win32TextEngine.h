// Glyphs from GDI: "Tahoma" with an 11-pixel cell, NONANTIALIASED_QUALITY, the
// turned labels through a font with an escapement of 90 degrees; drawn into a
// DIB section and handed to the raster layer as text masks.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "platform/TextEngine.h"
#include "platform/raster/TextCache.h"

namespace ratiscope {

// The cell height every text of the overlay and the panel is drawn with.
inline constexpr int kGdiTextCellHeight = 11;
inline constexpr std::size_t kGdiTextCacheEntries = 1024;
inline constexpr std::size_t kGdiTextCacheBytes = std::size_t{4} << 20;

class TWin32TextEngine final : public ITextEngine {
public:
    explicit TWin32TextEngine(std::size_t cacheEntries = kGdiTextCacheEntries);
    ~TWin32TextEngine() override;
    TWin32TextEngine(const TWin32TextEngine&) = delete;
    TWin32TextEngine& operator=(const TWin32TextEngine&) = delete;

    TSize Measure(std::string_view text) override;
    void Draw(TImage& image, std::int32_t x, std::int32_t y, std::string_view text, std::uint32_t rgb,
              int angleDegrees) override;

    // The face GDI chose and the cell it gives, for diagnostics.
    std::string Family() const;
    int CellHeight() const { return cell_; }
    std::size_t CachedTexts() const { return masks_.Count(); }

private:
    // The pixels the text lights, as offsets from its origin.
    TTextMask RenderMask(std::string_view text, bool turned);

    struct TGdi;  // the memory DC and the two fonts
    std::unique_ptr<TGdi> gdi_;  // kept out of the header so windows.h stays out of it
    int cell_ = kGdiTextCellHeight;
    bool caching_;
    TTextCache masks_;
    TTextCache sizes_;
};

}  // namespace ratiscope

// GDI draws black text on white into a scratch DIB section; the black pixels
// become the text's mask, which the raster layer copies in the wanted colour.
#include "platform/win32/Win32TextEngine.h"

#include "platform/win32/Win32Api.h"

#include <algorithm>
#include <vector>

#include "platform/Image.h"
#include "platform/win32/Win32Unicode.h"

namespace ratiscope {
namespace {

constexpr int kTurnedEscapement = 900;  // tenths of a degree: text running upward
constexpr std::size_t kMaxCachedTextBytes = 256;
constexpr std::int64_t kMaxScratchSide = 32767;
constexpr std::uint32_t kScratchPaper = 0x00FFFFFFu;

HFONT CreateTahoma(int cell, int escapement) {
    return CreateFontW(cell, 0, escapement, escapement, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS | (escapement != 0 ? CLIP_LH_ANGLES : 0),
                       NONANTIALIASED_QUALITY, DEFAULT_PITCH | FF_SWISS, L"Tahoma");
}

}  // namespace

struct TWin32TextEngine::TGdi {
    HDC dc = CreateCompatibleDC(nullptr);
    HFONT upright = CreateTahoma(kGdiTextCellHeight, 0);
    HFONT turned = CreateTahoma(kGdiTextCellHeight, kTurnedEscapement);
    HGDIOBJ originalFont = dc && upright ? SelectObject(dc, upright) : nullptr;

    TGdi() = default;
    TGdi(const TGdi&) = delete;
    TGdi& operator=(const TGdi&) = delete;
    ~TGdi() {
        if (dc && originalFont) SelectObject(dc, originalFont);
        if (turned) DeleteObject(turned);
        if (upright) DeleteObject(upright);
        if (dc) DeleteDC(dc);
    }
};

TWin32TextEngine::TWin32TextEngine(std::size_t cacheEntries)
    : gdi_(std::make_unique<TGdi>()),
      caching_(cacheEntries > 0),
      masks_(cacheEntries, kGdiTextCacheBytes),
      sizes_(cacheEntries, kGdiTextCacheBytes / 4) {
    TEXTMETRICW metrics{};
    if (gdi_->dc && GetTextMetricsW(gdi_->dc, &metrics)) cell_ = static_cast<int>(metrics.tmHeight);
}

TWin32TextEngine::~TWin32TextEngine() = default;

std::string TWin32TextEngine::Family() const {
    wchar_t face[LF_FACESIZE] = {};
    const int n = gdi_->dc ? GetTextFaceW(gdi_->dc, LF_FACESIZE, face) : 0;
    return n > 0 ? Utf8FromWide(std::wstring_view(face, static_cast<std::size_t>(n - 1))) : std::string();
}

TSize TWin32TextEngine::Measure(std::string_view text) {
    const bool keep = caching_ && text.size() <= kMaxCachedTextBytes;
    if (keep)
        if (const TTextMask* known = sizes_.Find(text, 0)) return known->size;
    const std::wstring wide = WideFromUtf8(text);
    SIZE extent{};
    if (!gdi_->dc || !GetTextExtentPoint32W(gdi_->dc, wide.c_str(), static_cast<int>(wide.size()), &extent)) extent = {};
    const TSize size{static_cast<std::int32_t>(extent.cx), cell_};
    if (keep) sizes_.Insert(text, 0, TTextMask{size, {}, {}});
    return size;
}

void TWin32TextEngine::Draw(TImage& image, std::int32_t x, std::int32_t y, std::string_view text, std::uint32_t rgb,
                            int angleDegrees) {
    if (text.empty() || image.Width() == 0 || image.Height() == 0) return;
    const bool turned = angleDegrees == 90;
    const TPixel pixel = 0xFF000000u | (rgb & 0xFFFFFFu);
    if (!caching_ || text.size() > kMaxCachedTextBytes) {
        DrawTextMask(image, RenderMask(text, turned), x, y, pixel);
        return;
    }
    const TTextMask* mask = masks_.Find(text, angleDegrees);
    if (!mask) mask = &masks_.Insert(text, angleDegrees, RenderMask(text, turned));
    DrawTextMask(image, *mask, x, y, pixel);
}

TTextMask TWin32TextEngine::RenderMask(std::string_view text, bool turned) {
    const TSize size = Measure(text);
    if (!gdi_->dc || !gdi_->upright || (turned && !gdi_->turned)) return TTextMask{size, {}, {}};
    const std::int64_t length = size.width, cell = cell_;
    // A cell of margin all round takes the glyphs that overhang their advance.
    const std::int64_t along = length + 2 * cell, across = 3 * cell;
    if (along > kMaxScratchSide) return TTextMask{size, {}, {}};
    const int width = static_cast<int>(turned ? across : along);
    const int height = static_cast<int>(turned ? along : across);

    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down rows, as TImage keeps them
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP scratch = CreateDIBSection(gdi_->dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!scratch || !bits) return TTextMask{size, {}, {}};
    auto* pixels = static_cast<std::uint32_t*>(bits);
    std::fill(pixels, pixels + static_cast<std::size_t>(width) * static_cast<std::size_t>(height), kScratchPaper);

    const HGDIOBJ oldBitmap = SelectObject(gdi_->dc, scratch);
    const HGDIOBJ oldFont = SelectObject(gdi_->dc, turned ? gdi_->turned : gdi_->upright);
    SetBkMode(gdi_->dc, TRANSPARENT);
    SetTextColor(gdi_->dc, RGB(0, 0, 0));
    SetTextAlign(gdi_->dc, TA_LEFT | TA_TOP | TA_NOUPDATECP);
    // The origin is the text's top-left in its own direction: for turned text
    // the bottom-left of its box, glyph tops facing left.
    const int originX = static_cast<int>(cell);
    const int originY = static_cast<int>(turned ? cell + length : cell);
    const std::wstring wide = WideFromUtf8(text);
    ExtTextOutW(gdi_->dc, originX, originY, 0, nullptr, wide.c_str(), static_cast<UINT>(wide.size()), nullptr);
    GdiFlush();

    std::vector<TTextPixel> lit;
    for (int sy = 0; sy < height; ++sy) {
        const std::uint32_t* row = pixels + static_cast<std::size_t>(sy) * static_cast<std::size_t>(width);
        for (int sx = 0; sx < width; ++sx)
            if ((row[sx] & 0xFFFFFFu) != kScratchPaper) lit.push_back(TTextPixel{sx - originX, sy - originY});
    }
    SelectObject(gdi_->dc, oldFont);
    SelectObject(gdi_->dc, oldBitmap);
    DeleteObject(scratch);
    return MaskFromPixels(size, std::move(lit));
}

}  // namespace ratiscope

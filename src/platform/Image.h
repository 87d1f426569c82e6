// Plain 32-bit raster images and masked icons: the memory every canvas paints
// into and every backend copies to the screen.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <utility>
#include <vector>

#include "base/Color.h"
#include "base/Geometry.h"

namespace ratiscope {

// Pixels are 0xFFRRGGBB (opaque, red in bits 16..23): the layout of a Qt
// Format_RGB32 image, so a backend can wrap the buffer without converting.
using TPixel = std::uint32_t;

inline constexpr TPixel PixelFromColor(TColor c) {
    return 0xFF000000u | (c & 0xFFu) << 16 | (c & 0xFF00u) | (c >> 16 & 0xFFu);
}

inline constexpr TColor ColorFromPixel(TPixel p) {
    return (p >> 16 & 0xFFu) | (p & 0xFF00u) | (p & 0xFFu) << 16;
}

// Storage whose new elements are left as they come (default-initialised), so
// growing a picture that is about to be painted all over costs no clearing pass.
template <class T>
class TNoInitAllocator : public std::allocator<T> {
public:
    template <class U>
    struct rebind {
        using other = TNoInitAllocator<U>;
    };
    using std::allocator<T>::allocator;
    template <class U>
    void construct(U* p) noexcept {
        ::new (static_cast<void*>(p)) U;
    }
    template <class U, class... Args>
    void construct(U* p, Args&&... args) {
        std::construct_at(p, std::forward<Args>(args)...);
    }
};

// The largest side an image takes: every pixel index then fits in 32 bits,
// and no window the program makes is larger.
inline constexpr std::int32_t kMaxImageSide = 32767;

class TImage {
public:
    TImage() = default;
    TImage(std::int32_t width, std::int32_t height, TPixel fill = 0xFF000000u) { Resize(width, height, fill); }
    // A copy has the pixels as they are seen, an owed fill written first.
    TImage(const TImage& other) : width_(other.width_), height_(other.height_) {
        other.Settle();
        pixels_ = other.pixels_;
    }
    TImage& operator=(const TImage& other) {
        if (this != &other) {
            other.Settle();
            width_ = other.width_;
            height_ = other.height_;
            pixels_ = other.pixels_;
            pendingFill_.reset();
        }
        return *this;
    }
    // A moved-from image is empty.
    TImage(TImage&& other) noexcept
        : width_(std::exchange(other.width_, 0)),
          height_(std::exchange(other.height_, 0)),
          pixels_(std::move(other.pixels_)),
          pendingFill_(std::exchange(other.pendingFill_, std::nullopt)) {
        other.pixels_.clear();
    }
    TImage& operator=(TImage&& other) noexcept {
        if (this != &other) {
            width_ = std::exchange(other.width_, 0);
            height_ = std::exchange(other.height_, 0);
            pixels_ = std::move(other.pixels_);
            other.pixels_.clear();
            pendingFill_ = std::exchange(other.pendingFill_, std::nullopt);
        }
        return *this;
    }

    // Negative sizes count as 0 and sides above kMaxImageSide as that; content
    // after a resize is `fill`. When the memory for the pixels cannot be had,
    // the image becomes empty (0 x 0) instead of throwing.
    void Resize(std::int32_t width, std::int32_t height, TPixel fill = 0xFF000000u);
    // The same bounds as Resize, but the content is undefined: for pictures
    // repainted whole right after (every step of a resize drag). Storage is
    // reused while it is large enough and not more than twice the need.
    void SetSize(std::int32_t width, std::int32_t height);

    // Every pixel becomes `p`. The pixels are written when next looked at
    // through any accessor below, so a paint that starts with a fill and
    // draws lines over it can write both in one pass (see TakePendingFill).
    void Fill(TPixel p) { pendingFill_ = p; }
    // For a writer that sets every pixel itself: hands over the fill still
    // owed, if any, which is then no longer written by the image.
    std::optional<TPixel> TakePendingFill() { return std::exchange(pendingFill_, std::nullopt); }

    std::int32_t Width() const { return width_; }
    std::int32_t Height() const { return height_; }
    TSize Size() const { return {width_, height_}; }
    bool Contains(std::int32_t x, std::int32_t y) const {
        return x >= 0 && y >= 0 && x < width_ && y < height_;
    }

    TPixel At(std::int32_t x, std::int32_t y) const {
        Settle();
        return pixels_[Index(x, y)];
    }
    void Set(std::int32_t x, std::int32_t y, TPixel p) {
        Settle();
        pixels_[Index(x, y)] = p;
    }
    // Sets the pixel only when it lies inside the image.
    void Plot(std::int32_t x, std::int32_t y, TPixel p) {
        if (Contains(x, y)) Set(x, y, p);
    }

    std::span<TPixel> Row(std::int32_t y) {
        Settle();
        return std::span<TPixel>(pixels_).subspan(Index(0, y), width_);
    }
    std::span<const TPixel> Row(std::int32_t y) const {
        Settle();
        return std::span<const TPixel>(pixels_).subspan(Index(0, y), width_);
    }
    TPixel* Data() {
        Settle();
        return pixels_.data();
    }
    const TPixel* Data() const {
        Settle();
        return pixels_.data();
    }
    // Bytes from one row to the next.
    std::int32_t Stride() const { return width_ * 4; }

private:
    std::size_t Index(std::int32_t x, std::int32_t y) const {
        return static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) + static_cast<std::size_t>(x);
    }
    // Writes an owed fill; a look at the pixels is what makes it due, so the
    // const accessors call it too.
    void Settle() const {
        if (pendingFill_) [[unlikely]]
            WriteFill();
    }
    void WriteFill() const;

    std::int32_t width_ = 0;
    std::int32_t height_ = 0;
    // Mutable for Settle: the image already is its fill colour to anyone
    // looking; only the memory catches up.
    mutable std::vector<TPixel, TNoInitAllocator<TPixel>> pixels_;
    mutable std::optional<TPixel> pendingFill_;
};

// A picture with a one-bit mask: only pixels whose mask bit is set are drawn.
class TIcon {
public:
    TIcon() = default;
    // A mask of another length than the picture's pixels is cut or padded with transparent pixels.
    TIcon(TImage image, std::vector<std::uint8_t> mask) : image_(std::move(image)), mask_(std::move(mask)) {
        mask_.resize(static_cast<std::size_t>(image_.Width()) * static_cast<std::size_t>(image_.Height()), 0);
    }

    bool Empty() const { return image_.Width() == 0 || image_.Height() == 0; }
    std::int32_t Width() const { return image_.Width(); }
    std::int32_t Height() const { return image_.Height(); }
    const TImage& Image() const { return image_; }
    // 1 where the icon is opaque; one byte per pixel, row by row.
    bool Opaque(std::int32_t x, std::int32_t y) const {
        return mask_[static_cast<std::size_t>(y) * static_cast<std::size_t>(image_.Width()) + static_cast<std::size_t>(x)] != 0;
    }
    std::span<const std::uint8_t> MaskRow(std::int32_t y) const {
        const auto w = static_cast<std::size_t>(image_.Width());
        return std::span<const std::uint8_t>(mask_).subspan(static_cast<std::size_t>(y) * w, w);
    }

private:
    TImage image_;
    std::vector<std::uint8_t> mask_;
};

}  // namespace ratiscope

// Per-pixel visibility and click-through for a window on X11: the window's
// shape is set from a one-bit mask of its non-key pixels through the X shape
// extension, which takes any number of rectangles.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/Image.h"

struct xcb_connection_t;

namespace ratiscope {

// One bit per pixel, set where the pixel is shown; rows padded and bits
// ordered the way the X server reads a bitmap.
struct TShapeMask {
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::int32_t stride = 0;  // bytes per row
    std::vector<std::uint8_t> bits;
    friend bool operator==(const TShapeMask&, const TShapeMask&) = default;
};

// How the server wants bitmaps laid out.
struct TBitmapFormat {
    bool lsbFirst = true;     // bit order within a byte
    int scanlinePad = 32;     // row padding in bits
    int scanlineUnit = 32;    // bits per unit whose bytes follow byteOrderLsb
    bool byteOrderLsb = true;
};

// A rectangle of a mask: the part of a picture one window shows.
struct TShapeTile {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;
    bool Empty() const { return width <= 0 || height <= 0; }
    friend bool operator==(const TShapeTile&, const TShapeTile&) = default;
};

// The strips along a cut picture's right and bottom edges are 1 to twice
// this thick; a multiple of 32.
constexpr std::int32_t kShapeEdgeStrip = 32;

// Where the strip along an edge at `length` starts, given where it started
// (`current`; -1 for nowhere yet): kept while the edge lies 1 to twice
// kShapeEdgeStrip past it, so a size going back and forth by a pixel never
// moves it; else on the multiple of kShapeEdgeStrip that leaves the edge
// kShapeEdgeStrip to twice that past it. 0 for a length up to kShapeEdgeStrip.
std::int32_t EdgeStripStart(std::int32_t length, std::int32_t current = -1);

// A picture of `width` x `height` cut for shaping: square tiles of `side`
// inside, and strips along the right and bottom edges from `right` and
// `bottom` on (EdgeStripStart of the width and height when not given), in
// pieces of `edgeLength` (`side` when that is not positive), the bottom one
// holding the corner; a change of size then reshapes only the strips. Inner
// tiles row by row from the top left, then the right strip from the top,
// then the bottom strip from the left. One tile of the whole picture when
// `side` is not positive; none for an empty picture.
std::vector<TShapeTile> ShapeTiles(std::int32_t width, std::int32_t height, std::int32_t side,
                                   std::int32_t edgeLength = 0, std::int32_t right = -1, std::int32_t bottom = -1);

// About how many rectangles the X server makes of the mask: the runs of set
// bits of every row that differs from the one above it (rows alike join).
std::int64_t ShapeRectangles(const TShapeMask& mask);

// The side of the tiles a picture of `width` x `height` whose shape has about
// `rectangles` rectangles is cut into, the tiles being `current` pixels now
// (0 for none yet): 64, 128, 256 or 512, whichever costs the server least for
// a change of size, kept while it is close to `current`; never so small that
// there are more than a few hundred tiles. Always a multiple of 32.
std::int32_t TileSideFor(std::int32_t width, std::int32_t height, std::int64_t rectangles, std::int32_t current);

// The length of the pieces of the edge strips for such a picture, `current`
// now (0 for none yet): as long as leaves a piece few enough rectangles, at
// most 512, a multiple of 64, kept while close to `current`.
std::int32_t EdgeLengthFor(std::int32_t width, std::int32_t height, std::int64_t rectangles, std::int32_t current);

// The smallest tile side that keeps a picture of `width` x `height` in a few
// hundred tiles; a multiple of 32.
std::int32_t LeastTileSide(std::int32_t width, std::int32_t height);

// Whether the two masks differ in the pixels of `tile`: also when either
// lacks some of them; masks of other widths compare alike where both hold the
// tile. A tile's left edge is a multiple of 32 pixels, so its bits start on a
// whole unit of every bitmap format.
bool TileDiffers(const TShapeMask& a, const TShapeMask& b, TShapeTile tile);

// Builds the mask of the pixels of `image` that differ from `key` (0xFFRRGGBB)
// into `mask`. With `argb` given, also writes the picture as premultiplied
// ARGB with key pixels fully transparent, for a compositing desktop.
void BuildShapeMask(const TImage& image, TPixel key, const TBitmapFormat& format, TShapeMask& mask,
                    std::vector<std::uint32_t>* argb = nullptr);

// The screen number DISPLAY names (":0.1" is screen 1); 0 without one.
int X11ScreenNumber();

class TX11Shape {
public:
    // Uses the application's X connection; not Available when there is none or
    // the server lacks the shape extension.
    TX11Shape();
    bool Available() const { return connection_ != nullptr; }
    const TBitmapFormat& Format() const { return format_; }

    // Whether a compositing manager owns the _NET_WM_CM_Sn selection of the default screen.
    bool CompositorRunning() const;

    // The window shows (inputOnly false) or takes input (true) exactly where
    // the mask is set; both also when the mask is empty.
    void Apply(std::uint32_t window, const TShapeMask& mask, bool inputOnly) const;
    // The same with only the pixels of `tile`, its top left at the window's.
    void Apply(std::uint32_t window, const TShapeMask& mask, bool inputOnly, TShapeTile tile) const;

    // Sends a request the server answers only after everything sent before it:
    // its sequence number, for Answered. Zero without a connection.
    std::uint32_t Mark() const;
    // Whether the server has answered the mark, so it is done with what came
    // before; an answered mark is collected and not asked about again.
    bool Answered(std::uint32_t mark) const;
    // Forgets a mark that will not be asked about.
    void Drop(std::uint32_t mark) const;

    // The window's ancestor just below the root (a window manager's frame, or
    // the window itself) and the window's offset inside it.
    std::uint32_t TopLevelAncestor(std::uint32_t window, std::int16_t& dx, std::int16_t& dy) const;

private:
    xcb_connection_t* connection_ = nullptr;
    int screen_ = 0;
    TBitmapFormat format_;
    bool bitsAsPixels_ = false;  // the server's one-bit pixels are laid out as its bitmaps
};

}  // namespace ratiscope

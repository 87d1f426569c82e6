// Batched lines: written row by row, yet the picture is exactly what drawing
// every call at once in call order gives, whatever comes between the lines.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "platform/raster/EllipseRaster.h"
#include "platform/raster/LineBatch.h"
#include "platform/raster/LineRaster.h"
#include "platform/raster/RasterCanvas.h"
#include "platform/raster/RasterOps.h"
#include "support/FakeTextEngine.h"

namespace ratiscope {
namespace {

constexpr TPixel kBack = 0xFF000000u, kInk = 0xFFFF0000u;

std::vector<std::string> Rows(const TImage& img) {
    std::vector<std::string> rows;
    for (int y = 0; y < img.Height(); ++y) {
        std::string r;
        for (int x = 0; x < img.Width(); ++x) r += img.At(x, y) == kInk ? '#' : img.At(x, y) == kBack ? '.' : '?';
        rows.push_back(r);
    }
    return rows;
}

TEST(LineBatch, FlushWritesEveryRunAndNothingElse) {
    struct TCol {
        int x, top, bottom;
    };
    struct TRow {
        int y, left, right;
    };
    struct Case {
        const char* what;
        std::vector<TCol> columns;
        std::vector<TRow> rows;
        std::vector<std::string> picture;
    };
    const Case cases[] = {
        {"nothing", {}, {}, {"....", "....", "...."}},
        {"a grid: columns starting together, rows across them",
         {{0, 0, 3}, {2, 0, 3}},
         {{1, 0, 4}},
         {"#.#.", "####", "#.#."}},
        {"columns of different lengths, added out of order, one ending where another starts",
         {{3, 2, 4}, {0, 0, 2}, {1, 1, 4}, {2, 3, 4}},
         {},
         {"#...", "##..", ".#.#", ".###"}},
        {"a gap of rows with nothing between two bands, rows alone below",
         {{1, 0, 1}, {2, 3, 4}},
         {{5, 1, 3}, {5, 0, 1}},
         {".#..", "....", "....", "..#.", "....", "###."}},
        {"repeats and overlaps", {{0, 0, 6}, {0, 2, 4}}, {{2, 0, 4}, {2, 1, 3}}, {"#...", "#...", "####", "#...", "#...", "#..."}},
        {"image edges: first and last row and column", {{3, 0, 2}}, {{1, 0, 4}}, {"...#", "####"}},
        {"a row crossing some columns of a band only", {{0, 0, 3}, {3, 0, 3}}, {{1, 0, 2}}, {"#..#", "##.#", "#..#"}},
    };
    for (const Case& c : cases) {
        TImage img(static_cast<int>(c.picture[0].size()), static_cast<int>(c.picture.size()), kBack);
        TLineBatch batch;
        for (const TCol& col : c.columns) batch.AddColumn(col.x, col.top, col.bottom);
        for (const TRow& row : c.rows) batch.AddRow(row.y, row.left, row.right);
        batch.Flush(img, kInk);
        EXPECT_EQ(Rows(img), c.picture) << c.what;
        EXPECT_TRUE(batch.Empty()) << c.what;
        // A flushed batch writes nothing again.
        FillImageRect(img, {0, 0, img.Width(), img.Height()}, kBack);
        batch.Flush(img, kInk);
        EXPECT_EQ(Rows(img), std::vector<std::string>(c.picture.size(), std::string(c.picture[0].size(), '.')))
            << c.what;
    }
}

// A fill the image still owes is written in the flush's pass, under the
// lines: tall dense bands by a prepared row, sparse or short ones pixel by pixel.
TEST(LineBatch, OwedFillIsWrittenUnderTheLines) {
    constexpr TPixel kFill = 0xFF0000FFu;
    struct Case {
        const char* what;
        int w, h;
        std::vector<int> columnXs;  // each over rows 2 .. h-2
        std::vector<int> rowYs;     // each across columns 1 .. w-1
    };
    const Case cases[] = {
        {"a dense grid in a tall band", 16, 14, {0, 3, 6, 9, 12, 15}, {2, 5, 8}},
        {"a dense grid in a short band", 16, 6, {0, 3, 6, 9, 12, 15}, {3}},
        {"sparse columns", 40, 14, {7}, {4}},
        {"rows only", 8, 10, {}, {0, 9}},
    };
    for (const Case& c : cases) {
        TImage img(c.w, c.h, kBack);
        img.Fill(kFill);
        TLineBatch batch;
        for (const int x : c.columnXs) batch.AddColumn(x, 2, c.h - 2);
        for (const int y : c.rowYs) batch.AddRow(y, 1, c.w - 1);
        batch.Flush(img, kInk);
        EXPECT_FALSE(img.TakePendingFill()) << c.what;
        for (int y = 0; y < c.h; ++y)
            for (int x = 0; x < c.w; ++x) {
                const bool column = y >= 2 && y < c.h - 2 && std::find(c.columnXs.begin(), c.columnXs.end(), x) != c.columnXs.end();
                const bool row = x >= 1 && x < c.w - 1 && std::find(c.rowYs.begin(), c.rowYs.end(), y) != c.rowYs.end();
                ASSERT_EQ(img.At(x, y), column || row ? kInk : kFill) << c.what << " at " << x << "," << y;
            }
    }
}

// The image owes a whole fill until its pixels are looked at, by any accessor or a copy.
TEST(LineBatch, ImageWritesAnOwedFillOnFirstLook) {
    constexpr TPixel kFill = 0xFF0000FFu;
    TImage a(4, 3, kBack);
    a.Fill(kFill);
    const TImage copy = a;
    EXPECT_EQ(copy.At(3, 2), kFill);
    EXPECT_EQ(a.Row(1)[2], kFill);
    a.Fill(kBack);
    a.Set(0, 0, kInk);  // written over the fill, never under it
    EXPECT_EQ(a.At(0, 0), kInk);
    EXPECT_EQ(a.At(1, 0), kBack);
    a.Fill(kFill);
    EXPECT_EQ(a.Data()[11], kFill);
    a.Fill(kInk);
    a.SetSize(4, 3);  // content undefined: the fill is no longer owed
    EXPECT_FALSE(a.TakePendingFill());
    TImage b(2, 2, kFill);
    EXPECT_EQ(b.TakePendingFill(), kFill);
    EXPECT_FALSE(b.TakePendingFill());
    // Moving takes the owed fill along and leaves an empty image behind.
    TImage c(3, 1, kBack);
    c.Fill(kInk);
    TImage d = std::move(c);
    EXPECT_EQ(d.At(2, 0), kInk);
    EXPECT_EQ(c.Size(), (TSize{0, 0}));
    c = std::move(d);
    EXPECT_EQ(c.At(0, 0), kInk);
    EXPECT_EQ(d.Size(), (TSize{0, 0}));
}

// The same calls drawn one by one, as they come: the order batching must not show.
class TImmediatePainter {
public:
    TImmediatePainter(ITextEngine& text, int w, int h) : text_(text), image(w, h) {}
    void Fill(TRect r, TColor c) { FillImageRect(image, r, PixelFromColor(c)); }
    void Line(int x0, int y0, int x1, int y1) {
        ForEachLinePixel(x0, y0, x1, y1, {0, 0, image.Width(), image.Height()}, [&](int x, int y) { image.Set(x, y, pen); });
    }
    void Ellipse(TRect box) {
        ForEachEllipsePixel(box, {0, 0, image.Width(), image.Height()}, [&](int x, int y) { image.Set(x, y, pen); });
    }
    void Text(int x, int y, const std::string& s, TColor c) { text_.Draw(image, x, y, s, c, 0); }

    ITextEngine& text_;
    TImage image;
    TPixel pen = kBack;
};

// Random scenes of lines of every direction in a few colours, with fills,
// ellipses, text, icons, flood fills and reads between them.
TEST(LineBatch, CanvasMatchesImmediateDrawingInCallOrder) {
    TFakeTextEngine engine;
    std::mt19937 rng(20240613);
    const TColor colors[] = {0x0000FF, 0x00FF00, 0xFF0000};
    const TIcon icon(TImage(3, 2, 0xFF123456u), {1, 0, 1, 1, 1, 0});
    auto coord = [&](int size) { return static_cast<int>(rng() % static_cast<unsigned>(size + 20)) - 10; };
    for (int scene = 0; scene < 300; ++scene) {
        const int w = 5 + static_cast<int>(rng() % 40), h = 5 + static_cast<int>(rng() % 30);
        TRasterCanvas canvas(engine, w, h);
        TImmediatePainter ref(engine, w, h);
        for (int step = 0; step < 40; ++step) {
            const unsigned op = rng() % 20;
            const int x0 = coord(w), y0 = coord(h), x1 = coord(w), y1 = coord(h);
            if (op < 5) {  // vertical
                canvas.MoveTo(x0, y0), canvas.LineTo(x0, y1), ref.Line(x0, y0, x0, y1);
            } else if (op < 9) {  // horizontal
                canvas.MoveTo(x0, y0), canvas.LineTo(x1, y0), ref.Line(x0, y0, x1, y0);
            } else if (op < 11) {  // any direction
                canvas.MoveTo(x0, y0), canvas.LineTo(x1, y1), ref.Line(x0, y0, x1, y1);
            } else if (op < 13) {
                const TColor c = colors[rng() % 3];
                canvas.SetPenColor(c);
                ref.pen = PixelFromColor(c);
            } else if (op == 13) {
                // Whole or in part: a whole fill covers any batched line, a partial one must not.
                const TSize s = canvas.Size();
                const TRect r = rng() % 2 ? TRect{0, 0, s.width, s.height} : TRect{x0, y0, x1, y1};
                const TColor c = colors[rng() % 3];
                canvas.FillRect(r, c);
                ref.Fill(r, c);
            } else if (op == 14) {
                canvas.Ellipse({x0, y0, x1, y1});
                ref.Ellipse({x0, y0, x1, y1});
            } else if (op == 15) {
                canvas.SetTextColor(colors[1]);
                canvas.TextOut(x0, y0, "a1");
                ref.Text(x0, y0, "a1", colors[1]);
            } else if (op == 16) {
                canvas.DrawIcon(icon, x0, y0);
                DrawIconOnto(ref.image, icon, x0, y0);
            } else if (op == 17) {
                canvas.FloodFill(x0, y0, colors[0], colors[2]);
                FloodFillImage(ref.image, x0, y0, PixelFromColor(colors[0]), PixelFromColor(colors[2]));
            } else if (op == 18) {
                const TSize s{5 + static_cast<int>(rng() % 40), 5 + static_cast<int>(rng() % 30)};
                canvas.Resize(s.width, s.height);
                canvas.FillRect({0, 0, s.width, s.height}, 0);
                ref.image.Resize(s.width, s.height, PixelFromColor(0));
            } else {
                // A read in the middle must show everything drawn so far.
                ASSERT_EQ(canvas.Image().Size(), ref.image.Size());
                ASSERT_EQ(canvas.Image().At(x0 & 3, y0 & 3), ref.image.At(x0 & 3, y0 & 3)) << "scene " << scene;
            }
        }
        const TImage& got = canvas.Image();
        ASSERT_EQ(got.Size(), ref.image.Size());
        for (int y = 0; y < got.Height(); ++y)
            for (int x = 0; x < got.Width(); ++x)
                ASSERT_EQ(got.At(x, y), ref.image.At(x, y)) << "scene " << scene << " at " << x << "," << y;
    }
}

}  // namespace
}  // namespace ratiscope

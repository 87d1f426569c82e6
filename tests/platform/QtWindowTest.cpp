// The Qt window backend without a display: key and modifier mapping, shape
// masks in every bit layout a server may ask for, and Qt events arriving as
// platform events.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QMessageBox>
#include <QMouseEvent>
#include <QTimer>
#include <QWheelEvent>

#include <algorithm>
#include <csignal>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/Canvas.h"
#include "platform/Keys.h"
#include "platform/RasterOffscreen.h"
#include "platform/qt/QtKeys.h"
#include "platform/qt/QtWindow.h"
#include "platform/qt/QtWindowSystem.h"
#include "platform/qt/QtX11Shape.h"
#include "support/FakeTextEngine.h"

namespace ratiscope {
namespace {

TEST(QtKeys, VirtualKeyCodes) {
    struct Case {
        int qtKey;
        Qt::KeyboardModifiers mods;
        TKey vk;
    };
    const Case cases[] = {
        {Qt::Key_Plus, Qt::KeypadModifier, TKey::Add},
        {Qt::Key_Plus, Qt::NoModifier, TKey::OemPlus},
        {Qt::Key_Minus, Qt::KeypadModifier, TKey::Subtract},
        {Qt::Key_Minus, Qt::ShiftModifier, TKey::OemMinus},
        {Qt::Key_Asterisk, Qt::KeypadModifier, TKey::Multiply},
        {Qt::Key_Slash, Qt::KeypadModifier | Qt::ShiftModifier, TKey::Divide},
        {Qt::Key_Slash, Qt::NoModifier, TKey::None},
        {Qt::Key_5, Qt::KeypadModifier, KeypadDigit(5)},
        {Qt::Key_5, Qt::NoModifier, KeyOfDigit(5)},
        {Qt::Key_Enter, Qt::KeypadModifier, TKey::Return},
        {Qt::Key_Return, Qt::NoModifier, TKey::Return},
        {Qt::Key_Left, Qt::KeypadModifier, TKey::Left},  // keypad arrows with Num Lock off
        {Qt::Key_Right, Qt::ControlModifier, TKey::Right},
        {Qt::Key_Up, Qt::NoModifier, TKey::Up},
        {Qt::Key_Down, Qt::NoModifier, TKey::Down},
        {Qt::Key_Space, Qt::NoModifier, TKey::Space},
        {Qt::Key_F1, Qt::NoModifier, TKey::F1},
        {Qt::Key_F3, Qt::ShiftModifier, TKey::F3},
        {Qt::Key_F12, Qt::NoModifier, FunctionKey(12)},
        {Qt::Key_A, Qt::NoModifier, KeyOfLetter('A')},
        {Qt::Key_Z, Qt::ShiftModifier, KeyOfLetter('Z')},
        {Qt::Key_Escape, Qt::NoModifier, TKey::Escape},
    };
    for (const Case& c : cases) EXPECT_EQ(VirtualKeyFromQt(c.qtKey, c.mods), c.vk) << std::hex << c.qtKey;
}

TEST(QtKeys, StateSets) {
    EXPECT_EQ(ShiftStateFromQt(Qt::AltModifier, Qt::NoButton), ssAlt);
    EXPECT_EQ(ShiftStateFromQt(Qt::ControlModifier | Qt::ShiftModifier, Qt::LeftButton), ssCtrl | ssShift | ssLeft);
    EXPECT_EQ(ShiftStateFromQt(Qt::KeypadModifier, Qt::RightButton | Qt::MiddleButton), ssRight | ssMiddle);
}

TEST(ShapeMask, BitLayouts) {
    // Row of 11 pixels: shown at x = 0, 3, 8, 10.
    TImage image(11, 2, PixelFromColor(kOverlayKeyColor));
    for (int x : {0, 3, 8, 10}) image.Set(x, 0, PixelFromColor(0x4040FF));
    image.Set(5, 1, 0xFF000000u);  // black is not the key
    struct Case {
        const char* what;
        TBitmapFormat format;
        std::int32_t stride;
        std::vector<std::uint8_t> row0, row1;
    };
    const Case cases[] = {
        {"lsb bits, 32-bit pad", {true, 32, 32, true}, 4, {0x09, 0x05, 0, 0}, {0x20, 0, 0, 0}},
        {"msb bits, 8-bit pad", {false, 8, 8, true}, 2, {0x90, 0xA0}, {0x04, 0}},
        {"msb bits, 32-bit msb units", {false, 32, 32, false}, 4, {0, 0, 0xA0, 0x90}, {0, 0, 0, 0x04}},
        {"lsb bits, 16-bit pad", {true, 16, 16, true}, 2, {0x09, 0x05}, {0x20, 0}},
    };
    for (const Case& c : cases) {
        TShapeMask mask;
        BuildShapeMask(image, PixelFromColor(kOverlayKeyColor), c.format, mask);
        EXPECT_EQ(mask.stride, c.stride) << c.what;
        std::vector<std::uint8_t> r0(mask.bits.begin(), mask.bits.begin() + mask.stride);
        std::vector<std::uint8_t> r1(mask.bits.begin() + mask.stride, mask.bits.end());
        EXPECT_EQ(r0, c.row0) << c.what;
        EXPECT_EQ(r1, c.row1) << c.what;
    }
}

TEST(ShapeMask, PremultipliedPictureForACompositor) {
    TImage image(3, 1, PixelFromColor(kOverlayKeyColor));
    image.Set(1, 0, 0xFF123456u);
    TShapeMask mask;
    std::vector<std::uint32_t> argb;
    BuildShapeMask(image, PixelFromColor(kOverlayKeyColor), {}, mask, &argb);
    EXPECT_EQ(argb, (std::vector<std::uint32_t>{0u, 0xFF123456u, 0u}));
    TShapeMask empty;
    BuildShapeMask(TImage(), 0, {}, empty, &argb);
    EXPECT_TRUE(empty.bits.empty());
    EXPECT_TRUE(argb.empty());
}

TEST(ShapeTiles, APictureIsCutIntoInnerTilesAndEdgeStrips) {
    struct Case {
        std::int32_t width, height, side, edgeLength;
        std::vector<TShapeTile> tiles;
    };
    const Case cases[] = {
        {0, 10, 256, 0, {}},
        {10, 0, 256, 0, {}},
        {-5, 10, 256, 0, {}},
        {1, 1, 256, 0, {{0, 0, 1, 1}}},  // all bottom strip
        {64, 64, 64, 0, {{0, 0, 32, 32}, {32, 0, 32, 32}, {0, 32, 64, 32}}},
        {100, 50, 64, 0, {{0, 0, 64, 50}, {64, 0, 36, 50}}},  // too low for more than the bottom strip
        {600, 300, 256, 512,
         {{0, 0, 256, 256}, {256, 0, 256, 256}, {512, 0, 32, 256},  // inner tiles
          {544, 0, 56, 256},                                        // the right strip
          {0, 256, 512, 44}, {512, 256, 88, 44}}},                  // the bottom strip with the corner
        {300, 200, 0, 0, {{0, 0, 300, 200}}},   // not cut
        {300, 200, -3, 0, {{0, 0, 300, 200}}},  // nonsense: not cut
    };
    for (const Case& c : cases)
        EXPECT_EQ(ShapeTiles(c.width, c.height, c.side, c.edgeLength), c.tiles) << c.width << " x " << c.height << " / " << c.side;
    // Strips placed by the caller; one that cannot start there starts where it would anew.
    EXPECT_EQ(ShapeTiles(100, 100, 64, 0, 32, 64),
              (std::vector<TShapeTile>{{0, 0, 32, 64}, {32, 0, 68, 64}, {0, 64, 64, 36}, {64, 64, 36, 36}}));
    EXPECT_EQ(ShapeTiles(100, 100, 64, 0, 33, 64),
              (std::vector<TShapeTile>{{0, 0, 64, 64}, {64, 0, 36, 64}, {0, 64, 64, 36}, {64, 64, 36, 36}}));
    // The largest window the settings allow: tiles cover it exactly, each
    // starting on a whole unit of the mask's rows.
    for (const TSize size : {TSize{30016, 90016}, TSize{1921, 1081}}) {
        const std::vector<TShapeTile> tiles = ShapeTiles(size.width, size.height, 3840, 4096);
        std::int64_t area = 0;
        for (const TShapeTile& t : tiles) {
            area += static_cast<std::int64_t>(t.width) * t.height;
            EXPECT_EQ(t.left % 32, 0);
        }
        EXPECT_EQ(area, std::int64_t{size.width} * size.height);
    }
}

TEST(ShapeTiles, EdgeStripsStayWhileTheEdgeMovesALittle) {
    struct Case {
        std::int32_t length, current, start;
    };
    const Case cases[] = {
        {100, -1, 64},  // none yet: the edge 32 to 63 past it
        {96, -1, 64},   {97, -1, 64}, {129, -1, 96},
        {100, 64, 64},  {65, 64, 64}, {128, 64, 64},  // 1 to 64 past it: kept
        {129, 64, 96},  {64, 64, 32},                 // past that either way: moved
        {1000, 33, 960},                              // not on a whole unit: placed anew
        {20, 64, 0},    {32, -1, 0},  {0, -1, 0},  {-7, 5, 0},
    };
    for (const Case& c : cases) EXPECT_EQ(EdgeStripStart(c.length, c.current), c.start) << c.length << " from " << c.current;
}

// What makes the cut worth it: a size going back and forth by a pixel, at
// any size, reshapes the edge strips only.
TEST(ShapeTiles, AStepOfSizeChangesOnlyTheEdgeStrips) {
    for (std::int32_t width = 990; width < 1030; ++width) {
        const std::int32_t height = width - 300;
        const std::int32_t right = EdgeStripStart(width);
        const std::int32_t bottom = EdgeStripStart(height);
        const std::vector<TShapeTile> before = ShapeTiles(width, height, 256, 512, right, bottom);
        for (const TSize after : {TSize{width + 1, height + 1}, TSize{width - 1, height}, TSize{width, height - 1}}) {
            const std::vector<TShapeTile> tiles = ShapeTiles(after.width, after.height, 256, 512,
                                                             EdgeStripStart(after.width, right), EdgeStripStart(after.height, bottom));
            std::size_t changed = 0;
            for (const TShapeTile& t : tiles)
                if (std::find(before.begin(), before.end(), t) == before.end()) {
                    ++changed;
                    EXPECT_TRUE(t.left >= right || t.top >= bottom) << "an inner tile changed at " << t.left << "," << t.top;
                }
            EXPECT_GT(changed, 0u) << after.width << " x " << after.height;
        }
    }
}

TEST(ShapeTiles, RectanglesAreCountedAsTheServerJoinsRows) {
    const TPixel key = PixelFromColor(kOverlayKeyColor);
    struct Case {
        const char* what;
        std::function<void(TImage&)> draw;
        std::int64_t rectangles;
    };
    const Case cases[] = {
        {"nothing shown", [](TImage&) {}, 0},
        {"one full row", [](TImage& i) { for (std::int32_t x = 0; x < i.Width(); ++x) i.Set(x, 3, 0); }, 1},
        {"a column: rows alike join", [](TImage& i) { for (std::int32_t y = 0; y < i.Height(); ++y) i.Set(37, y, 0); }, 1},
        {"two columns across bytes", [](TImage& i) {
             for (std::int32_t y = 0; y < i.Height(); ++y) {
                 i.Set(7, y, 0);
                 i.Set(8, y, 0);  // one run over the byte's end
                 i.Set(60, y, 0);
             }
         }, 2},
        {"the last pixel of a row", [](TImage& i) { i.Set(i.Width() - 1, 0, 0); }, 1},
        {"a grid of step 4", [](TImage& i) {
             for (std::int32_t y = 0; y < i.Height(); ++y)
                 for (std::int32_t x = 0; x < i.Width(); ++x)
                     if (x % 4 == 0 || y % 4 == 0) i.Set(x, y, 0);
         }, 3 * (1 + 70 / 4 + 1)},  // per cell row: the line row, then the rows of 18 posts
    };
    for (const Case& c : cases) {
        TImage image(70, 10, key);
        c.draw(image);
        TShapeMask mask;
        BuildShapeMask(image, key, {}, mask);
        EXPECT_EQ(ShapeRectangles(mask), c.rectangles) << c.what;
    }
    EXPECT_EQ(ShapeRectangles(TShapeMask{}), 0);
}

// A figure of some rectangles on a window of some size, and what the cut
// should make of it given what it makes now.
struct TCutCase {
    const char* what;
    std::int32_t width, height;
    std::int64_t rectangles;
    std::int32_t current, wanted;
};

TEST(ShapeTiles, DenserFiguresGetSmallerTiles) {
    const TCutCase cases[] = {
        {"a few lines full screen", 1920, 1080, 3000, 0, 512},
        {"nothing shown", 1920, 1080, 0, 0, 512},
        {"a step-8 grid with values full screen", 1920, 1080, 140000, 0, 256},
        {"a step-3 grid with values full screen", 1920, 1080, 425000, 0, 128},
        {"a step-3 grid, default size", 444, 325, 23400, 0, 128},
        {"close to the side in use: kept", 1920, 1080, 425000, 256, 256},
        {"far from it: changed", 1920, 1080, 425000, 512, 128},
        {"a 4K step-3 grid", 3840, 2160, 1770000, 0, 256},
        {"the largest window: few enough tiles", 30016, 90016, 50000000, 64, 2144},
        {"an empty window", 0, 0, 10, 0, 512},
    };
    for (const TCutCase& c : cases) {
        const std::int32_t side = TileSideFor(c.width, c.height, c.rectangles, c.current);
        EXPECT_EQ(side, c.wanted) << c.what;
        EXPECT_EQ(side % 32, 0) << c.what;
    }
    for (const TSize size : {TSize{1920, 1080}, TSize{3840, 2160}, TSize{30016, 90016}, TSize{0, 0}, TSize{-4, 9}}) {
        const std::int32_t least = LeastTileSide(size.width, size.height);
        EXPECT_EQ(least % 32, 0);
        EXPECT_LE(ShapeTiles(size.width, size.height, least).size(), 700u) << size.width << " x " << size.height;
    }
    EXPECT_EQ(LeastTileSide(1920, 1080), 64);
    EXPECT_EQ(LeastTileSide(30016, 90016), 2144);
}

TEST(ShapeTiles, EdgePiecesHoldAboutAsManyRectanglesAsTheServerChangesQuickly) {
    const TCutCase cases[] = {
        {"a sparse figure full screen: the longest pieces", 1920, 1080, 33000, 0, 512},
        {"nothing shown", 1920, 1080, 0, 0, 512},
        {"a 4K step-3 grid", 3840, 2160, 1770000, 0, 384},
        {"a step-3 grid, default size: as long as the window", 444, 325, 23400, 0, 384},
        {"close to the length in use: kept", 1920, 1080, 425000, 448, 448},
        {"far from it: changed", 1920, 1080, 33000, 192, 512},
        {"an empty window", 0, 0, 5, 0, 64},
    };
    for (const TCutCase& c : cases) EXPECT_EQ(EdgeLengthFor(c.width, c.height, c.rectangles, c.current), c.wanted) << c.what;
}

// Two tiles across: a pixel changed in the second leaves the first as it was,
// in both byte orders a server may use.
TEST(ShapeTiles, ATileDiffersOnlyWhereItsOwnPixelsDo) {
    const TPixel key = PixelFromColor(kOverlayKeyColor);
    const TBitmapFormat formats[] = {{}, {false, 32, 32, false}};
    for (const TBitmapFormat& format : formats) {
        TImage image(70, 6, key);
        TShapeMask before;
        BuildShapeMask(image, key, format, before);
        image.Set(40, 4, 0xFF000000u);
        TShapeMask after;
        BuildShapeMask(image, key, format, after);
        TImage wider(71, 6, key);
        TShapeMask wide;
        BuildShapeMask(wider, key, format, wide);
        TImage shorter(70, 3, key);
        TShapeMask low;
        BuildShapeMask(shorter, key, format, low);
        struct Case {
            const char* what;
            const TShapeMask& a;
            const TShapeMask& b;
            TShapeTile tile;
            bool differs;
        };
        const Case cases[] = {
            {"the tile left of the change", before, after, {0, 0, 32, 6}, false},
            {"the changed tile", before, after, {32, 0, 32, 6}, true},
            {"the tile right of it", before, after, {64, 0, 6, 6}, false},
            {"rows above the change", before, after, {32, 0, 32, 4}, false},
            {"the changed row alone", before, after, {32, 4, 32, 1}, true},
            {"no pixels", before, after, {32, 4, 0, 1}, false},
            {"another width, the tile in both", before, wide, {0, 0, 32, 2}, false},
            {"another width, the tile past one", before, wide, {64, 0, 7, 2}, true},
            {"another width, a pixel changed", after, wide, {32, 0, 32, 6}, true},
            {"rows one mask lacks", before, low, {0, 2, 32, 2}, true},
            {"rows both have", before, low, {0, 0, 32, 3}, false},
            {"a tile past both", before, before, {0, 5, 32, 4}, true},
            {"a negative top", before, before, {0, -1, 32, 2}, true},
            {"a negative left", before, before, {-32, 0, 32, 2}, true},
        };
        for (const Case& c : cases) EXPECT_EQ(TileDiffers(c.a, c.b, c.tile), c.differs) << c.what << ", lsb " << format.lsbFirst;
    }
}

class TEventLog final : public IWindowEvents {
public:
    std::vector<std::string> log;
    void OnPaint() override { log.push_back("paint"); }
    void OnMouseDown(TMouseButton b, TShiftState s, std::int32_t x, std::int32_t y) override {
        log.push_back("down " + std::to_string(static_cast<int>(b)) + " " + std::to_string(s) + " " + Pt(x, y));
    }
    void OnMouseMove(TShiftState s, std::int32_t x, std::int32_t y) override {
        log.push_back("move " + std::to_string(s) + " " + Pt(x, y));
    }
    void OnMouseUp(TMouseButton b, TShiftState s, std::int32_t x, std::int32_t y) override {
        log.push_back("up " + std::to_string(static_cast<int>(b)) + " " + std::to_string(s) + " " + Pt(x, y));
    }
    void OnMouseWheel(TShiftState s, std::int32_t delta, std::int32_t, std::int32_t) override {
        log.push_back("wheel " + std::to_string(s) + " " + std::to_string(delta));
    }
    void OnKeyDown(TKey key, TShiftState s) override { log.push_back("keydown " + std::to_string(KeyNumber(key)) + " " + std::to_string(s)); }
    void OnKeyUp(TKey key, TShiftState s) override { log.push_back("keyup " + std::to_string(KeyNumber(key)) + " " + std::to_string(s)); }
    void OnClose() override { log.push_back("close"); }

private:
    static std::string Pt(std::int32_t x, std::int32_t y) { return std::to_string(x) + "," + std::to_string(y); }
};

class QtWindowTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "qt_window_tests";
        static char* argv[] = {name, nullptr};
        if (!qApp) app_ = std::make_unique<QApplication>(argc, argv);
    }
    // Gone before the program's static objects, which Qt's destructor still uses.
    static void TearDownTestSuite() { app_.reset(); }

    TFakeTextEngine text;
    TQtWindowSystem system{[this] { return std::make_unique<TRasterOffscreen>(text); }};
    TEventLog events;

private:
    static inline std::unique_ptr<QApplication> app_;
};

TEST_F(QtWindowTest, InputArrivesAsPlatformEvents) {
    auto window = system.CreateWindow(events, TWindowOptions{kOverlayKeyColor});
    auto& qt = static_cast<TQtWindow&>(*window);
    QWidget& w = qt.Widget();
    window->SetClientSize({100, 50});

    QMouseEvent press(QEvent::MouseButtonPress, QPointF(10, 20), QPointF(10, 20), Qt::RightButton, Qt::RightButton,
                      Qt::ShiftModifier);
    QCoreApplication::sendEvent(&w, &press);
    QMouseEvent move(QEvent::MouseMove, QPointF(-5, 70), QPointF(-5, 70), Qt::NoButton, Qt::RightButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&w, &move);
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(-5, 70), QPointF(-5, 70), Qt::RightButton, Qt::NoButton,
                        Qt::NoModifier);
    QCoreApplication::sendEvent(&w, &release);

    // Parts of a notch add up; with Alt, Qt reports the vertical wheel as horizontal.
    for (int part : {40, 40, 40}) {
        QWheelEvent wheel(QPointF(5, 5), QPointF(5, 5), QPoint(), QPoint(0, part), Qt::NoButton, Qt::NoModifier,
                          Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(&w, &wheel);
    }
    QWheelEvent alt(QPointF(5, 5), QPointF(5, 5), QPoint(), QPoint(-240, 0), Qt::NoButton, Qt::AltModifier,
                    Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(&w, &alt);

    QKeyEvent kpPlus(QEvent::KeyPress, Qt::Key_Plus, Qt::KeypadModifier | Qt::ShiftModifier);
    QCoreApplication::sendEvent(&w, &kpPlus);
    QKeyEvent f3(QEvent::KeyPress, Qt::Key_F3, Qt::NoModifier);
    QCoreApplication::sendEvent(&w, &f3);
    QKeyEvent repeatRelease(QEvent::KeyRelease, Qt::Key_F3, Qt::NoModifier, QString(), true);
    QCoreApplication::sendEvent(&w, &repeatRelease);
    QKeyEvent f3Release(QEvent::KeyRelease, Qt::Key_F3, Qt::NoModifier);
    QCoreApplication::sendEvent(&w, &f3Release);

    EXPECT_EQ(events.log, (std::vector<std::string>{
                              "down 1 17 10,20",  // right, Shift + right button
                              "move 16 -5,70",    // outside the window during the drag
                              "up 1 0 -5,70",
                              "wheel 0 120",
                              "wheel 2 -240",
                              "keydown 107 1",
                              "keydown 114 0",
                              "keyup 114 0",
                          }));
}

TEST_F(QtWindowTest, ATileShowsItsPixelsAndHandsOnItsInputMovedByItsPlace) {
    auto window = system.CreateWindow(events, TWindowOptions{kOverlayKeyColor});
    auto& qt = static_cast<TQtWindow&>(*window);
    window->SetClientSize({9, 10});
    ICanvas& picture = window->NewPicture();
    picture.FillRect({0, 4, 9, 5}, 0x0000FF);  // row 4 red
    picture.FillRect({5, 7, 6, 8}, 0x00FF00);  // one green pixel in row 7
    window->FlushSurface();
    TQtTileWidget tile(qt, {3, 4, 6, 6});
    tile.resize(6, 6);
    const QImage shown = tile.grab().toImage();
    ASSERT_EQ(shown.size(), QSize(6, 6));
    EXPECT_EQ(shown.pixelColor(0, 0), QColor(255, 0, 0)) << "the tile's first row is the picture's row 4";
    EXPECT_EQ(shown.pixelColor(2, 3), QColor(0, 255, 0)) << "the tile's first column is the picture's column 3";
    EXPECT_EQ(shown.pixelColor(3, 3), QColor(254, 0, 254));

    QMouseEvent press(QEvent::MouseButtonPress, QPointF(3, 2), QPointF(3, 2), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(&tile, &press);
    QMouseEvent move(QEvent::MouseMove, QPointF(5, -9), QPointF(5, -9), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&tile, &move);
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(5, -9), QPointF(5, -9), Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QCoreApplication::sendEvent(&tile, &release);
    QWheelEvent wheel(QPointF(1, 1), QPointF(1, 1), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(&tile, &wheel);
    EXPECT_EQ(events.log, (std::vector<std::string>{
                              "down 0 8 6,6",  // left, with the left button held
                              "move 8 8,-5",  // above the tile, inside the window
                              "up 0 0 8,-5",
                              "wheel 0 -120",
                          }));
}

TEST_F(QtWindowTest, ANewPictureIsWhatTheWindowShows) {
    auto window = system.CreateWindow(events, TWindowOptions{kOverlayKeyColor});
    window->SetClientSize({4, 3});
    EXPECT_EQ(window->ClientSize(), (TSize{4, 3}));
    ICanvas& picture = window->NewPicture();
    EXPECT_EQ(&picture, &window->Surface());
    EXPECT_EQ(picture.Size(), (TSize{4, 3}));
    picture.FillRect({0, 0, 6, 6}, 0x00FF00);  // wider than the window: clipped
    picture.FillRect({1, 1, 2, 2}, 0x0000FF);
    window->Surface().FillRect({3, 2, 4, 3}, 0xFF0000);  // drawn straight on the surface
    window->FlushSurface();
    const QImage shown = static_cast<TQtWindow&>(*window).Widget().grab().toImage();
    ASSERT_EQ(shown.size(), QSize(4, 3));
    EXPECT_EQ(shown.pixelColor(0, 0), QColor(0, 255, 0));
    EXPECT_EQ(shown.pixelColor(1, 1), QColor(255, 0, 0));
    EXPECT_EQ(shown.pixelColor(3, 2), QColor(0, 0, 255));

    // A picture composed for a smaller size leaves the rest in the key colour, not in old pixels.
    window->SetClientSize({8, 8});
    window->NewPicture().FillRect({0, 0, 6, 6}, 0x00FF00);
    window->Surface().FillRect({6, 6, 8, 8}, 0xFF0000);  // hover feedback
    window->FlushSurface();
    window->NewPicture().FillRect({0, 0, 6, 6}, 0x00FF00);
    window->FlushSurface();
    const QImage grown = static_cast<TQtWindow&>(*window).Widget().grab().toImage();
    ASSERT_EQ(grown.size(), QSize(8, 8));
    EXPECT_EQ(grown.pixelColor(7, 7), QColor(254, 0, 254)) << "the feedback went with the new picture";
    EXPECT_EQ(grown.pixelColor(6, 6), QColor(254, 0, 254));
    EXPECT_EQ(grown.pixelColor(7, 0), QColor(254, 0, 254));
    EXPECT_EQ(grown.pixelColor(5, 5), QColor(0, 255, 0));
}

TEST_F(QtWindowTest, OnlyAStaleSurfaceIsComposedAgain) {
    auto window = system.CreateWindow(events, TWindowOptions{kOverlayKeyColor});
    QWidget& w = static_cast<TQtWindow&>(*window).Widget();
    window->SetClientSize({4, 3});
    window->NewPicture().FillRect({0, 0, 4, 3}, 0x00FF00);
    window->Surface().FillRect({0, 0, 1, 1}, 0x0000FF);  // hover feedback
    window->FlushSurface();
    auto paints = [&] { return std::count(events.log.begin(), events.log.end(), "paint"); };
    QImage shown = w.grab().toImage();
    EXPECT_EQ(paints(), 0) << "a current surface is shown as it stands";
    EXPECT_EQ(shown.pixelColor(0, 0), QColor(255, 0, 0)) << "the feedback survives the paint";

    window->Invalidate();
    shown = w.grab().toImage();
    EXPECT_EQ(paints(), 1);
    w.grab();
    EXPECT_EQ(paints(), 2) << "no new picture since: still stale";

    window->NewPicture();
    window->SetClientSize({4, 3});
    w.grab();
    EXPECT_EQ(paints(), 2) << "the same size does not make it stale";
    window->SetClientSize({5, 3});
    w.grab();
    EXPECT_EQ(paints(), 3);
}

// Runs the message loop until `done` holds or a few seconds have passed.
template <class Done>
void SpinUntil(Done done) {
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < 5000) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
}

TEST_F(QtWindowTest, WorkAfterTheFirstPictureWaitsForItOnTheScreen) {
    auto window = system.CreateWindow(events, TWindowOptions{kOverlayKeyColor});
    window->SetClientSize({40, 30});
    window->Invalidate();
    std::vector<std::string> seen;
    system.AfterFirstPaint(*window, [&] { seen = events.log; });
    static_cast<TQtWindow&>(*window).Widget().grab();  // a picture off the screen does not count
    events.log.clear();
    window->Invalidate();
    QCoreApplication::processEvents();
    EXPECT_TRUE(seen.empty()) << "ran before the window was shown";

    window->Show();
    SpinUntil([&] { return !seen.empty(); });
    EXPECT_EQ(std::count(seen.begin(), seen.end(), "paint"), 1) << "ran before the first picture on the screen";

    // Once the picture is there, later work runs from the message loop.
    bool later = false;
    system.AfterFirstPaint(*window, [&] { later = true; });
    EXPECT_FALSE(later);
    SpinUntil([&] { return later; });
    EXPECT_TRUE(later);
}

TEST_F(QtWindowTest, WorkAfterTheFirstPictureGoesWithItsWindow) {
    bool ran = false;
    {
        auto window = system.CreateWindow(events, TWindowOptions{kOverlayKeyColor});
        window->SetClientSize({40, 30});
        system.AfterFirstPaint(*window, [&] { ran = true; });
        window->Show();
    }
    // Longer than a window waits for its first picture at most.
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 1500) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    EXPECT_FALSE(ran);
}

TEST_F(QtWindowTest, CloseRunsTheHandlerOnce) {
    auto window = system.CreateWindow(events, TWindowOptions{kOverlayKeyColor});
    window->Show();
    window->Close();
    window->Close();
    EXPECT_EQ(std::count(events.log.begin(), events.log.end(), "close"), 1);
    EXPECT_FALSE(window->IsVisible());
}

TEST_F(QtWindowTest, OverrideCursorResetEmptiesTheStack) {
    system.SetOverrideCursor(TCursor::SizeNWSE);
    system.SetOverrideCursor(TCursor::SizeNWSE);
    system.ResetOverrideCursor();
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

TEST_F(QtWindowTest, MessageBoxShowsTheIconOfItsKind) {
    struct Case {
        TMessageKind kind;
        QMessageBox::Icon icon;
    };
    const Case cases[] = {{TMessageKind::Error, QMessageBox::Critical}, {TMessageKind::Warning, QMessageBox::Warning}};
    for (const Case& c : cases) {
        QMessageBox::Icon shown = QMessageBox::NoIcon;
        QString text;
        // The box is modal: a timer inside its loop reads it and presses OK.
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, [&] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                shown = box->icon();
                text = box->text();
                box->accept();
            }
        });
        poll.start(10);
        system.ShowMessage(c.kind, "Vendrel Ratiscope", "Unable to write to /x");
        poll.stop();
        EXPECT_EQ(shown, c.icon);
        EXPECT_EQ(text.toStdString(), "Unable to write to /x");
    }
}

// A signal that asks the program to end closes the main window through its
// close handler, and the loop ends with 0, as after the close button; a window
// that is not the main one is left for the program to close.
class QtWindowEndingTest : public QtWindowTest {
protected:
    void EndWith(const std::function<void()>& request) {
        TEventLog other;
        auto main = system.CreateWindow(events, TWindowOptions{kOverlayKeyColor, true, "main"});
        auto panel = system.CreateWindow(other, TWindowOptions{kOverlayKeyColor});
        main->Show();
        panel->Show();
        QTimer::singleShot(0, request);
        EXPECT_EQ(system.Run(), 0);
        EXPECT_EQ(std::count(events.log.begin(), events.log.end(), "close"), 1);
        EXPECT_EQ(std::count(other.log.begin(), other.log.end(), "close"), 0);
    }
};

// Each request to end, for both kinds of main window below.
struct TEndRequest {
    const char* name;
    void (*ask)();
};
const TEndRequest kEndRequests[] = {
    {"Sigterm", [] { std::raise(SIGTERM); }},
    {"Sigint", [] { std::raise(SIGINT); }},
    {"Sighup", [] { std::raise(SIGHUP); }},
    // The end of the session reaches the application as a request to quit.
    {"QuitRequest", [] { QCoreApplication::quit(); }},
};
std::string EndRequestName(const ::testing::TestParamInfo<TEndRequest>& info) { return info.param.name; }

class QtWindowEndsOn : public QtWindowEndingTest, public ::testing::WithParamInterface<TEndRequest> {};
TEST_P(QtWindowEndsOn, Request) { EndWith(GetParam().ask); }
INSTANTIATE_TEST_SUITE_P(EndRequests, QtWindowEndsOn, ::testing::ValuesIn(kEndRequests), EndRequestName);

TEST_F(QtWindowEndingTest, ASignalBeforeTheLoopIsServedWhenItRuns) {
    std::raise(SIGTERM);
    EndWith([] {});
}

// A request while a message of the start waits for the user (the show-and-hide
// key is taken, say) dismisses it, so the start goes on and the request ends
// the program once its loop runs, rather than waiting for the user's click.
class QtEndingDuringAMessageTest : public QtWindowEndingTest {
protected:
    void MessageThenEnd(TMessageKind kind, int signal) {
        constexpr int kGuardMilliseconds = 10'000;
        QTimer::singleShot(0, [signal] { std::raise(signal); });
        // Only if the message stayed: the test ends rather than hangs.
        bool stayed = false;
        QTimer guard;
        guard.setSingleShot(true);
        QObject::connect(&guard, &QTimer::timeout, [&stayed] {
            stayed = true;
            if (auto* box = qobject_cast<QDialog*>(QApplication::activeModalWidget())) box->accept();
        });
        guard.start(kGuardMilliseconds);
        system.ShowMessage(kind, "Vendrel Ratiscope", "The show-and-hide key is taken");
        guard.stop();
        EXPECT_FALSE(stayed);
        EndWith([] {});
    }
};

TEST_F(QtEndingDuringAMessageTest, WarningAndSigterm) { MessageThenEnd(TMessageKind::Warning, SIGTERM); }
TEST_F(QtEndingDuringAMessageTest, ErrorAndSighup) { MessageThenEnd(TMessageKind::Error, SIGHUP); }

// A main window that is not a Qt window (the native Wayland overlay) is closed
// by the same requests while it is linked, and only then. Its close ends the
// loop as that window's own close does.
class QtLinkedEndingTest : public QtWindowTest {
protected:
    void EndWith(const std::function<void()>& request) {
        TEventLog other;
        auto panel = system.CreateWindow(other, TWindowOptions{kOverlayKeyColor});
        panel->Show();
        int closes = 0;
        const TTerminationLink link = system.OnTermination([&] {
            ++closes;
            system.Quit(0);
        });
        QTimer::singleShot(0, request);
        EXPECT_EQ(system.Run(), 0);
        EXPECT_EQ(closes, 1);
        EXPECT_EQ(std::count(other.log.begin(), other.log.end(), "close"), 0);
    }
};

class QtLinkedWindowEndsOn : public QtLinkedEndingTest, public ::testing::WithParamInterface<TEndRequest> {};
TEST_P(QtLinkedWindowEndsOn, Request) { EndWith(GetParam().ask); }
INSTANTIATE_TEST_SUITE_P(EndRequests, QtLinkedWindowEndsOn, ::testing::ValuesIn(kEndRequests), EndRequestName);
TEST_F(QtLinkedEndingTest, TwoSignalsCloseOnce) {
    EndWith([] {
        std::raise(SIGTERM);
        QTimer::singleShot(0, [] { std::raise(SIGINT); });
    });
}

TEST_F(QtWindowTest, AnEndedLinkClosesNothing) {
    constexpr int kOwnExitCode = 3;
    int closes = 0;
    {
        const TTerminationLink link = system.OnTermination([&] { ++closes; });
    }
    // A later link replaced by another: only the newest is closed.
    int replacedCloses = 0;
    TTerminationLink replaced = system.OnTermination([&] { ++replacedCloses; });
    const TTerminationLink newest = system.OnTermination([&] {
        ++closes;
        system.Quit(kOwnExitCode);
    });
    replaced = TTerminationLink();  // the end of the replaced link leaves the newest in place
    QTimer::singleShot(0, [] { std::raise(SIGTERM); });
    EXPECT_EQ(system.Run(), kOwnExitCode);
    EXPECT_EQ(closes, 1);
    EXPECT_EQ(replacedCloses, 0);
}

TEST_F(QtWindowTest, WithoutALinkARequestWaits) {
    constexpr int kOwnExitCode = 4;
    int closes = 0;
    {
        const TTerminationLink link = system.OnTermination([&] { ++closes; });
    }
    QTimer::singleShot(0, [] { std::raise(SIGTERM); });
    QTimer::singleShot(100, [this] { system.Quit(kOwnExitCode); });
    EXPECT_EQ(system.Run(), kOwnExitCode);
    EXPECT_EQ(closes, 0);
}

}  // namespace
}  // namespace ratiscope

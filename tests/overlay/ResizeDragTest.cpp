// Where one pointer movement takes a grip drag, by table: the sides, the
// window's corner and the anchor afterwards.
#include <gtest/gtest.h>

#include <optional>

#include "base/Numbers.h"
#include "overlay/ResizeDrag.h"

namespace ratiscope {
namespace {

// The window at (300, 240) with the default 396 x 245 rectangle and border 12.
TDragState Drag(TDragMode mode, std::int32_t anchorX, std::int32_t anchorY, bool lock, bool lockWidth) {
    return {mode, anchorX, anchorY, 300, 240, 12, TSizeState{396, 245, kGoldenFactor, lock, lockWidth}};
}

TEST(ResizeDrag, OneMovementByTable) {
    struct Case {
        const char* what;
        TDragState drag;
        std::int32_t x, y;
        std::int32_t width, height;  // stored afterwards
        std::int32_t left, top;      // the window afterwards
        std::int32_t anchorX, anchorY;
    };
    const Case cases[] = {
        {"lock off, top-left grip out by 10: the bottom-right corner stays", Drag(dmTopLeft, 5, 5, false, true), -5,
         -5, 406, 255, 290, 230, 5, 5},
        {"lock off, bottom-right grip centred out by 5: the centre stays", Drag(dmBottomRightCentred, 400, 260, false, true),
         405, 265, 406, 255, 295, 235, 410, 270},
        {"lock off, bottom-right grip: the window stays", Drag(dmBottomRight, 400, 260, false, true), 420, 250, 416,
         235, 300, 240, 420, 250},
        {"height leads, bottom-right 10 right: the height grows, the width follows",
         Drag(dmBottomRight, 400, 260, true, false), 410, 260, 413, 255, 300, 240, 410, 270},
        {"height leads, bottom-right straight down: nothing changes", Drag(dmBottomRight, 400, 260, true, false), 400,
         270, 396, 245, 300, 240, 400, 260},
        {"width leads, top-left straight up: nothing changes", Drag(dmTopLeft, 5, 5, true, true), 5, -20, 396, 245,
         300, 240, 5, 5},
        {"width leads, top-left shrunk past the minimum: 58 wide, corner kept", Drag(dmTopLeft, 5, 5, true, true), 400,
         5, 58, 36, 638, 449, 5, 5},
        {"width leads, top-left centred out by 5", Drag(dmTopLeftCentred, 5, 5, true, true), 0, 0, 406, 251, 295, 237,
         5, 5},
        {"width leads, bottom-right centred out by 10", Drag(dmBottomRightCentred, 400, 260, true, true), 410, 300, 416,
         257, 290, 234, 420, 280},
    };
    for (const Case& c : cases) {
        const std::optional<TDragStep> step = DragTo(c.drag, c.x, c.y);
        ASSERT_TRUE(step.has_value()) << c.what;
        EXPECT_EQ(step->size.Width, c.width) << c.what;
        EXPECT_EQ(step->size.Height, c.height) << c.what;
        EXPECT_EQ(step->left, c.left) << c.what;
        EXPECT_EQ(step->top, c.top) << c.what;
        EXPECT_EQ(step->anchorX, c.anchorX) << c.what;
        EXPECT_EQ(step->anchorY, c.anchorY) << c.what;
        // The lock and ratio are the drag's to read, never to change.
        EXPECT_EQ(step->size.Ratio, c.drag.size.Ratio) << c.what;
        EXPECT_EQ(step->size.Lock, c.drag.size.Lock) << c.what;
    }
}

TEST(ResizeDrag, FixedCornerOrCentreStaysWhateverTheClamp) {
    // Far past every limit: the kept point is where it was.
    struct Case {
        TDragMode mode;
        bool lock;
    };
    for (const Case c : {Case{dmTopLeft, false}, Case{dmTopLeft, true}, Case{dmTopLeftCentred, false},
                         Case{dmTopLeftCentred, true}, Case{dmBottomRightCentred, false},
                         Case{dmBottomRightCentred, true}}) {
        const TDragState drag = Drag(c.mode, 200, 150, c.lock, true);
        const bool centred = c.mode != dmTopLeft;
        const std::int32_t x = c.mode == dmBottomRightCentred ? -5000 : 5000;
        const std::optional<TDragStep> step = DragTo(drag, x, x);
        ASSERT_TRUE(step.has_value());
        const TSizeState& after = step->size;
        if (centred) {
            EXPECT_EQ(step->left + 12 + after.Width / 2, 300 + 12 + 396 / 2) << c.mode << c.lock;
            EXPECT_EQ(step->top + 12 + 16 + after.Height / 2, 240 + 12 + 16 + 245 / 2) << c.mode << c.lock;
        } else {
            EXPECT_EQ(step->left + after.Width, 300 + 396) << c.lock;
            EXPECT_EQ(step->top + after.Height, 240 + 245) << c.lock;
        }
        EXPECT_EQ(after.Width, 58) << c.mode << c.lock;
    }
}

TEST(ResizeDrag, NoStepWithoutADragOrAMovement) {
    EXPECT_FALSE(DragTo(Drag(dmBottomRight, 400, 260, false, true), 400, 260).has_value());
    EXPECT_FALSE(DragTo(Drag(dmNone, 400, 260, false, true), 410, 270).has_value());
}

}  // namespace
}  // namespace ratiscope

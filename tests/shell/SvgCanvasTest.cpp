// The SVG canvas: every drawing call becomes the element it stands for, at the
// raster's coordinates, and the document stays well-formed whatever the text.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "overlay/Renderer.h"
#include "platform/raster/TextBox.h"
#include "settings/Settings.h"
#include "shell/SvgCanvas.h"
#include "support/FakeTextEngine.h"

namespace ratiscope {
namespace {

bool Has(const std::string& doc, const std::string& part) {
    return doc.find(part) != std::string::npos;
}

std::size_t Count(const std::string& doc, const std::string& part) {
    std::size_t n = 0;
    for (auto at = doc.find(part); at != std::string::npos; at = doc.find(part, at + 1)) ++n;
    return n;
}

class SvgCanvas : public ::testing::Test {
protected:
    TFakeTextEngine text;
    TSvgCanvas canvas{text, kOverlayKeyColor};
};

TEST_F(SvgCanvas, PenRunsBecomeLinesAndPolylines) {
    canvas.Resize(420, 285);
    canvas.SetPenColor(0x004040FF);
    canvas.MoveTo(408, 28);
    canvas.LineTo(408, 273);
    canvas.MoveTo(12, 28);
    canvas.LineTo(408, 28);
    canvas.LineTo(408, 273);
    canvas.LineTo(12, 28);
    canvas.MoveTo(5, 5);  // a move alone draws nothing
    canvas.SetPenColor(0x00808080);
    canvas.MoveTo(1, 2);
    canvas.LineTo(3, 4);
    const std::string doc = canvas.Document();
    EXPECT_TRUE(Has(doc, "<line x1=\"408\" y1=\"28\" x2=\"408\" y2=\"273\" stroke=\"#ff4040\"/>"));
    EXPECT_TRUE(Has(doc, "<polyline points=\"12,28 408,28 408,273 12,28\" stroke=\"#ff4040\"/>"));
    EXPECT_TRUE(Has(doc, "<line x1=\"1\" y1=\"2\" x2=\"3\" y2=\"4\" stroke=\"#808080\"/>"));
    EXPECT_EQ(Count(doc, "<line "), 2u);
    // Strokes sit on pixel centres, so the integers stay the raster's own.
    EXPECT_TRUE(Has(doc, "transform=\"translate(0.5 0.5)\""));
    EXPECT_TRUE(Has(doc, "width=\"420\" height=\"285\" viewBox=\"0 0 420 285\""));
}

TEST_F(SvgCanvas, PenColourChangeMidRunSplitsTheRun) {
    canvas.Resize(10, 10);
    canvas.SetPenColor(0x000000FF);
    canvas.MoveTo(0, 0);
    canvas.LineTo(5, 0);
    canvas.SetPenColor(0x0000FF00);
    canvas.LineTo(5, 5);  // continues from the pen position in the new colour
    const std::string doc = canvas.Document();
    EXPECT_TRUE(Has(doc, "<line x1=\"0\" y1=\"0\" x2=\"5\" y2=\"0\" stroke=\"#ff0000\"/>"));
    EXPECT_TRUE(Has(doc, "<line x1=\"5\" y1=\"0\" x2=\"5\" y2=\"5\" stroke=\"#00ff00\"/>"));
}

TEST_F(SvgCanvas, EllipsesKeepTheirBox) {
    struct Case {
        TRect box;
        const char* element;
    };
    const Case cases[] = {
        // The outline runs through the centres of the box's outer pixels.
        {{12, -48, 409, 349}, "<ellipse cx=\"210\" cy=\"150\" rx=\"198\" ry=\"198\""},
        {{0, 0, 10, 6}, "<ellipse cx=\"4.5\" cy=\"2.5\" rx=\"4.5\" ry=\"2.5\""},
        {{-3, -3, 0, 0}, "<ellipse cx=\"-2\" cy=\"-2\" rx=\"1\" ry=\"1\""},
        {{-2, -2, 0, 0}, "<ellipse cx=\"-1.5\" cy=\"-1.5\" rx=\"0.5\" ry=\"0.5\""},
        {{0, 0, 2, 2}, "<ellipse cx=\"0.5\" cy=\"0.5\" rx=\"0.5\" ry=\"0.5\""},
    };
    for (const Case& k : cases) {
        canvas.Resize(420, 285);
        canvas.Ellipse(k.box);
        EXPECT_TRUE(Has(canvas.Document(), k.element)) << canvas.Document();
    }
    canvas.Resize(420, 285);
    canvas.Ellipse({5, 5, 5, 9});  // an empty box draws nothing
    EXPECT_FALSE(Has(canvas.Document(), "<ellipse"));
}

TEST_F(SvgCanvas, KeyFillsAreLeftOutOtherFillsClipped) {
    canvas.Resize(100, 50);
    canvas.FillRect({0, 0, 100, 50}, kOverlayKeyColor);
    canvas.FillRect({-10, 40, 30, 90}, 0x00123456);
    canvas.FillRect({200, 0, 300, 10}, 0x00FFFFFF);  // wholly outside
    const std::string doc = canvas.Document();
    EXPECT_FALSE(Has(doc, "#fe00fe"));
    EXPECT_TRUE(Has(doc, "<rect x=\"0\" y=\"40\" width=\"30\" height=\"10\" fill=\"#563412\"/>"));
    EXPECT_EQ(Count(doc, "<rect"), 1u);
}

TEST_F(SvgCanvas, TextsHangFromTheirTopLeftOrRunUpward) {
    canvas.Resize(420, 285);
    canvas.SetTextColor(0x00838383);
    canvas.SetFontAngle(0);
    canvas.TextOut(15, 274, "396 x 245");
    canvas.SetFontAngle(90);
    canvas.TextOut(1, 282, "245");
    const std::string doc = canvas.Document();
    // Baseline 9.1 pixels below the top; the measured width is kept exactly.
    EXPECT_TRUE(Has(doc, "<text x=\"15\" y=\"283.1\" textLength=\"54\" lengthAdjust=\"spacingAndGlyphs\" "
                         "fill=\"#838383\">396 x 245</text>"));
    // Turned a quarter counter-clockwise about its start, tops facing left.
    EXPECT_TRUE(Has(doc, "<text x=\"1\" y=\"291.1\" transform=\"rotate(-90 1 282)\" textLength=\"18\""));
}

TEST_F(SvgCanvas, BoxedTextUsesTheRasterPlacementAndEllipsis) {
    canvas.Resize(120, 98);
    const std::string caption = "Vendrel Ratiscope - Ratio sequence";
    const TRect box{14, 1, 56, 15};
    canvas.DrawTextInBox(caption, box, tfLeft | tfVCenter | tfEndEllipsis);
    const TTextPlacement p = PlaceTextInBox(text, caption, box, tfLeft | tfVCenter | tfEndEllipsis, 0);
    ASSERT_NE(p.text, caption);
    EXPECT_TRUE(Has(canvas.Document(), "<text x=\"" + std::to_string(p.x) + "\" y=\"" + std::to_string(p.y + 9) +
                                           ".1\" textLength=\"" + std::to_string(text.Measure(p.text).width) +
                                           "\" lengthAdjust=\"spacingAndGlyphs\" fill=\"#000000\">" + p.text +
                                           "</text>"));
}

TEST_F(SvgCanvas, TextIsEscapedAndMadeValidUtf8) {
    struct Case {
        std::string in;
        std::string out;
    };
    const std::vector<Case> cases = {
        {"a<b>&\"c\"", "a&lt;b&gt;&amp;&quot;c&quot;"},
        {"caf\xC3\xA9 \xD0\x96", "caf\xC3\xA9 \xD0\x96"},   // valid UTF-8 stays
        {"\xE9t\xE9", "\xEF\xBF\xBDt\xEF\xBF\xBD"},           // 8-bit text is not UTF-8
        {"a\x01z", "a\xEF\xBF\xBDz"},                          // control characters XML forbids
        {"tab\there\r\n", "tab here  "},
        {"\xC0\xAF", "\xEF\xBF\xBD\xEF\xBF\xBD"},              // overlong encoding
        {"\xED\xA0\x80", "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"},  // a surrogate
        {"\xEF\xBF\xBE", "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"},  // U+FFFE
        {"\xF0\x9F\x98\x80", "\xF0\x9F\x98\x80"},
        {"cut \xE2\x82", "cut \xEF\xBF\xBD\xEF\xBF\xBD"},
        {std::string("nul\0nul", 7), "nul\xEF\xBF\xBDnul"},
    };
    for (const Case& k : cases) {
        std::string out;
        AppendXmlText(out, k.in);
        EXPECT_EQ(out, k.out) << k.in;
    }
}

TEST_F(SvgCanvas, EachIconIsDefinedOnceAndUsedWherePlaced) {
    TImage pixels(2, 2, 0xFF808080u);
    pixels.Set(1, 0, 0xFFFFFFFFu);
    const TIcon icon(pixels, {1, 1, 0, 1});
    canvas.Resize(64, 16);
    canvas.DrawIcon(icon, 16, 0);
    canvas.DrawIcon(icon, 48, 0);
    canvas.DrawIcon(TIcon(), 0, 0);  // empty: nothing
    const std::string doc = canvas.Document();
    EXPECT_EQ(Count(doc, "<g id=\"icon"), 1u);
    EXPECT_TRUE(Has(doc, "<use xlink:href=\"#icon0\" x=\"16\" y=\"0\"/>"));
    EXPECT_TRUE(Has(doc, "<use xlink:href=\"#icon0\" x=\"48\" y=\"0\"/>"));
    EXPECT_EQ(Count(doc, "<use "), 2u);
    // Opaque pixels only, as runs of one colour.
    EXPECT_TRUE(Has(doc, "<rect x=\"0\" y=\"0\" width=\"1\" height=\"1\" fill=\"#808080\"/>"));
    EXPECT_TRUE(Has(doc, "<rect x=\"1\" y=\"0\" width=\"1\" height=\"1\" fill=\"#ffffff\"/>"));
    EXPECT_TRUE(Has(doc, "<rect x=\"1\" y=\"1\" width=\"1\" height=\"1\" fill=\"#808080\"/>"));
    EXPECT_EQ(Count(doc, "<rect"), 3u);
}

TEST_F(SvgCanvas, ResizeStartsAnEmptyPicture) {
    canvas.Resize(10, 10);
    canvas.MoveTo(0, 0);
    canvas.LineTo(9, 9);
    canvas.Resize(20, 30);
    const std::string doc = canvas.Document();
    EXPECT_FALSE(Has(doc, "<line"));
    EXPECT_TRUE(Has(doc, "width=\"20\" height=\"30\""));
    EXPECT_EQ(canvas.Size(), (TSize{20, 30}));
}

TEST_F(SvgCanvas, ComposedOverlayHasEveryPartOnce) {
    TSettings s(1920);  // look 1 with values and frame
    TOverlayIcons icons;
    icons.TLCorner = TIcon(TImage(16, 16, 0xFFECECECu), std::vector<std::uint8_t>(256, 1));
    ComposeImage(canvas, s, icons, true);
    const std::string doc = canvas.Document();
    EXPECT_TRUE(Has(doc, "<line x1=\"408\" y1=\"28\" x2=\"408\" y2=\"273\" stroke=\"#ff4040\"/>"));
    EXPECT_TRUE(Has(doc, ">396</text>"));
    EXPECT_TRUE(Has(doc, "fill=\"#808080\">Vendrel Ratiscope - MSLook1</text>"));
    EXPECT_EQ(Count(doc, "<use "), 1u);  // only the one icon that is not empty
    EXPECT_EQ(Count(doc, "<g"), Count(doc, "</g>"));
    EXPECT_EQ(Count(doc, "<text"), Count(doc, "</text>"));
    EXPECT_EQ(doc.substr(doc.size() - 7), "</svg>\n");
}

}  // namespace
}  // namespace ratiscope

// The settings panel on the real Win32 controls, measured with GDI as the
// Windows program draws: every text of every shipped language fits its
// control at 96 and 144 dpi, and the Main page's logo is a picture made for
// its box rather than a larger one squeezed into it.
#include <gtest/gtest.h>

#include "platform/win32/Win32Api.h"

#include <commctrl.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "panel/PanelControls.h"
#include "panel/PanelLayout.h"
#include "panel/SettingsFrm.h"
#include "platform/RasterOffscreen.h"
#include "platform/win32/Win32ColorBox.h"
#include "platform/win32/Win32Controls.h"
#include "platform/win32/Win32TextEngine.h"
#include "platform/win32/Win32Unicode.h"
#include "platform/win32/Win32WindowSystem.h"
#include "resources/Resources.h"
#include "settings/LangTable.h"
#include "settings/Settings.h"
#include "support/FakeFiles.h"

namespace ratiscope {
namespace {

constexpr const char* kProgramFolder = "/opt/ratiscope/";

// The program's manifest makes it aware of each monitor's DPI; the panel is
// measured in the same mode, before any window exists.
const bool kAwareAsTheProgram = SetProcessDpiAwarenessContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2) != FALSE;
constexpr int kHighDpi = 144;

std::string ReadWhole(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

std::string Utf8Name(const std::filesystem::path& path) {
    const std::u8string name = path.u8string();
    return std::string(name.begin(), name.end());
}

// The language files the program ships, by name without the extension.
std::vector<std::string> ShippedLanguages() {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(RATISCOPE_LANG_DIR))
        if (entry.path().extension() == ".lng") names.push_back(Utf8Name(entry.path().stem()));
    std::sort(names.begin(), names.end());
    return names;
}

HWND HandleOf(const IControl& control) { return dynamic_cast<const TWin32Handle&>(control).Handle(); }

// A screen DC with the control's own font selected, released at the end.
class TControlDc {
public:
    explicit TControlDc(HWND control) : control_(control), dc_(GetDC(control)) {
        old_ = SelectObject(dc_, reinterpret_cast<HGDIOBJ>(SendMessageW(control, WM_GETFONT, 0, 0)));
    }
    ~TControlDc() {
        SelectObject(dc_, old_);
        ReleaseDC(control_, dc_);
    }
    TControlDc(const TControlDc&) = delete;
    TControlDc& operator=(const TControlDc&) = delete;

    // Pixels from the text's start to the right edge of its last glyph's ink.
    int Width(const std::wstring& text) const {
        if (text.empty()) return 0;
        SIZE size{};
        GetTextExtentPoint32W(dc_, text.c_str(), static_cast<int>(text.size()), &size);
        ABC abc{};
        const auto last = static_cast<UINT>(text.back());
        const int overhang = GetCharABCWidthsW(dc_, last, last, &abc) && abc.abcC < 0 ? -abc.abcC : 0;
        return size.cx + overhang;
    }
    // Height of `text` wrapped at `width`, as a label that wraps lays it out.
    int WrappedHeight(const std::wstring& text, int width) const {
        RECT r{0, 0, width, 0};
        DrawTextW(dc_, text.c_str(), static_cast<int>(text.size()), &r, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
        return r.bottom;
    }
    int DigitWidth() const { return Width(L"0"); }

private:
    HWND control_;
    HDC dc_;
    HGDIOBJ old_ = nullptr;
};

std::wstring TextOf(HWND w) {
    const int n = GetWindowTextLengthW(w);
    std::wstring text(static_cast<std::size_t>(n) + 1, L'\0');
    GetWindowTextW(w, text.data(), n + 1);
    text.resize(static_cast<std::size_t>(n));
    return text;
}

std::wstring ComboText(HWND combo, int index) {
    const auto n = SendMessageW(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
    if (n < 0) return {};
    std::wstring text(static_cast<std::size_t>(n) + 1, L'\0');
    SendMessageW(combo, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<std::size_t>(n));
    return text;
}

TRect Place(HWND w) { return ChildBounds(w); }

// A text that does not fit: where it is, what it says and by how many pixels.
std::string Overflow(std::string_view control, const std::wstring& text, int need, int room) {
    return std::string(control) + " \"" + Utf8FromWide(text) + "\" needs " + std::to_string(need) + " px, has " +
           std::to_string(room);
}

class Win32PanelFit : public ::testing::TestWithParam<std::string> {
protected:
    Win32PanelFit() {
        files.programPath = std::string(kProgramFolder) + "ratiscope.exe";
        for (const auto& entry : std::filesystem::directory_iterator(RATISCOPE_LANG_DIR))
            if (entry.path().extension() == ".lng")
                files.AddFile(kProgramFolder + Utf8Name(entry.path().filename()), ReadWhole(entry.path()));
        icons.TLCorners = LoadResourceIcon("ZTLCORNERS");
        icons.Caption = LoadResourceIcon("ZCAPTION");
        icons.TRCorner2 = LoadResourceIcon("ZTRCORNER2");
        settings.Lang = GetParam();
        settings.SVisible = true;
        settings.SX = 0;
        settings.SY = 0;
        TSettingsFormServices services{
            windows, toolkit, files, LoadProgramIcon, [] {}, [](std::string_view) {}, nullptr, [] {},
        };
        form = std::make_unique<TSettingsForm>(settings, icons, std::move(services));
        form->FormCreate();
    }
    ~Win32PanelFit() override {
        form.reset();
        ClearLanguageTable();
    }

    // From the control's left edge to the nearest shown sibling beside it on
    // its rows, or to its parent's right edge.
    static int RoomRightOf(HWND w) {
        const HWND parent = GetParent(w);
        RECT client{};
        GetClientRect(parent, &client);
        const TRect me = Place(w);
        int right = client.right;
        for (HWND o = GetWindow(parent, GW_CHILD); o; o = GetWindow(o, GW_HWNDNEXT)) {
            if (o == w || !IsWindowVisible(o)) continue;
            const TRect other = Place(o);
            if (other.left <= me.left) continue;
            if (other.top < me.bottom && me.top < other.bottom) right = std::min(right, other.left);
        }
        return right - me.left;
    }

    // Every text of the page on display that does not fit its room.
    std::vector<std::string> Overflows() {
        std::vector<std::string> found;
        TPanelControls& c = *form->Controls();
        for (const TDesignBounds& d : c.Design()) {
            const HWND w = HandleOf(*d.control);
            if (!IsWindowVisible(w)) continue;
            const std::string name = dynamic_cast<const TWin32Handle&>(*d.control).Name();
            const TControlDc dc(w);
            const TRect place = Place(w);
            ++measured;
            if (dynamic_cast<ILabel*>(d.control)) {
                const std::wstring text = TextOf(w);
                if (d.width > 0) {  // a fixed label wraps inside its box
                    const int need = dc.WrappedHeight(text, place.Width());
                    if (need > place.Height()) found.push_back(Overflow(name, text, need, place.Height()));
                    continue;
                }
                const int need = dc.Width(text);
                const int room = std::min(place.Width(), RoomRightOf(w));
                if (need > room) found.push_back(Overflow(name, text, need, room));
            } else if (dynamic_cast<ICheckable*>(d.control)) {
                // The box as the system draws it for the window's screen, half a digit's gap, then the text.
                const std::wstring text = TextOf(w);
                const int box = MulDiv(kCheckBoxSide, static_cast<int>(GetDpiForWindow(w)), kDesignDpi);
                const int need = box + dc.DigitWidth() / 2 + dc.Width(text);
                const int room = std::min(place.Width(), RoomRightOf(w));
                if (need > room) found.push_back(Overflow(name, text, need, room));
            } else if (dynamic_cast<IGroupBox*>(d.control)) {
                const std::wstring text = TextOf(w);
                const int need = dc.Width(text) + 2 * kGroupTitleIndent;
                if (need > place.Width()) found.push_back(Overflow(name, text, need, place.Width()));
            } else if (dynamic_cast<IButton*>(d.control)) {
                const std::wstring text = TextOf(w);
                const int need = dc.Width(text) + 2 * kButtonPadding;
                if (need > place.Width()) found.push_back(Overflow(name, text, need, place.Width()));
            } else if (dynamic_cast<IComboBox*>(d.control) || dynamic_cast<IColorBox*>(d.control)) {
                for (const std::string& o : ListOverflows(name, w, dynamic_cast<IColorBox*>(d.control) != nullptr))
                    found.push_back(o);
            } else {
                --measured;
            }
        }
        return found;
    }

    // The open list of a drop-down: every entry within its width, and, when
    // the list shows them all without scrolling, every entry whole.
    std::vector<std::string> ListOverflows(const std::string& name, HWND combo, bool swatches) {
        std::vector<std::string> found;
        const TControlDc dc(combo);
        const int count = static_cast<int>(SendMessageW(combo, CB_GETCOUNT, 0, 0));
        const int rows = static_cast<int>(SendMessageW(combo, CB_GETMINVISIBLE, 0, 0));
        const int itemHeight = static_cast<int>(SendMessageW(combo, CB_GETITEMHEIGHT, 0, 0));
        const bool scrolls = count > rows;
        const int dropWidth = static_cast<int>(SendMessageW(combo, CB_GETDROPPEDWIDTH, 0, 0));
        const int room = dropWidth - kListFrame - (scrolls ? GetSystemMetrics(SM_CXVSCROLL) : 0);
        const int start = swatches ? ColorSwatchRect({0, 0, dropWidth, itemHeight}).right + kSwatchTextGap
                                   : kItemTextIndent;
        for (int i = 0; i < count; ++i) {
            const std::wstring text = ComboText(combo, i);
            const int need = start + dc.Width(text) + kItemTextIndent;
            if (need > room) found.push_back(Overflow(name + " entry " + std::to_string(i), text, need, room));
        }
        if (!scrolls && count > 0) {
            // Opened, the list's last entry ends inside the list.
            SendMessageW(combo, CB_SHOWDROPDOWN, TRUE, 0);
            COMBOBOXINFO info{};
            info.cbSize = sizeof info;
            GetComboBoxInfo(combo, &info);
            RECT client{};
            GetClientRect(info.hwndList, &client);
            RECT last{};
            SendMessageW(info.hwndList, LB_GETITEMRECT, static_cast<WPARAM>(count - 1), reinterpret_cast<LPARAM>(&last));
            const auto top = SendMessageW(info.hwndList, LB_GETTOPINDEX, 0, 0);
            SendMessageW(combo, CB_SHOWDROPDOWN, FALSE, 0);
            if (top != 0 || last.bottom > client.bottom)
                found.push_back(name + ": the open list shows " + std::to_string(client.bottom) + " px of " +
                                std::to_string(last.bottom) + " for its " + std::to_string(count) + " entries");
        }
        return found;
    }

    void ExpectEveryTextFits(int dpi) {
        TPanelControls& c = *form->Controls();
        for (std::int32_t page = 0; page < c.PageControl.PageCount(); ++page) {
            c.PageControl.SetActivePage(page);
            for (const std::string& overflow : Overflows())
                ADD_FAILURE() << GetParam() << " at " << dpi << " dpi, page " << page << ": " << overflow;
        }
        // Every label, check box, radio button, button, group box and list of the four pages.
        EXPECT_GE(measured, kPanelTexts);
    }

    static constexpr int kPanelTexts = 30;
    static constexpr int kCheckBoxSide = 13;     // the box of a check box or radio button at 96 dpi
    static constexpr int kButtonPadding = 4;     // each side of a push button's text
    static constexpr int kGroupTitleIndent = 8;  // a group box caption's inset from each side
    static constexpr int kListFrame = 2;         // the open list's border, both sides
    static constexpr int kItemTextIndent = 2;    // an entry's text from the list's edges
    static constexpr int kSwatchTextGap = 4;     // a colour entry's name after its swatch

    TWin32TextEngine text;
    TWin32WindowSystem windows{[this] { return std::make_unique<TRasterOffscreen>(text); }, GetModuleHandleW(nullptr)};
    TWin32ControlToolkit toolkit;
    testing::TFakeFiles files;
    TOverlayIcons icons;
    TSettings settings{1920};
    std::unique_ptr<TSettingsForm> form;
    int measured = 0;
};

TEST_P(Win32PanelFit, EveryTextFitsItsControlAt96Dpi) {
    ASSERT_NE(form->Window(), nullptr);
    ASSERT_EQ(form->CurrentDpi(), kDesignDpi);
    ExpectEveryTextFits(kDesignDpi);
}

TEST_P(Win32PanelFit, EveryTextFitsItsControlAt144Dpi) {
    ASSERT_NE(form->Window(), nullptr);
    form->WMDpiChanged(kHighDpi);
    ASSERT_EQ(form->CurrentDpi(), kHighDpi);
    ExpectEveryTextFits(kHighDpi);
}

INSTANTIATE_TEST_SUITE_P(ShippedLanguages, Win32PanelFit, ::testing::ValuesIn(ShippedLanguages()),
                         [](const ::testing::TestParamInfo<std::string>& info) {
                             // Test names take ASCII letters only.
                             std::string name;
                             for (char ch : info.param)
                                 if ((ch >= 'A' && ch <= 'Z') || (ch >= 'a' && ch <= 'z')) name += ch;
                             return name.empty() ? "Language" + std::to_string(info.index) : name;
                         });

// The logo as the Main page draws it into a box of its size, on white.
std::vector<std::uint32_t> DrawnLogo(HWND logo, int side) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = side;
    info.bmiHeader.biHeight = -side;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    const HDC memory = CreateCompatibleDC(nullptr);
    const HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    const HGDIOBJ old = SelectObject(memory, bitmap);
    DRAWITEMSTRUCT item{};
    item.CtlType = ODT_STATIC;
    item.CtlID = static_cast<UINT>(GetDlgCtrlID(logo));
    item.itemAction = ODA_DRAWENTIRE;
    item.hwndItem = logo;
    item.hDC = memory;
    item.rcItem = {0, 0, side, side};
    SendMessageW(GetParent(logo), WM_DRAWITEM, item.CtlID, reinterpret_cast<LPARAM>(&item));
    GdiFlush();
    const auto* p = static_cast<const std::uint32_t*>(bits);
    std::vector<std::uint32_t> pixels(p, p + static_cast<std::size_t>(side) * static_cast<std::size_t>(side));
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    return pixels;
}

class Win32PanelLogo : public Win32PanelFit {};

TEST_P(Win32PanelLogo, IsTheIconMadeForItsBoxAtEveryDpi) {
    struct Case {
        int dpi;
        int side;                 // the logo box at that dpi
        const char* expected;     // the picture it must show pixel for pixel
    };
    const std::vector<Case> cases = {
        {kDesignDpi, 32, "ZAPPICON32"},
        {kHighDpi, 48, "ZAPPICON"},
        {kDesignDpi, 32, "ZAPPICON32"},  // and back
    };
    for (const Case& c : cases) {
        form->WMDpiChanged(c.dpi);
        const HWND logo = HandleOf(form->Controls()->LogoImage);
        ASSERT_EQ(Place(logo).Width(), c.side) << c.dpi;
        const std::vector<std::uint32_t> drawn = DrawnLogo(logo, c.side);
        const TIcon icon = LoadResourceIcon(c.expected);
        ASSERT_EQ(icon.Width(), c.side);
        int opaque = 0;
        int differ = 0;
        for (int y = 0; y < c.side; ++y)
            for (int x = 0; x < c.side; ++x) {
                if (!icon.Opaque(x, y)) continue;
                ++opaque;
                const std::uint32_t want = icon.Image().At(x, y) & 0xFFFFFFu;
                const std::uint32_t got = drawn[static_cast<std::size_t>(y * c.side + x)] & 0xFFFFFFu;
                if (got != want) ++differ;
            }
        EXPECT_GT(opaque, c.side) << c.expected;
        EXPECT_EQ(differ, 0) << c.dpi << " dpi: " << differ << " of " << opaque << " pixels are not " << c.expected
                             << "'s";
    }
}

INSTANTIATE_TEST_SUITE_P(English, Win32PanelLogo, ::testing::Values(std::string("English")));

}  // namespace
}  // namespace ratiscope

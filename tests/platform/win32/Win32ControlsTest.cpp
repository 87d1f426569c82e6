// The Win32 controls as real common controls in a window of their own: what
// each shows and reports after the program's calls and after the user's keys
// and clicks, sent as the messages the system would send.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "platform/Image.h"
#include "platform/Keys.h"
#include "platform/win32/Win32ColorBox.h"
#include "platform/win32/Win32Controls.h"
#include "platform/win32/Win32Unicode.h"

#include <commctrl.h>

namespace ratiscope {
namespace {

constexpr wchar_t kTestWindowClass[] = L"Ratiscope.ControlsTest";

class TTestHost final : public IWin32ControlHost {
public:
    TTestHost() {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = DefWindowProcW;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = kTestWindowClass;
        RegisterClassExW(&wc);
        window_ = CreateWindowExW(0, kTestWindowClass, L"controls", WS_OVERLAPPEDWINDOW, 0, 0, 400, 400, nullptr,
                                  nullptr, GetModuleHandleW(nullptr), nullptr);
    }
    ~TTestHost() override { DestroyWindow(window_); }
    HWND ControlParent() const override { return window_; }

private:
    HWND window_ = nullptr;
};

HWND HandleOf(IControl& control) { return dynamic_cast<TWin32Handle&>(control).Handle(); }

void Pump() {
    MSG m;
    while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&m);
        DispatchMessageW(&m);
    }
}

void Key(HWND window, UINT key) {
    SendMessageW(window, WM_KEYDOWN, key, 1);
    SendMessageW(window, WM_KEYUP, key, 0xC0000001);
}

class Win32Controls : public ::testing::Test {
protected:
    Win32Controls() {
        controls_ = toolkit_.CreateControls(host_);
        panel_ = &controls_->CreatePanel(controls_->Client(), "Panel");
        panel_->SetBounds({0, 0, 400, 400});
    }
    void SetUp() override {
        // Under Wine a window needs an X display (Xvfb on a build machine).
        ASSERT_NE(host_.ControlParent(), nullptr) << "no window could be made";
        ASSERT_NE(HandleOf(*panel_), nullptr);
    }
    IControls& C() { return *controls_; }
    IContainer& Panel() { return *panel_; }

    TWin32ControlToolkit toolkit_;
    TTestHost host_;
    std::unique_ptr<IControls> controls_;
    IContainer* panel_ = nullptr;
};

TEST_F(Win32Controls, EditTextRoundTripsUtf8AndReportsOnlyChanges) {
    IEdit& edit = C().CreateEdit(Panel(), "Edit");
    int changes = 0;
    edit.OnChange = [&] { ++changes; };
    const std::string text = "Gr\xC3\xB6\xC3\x9F" "e \xE2\x9C\x93 \xE6\x97\xA5 \xF0\x9F\x98\x80";  // Größe ✓ 日 😀
    edit.SetText(text);
    EXPECT_EQ(edit.Text(), text);
    EXPECT_EQ(changes, 1);
    edit.SetText(text);
    EXPECT_EQ(changes, 1);  // the same text again is no change
    // What the window itself holds is the UTF-16 of it.
    wchar_t shown[32]{};
    GetWindowTextW(HandleOf(edit), shown, 32);
    EXPECT_EQ(std::wstring(shown), WideFromUtf8(text));
    // Typing over the whole text: a character sent as the keyboard would.
    SendMessageW(HandleOf(edit), EM_SETSEL, 0, -1);
    SendMessageW(HandleOf(edit), WM_CHAR, L'x', 1);
    EXPECT_EQ(changes, 2);
    EXPECT_EQ(edit.Text(), "x");
}

TEST_F(Win32Controls, EditReportsKeysBeforeTheTextAndLeavingTheField) {
    IEdit& edit = C().CreateEdit(Panel(), "Edit");
    IEdit& other = C().CreateEdit(Panel(), "Other");
    edit.SetBounds({10, 10, 60, 30});
    other.SetBounds({10, 40, 60, 60});
    std::vector<std::string> events;
    edit.OnKeyDown = [&](TKey key) { events.push_back("key " + std::to_string(KeyNumber(key)) + " text " + edit.Text()); };
    edit.OnChange = [&] { events.push_back("change " + edit.Text()); };
    edit.OnExit = [&] { events.push_back("exit"); };
    edit.SetText("5");
    events.clear();
    const HWND top = host_.ControlParent();
    ShowWindow(top, SW_SHOW);
    edit.SetFocus();
    ASSERT_TRUE(edit.Focused());
    // As the message loop delivers them: key down, its character, through the dialog manager.
    for (const UINT key : {UINT{VK_END}, UINT{'7'}, UINT{VK_RETURN}}) {
        MSG down{HandleOf(edit), WM_KEYDOWN, key, 1, 0, {0, 0}};
        if (!IsDialogMessageW(top, &down)) DispatchMessageW(&down);
        if (key == '7') SendMessageW(HandleOf(edit), WM_CHAR, L'7', 1);
    }
    EXPECT_EQ(events, (std::vector<std::string>{"key 35 text 5", "key 55 text 5", "change 57", "key 13 text 57"}));
    events.clear();
    other.SetFocus();
    EXPECT_EQ(events, std::vector<std::string>{"exit"});
    EXPECT_EQ(edit.Bounds(), (TRect{10, 10, 60, 30}));
    ShowWindow(top, SW_HIDE);
}

TEST_F(Win32Controls, EditableComboKeepsEnterToItselfWithoutPickingAnEntry) {
    IComboBox& box = C().CreateComboBox(Panel(), "Combo", TComboStyle::Editable);
    box.SetBounds({10, 10, 150, 31});
    for (const char* t : {"1:1", "4:3"}) box.SetItemText(box.ItemCount(), t);
    std::vector<int> keys;
    int picks = 0;
    box.OnKeyDown = [&](TKey key) { keys.push_back(KeyNumber(key)); };
    box.OnSelect = [&] { ++picks; };
    const HWND top = host_.ControlParent();
    ShowWindow(top, SW_SHOW);
    box.SetFocus();
    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    ASSERT_TRUE(GetComboBoxInfo(HandleOf(box), &info));
    ASSERT_TRUE(box.Focused());
    for (const wchar_t ch : std::wstring(L"4:3")) SendMessageW(info.hwndItem, WM_CHAR, ch, 1);
    MSG enter{info.hwndItem, WM_KEYDOWN, VK_RETURN, 1, 0, {0, 0}};
    if (!IsDialogMessageW(top, &enter)) DispatchMessageW(&enter);
    Pump();
    EXPECT_EQ(keys, std::vector<int>{VK_RETURN});
    EXPECT_EQ(box.Text(), "4:3");
    EXPECT_EQ(box.ItemIndex(), -1);  // typed, not picked, though an entry reads the same
    EXPECT_EQ(picks, 0);
    ShowWindow(top, SW_HIDE);
}

// Controls use the system's text quality: Wine's X11 driver draws unsmoothed
// control text wider than it measures, which cut fitted labels short.
TEST_F(Win32Controls, FontsAreTheAskedTypefaceAtTheirPixelHeightInTheSystemsQuality) {
    IEdit& edit = C().CreateEdit(Panel(), "Edit");
    edit.SetFont({"Tahoma", 14, true});
    const auto font = reinterpret_cast<HFONT>(SendMessageW(HandleOf(edit), WM_GETFONT, 0, 0));
    ASSERT_NE(font, nullptr);
    LOGFONTW lf{};
    ASSERT_NE(GetObjectW(font, sizeof lf, &lf), 0);
    EXPECT_EQ(lf.lfHeight, -14);
    EXPECT_EQ(lf.lfWeight, FW_BOLD);
    EXPECT_EQ(lf.lfQuality, DEFAULT_QUALITY);
    EXPECT_EQ(std::wstring(lf.lfFaceName), L"Tahoma");
    EXPECT_EQ(edit.Font(), (TFont{"Tahoma", 14, true}));
}

TEST_F(Win32Controls, UpDownKeepsItsRangeAndShowsItsPositionInTheField) {
    IEdit& edit = C().CreateEdit(Panel(), "Edit");
    IUpDown& spin = C().CreateUpDown(Panel(), "Spin", edit);
    int changes = 0;
    edit.OnChange = [&] { ++changes; };
    spin.SetRange(-100000, 100000);  // cut to 16 bits
    EXPECT_EQ(spin.Min(), -32768);
    EXPECT_EQ(spin.Max(), 32767);
    spin.SetRange(0, 500);
    spin.SetPosition(120);
    EXPECT_EQ(edit.Text(), "120");
    EXPECT_EQ(spin.Position(), 120);
    EXPECT_EQ(changes, 1);
    spin.SetPosition(9000);
    EXPECT_EQ(edit.Text(), "500");
    spin.SetPosition(-3);
    EXPECT_EQ(edit.Text(), "0");
    // Typed text counts as the position, kept within the range.
    edit.SetText("321");
    EXPECT_EQ(spin.Position(), 321);
    edit.SetText("777");
    EXPECT_EQ(spin.Position(), 500);
    // Not a number: the position last shown by the spin buttons.
    spin.SetPosition(42);
    edit.SetText("4x");
    EXPECT_EQ(spin.Position(), 42);
}

TEST_F(Win32Controls, ArrowKeysInTheFieldStepAfterTheFieldHasSeenThem) {
    IEdit& edit = C().CreateEdit(Panel(), "Edit");
    IUpDown& spin = C().CreateUpDown(Panel(), "Spin", edit);
    spin.SetRange(0, 10);
    spin.SetPosition(5);
    std::vector<int> keys;
    edit.OnKeyDown = [&](TKey key) { keys.push_back(KeyNumber(key)); };
    Key(HandleOf(edit), VK_UP);
    EXPECT_EQ(edit.Text(), "6");
    Key(HandleOf(edit), VK_DOWN);
    Key(HandleOf(edit), VK_DOWN);
    EXPECT_EQ(edit.Text(), "4");
    EXPECT_EQ(keys, (std::vector<int>{VK_UP, VK_DOWN, VK_DOWN}));
    spin.SetPosition(10);
    Key(HandleOf(edit), VK_UP);
    EXPECT_EQ(edit.Text(), "10");  // the upper end holds
}

TEST_F(Win32Controls, EditableComboKeepsTypedTextApartFromItsEntries) {
    IComboBox& box = C().CreateComboBox(Panel(), "Combo", TComboStyle::Editable);
    box.SetBounds({10, 10, 150, 31});
    for (const char* t : {"1:1", "4:3", "16:9"}) box.SetItemText(box.ItemCount(), t);
    EXPECT_EQ(box.ItemCount(), 3);
    EXPECT_EQ(box.ItemIndex(), -1);  // adding selects nothing
    box.SetItemIndex(1);
    EXPECT_EQ(box.ItemIndex(), 1);
    EXPECT_EQ(box.Text(), "4:3");
    box.SetText("5:4");
    EXPECT_EQ(box.ItemIndex(), -1);
    EXPECT_EQ(box.Text(), "5:4");
    box.SetItemIndex(2);
    box.SetItemText(2, "16 : 9");  // renaming drops the selection, the field keeps its text
    EXPECT_EQ(box.ItemIndex(), -1);
    EXPECT_EQ(box.Text(), "16:9");
    EXPECT_EQ(box.ItemText(2), "16 : 9");
    EXPECT_EQ(box.ItemText(3), "");
    // Typing into the field drops the selection too.
    box.SetItemIndex(0);
    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    ASSERT_TRUE(GetComboBoxInfo(HandleOf(box), &info));
    SendMessageW(info.hwndItem, EM_SETSEL, 0, -1);
    SendMessageW(info.hwndItem, WM_CHAR, L'3', 1);
    EXPECT_EQ(box.ItemIndex(), -1);
    EXPECT_EQ(box.Text(), "3");
    box.Clear();
    EXPECT_EQ(box.ItemCount(), 0);
}

TEST_F(Win32Controls, ComboReportsKeysAndTheUsersPickNotTheProgramsChoice) {
    IComboBox& box = C().CreateComboBox(Panel(), "Combo", TComboStyle::List);
    box.SetBounds({10, 10, 150, 31});
    for (const char* t : {"Lines", "Grid", "Circles"}) box.SetItemText(box.ItemCount(), t);
    int picks = 0;
    std::vector<int> keys;
    box.OnSelect = [&] { ++picks; };
    box.OnKeyDown = [&](TKey key) { keys.push_back(KeyNumber(key)); };
    box.SetItemIndex(0);
    EXPECT_EQ(picks, 0);
    EXPECT_EQ(box.Text(), "Lines");
    box.SetText("Other");  // a fixed list has no field
    EXPECT_EQ(box.Text(), "Lines");
    Key(HandleOf(box), VK_DOWN);
    EXPECT_EQ(box.ItemIndex(), 1);
    EXPECT_EQ(picks, 1);
    EXPECT_EQ(keys, std::vector<int>{VK_DOWN});
    box.SetItemIndex(7);
    EXPECT_EQ(box.ItemIndex(), -1);
    EXPECT_EQ(box.Text(), "");
}

TEST_F(Win32Controls, EnterOnAClosedFixedListIsReportedThenPressesTheDefaultButton) {
    IComboBox& box = C().CreateComboBox(Panel(), "Combo", TComboStyle::List);
    IButton& ok = C().CreateButton(Panel(), "Ok");
    box.SetBounds({10, 10, 150, 31});
    ok.SetBounds({10, 40, 80, 64});
    box.SetItemText(0, "Lines");
    ok.SetDefault(true);
    std::vector<std::string> happened;
    box.OnKeyDown = [&](TKey key) { happened.push_back("key " + std::to_string(KeyNumber(key))); };
    ok.OnClick = [&] { happened.push_back("ok"); };
    const HWND top = host_.ControlParent();
    ShowWindow(top, SW_SHOW);
    box.SetFocus();
    MSG enter{HandleOf(box), WM_KEYDOWN, VK_RETURN, 1, 0, {0, 0}};
    if (!IsDialogMessageW(top, &enter)) DispatchMessageW(&enter);
    Pump();
    EXPECT_EQ(happened, (std::vector<std::string>{"key 13", "ok"}));
    ShowWindow(top, SW_HIDE);
}

TEST_F(Win32Controls, RadioButtonsInAGroupBoxAreOneChoice) {
    IGroupBox& group = C().CreateGroupBox(Panel(), "Group");
    group.SetBounds({0, 0, 200, 100});
    group.SetCaption("Snap to");
    IRadioButton& width = C().CreateRadioButton(group, "Width");
    IRadioButton& height = C().CreateRadioButton(group, "Height");
    width.SetBounds({8, 16, 100, 32});
    height.SetBounds({8, 40, 100, 56});
    EXPECT_EQ(group.Caption(), "Snap to");
    int clicks = 0;
    height.OnClick = [&] { ++clicks; };
    width.SetChecked(true);
    height.SetChecked(true);  // the program's choice clears the other, without a click
    EXPECT_FALSE(width.Checked());
    EXPECT_TRUE(height.Checked());
    EXPECT_EQ(clicks, 0);
    SendMessageW(HandleOf(width), BM_CLICK, 0, 0);
    EXPECT_TRUE(width.Checked());
    EXPECT_FALSE(height.Checked());
    SendMessageW(HandleOf(height), BM_CLICK, 0, 0);
    EXPECT_EQ(clicks, 1);
    EXPECT_TRUE(height.Checked());
    EXPECT_FALSE(width.Checked());
}

TEST_F(Win32Controls, CheckBoxClickTogglesAndReportsTheNewState) {
    ICheckBox& box = C().CreateCheckBox(Panel(), "Lock");
    box.SetBounds({8, 8, 120, 24});  // a click lands inside the button
    box.SetCaption("Lock \xE2\x80\x93 ratio");
    EXPECT_EQ(box.Caption(), "Lock \xE2\x80\x93 ratio");
    std::vector<bool> seen;
    box.OnClick = [&] { seen.push_back(box.Checked()); };
    box.SetChecked(true);
    EXPECT_TRUE(seen.empty());
    SendMessageW(HandleOf(box), BM_CLICK, 0, 0);
    SendMessageW(HandleOf(box), BM_CLICK, 0, 0);
    EXPECT_EQ(seen, (std::vector<bool>{false, true}));
}

TEST_F(Win32Controls, CheckListKeepsMarksAndReportsOnlyTheUsersToggles) {
    ICheckListBox& list = C().CreateCheckListBox(Panel(), "Options");
    list.SetBounds({0, 0, 150, 120});
    for (const char* t : {"Resize", "Wheel", "Values"}) list.SetItemText(list.ItemCount(), t);
    int toggles = 0;
    list.OnClickCheck = [&] { ++toggles; };
    EXPECT_EQ(list.ItemCount(), 3);
    EXPECT_FALSE(list.Checked(0));
    list.SetChecked(1, true);
    EXPECT_TRUE(list.Checked(1));
    list.SetItemText(1, "Mouse wheel");  // renaming keeps the mark
    EXPECT_TRUE(list.Checked(1));
    EXPECT_EQ(list.ItemText(1), "Mouse wheel");
    EXPECT_EQ(toggles, 0);
    EXPECT_FALSE(list.Checked(9));
    // Space on the highlighted entry toggles it, as a click on its box does.
    list.SetItemIndex(2);
    EXPECT_EQ(list.ItemIndex(), 2);
    Key(HandleOf(list), VK_SPACE);
    EXPECT_TRUE(list.Checked(2));
    EXPECT_EQ(toggles, 1);
    list.SetItemIndex(-1);
    EXPECT_EQ(list.ItemIndex(), -1);
}

TEST_F(Win32Controls, CheckListRowsAndScrollExtentFollowTheProgram) {
    ICheckListBox& list = C().CreateCheckListBox(Panel(), "Options");
    list.SetBounds({0, 0, 150, 120});
    list.SetItemText(0, "A rather long option text");
    list.SetItemText(1, "B");
    list.SetHorizontalExtent(280);
    EXPECT_EQ(SendMessageW(HandleOf(list), LVM_GETCOLUMNWIDTH, 0, 0), 280);
    list.SetItemHeight(30);
    RECT first{LVIR_BOUNDS, 0, 0, 0};
    RECT second{LVIR_BOUNDS, 0, 0, 0};
    SendMessageW(HandleOf(list), LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&first));
    SendMessageW(HandleOf(list), LVM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&second));
    EXPECT_EQ(second.top - first.top, 30);
}

TEST_F(Win32Controls, ColorBoxOffersCustomThenTheNamedColours) {
    IColorBox& box = C().CreateColorBox(Panel(), "Lines");
    ASSERT_EQ(box.ItemCount(), 21);
    EXPECT_EQ(box.ItemText(0), "Custom...");
    EXPECT_EQ(box.ItemText(1), "Black");
    EXPECT_EQ(box.ItemText(20), "Medium Gray");
    EXPECT_EQ(box.ItemColor(18), 0xF0CAA6u);  // Sky Blue
    box.SetSelected(0x0000FF);
    EXPECT_EQ(box.ItemIndex(), 10);
    EXPECT_EQ(box.Selected(), 0x0000FFu);
    box.SetSelected(0x123456);
    EXPECT_EQ(box.ItemIndex(), 0);
    EXPECT_EQ(box.ItemColor(0), 0x123456u);
    EXPECT_EQ(box.Selected(), 0x123456u);
    // Names in the user's language: the colours and the selection stay.
    box.SetItemText(0, "Eigene...");
    box.SetItemText(18, "Himmelblau");
    box.SetItemText(21, "no such entry");
    EXPECT_EQ(box.ItemText(0), "Eigene...");
    EXPECT_EQ(box.ItemText(18), "Himmelblau");
    EXPECT_EQ(box.ItemCount(), 21);
    EXPECT_EQ(box.ItemColor(18), 0xF0CAA6u);
    EXPECT_EQ(box.ItemIndex(), 0);
    EXPECT_EQ(box.Selected(), 0x123456u);
}

TEST_F(Win32Controls, ColorBoxPicksOpenTheDialogOnlyForCustom) {
    IColorBox& box = C().CreateColorBox(Panel(), "Lines");
    auto& native = dynamic_cast<TWin32ColorBox&>(box);
    std::optional<TColor> answer;
    int asked = 0;
    TColor offered = 0;
    native.SetColorDialog([&](HWND, TColor initial) {
        ++asked;
        offered = initial;
        return answer;
    });
    int changes = 0;
    box.OnChange = [&] { ++changes; };
    box.SetSelected(0x000000);  // Black, entry 1
    Key(HandleOf(box), VK_DOWN);
    Pump();
    EXPECT_EQ(box.ItemIndex(), 2);
    EXPECT_EQ(box.Selected(), 0x000080u);  // Maroon
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(asked, 0);
    // "Custom..." cancelled: the earlier choice stays and nothing is reported.
    box.SetSelected(0x445566);
    box.SetSelected(0x008000);  // Green, entry 3
    Key(HandleOf(box), VK_HOME);
    Pump();
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(offered, 0x445566u);  // the dialog starts from the custom colour
    EXPECT_EQ(box.ItemIndex(), 3);
    EXPECT_EQ(box.Selected(), 0x008000u);
    EXPECT_EQ(changes, 1);
    // "Custom..." answered: its colour is the new choice.
    answer = 0x0A0B0C;
    Key(HandleOf(box), VK_HOME);
    Pump();
    EXPECT_EQ(box.ItemIndex(), 0);
    EXPECT_EQ(box.Selected(), 0x0A0B0Cu);
    EXPECT_EQ(changes, 2);
}

TEST_F(Win32Controls, ColorBoxOpensTheDialogOncePerChoiceWhateverTheNotificationOrder) {
    // "Custom..." chosen with the mouse, the closing list reporting in each
    // order a system may use; OK in the dialog each time.
    struct Case {
        const char* what;
        std::vector<int> codes;
    };
    const std::vector<Case> cases = {
        {"ok, close-up, change (Wine)", {CBN_DROPDOWN, CBN_SELENDOK, CBN_CLOSEUP, CBN_SELCHANGE}},
        {"ok, change, close-up", {CBN_DROPDOWN, CBN_SELENDOK, CBN_SELCHANGE, CBN_CLOSEUP}},
        {"change, ok, close-up", {CBN_DROPDOWN, CBN_SELCHANGE, CBN_SELENDOK, CBN_CLOSEUP}},
        {"change, close-up, ok", {CBN_DROPDOWN, CBN_SELCHANGE, CBN_CLOSEUP, CBN_SELENDOK}},
        {"close-up, ok, change", {CBN_DROPDOWN, CBN_CLOSEUP, CBN_SELENDOK, CBN_SELCHANGE}},
        {"close-up, change, ok", {CBN_DROPDOWN, CBN_CLOSEUP, CBN_SELCHANGE, CBN_SELENDOK}},
        {"ok and close-up only", {CBN_DROPDOWN, CBN_SELENDOK, CBN_CLOSEUP}},
    };
    for (const Case& c : cases) {
        IColorBox& box = C().CreateColorBox(Panel(), c.what);
        auto& native = dynamic_cast<TWin32ColorBox&>(box);
        int asked = 0;
        native.SetColorDialog([&](HWND, TColor) {
            ++asked;
            return std::optional<TColor>(0x0A0B0C);
        });
        int changes = 0;
        box.OnChange = [&] { ++changes; };
        box.SetSelected(0x008000);  // Green
        const HWND h = HandleOf(box);
        for (int round = 1; round <= 2; ++round) {
            // The user's click has put "Custom..." under the list's selection.
            SendMessageW(h, CB_SETCURSEL, 0, 0);
            for (int code : c.codes)
                SendMessageW(GetParent(h), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(h), code), reinterpret_cast<LPARAM>(h));
            Pump();
            EXPECT_EQ(asked, round) << c.what;
            EXPECT_EQ(changes, round) << c.what;
            EXPECT_EQ(box.Selected(), 0x0A0B0Cu) << c.what;
        }
    }
}

TEST_F(Win32Controls, ColorBoxCancelledListKeepsTheEarlierChoice) {
    IColorBox& box = C().CreateColorBox(Panel(), "Lines");
    auto& native = dynamic_cast<TWin32ColorBox&>(box);
    int asked = 0;
    native.SetColorDialog([&](HWND, TColor) {
        ++asked;
        return std::optional<TColor>(0x0A0B0C);
    });
    int changes = 0;
    box.OnChange = [&] { ++changes; };
    box.SetSelected(0x008000);  // Green, entry 3
    const HWND h = HandleOf(box);
    auto send = [&](int code) {
        SendMessageW(GetParent(h), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(h), code), reinterpret_cast<LPARAM>(h));
    };
    // Open, browse up to "Custom...", then click outside the list.
    send(CBN_DROPDOWN);
    SendMessageW(h, CB_SETCURSEL, 0, 0);
    send(CBN_SELCHANGE);
    Pump();
    send(CBN_SELENDCANCEL);
    send(CBN_CLOSEUP);
    send(CBN_SELCHANGE);
    Pump();
    EXPECT_EQ(asked, 0);
    EXPECT_EQ(changes, 0);
    EXPECT_EQ(box.ItemIndex(), 3);
    EXPECT_EQ(box.Selected(), 0x008000u);
}

TEST_F(Win32Controls, TrackBarReportsTheUsersMovesOnly) {
    ITrackBar& bar = C().CreateTrackBar(Panel(), "Opacity");
    bar.SetBounds({0, 0, 160, 32});
    bar.SetRange(0, 100);
    bar.SetPageSize(10);
    bar.SetTickFrequency(10);
    int changes = 0;
    bar.OnChange = [&] { ++changes; };
    bar.SetPosition(90);
    EXPECT_EQ(bar.Position(), 90);
    bar.SetPosition(150);
    EXPECT_EQ(bar.Position(), 100);
    EXPECT_EQ(changes, 0);
    Key(HandleOf(bar), VK_LEFT);
    EXPECT_EQ(bar.Position(), 99);
    EXPECT_EQ(changes, 1);
    Key(HandleOf(bar), VK_PRIOR);  // Page Up steps a page towards the start
    EXPECT_EQ(bar.Position(), 89);
    EXPECT_EQ(changes, 2);
    bar.SetPosition(0);
    Key(HandleOf(bar), VK_LEFT);  // already at the start: no move, no report
    EXPECT_EQ(changes, 2);
    // Ticks every 10 positions, the ends included.
    EXPECT_EQ(SendMessageW(HandleOf(bar), TBM_GETNUMTICS, 0, 0), 11);
    // In a bar as low as the panel's the thumb leaves room for the marks on both sides.
    bar.SetBounds({0, 0, 141, 33});
    RECT thumb{};
    SendMessageW(HandleOf(bar), TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumb));
    EXPECT_GE(thumb.top, 4);
    EXPECT_LE(thumb.bottom, 33 - 4);
}

TEST_F(Win32Controls, EnterInAFieldReachesTheFieldThenTheDefaultButton) {
    IEdit& edit = C().CreateEdit(Panel(), "Edit");
    IButton& ok = C().CreateButton(Panel(), "Ok");
    IButton& other = C().CreateButton(Panel(), "Other");
    ok.SetBounds({10, 40, 80, 64});
    other.SetBounds({90, 40, 160, 64});
    ok.SetDefault(true);
    std::vector<std::string> happened;
    edit.OnKeyDown = [&](TKey key) {
        if (key == TKey::Return) happened.push_back("field");
    };
    ok.OnClick = [&] { happened.push_back("ok"); };
    other.OnClick = [&] { happened.push_back("other"); };
    const HWND top = dynamic_cast<IWin32ControlHost&>(host_).ControlParent();
    ShowWindow(top, SW_SHOW);
    edit.SetFocus();
    ASSERT_TRUE(edit.Focused());
    // Through the dialog manager, as the message loop passes every key.
    MSG enter{HandleOf(edit), WM_KEYDOWN, VK_RETURN, 1, 0, {0, 0}};
    EXPECT_TRUE(IsDialogMessageW(top, &enter));
    EXPECT_EQ(happened, (std::vector<std::string>{"field", "ok"}));
    // On another button Enter presses that button.
    happened.clear();
    other.SetFocus();
    MSG onButton{HandleOf(other), WM_KEYDOWN, VK_RETURN, 1, 0, {0, 0}};
    EXPECT_TRUE(IsDialogMessageW(top, &onButton));
    Pump();
    EXPECT_EQ(happened, std::vector<std::string>{"other"});
    // A hidden default button is not pressed.
    happened.clear();
    ShowWindow(HandleOf(ok), SW_HIDE);
    edit.SetFocus();
    MSG again{HandleOf(edit), WM_KEYDOWN, VK_RETURN, 1, 0, {0, 0}};
    IsDialogMessageW(top, &again);
    Pump();
    EXPECT_EQ(happened, std::vector<std::string>{"field"});
    ShowWindow(top, SW_HIDE);
}

TEST_F(Win32Controls, TabsWrapIntoRowsAndShowOnePageAtATime) {
    ITabControl& tabs = C().CreateTabControl(Panel(), "PageControl");
    tabs.SetFont({"Tahoma", 9, false});
    tabs.SetBounds({0, 0, 170, 300});
    const std::vector<std::string> names{"Main", "Look", "Colors", "Advanced \xC3\xA9"};
    std::vector<IContainer*> pages;
    for (const std::string& n : names) {
        pages.push_back(&tabs.AddPage(n + "Tab"));
        tabs.SetTabCaption(tabs.PageCount() - 1, n);
    }
    EXPECT_EQ(tabs.PageCount(), 4);
    EXPECT_EQ(tabs.TabCaption(3), names[3]);
    EXPECT_EQ(tabs.TabCaption(4), "");
    EXPECT_EQ(SendMessageW(HandleOf(tabs), TCM_GETROWCOUNT, 0, 0), 2);
    const TRect second = tabs.TabRect(1);
    EXPECT_GT(second.Height(), 0);
    EXPECT_EQ(tabs.TabRect(7), TRect{});
    int changes = 0;
    tabs.OnChange = [&] { ++changes; };
    auto shown = [&] {
        std::vector<int> visible;
        for (int i = 0; i < 4; ++i)
            if (GetWindowLongPtrW(HandleOf(*pages[static_cast<std::size_t>(i)]), GWL_STYLE) & WS_VISIBLE)
                visible.push_back(i);
        return visible;
    };
    tabs.SetActivePage(2);
    EXPECT_EQ(tabs.ActivePage(), 2);
    EXPECT_EQ(shown(), std::vector<int>{2});
    // Every page lies below every row of tabs, inside the control.
    const TRect page = ChildBounds(HandleOf(*pages[2]));
    for (int i = 0; i < 4; ++i) EXPECT_GE(page.top, tabs.TabRect(i).bottom) << i;
    // The chosen tab's row is the one next to the page, whichever row it started in.
    for (const int chosen : {0, 3}) {
        tabs.SetActivePage(chosen);
        int lowest = 0;
        for (int i = 0; i < 4; ++i) lowest = std::max(lowest, tabs.TabRect(i).bottom);
        EXPECT_EQ(tabs.TabRect(chosen).bottom, lowest) << chosen;
    }
    tabs.SetActivePage(2);
    EXPECT_LE(page.right, 170);
    EXPECT_EQ(changes, 0);
    // The user steps to the next tab with the arrow key.
    Key(HandleOf(tabs), VK_RIGHT);
    EXPECT_EQ(tabs.ActivePage(), 3);
    EXPECT_EQ(shown(), std::vector<int>{3});
    EXPECT_EQ(changes, 1);
    tabs.SetActivePage(-1);
    EXPECT_EQ(tabs.ActivePage(), -1);
    EXPECT_TRUE(shown().empty());
    tabs.SetActivePage(9);
    EXPECT_EQ(tabs.ActivePage(), -1);
    auto& set = dynamic_cast<TWin32Controls&>(C());
    EXPECT_EQ(set.Find("ColorsTab"), pages[2]);
    EXPECT_EQ(set.Find("PageControl"), &tabs);
    EXPECT_EQ(set.Find("Nothing"), nullptr);
}

TEST_F(Win32Controls, TabMovesThroughTheShownPageInCreationOrder) {
    ITabControl& tabs = C().CreateTabControl(Panel(), "PageControl");
    tabs.SetBounds({0, 0, 170, 300});
    IContainer& first = tabs.AddPage("First");
    IContainer& second = tabs.AddPage("Second");
    IGroupBox& group = C().CreateGroupBox(first, "Group");
    group.SetBounds({4, 4, 150, 100});
    IRadioButton& a = C().CreateRadioButton(group, "A");
    IRadioButton& b = C().CreateRadioButton(group, "B");
    IEdit& inGroup = C().CreateEdit(group, "InGroup");
    IComboBox& below = C().CreateComboBox(first, "Below", TComboStyle::List);
    IEdit& hidden = C().CreateEdit(second, "Hidden");
    a.SetBounds({8, 16, 80, 32});
    b.SetBounds({8, 36, 80, 52});
    inGroup.SetBounds({8, 60, 80, 80});
    below.SetBounds({4, 110, 150, 131});
    hidden.SetBounds({4, 4, 80, 24});
    b.SetChecked(true);
    tabs.SetActivePage(0);
    const HWND top = host_.ControlParent();
    ShowWindow(top, SW_SHOW);
    auto tab = [&] {
        MSG m{GetFocus(), WM_KEYDOWN, VK_TAB, 1, 0, {0, 0}};
        EXPECT_TRUE(IsDialogMessageW(top, &m));
    };
    tabs.SetFocus();
    tab();
    EXPECT_TRUE(b.Focused());  // into the radio group, at its checked button
    tab();
    EXPECT_TRUE(inGroup.Focused());
    tab();
    EXPECT_TRUE(below.Focused());
    tab();
    EXPECT_TRUE(tabs.Focused());  // round again; the hidden page's field is skipped
    EXPECT_FALSE(hidden.Focused());
    ShowWindow(top, SW_HIDE);
}

TEST_F(Win32Controls, PointerMovesOverTheTabsAndTheCheckListAreReported) {
    ITabControl& tabs = C().CreateTabControl(Panel(), "PageControl");
    tabs.SetBounds({0, 0, 170, 300});
    IContainer& page = tabs.AddPage("Page");
    tabs.SetActivePage(0);
    ICheckListBox& list = C().CreateCheckListBox(page, "Options");
    list.SetBounds({4, 4, 150, 100});
    int overTabs = 0;
    int overList = 0;
    tabs.OnMouseMove = [&] { ++overTabs; };
    list.OnMouseMove = [&] { ++overList; };
    SendMessageW(HandleOf(tabs), WM_MOUSEMOVE, 0, MAKELPARAM(10, 5));
    SendMessageW(HandleOf(list), WM_MOUSEMOVE, 0, MAKELPARAM(20, 20));
    SendMessageW(HandleOf(list), WM_MOUSEMOVE, 0, MAKELPARAM(21, 20));
    EXPECT_EQ(overTabs, 1);
    EXPECT_EQ(overList, 2);
}

TEST_F(Win32Controls, LabelsOnAPagePaintWithThePagesBrush) {
    ITabControl& tabs = C().CreateTabControl(Panel(), "PageControl");
    tabs.SetBounds({0, 0, 170, 300});
    IContainer& page = tabs.AddPage("Page");
    ILabel& label = C().CreateLabel(page, "Label", TLabelSizing::AutoSize);
    IGroupBox& group = C().CreateGroupBox(page, "Group");
    ICheckBox& inGroup = C().CreateCheckBox(group, "Check");
    const HBRUSH pageBrush = dynamic_cast<TWin32Handle&>(page).Background();
    ASSERT_NE(pageBrush, nullptr);
    const HDC dc = CreateCompatibleDC(nullptr);
    for (IControl* c : std::vector<IControl*>{&label, &inGroup}) {
        const HWND w = HandleOf(*c);
        SetBkMode(dc, OPAQUE);
        const auto brush = reinterpret_cast<HBRUSH>(
            SendMessageW(GetParent(w), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(w)));
        EXPECT_EQ(brush, pageBrush);
        EXPECT_EQ(GetBkMode(dc), TRANSPARENT);
    }
    DeleteDC(dc);
}

// Erases `window` into a top-down 32-bit picture of its client size.
std::vector<std::uint32_t> Erased(HWND window, TSize size) {
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), size.width, -size.height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    const HDC dc = CreateCompatibleDC(nullptr);
    const HBITMAP target = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    const HGDIOBJ old = SelectObject(dc, target);
    const auto* px = static_cast<const std::uint32_t*>(bits);
    std::vector<std::uint32_t> out(px, px + static_cast<std::size_t>(size.width) * static_cast<std::size_t>(size.height));
    for (auto& p : out) p = 0x00FF00FFu;  // a colour no background has
    std::copy(out.begin(), out.end(), static_cast<std::uint32_t*>(bits));
    SendMessageW(window, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    GdiFlush();
    out.assign(px, px + out.size());
    SelectObject(dc, old);
    DeleteObject(target);
    DeleteDC(dc);
    for (auto& p : out) p &= 0xFFFFFFu;
    return out;
}

TEST_F(Win32Controls, GroupBoxesFillWithTheBackgroundOfTheirPageAlignedToIt) {
    ITabControl& tabs = C().CreateTabControl(Panel(), "PageControl");
    tabs.SetBounds({0, 0, 170, 300});
    IContainer& page = tabs.AddPage("Page");
    tabs.SetActivePage(0);
    IGroupBox& group = C().CreateGroupBox(page, "Group");
    group.SetBounds({7, 13, 107, 93});
    const TRect area = ChildBounds(HandleOf(page));
    const auto onPage = Erased(HandleOf(page), {area.Width(), area.Height()});
    const auto inGroup = Erased(HandleOf(group), {100, 80});
    ASSERT_FALSE(onPage.empty());
    for (const auto& [x, y] : std::vector<std::pair<int, int>>{{0, 0}, {1, 0}, {50, 40}, {99, 79}, {3, 77}}) {
        const std::uint32_t expected = onPage[static_cast<std::size_t>((y + 13) * area.Width() + x + 7)];
        EXPECT_NE(expected, 0x00FF00FFu);
        EXPECT_EQ(inGroup[static_cast<std::size_t>(y * 100 + x)], expected) << x << "," << y;
    }
}

TEST_F(Win32Controls, AutoSizedLabelsGrowWithTheirTextWrappedOnesKeepTheirBox) {
    ILabel& one = C().CreateLabel(Panel(), "One", TLabelSizing::AutoSize);
    ILabel& wrapped = C().CreateLabel(Panel(), "Wrapped", TLabelSizing::FixedWrap);
    one.SetFont({"Tahoma", 9, false});
    one.SetBounds({10, 20, 11, 21});
    one.SetCaption("Size");
    const TRect shortText = one.Bounds();
    one.SetCaption("Size of the overlay & more");
    const TRect longText = one.Bounds();
    EXPECT_EQ(longText.left, 10);
    EXPECT_EQ(longText.top, 20);
    EXPECT_GT(shortText.Width(), 0);
    EXPECT_GT(longText.Width(), shortText.Width());
    EXPECT_EQ(one.Caption(), "Size of the overlay & more");
    one.SetCaption("Two\nlines");
    EXPECT_GT(one.Bounds().Height(), shortText.Height());
    wrapped.SetBounds({0, 50, 60, 90});
    wrapped.SetCaption("A long text that wraps inside its box");
    EXPECT_EQ(wrapped.Bounds(), (TRect{0, 50, 60, 90}));
}

TEST_F(Win32Controls, PictureShowsOpaquePixelsAndTheBackgroundBehindMaskedOnes) {
    IPicture& picture = C().CreatePicture(Panel(), "Logo");
    picture.SetBounds({0, 0, 4, 2});
    TImage image(2, 1, PixelFromColor(0x0000FF));  // red
    picture.SetPicture(TIcon(image, {1, 0}));
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), 4, -2, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    const HDC dc = CreateCompatibleDC(nullptr);
    const HBITMAP target = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    ASSERT_NE(target, nullptr);
    const HGDIOBJ old = SelectObject(dc, target);
    DRAWITEMSTRUCT item{};
    item.CtlType = ODT_STATIC;
    item.hwndItem = HandleOf(picture);
    item.hDC = dc;
    item.rcItem = {0, 0, 4, 2};
    SendMessageW(HandleOf(Panel()), WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&item));
    GdiFlush();
    const auto* px = static_cast<const std::uint32_t*>(bits);
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    const std::uint32_t faceRgb = GetRValue(face) << 16 | GetGValue(face) << 8 | GetBValue(face);
    EXPECT_EQ(px[0] & 0xFFFFFFu, 0xFF0000u);  // the opaque pixel, red
    EXPECT_EQ(px[1] & 0xFFFFFFu, faceRgb);    // masked out: the panel's face
    EXPECT_EQ(px[4] & 0xFFFFFFu, faceRgb);    // below the picture
    SelectObject(dc, old);
    DeleteObject(target);
    DeleteDC(dc);
}

TEST_F(Win32Controls, EndingTheSetRunsNoHandlers) {
    IEdit& edit = C().CreateEdit(Panel(), "Edit");
    IEdit& other = C().CreateEdit(Panel(), "Other");
    const HWND top = dynamic_cast<IWin32ControlHost&>(host_).ControlParent();
    ShowWindow(top, SW_SHOW);
    other.SetFocus();
    int calls = 0;
    for (IEdit* e : {&edit, &other}) {
        e->OnExit = [&] { ++calls; };
        e->OnChange = [&] { ++calls; };
    }
    controls_.reset();
    EXPECT_EQ(calls, 0);
    EXPECT_EQ(GetWindow(top, GW_CHILD), nullptr);  // every control window is gone
    ShowWindow(top, SW_HIDE);
}

}  // namespace
}  // namespace ratiscope

// The one-line edit and its up-down control on Win32.
#include "platform/win32/Win32EditControls.h"

#include <commctrl.h>

#include <algorithm>
#include <charconv>
#include <climits>

#include "platform/win32/Win32Keys.h"

namespace ratiscope {

namespace {

// The range an up-down keeps: signed 16 bits.
constexpr std::int32_t kUpDownLowest = SHRT_MIN;
constexpr std::int32_t kUpDownHighest = SHRT_MAX;

bool IsReturnKey(const MSG* m) { return m && m->message == WM_KEYDOWN && m->wParam == VK_RETURN; }

}  // namespace

std::optional<long long> ReadWholeNumber(std::string_view text) {
    long long v = 0;
    const char* first = text.data();
    const char* last = first + text.size();
    const auto [end, ec] = std::from_chars(first, last, v);
    if (text.empty() || ec != std::errc() || end != last) return std::nullopt;
    return v;
}

TWin32Edit::TWin32Edit(HWND window, std::string_view name, TWin32Fonts& fonts, std::function<bool()> pressDefault)
    : TWin32Control(window, name, fonts), pressDefault_(std::move(pressDefault)) {
    Subclass(Handle());
}

void TWin32Edit::SetText(std::string_view text) {
    SetWindowTextUtf8(Handle(), text);
    // The field reports its own change too; whichever comes first reports it once.
    LRESULT ignored = 0;
    OnParentNotify(WM_COMMAND, MAKEWPARAM(0, EN_CHANGE), reinterpret_cast<LPARAM>(Handle()), ignored);
}

bool TWin32Edit::OnParentNotify(UINT msg, WPARAM wp, LPARAM, LRESULT& result) {
    if (msg != WM_COMMAND || HIWORD(wp) != EN_CHANGE) return false;
    result = 0;
    std::string now = Text();
    if (now == shown_) return true;
    shown_ = std::move(now);
    if (OnChange) OnChange();
    return true;
}

bool TWin32Edit::OnOwnMessage(HWND window, UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    switch (msg) {
    case WM_GETDLGCODE:
        // The dialog manager would take Enter for the default button before the field saw it.
        if (!IsReturnKey(reinterpret_cast<const MSG*>(lp))) return false;
        result = DefSubclassProc(window, msg, wp, lp) | DLGC_WANTALLKEYS;
        return true;
    case WM_KEYDOWN:
        if (OnKeyDown) OnKeyDown(KeyOfWin32Code(wp));
        if (wp != VK_RETURN) return false;
        if (pressDefault_) pressDefault_();
        result = 0;
        return true;
    case WM_CHAR:
        // A one-line field has no use for Enter's character; it would only beep.
        if (wp != L'\r' && wp != L'\n') return false;
        result = 0;
        return true;
    case WM_KILLFOCUS: {
        // Leaving the field means the focus went to another control of the
        // window; switching to another window leaves the field as it is.
        const HWND next = reinterpret_cast<HWND>(wp);
        if (next && GetAncestor(next, GA_ROOT) == GetAncestor(window, GA_ROOT) && OnExit) OnExit();
        return false;
    }
    default:
        return false;
    }
}

TWin32UpDown::TWin32UpDown(HWND window, std::string_view name, TWin32Fonts& fonts, TWin32Edit& buddy)
    : TWin32Control(window, name, fonts), buddy_(buddy) {
    SendMessageW(Handle(), UDM_SETBUDDY, reinterpret_cast<WPARAM>(buddy_.Handle()), 0);
    SendMessageW(Handle(), UDM_SETRANGE32, static_cast<WPARAM>(min_), static_cast<LPARAM>(max_));
    buddy_.TakeKeysFirst();
}

void TWin32UpDown::SetRange(std::int32_t min, std::int32_t max) {
    min_ = std::clamp(min, kUpDownLowest, kUpDownHighest);
    max_ = std::clamp(max, kUpDownLowest, kUpDownHighest);
    if (max_ < min_) max_ = min_;
    SendMessageW(Handle(), UDM_SETRANGE32, static_cast<WPARAM>(min_), static_cast<LPARAM>(max_));
}

std::int32_t TWin32UpDown::Position() const {
    if (const auto typed = ReadWholeNumber(buddy_.Text()))
        return static_cast<std::int32_t>(std::clamp<long long>(*typed, min_, max_));
    // Not a number: the control's own position, the value it showed last.
    BOOL failed = FALSE;
    const auto shown = static_cast<std::int32_t>(SendMessageW(Handle(), UDM_GETPOS32, 0, reinterpret_cast<LPARAM>(&failed)));
    return std::clamp(shown, min_, max_);
}

void TWin32UpDown::SetPosition(std::int32_t value) {
    const std::int32_t position = std::clamp(value, min_, max_);
    SendMessageW(Handle(), UDM_SETPOS32, 0, static_cast<LPARAM>(position));
    // The control writes the field itself; this also covers a position it already held.
    buddy_.SetText(std::to_string(position));
}

}  // namespace ratiscope

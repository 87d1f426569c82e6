// The Win32 containers.
#include "platform/win32/Win32Containers.h"

namespace ratiscope {

const wchar_t* ContainerWindowClass() {
    static const wchar_t* const name = [] {
        constexpr const wchar_t* kName = L"Ratiscope.Container";
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = DefWindowProcW;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        wc.lpszClassName = kName;
        RegisterClassExW(&wc);  // fails harmlessly when another set registered it first
        return kName;
    }();
    return name;
}

TWin32Container::~TWin32Container() {
    if (brush_) DeleteObject(brush_);
}

void TWin32Container::SetBackground(HBRUSH brush) {
    if (brush_) DeleteObject(brush_);
    brush_ = brush;
    InvalidateRect(Handle(), nullptr, TRUE);
}

TRect TWin32ClientArea::Bounds() const {
    RECT r{};
    GetClientRect(host_, &r);
    return FromRect(r);
}

}  // namespace ratiscope

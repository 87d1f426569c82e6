// One layered topmost Win32 popup: shows a raster surface with its key colour
// see-through and click-through, and turns window messages into platform events.
#pragma once

#include "platform/win32/Win32Api.h"

#include <cstdint>
#include <memory>
#include <string>

#include "platform/Offscreen.h"
#include "platform/Window.h"
#include "platform/win32/Win32Controls.h"
#include "platform/win32/Win32WindowSystem.h"

namespace ratiscope {

class TWin32Window final : public IWindow, public IWin32ControlHost {
public:
    TWin32Window(TWin32WindowSystem& system, IWindowEvents& events, const TWindowOptions& options,
                 std::unique_ptr<IOffscreen> surface);
    ~TWin32Window() override;
    TWin32Window(const TWin32Window&) = delete;
    TWin32Window& operator=(const TWin32Window&) = delete;

    std::int32_t Left() const override;
    std::int32_t Top() const override;
    void Move(std::int32_t left, std::int32_t top) override;
    TSize ClientSize() const override { return size_; }
    void SetClientSize(TSize size) override;
    void Show() override;
    void Hide() override;
    bool IsVisible() const override;
    bool IsActive() const override;
    void BringToFront() override;
    void ReassertTopmost() override;
    void Close() override;
    void SetAlpha(bool blending, std::uint8_t alpha) override;
    void Invalidate() override;
    ICanvas& NewPicture() override;
    ICanvas& Surface() override;
    void FlushSurface() override;
    void SetCursor(TCursor cursor) override;
    void SetHint(std::string_view text) override;
    void CancelHint() override;
    void SetHintsEnabled(bool enabled) override;
    void CaptureMouse() override;
    void ReleaseMouse() override;
    int Dpi() const override;
    IControlHost& ControlHost() override { return *this; }
    HWND ControlParent() const override { return handle_; }

    HWND Handle() const { return handle_; }
    bool IsMain() const { return main_; }
    IWindowEvents& Events() { return events_; }
    // The picture the window shows now (the surface), for tests.
    const TImage* Shown() const;
    // The layered attributes now in force, for tests.
    COLORREF KeyColor() const { return key_; }
    bool Blending() const { return blending_; }
    std::uint8_t Alpha() const { return alpha_; }
    // Key preview: a key aimed at one of this window's controls reaches the window first.
    void PreviewKey(const MSG& message);
    void ApplyHintColor(COLORREF color);
    void MinimiseWithApplication();
    void RestoreWithApplication();

    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

private:
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
    void Paint();
    void Blit(HDC dc);
    void ApplyLayering();
    void Closing();
    void MouseButton(UINT message, WPARAM wParam, LPARAM lParam);
    void Wheel(WPARAM wParam, LPARAM lParam);
    void CreateTooltip();
    void UpdateTooltip();
    bool PointerOver() const;

    TWin32WindowSystem& system_;
    IWindowEvents& events_;
    bool main_;
    COLORREF key_;
    std::unique_ptr<IOffscreen> surface_;
    HWND handle_ = nullptr;
    HWND tooltip_ = nullptr;
    HWND savedFocus_ = nullptr;
    TSize size_;
    TCursor cursor_ = TCursor::Default;
    bool blending_ = false;
    std::uint8_t alpha_ = 255;
    bool inPaint_ = false;
    bool stale_ = true;  // the surface no longer shows what the window should: compose at the next paint
    bool closed_ = false;
    bool hintsEnabled_ = false;
    bool minimisedByUs_ = false;
    std::wstring hint_;
    std::int32_t wheelRest_ = 0;
    int dpi_ = 96;
};

}  // namespace ratiscope

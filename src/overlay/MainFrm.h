// The overlay window: the program's main window, which shows the figure,
// follows every setting change and turns mouse and keys into setter calls.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string_view>

#include "overlay/PanelLink.h"
#include "overlay/Renderer.h"
#include "overlay/ResizeDrag.h"
#include "platform/Window.h"
#include "settings/WindowSlots.h"

namespace ratiscope {

class ICanvas;
class TSettings;

// What the overlay window takes from the rest of the program.
struct TMainFormServices {
    IWindowSystem& windows;
    // The six caption and grip icons; may throw, which leaves them empty.
    std::function<TOverlayIcons()> loadIcons;
    // Opens the manual with the desktop's handler.
    std::function<void()> openManual;
};

class TMainForm final : public IOverlayWindow, public IWindowEvents, public IApplicationEvents {
public:
    TMainForm(TSettings& settings, TMainFormServices services);
    ~TMainForm() override;
    TMainForm(const TMainForm&) = delete;
    TMainForm& operator=(const TMainForm&) = delete;

    // Creates and configures the window and shows it; fills the settings' overlay slot.
    void FormCreate();
    // Stores both windows' places into the settings; no paint follows.
    void FormClose();
    void FormActivate();
    void FormDeactivate();
    // Composes the picture and the orientation mark on the window and shows them.
    void FormPaint();

    void FormMouseDown(TMouseButton button, TShiftState state, std::int32_t x, std::int32_t y);
    void FormMouseMove(TShiftState state, std::int32_t x, std::int32_t y);
    void FormMouseUp(TMouseButton button, TShiftState state, std::int32_t x, std::int32_t y);
    void FormMouseWheel(TShiftState state, std::int32_t delta);
    void FormKeyDown(TKey key, TShiftState state);
    void FormKeyUp(TKey key, TShiftState state);

    // Settings slot.
    void UpdateSize() override;
    void UpdateOpacity() override;
    void UpdateLook() override;
    void UpdateOptions() override;
    void UpdateLanguage() override;

    void UpdatePosition();
    void KeepOnScreen();
    // KeepOnScreen, and beyond it the window's right end, where its buttons
    // are, pulled onto the desktop: whatever the settings file holds, a new
    // window can be reached and closed.
    void BringButtonsOnScreen();

    void ActionOrientExecute();
    void ActionLookExecute();
    void ActionFrameExecute();
    void ActionShowSettingsExecute();
    void ActionMinimizeExecute();
    void ActionExitExecute();
    // Fits the drawing rectangle to the client area of the window beneath
    // the figure's centre; nothing over the bare desktop.
    void ActionFitExecute();
    // Hides both windows, or shows them again as they were: the action of
    // the global show-and-hide key.
    void ActionShowHideExecute();
    // Whether ActionShowHideExecute has taken the windows off the screen.
    bool HiddenAway() const { return hiddenAway_; }

    // The panel, once it exists; null again before it goes. Not owned.
    void SetPanel(IPanelLink* panel) { panel_ = panel; }
    // The panel borrows three of these.
    const TOverlayIcons& Icons() const { return icons_; }
    // Null before FormCreate.
    IWindow* Window() { return window_.get(); }

    // Interaction state, readable for the panel and the tests.
    bool Highlighted() const { return highlighted_; }
    bool Moving() const { return moving_; }
    TDragMode DragMode() const { return dragMode_; }
    bool Captured() const { return captured_; }
    std::int32_t AnchorX() const { return anchorX_; }
    std::int32_t AnchorY() const { return anchorY_; }
    // Whether FormClose ran, after which nothing is painted.
    bool Closed() const { return closed_; }

private:
    // Platform events.
    void OnPaint() override { FormPaint(); }
    void OnMouseDown(TMouseButton b, TShiftState s, std::int32_t x, std::int32_t y) override { FormMouseDown(b, s, x, y); }
    void OnMouseMove(TShiftState s, std::int32_t x, std::int32_t y) override { FormMouseMove(s, x, y); }
    void OnMouseUp(TMouseButton b, TShiftState s, std::int32_t x, std::int32_t y) override { FormMouseUp(b, s, x, y); }
    void OnMouseWheel(TShiftState s, std::int32_t delta, std::int32_t, std::int32_t) override { FormMouseWheel(s, delta); }
    void OnKeyDown(TKey key, TShiftState s) override { FormKeyDown(key, s); }
    void OnKeyUp(TKey key, TShiftState s) override { FormKeyUp(key, s); }
    void OnActivate() override { FormActivate(); }
    void OnDeactivate() override { FormDeactivate(); }
    void OnClose() override { FormClose(); }
    void OnApplicationActivate() override { FormActivate(); }
    void OnApplicationDeactivate() override { FormDeactivate(); }

    void DrawOrientMarkOnWindow();
    // Hover feedback: the button strip again, the mark, and the face of `button` filled.
    void HighlightButton(int button);
    void RemoveHighlight();
    void RunButtonCommand(int button);
    void ResizeDrag(std::int32_t x, std::int32_t y);
    void ApplySize(bool paint);
    // The client size of the settings, bounded by the desktop.
    TSize WindowSize() const;
    // Moves the window, its corner kept where the window system can place it.
    void MoveWindow(std::int64_t left, std::int64_t top);

    TSettings& settings_;
    TMainFormServices services_;
    std::unique_ptr<IWindow> window_;
    IPanelLink* panel_ = nullptr;
    TOverlayIcons icons_;

    bool closed_ = false;
    bool highlighted_ = false;
    bool moving_ = false;
    TDragMode dragMode_ = dmNone;
    bool captured_ = false;
    std::int32_t anchorX_ = 0;
    std::int32_t anchorY_ = 0;
    bool hiddenAway_ = false;
    bool panelWasShown_ = false;  // the panel's state when the windows were hidden away
};

}  // namespace ratiscope

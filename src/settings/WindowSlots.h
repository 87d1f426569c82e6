// The two windows as the settings model sees them: the refresh operations it
// calls after a change. A slot stays empty until its window exists.
#pragma once

namespace ratiscope {

// What the overlay window must refresh when a setting changes.
class IOverlayWindow {
public:
    virtual ~IOverlayWindow() = default;
    // Resizes the window to Width + 2*Border by Height + 2*Border + 16 and repaints at once.
    virtual void UpdateSize() = 0;
    // Applies Opacity to the window alpha and tells the panel.
    virtual void UpdateOpacity() = 0;
    // Requests a repaint.
    virtual void UpdateLook() = 0;
    // Requests a repaint and switches the window's tooltips by ShowHints.
    virtual void UpdateOptions() = 0;
    // Same as UpdateOptions: every overlay text is looked up at paint and hover time.
    virtual void UpdateLanguage() = 0;
};

// What the settings panel must show again when a setting changes. These only
// display values; they never call a setter back.
class IPanelWindow {
public:
    virtual ~IPanelWindow() = default;
    virtual void ShowSnapAndLock() = 0;
    virtual void ShowRatio() = 0;
    virtual void ShowColors() = 0;
    virtual void ApplyOpacity() = 0;
    virtual void ShowOrientation() = 0;
    virtual void ShowLook() = 0;
    virtual void ShowGridSize() = 0;
    virtual void ShowAdvanced() = 0;
    virtual void ReloadLanguage() = 0;
    // Puts the leading side (Width when LockWidth, else Height) into the size field.
    virtual void ShowSize() = 0;
};

}  // namespace ratiscope

// The two windows as the settings model sees them: the refresh operations it
// calls after a change. A slot stays empty until its window exists.
#pragma once

#include <cstdint>

namespace ratiscope {

// One bit per refresh operation below, so a change that touches several
// fields can tell each window once.
using TRefreshSet = std::uint32_t;

inline constexpr TRefreshSet kRefreshNone = 0;
inline constexpr TRefreshSet kUpdateSize = 1u << 0;
inline constexpr TRefreshSet kUpdateOpacity = 1u << 1;
inline constexpr TRefreshSet kUpdateLook = 1u << 2;
inline constexpr TRefreshSet kUpdateOptions = 1u << 3;
inline constexpr TRefreshSet kUpdateLanguage = 1u << 4;
inline constexpr TRefreshSet kShowSnapAndLock = 1u << 5;
inline constexpr TRefreshSet kShowRatio = 1u << 6;
inline constexpr TRefreshSet kShowColors = 1u << 7;
inline constexpr TRefreshSet kApplyOpacity = 1u << 8;
inline constexpr TRefreshSet kShowOrientation = 1u << 9;
inline constexpr TRefreshSet kShowLook = 1u << 10;
inline constexpr TRefreshSet kShowGridSize = 1u << 11;
inline constexpr TRefreshSet kShowAdvanced = 1u << 12;
inline constexpr TRefreshSet kReloadLanguage = 1u << 13;
inline constexpr TRefreshSet kShowSize = 1u << 14;

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

// The settings panel: the program's second window, with its drawn caption
// strip and four pages of controls that edit the settings and show them back.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string_view>

#include "overlay/PanelLink.h"
#include "overlay/Renderer.h"
#include "panel/LookPage.h"
#include "panel/OptionPages.h"
#include "panel/PanelControls.h"
#include "panel/SetupsBox.h"
#include "platform/Controls.h"
#include "platform/Window.h"
#include "settings/WindowSlots.h"

namespace ratiscope {

class IFiles;
class TSettings;

// Page numbers as the settings store them: Main 0, Look 2, Colors 3,
// Advanced 4; no page has the number 1, and -1 stands for no page shown.
// A stored 1 opens the Look page; any other number outside 0..4 opens none.
std::int32_t PageIndexFromNumber(std::int32_t number);
std::int32_t PageNumberFromIndex(std::int32_t index);

// Client coordinates of the mouse where a drag of the panel began.
struct TDragOrigin {
    std::int32_t X = 0;
    std::int32_t Y = 0;
};

// What the panel takes from the rest of the program.
struct TSettingsFormServices {
    IWindowSystem& windows;
    IControlToolkit& controls;
    // The program's folder is listed for languages; language files are read.
    IFiles& files;
    // The program's main icon for the Main page's box, which is `side` pixels
    // square; may throw, which leaves the picture empty.
    std::function<TIcon(std::int32_t side)> loadProgramIcon;
    std::function<void()> openManual;
    // Opens a page of the vendor site; takes the path after the site's base address.
    std::function<void(std::string_view)> openWebPage;
    // The overlay's window, which the panel belongs to; null leaves the panel a window of its own.
    IWindow* owner = nullptr;
    // The overlay's command that fits its figure to the window beneath it.
    std::function<void()> fitToWindow;
};

class TSettingsForm final : public IPanelWindow, public IPanelLink, public IWindowEvents {
public:
    // `icons` are the overlay window's; the panel borrows three and never changes them.
    TSettingsForm(TSettings& settings, const TOverlayIcons& icons, TSettingsFormServices services);
    ~TSettingsForm() override;
    TSettingsForm(const TSettingsForm&) = delete;
    TSettingsForm& operator=(const TSettingsForm&) = delete;

    // Creates the window and its controls, brings them up to date, shows the
    // window when SVisible is set and fills the settings' panel slot.
    void FormCreate();
    // Composes the caption strip on the window and shows it.
    void FormPaint();
    void FormActivate();
    void FormDeactivate();
    void FormMouseDown(TMouseButton button, TShiftState state, std::int32_t x, std::int32_t y);
    void FormMouseMove(TShiftState state, std::int32_t x, std::int32_t y);
    void FormMouseUp(TMouseButton button, TShiftState state, std::int32_t x, std::int32_t y);
    // F1 manual, F2 hide (the overlay's show-settings toggle), F3 opacity back.
    void FormKeyDown(TKey key, TShiftState state);
    // A close request stores the panel's place, visibility and page; the
    // window is then hidden, never destroyed.
    void FormClose();
    void PageControlMouseMove();
    // Rescales every size to the new DPI; a notification that arrives while a
    // rescale runs is ignored.
    void WMDpiChanged(int dpi);

    void LayoutPanel();
    void KeepOnScreen();
    void RestorePosition();
    static bool IsOverButton(std::int32_t x, std::int32_t y, std::int32_t left);

    // Settings slot: display operations, which never call a setter.
    void ShowSnapAndLock() override { look_->ShowSnapAndLock(); }
    void ShowRatio() override { look_->ShowRatio(); }
    void ShowColors() override { colors_->ShowColors(); }
    void ApplyOpacity() override;
    void ShowOrientation() override { look_->ShowOrientation(); }
    void ShowLook() override { look_->ShowLook(); }
    void ShowGridSize() override { look_->ShowGridSize(); }
    void ShowAdvanced() override;
    void ReloadLanguage() override;
    void ShowSize() override { look_->ShowSize(); }

    void FillLanguages();
    // Loads English and then `name` over it, selects it in the list, sets all
    // texts again and re-selects the ratio, look and orientation entries.
    void SelectLanguage(std::string_view name);
    // Every text from its language key, then a repaint at once.
    void ApplyTexts();

    // Link for the overlay window.
    void RequestRepaint() override;
    void ToggleVisible() override;
    void SetShown(bool shown) override;
    std::int32_t Left() const override;
    std::int32_t Top() const override;
    bool IsShown() const override;
    // The page on display as a page number (Look is 2), -1 for none.
    std::int32_t ActivePage() const override;

    // For the program entry and the tests; null before FormCreate.
    IWindow* Window() { return window_.get(); }
    TPanelControls* Controls() { return controls_ ? &*controls_ : nullptr; }
    TLookPage* Look() { return look_ ? &*look_ : nullptr; }
    int CurrentDpi() const { return dpi_; }
    bool ButtonLit() const { return FButtonLit; }
    bool Dragging() const { return FDragging; }
    bool Captured() const { return FCaptured; }
    bool Scaling() const { return FScaling; }

private:
    void OnPaint() override { FormPaint(); }
    void OnMouseDown(TMouseButton b, TShiftState s, std::int32_t x, std::int32_t y) override { FormMouseDown(b, s, x, y); }
    void OnMouseMove(TShiftState s, std::int32_t x, std::int32_t y) override { FormMouseMove(s, x, y); }
    void OnMouseUp(TMouseButton b, TShiftState s, std::int32_t x, std::int32_t y) override { FormMouseUp(b, s, x, y); }
    // The wheel is left to the control under it.
    void OnMouseWheel(TShiftState, std::int32_t, std::int32_t, std::int32_t) override {}
    void OnKeyDown(TKey key, TShiftState s) override { FormKeyDown(key, s); }
    void OnActivate() override { FormActivate(); }
    void OnDeactivate() override { FormDeactivate(); }
    void OnClose() override { FormClose(); }
    void OnDpiChanged(int dpi) override { WMDpiChanged(dpi); }

    void ReportError(const std::exception& e);
    // Puts the program icon made for the logo box's size at the current DPI into the Main page.
    void ShowLogo();
    void HighlightButton(std::int32_t start, TColor fill);
    void RedrawButtons();
    std::int32_t ClientWidth() const;

    TSettings& Settings;
    const TOverlayIcons& icons_;
    TSettingsFormServices services_;
    TErrorReport report_;

    // The window outlives its controls, which live in it.
    std::unique_ptr<IWindow> window_;
    std::unique_ptr<IControls> controlSet_;
    std::optional<TPanelControls> controls_;
    std::optional<TLookPage> look_;
    std::optional<TColorsPage> colors_;
    std::optional<TAdvancedPage> advanced_;
    std::optional<TMainPage> main_;
    std::optional<TSetupsBox> setups_;
    int dpi_ = kDesignDpi;

    bool FButtonLit = false;
    bool FDragging = false;
    bool FCaptured = false;
    TDragOrigin FDragOrigin;
    bool FScaling = false;
};

}  // namespace ratiscope

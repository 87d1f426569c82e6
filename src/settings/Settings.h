// The settings record: every value the user can adjust, changed only through
// setters that keep each field's limits and tell both windows what to refresh.
// The field table (SettingsKeys.h) holds each field's limit, defaults and
// refreshes; the setters here are named shorthands for it.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "base/Color.h"
#include "settings/Looks.h"
#include "settings/Orientation.h"
#include "settings/SettingsDefaults.h"
#include "settings/SettingsKeys.h"
#include "settings/Setups.h"
#include "settings/SizeRules.h"
#include "settings/WindowSlots.h"

namespace ratiscope {

// Border from kMinBorder to kMaxBorder keeps the overlay window representable
// together with kMaxSide.
inline constexpr std::int32_t kMinBorder = 0;
inline constexpr std::int32_t kMaxBorder = 1024;

// The grid loops end only because the step is at least this.
inline constexpr std::int32_t kMinGridSize = 3;

// Opacity in per cent; values outside are refused.
inline constexpr std::int32_t kMinOpacity = 0;
inline constexpr std::int32_t kMaxOpacity = 100;

class TSettings {
public:
    // A new record holds the values a first run starts with; the panel's left
    // edge is placed 181 pixels left of the primary screen's right edge.
    explicit TSettings(std::int32_t primaryScreenWidth);

    TSettings(const TSettings&) = delete;
    TSettings& operator=(const TSettings&) = delete;

    // The window slots; null while the window does not exist. Not owned.
    IOverlayWindow* Overlay = nullptr;
    IPanelWindow* Panel = nullptr;

    // Fields, named after their keys in the settings file. Read freely; change
    // the look and behaviour fields through the setters only. X, Y, SX, SY,
    // SVisible and SPage have no setter: the windows store them when they close.
    double Ratio = 0;
    bool LockWidth = false;
    bool Lock = false;
    std::int32_t Width = 0;
    std::int32_t Height = 0;
    std::int32_t Border = 0;
    TColor LinesColor = 0;
    TColor ValuesColor = 0;
    bool MouseResizeAllowed = false;
    std::int32_t Opacity = 0;
    bool MouseWheelAllowed = false;
    TOrientation OrientMode = TOrientation::TopLeft;
    bool ShowValues = false;
    TLook LookMode = TLook::Grid;
    std::int32_t GridSize = 0;
    bool ShowHints = false;
    bool SettingsOpacity = false;
    bool MoveUsingGrid = false;
    std::string Lang;
    std::int32_t X = 0;
    std::int32_t Y = 0;
    std::int32_t SX = 0;
    std::int32_t SY = 0;
    bool SVisible = false;
    std::int32_t SPage = 0;
    bool SFrame = false;
    // The global combination that hides and shows both windows, as text
    // ("Ctrl+Alt+G"); empty switches it off. Read at start-up only.
    std::string Hotkey;
    // The file name ("Phi grid.figure") of the figure of the user's own drawn
    // instead of LookMode; empty for LookMode. LookMode keeps the built-in look
    // drawn while no figure file of the name exists.
    std::string Figure;

    // Named set-ups, from the settings file's own section for them; written
    // back only when SetupsChanged, so a file's section stays as it is
    // otherwise. Not part of the field table.
    std::vector<TSetup> Setups;
    bool SetupsChanged = false;

    void SetBorder(std::int32_t value);
    void SetLockWidth(bool value);
    void SetLock(bool value);
    // A ratio that is not finite or not above zero is refused: the geometry and
    // the lock formulas divide by it.
    void SetRatio(double value);
    // Brings the following side in line with Ratio when Lock is on.
    void ApplyRatio();
    void SetWidth(std::int32_t value);
    void SetHeight(std::int32_t value);
    void SetLinesColor(TColor value);
    void SetValuesColor(TColor value);
    // Values outside 0..100 are refused.
    void SetOpacity(std::int32_t value);
    void SetOrientMode(TOrientation value);
    void SetLookMode(TLook value);
    // Values below 3 are stored as 3: the grid loops rely on it to end.
    void SetGridSize(std::int32_t value);
    void SetMouseResizeAllowed(bool value);
    void SetMouseWheelAllowed(bool value);
    void SetShowValues(bool value);
    void SetShowHints(bool value);
    void SetSettingsOpacity(bool value);
    void SetMoveUsingGrid(bool value);
    void SetSFrame(bool value);
    // Exact, case-sensitive comparison; the panel reloads its texts first.
    void SetLang(const std::string& value);
    // Stores the text as it stands; nobody is told, the key is claimed at start-up.
    void SetHotkey(const std::string& value);
    // A built-in look, leaving any figure of the user's own.
    void ChooseLook(TLook look);
    // A figure file by name; the look shown and drawn when the file exists.
    void ChooseFigure(const std::string& fileName);

    // The leading side only: Width when LockWidth is on, else Height, whatever
    // Lock says; the other value is not used.
    void SetLeadingSide(std::int32_t width, std::int32_t height);
    // With Lock on the leading side, with Lock off both sides, width first;
    // the windows are told once.
    void SetSize(std::int32_t width, std::int32_t height);

    // Any field by its row of the field table, with the row's limit and
    // refreshes; the named setters above come here.
    void SetField(TSettingsField field, const TSettingValue& value);

    // Enter's cycle: the cycled built-in looks, then the figures of the user's
    // own in `figures` (file names, in the look list's order), then the first
    // look again.
    void NextLook(std::span<const std::string> figures = {});
    void NextOrient();
    void RestoreDefaults();

    TSizeState SizeState() const { return {Width, Height, Ratio, Lock, LockWidth}; }

private:
    friend class TSettingsChange;

    void StoreSize(const TSizeState& size);
    // Tells the windows now, or at the end of the running change.
    void Changed(TRefreshSet refresh);
    void Notify(TRefreshSet refresh);

    int changeDepth_ = 0;
    TRefreshSet pendingRefresh_ = kRefreshNone;
};

// A change of several fields that tells each window once: while one of these
// lives, the setters collect what to refresh, and the last one to end tells
// the windows, in the setters' order (overlay before panel, the panel's
// language first).
class TSettingsChange {
public:
    explicit TSettingsChange(TSettings& settings);
    // A refresh may throw, as it would from a plain setter.
    ~TSettingsChange() noexcept(false);
    TSettingsChange(const TSettingsChange&) = delete;
    TSettingsChange& operator=(const TSettingsChange&) = delete;

    // Adds refreshes as though a field had changed.
    void Refresh(TRefreshSet refresh);

private:
    TSettings& settings_;
};

// True while the panel's stored place is the one a first run gives it, which
// was worked out for the panel's 96-dpi width.
bool AtFirstPanelPlace(const TSettings& settings, std::int32_t primaryScreenWidth);

}  // namespace ratiscope

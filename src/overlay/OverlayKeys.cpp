// The overlay's keys: move and resize in steps of 16 (1 with Ctrl), the grid
// with Shift, the commands, the hold-to-peek keys that hide the window, and
// F5, which fits the figure to the window beneath, and Ctrl+digit for the
// named set-ups.
#include <cstdint>

#include "overlay/MainFrm.h"
#include "platform/Keys.h"
#include "settings/Settings.h"
#include "settings/Setups.h"

namespace ratiscope {

namespace {
// Pixels one key press moves or resizes by, and with Ctrl.
constexpr std::int32_t kKeyStep = 16;
constexpr std::int32_t kFineKeyStep = 1;
}  // namespace

void TMainForm::FormKeyDown(TKey key, TShiftState state) {
    TSettings& s = settings_;
    const std::int32_t step = (state & ssCtrl) ? kFineKeyStep : kKeyStep;

    // Shift switches to the grid keys; Alt is not looked at.
    if (state & ssShift) {
        if (key == TKey::Add)
            s.SetGridSize(s.GridSize + step);
        else if (key == TKey::Subtract)
            s.SetGridSize(s.GridSize - step);
        return;
    }

    // Ctrl+1 to Ctrl+9 (or on the keypad) bring back the first nine set-ups.
    if (state & ssCtrl) {
        for (int n = 1; n < kDigitKeyCount; ++n)
            if (key == KeyOfDigit(n) || key == KeypadDigit(n)) {
                RestoreSetupAt(s, static_cast<std::size_t>(n - 1));
                return;
            }
    }

    auto resizeLeading = [&](std::int32_t by) {
        s.SetLeadingSide(s.Width + by, s.Height + by);
        UpdateSize();
    };
    auto moveBy = [&](std::int32_t dx, std::int32_t dy) {
        // Not pulled back here: the next activation or release does that.
        if (window_) MoveWindow(std::int64_t{window_->Left()} + dx, std::int64_t{window_->Top()} + dy);
    };

    switch (key) {
    case TKey::Return: ActionLookExecute(); break;
    case TKey::Space: ActionOrientExecute(); break;
    case TKey::Left: moveBy(-step, 0); break;
    case TKey::Up: moveBy(0, -step); break;
    case TKey::Right: moveBy(step, 0); break;
    case TKey::Down: moveBy(0, step); break;
    case TKey::Multiply:
    case TKey::F4: ActionFrameExecute(); break;
    case TKey::Add: resizeLeading(step); break;
    case TKey::Subtract: resizeLeading(-step); break;
    case TKey::Divide:
    case TKey::F3:
        if (window_) window_->SetAlpha(true, 0);
        break;
    case TKey::F1:
        if (services_.openManual) services_.openManual();
        break;
    case TKey::F2: ActionShowSettingsExecute(); break;
    case TKey::F5: ActionFitExecute(); break;
    default: break;
    }
}

void TMainForm::FormKeyUp(TKey key, TShiftState) {
    // Whatever modifiers are held, so a peek always ends.
    if (key == TKey::Divide || key == TKey::F3) UpdateOpacity();
}

}  // namespace ratiscope

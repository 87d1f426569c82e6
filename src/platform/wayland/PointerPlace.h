// Pointer positions come relative to the overlay's surface, which moves under
// the pointer during a drag: where they count from, so that each one gives the
// pointer's true place in the layout whichever way the compositor counts.
#pragma once

#include <cstdint>
#include <deque>
#include <string_view>

namespace ratiscope {

// Where a compositor counts surface-local pointer positions from while a
// button is held and the surface moves.
enum class THeldPointerOrigin {
    PressPlace,    // the surface's place at the press (wlroots: sway, Hyprland)
    CurrentPlace,  // where the compositor has the surface now (KWin)
};

// The rule of a compositor that offers this global. Plasma's shell protocol
// tells KWin (wlroots offers some other KDE protocols too); every other
// compositor is taken to count as wlroots does.
bool CountsFromCurrentPlace(std::string_view global);

struct TLayoutPoint {
    std::int32_t x = 0;
    std::int32_t y = 0;
    friend bool operator==(const TLayoutPoint&, const TLayoutPoint&) = default;
};

class TSurfacePlace {
public:
    explicit TSurfacePlace(THeldPointerOrigin origin = THeldPointerOrigin::PressPlace) : origin_(origin) {}
    void SetOrigin(THeldPointerOrigin origin) { origin_ = origin; }
    THeldPointerOrigin Origin() const { return origin_; }

    // A new surface, at `place` from its first picture on; moves sent for the
    // one before it are forgotten.
    void NewSurface(TLayoutPoint place);
    // A move to `place` was committed; the compositor applies it by the
    // answer to the request numbered `ticket` (tickets grow with every move).
    void MoveSent(std::uint64_t ticket, TLayoutPoint place);
    // The compositor answered `ticket`: that move and every earlier one are applied.
    void MoveApplied(std::uint64_t ticket);
    // The first button went down on the surface, the last one came up.
    void ButtonsDown();
    void ButtonsUp();

    // Where the compositor has the surface now.
    TLayoutPoint Applied() const { return applied_; }
    // The layout place of a pointer position the compositor sent now.
    TLayoutPoint Layout(double x, double y) const;

private:
    struct TSentMove {
        std::uint64_t ticket;
        TLayoutPoint place;
    };
    THeldPointerOrigin origin_;
    TLayoutPoint applied_;
    std::deque<TSentMove> sent_;
    bool held_ = false;
    // False once the surface the buttons went down on was replaced: every
    // compositor then counts from where the new one is.
    bool grabOnSurface_ = false;
    TLayoutPoint grabOrigin_;
};

}  // namespace ratiscope

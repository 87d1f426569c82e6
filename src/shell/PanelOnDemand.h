// The settings panel as the overlay sees it, built only when it is first
// needed on screen: a panel that starts hidden costs neither the time nor the
// memory of its controls until the user asks for it.
#pragma once

#include <cstdint>
#include <functional>

#include "overlay/PanelLink.h"

namespace ratiscope {

struct TSettings;

class TPanelOnDemand final : public IPanelLink {
public:
    // `build` makes the panel, shown or hidden as the settings say, and
    // returns it; it is called at most once. Until then the panel's place,
    // state and page are the ones the settings hold.
    TPanelOnDemand(const TSettings& settings, std::function<IPanelLink&()> build);

    // Builds the panel now unless it is built already.
    void Build();
    bool Built() const { return panel_ != nullptr; }

    void RequestRepaint() override;
    void ToggleVisible() override;
    void SetShown(bool shown) override;
    std::int32_t Left() const override;
    std::int32_t Top() const override;
    bool IsShown() const override;
    std::int32_t ActivePage() const override;

private:
    const TSettings& settings_;
    std::function<IPanelLink&()> build_;
    IPanelLink* panel_ = nullptr;
};

}  // namespace ratiscope

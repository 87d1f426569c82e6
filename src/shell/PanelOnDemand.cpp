// A panel not yet built answers for itself from the settings; whatever would
// show it builds it first.
#include "shell/PanelOnDemand.h"

#include <utility>

#include "settings/Settings.h"

namespace ratiscope {

TPanelOnDemand::TPanelOnDemand(const TSettings& settings, std::function<IPanelLink&()> build)
    : settings_(settings), build_(std::move(build)) {}

void TPanelOnDemand::Build() {
    if (panel_ || !build_) return;
    // Taken out first: a build that throws is not tried again and again.
    const std::function<IPanelLink&()> build = std::exchange(build_, nullptr);
    panel_ = &build();
}

void TPanelOnDemand::RequestRepaint() {
    if (panel_) panel_->RequestRepaint();
}

void TPanelOnDemand::ToggleVisible() {
    Build();
    if (panel_) panel_->ToggleVisible();
}

void TPanelOnDemand::SetShown(bool shown) {
    // Hiding a panel that was never built leaves it unbuilt.
    if (shown) Build();
    if (panel_) panel_->SetShown(shown);
}

std::int32_t TPanelOnDemand::Left() const { return panel_ ? panel_->Left() : settings_.SX; }

std::int32_t TPanelOnDemand::Top() const { return panel_ ? panel_->Top() : settings_.SY; }

bool TPanelOnDemand::IsShown() const { return panel_ && panel_->IsShown(); }

std::int32_t TPanelOnDemand::ActivePage() const { return panel_ ? panel_->ActivePage() : settings_.SPage; }

}  // namespace ratiscope

// The compositor's outputs and where each lies in its layout, which the
// overlay needs to put its layer surface on the output under its centre.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "platform/wayland/OutputPlacement.h"

struct wl_output;
struct wl_registry;
struct zxdg_output_manager_v1;

namespace ratiscope {

struct TWaylandOutput;

class TWaylandOutputs {
public:
    TWaylandOutputs();
    ~TWaylandOutputs();
    TWaylandOutputs(const TWaylandOutputs&) = delete;
    TWaylandOutputs& operator=(const TWaylandOutputs&) = delete;

    // From the registry: true when the global was one of ours.
    bool Announce(wl_registry* registry, std::uint32_t name, const char* interface, std::uint32_t version);
    void Removed(std::uint32_t name);

    // The outputs whose place and size are known, in the order announced.
    std::vector<TOutputArea> Areas() const;
    // The output of that registry name, or null (kNoOutput included).
    wl_output* Proxy(std::uint32_t name) const;
    // Runs after each change of the outputs or their places; null to stop.
    void OnChanged(std::function<void()> changed) { changed_ = std::move(changed); }

    // Called from the listeners.
    void Changed();

private:
    void Describe(TWaylandOutput& output);

    zxdg_output_manager_v1* manager_ = nullptr;
    std::vector<std::unique_ptr<TWaylandOutput>> outputs_;  // listeners hold their addresses
    std::function<void()> changed_;
};

}  // namespace ratiscope

// Outputs from the registry: each output's logical place and size from
// xdg-output where the compositor has it, else from wl_output's own geometry
// and mode (which some compositors leave at the layout's corner).
#include "platform/wayland/WaylandOutputs.h"

#include <algorithm>
#include <cstring>

#include <wayland-client.h>

#include "xdg-output-unstable-v1-client-protocol.h"

namespace ratiscope {

namespace {

// wl_output 2 has the done event that closes each round of changes.
constexpr std::uint32_t kOutputVersion = 2;
// xdg-output 3 leaves the done event to wl_output; older ones send their own.
constexpr std::uint32_t kXdgOutputVersion = 3;

}  // namespace

struct TWaylandOutput {
    TWaylandOutputs* owner = nullptr;
    std::uint32_t name = kNoOutput;
    wl_output* output = nullptr;
    zxdg_output_v1* xdg = nullptr;
    // From wl_output.
    bool hasGeometry = false, hasMode = false;
    std::int32_t x = 0, y = 0, modeWidth = 0, modeHeight = 0, scale = 1;
    bool sideways = false;  // turned a quarter, so the mode's width is the layout's height
    // From xdg-output.
    bool hasLogicalPlace = false, hasLogicalSize = false;
    std::int32_t logicalX = 0, logicalY = 0, logicalWidth = 0, logicalHeight = 0;

    ~TWaylandOutput() {
        if (xdg) zxdg_output_v1_destroy(xdg);
        if (output) wl_output_destroy(output);
    }
};

namespace {

TWaylandOutput& Output(void* data) { return *static_cast<TWaylandOutput*>(data); }

void OnGeometry(void* data, wl_output*, std::int32_t x, std::int32_t y, std::int32_t, std::int32_t, std::int32_t, const char*,
                const char*, std::int32_t transform) {
    TWaylandOutput& o = Output(data);
    o.hasGeometry = true;
    o.x = x;
    o.y = y;
    o.sideways = transform % 2 == 1;  // 90 and 270 degrees, flipped or not
}
void OnMode(void* data, wl_output*, std::uint32_t flags, std::int32_t width, std::int32_t height, std::int32_t) {
    if (!(flags & WL_OUTPUT_MODE_CURRENT)) return;
    TWaylandOutput& o = Output(data);
    o.hasMode = true;
    o.modeWidth = width;
    o.modeHeight = height;
}
void OnOutputDone(void* data, wl_output*) { Output(data).owner->Changed(); }
void OnScale(void* data, wl_output*, std::int32_t factor) { Output(data).scale = std::max(factor, 1); }
#ifdef WL_OUTPUT_NAME_SINCE_VERSION
void OnOutputName(void*, wl_output*, const char*) {}
void OnOutputDescription(void*, wl_output*, const char*) {}
#endif
// Events of versions above the one bound never come.
constexpr wl_output_listener kOutputListener{
    .geometry = OnGeometry,
    .mode = OnMode,
    .done = OnOutputDone,
    .scale = OnScale,
#ifdef WL_OUTPUT_NAME_SINCE_VERSION
    .name = OnOutputName,
    .description = OnOutputDescription,
#endif
};

void OnLogicalPosition(void* data, zxdg_output_v1*, std::int32_t x, std::int32_t y) {
    TWaylandOutput& o = Output(data);
    o.hasLogicalPlace = true;
    o.logicalX = x;
    o.logicalY = y;
}
void OnLogicalSize(void* data, zxdg_output_v1*, std::int32_t width, std::int32_t height) {
    TWaylandOutput& o = Output(data);
    o.hasLogicalSize = true;
    o.logicalWidth = width;
    o.logicalHeight = height;
}
void OnXdgDone(void* data, zxdg_output_v1*) { Output(data).owner->Changed(); }
void OnXdgName(void*, zxdg_output_v1*, const char*) {}
void OnXdgDescription(void*, zxdg_output_v1*, const char*) {}
constexpr zxdg_output_v1_listener kXdgOutputListener{OnLogicalPosition, OnLogicalSize, OnXdgDone, OnXdgName, OnXdgDescription};

}  // namespace

TWaylandOutputs::TWaylandOutputs() = default;

TWaylandOutputs::~TWaylandOutputs() {
    outputs_.clear();
    if (manager_) zxdg_output_manager_v1_destroy(manager_);
}

bool TWaylandOutputs::Announce(wl_registry* registry, std::uint32_t name, const char* interface, std::uint32_t version) {
    if (std::strcmp(interface, wl_output_interface.name) == 0 && version >= kOutputVersion) {
        auto o = std::make_unique<TWaylandOutput>();
        o->owner = this;
        o->name = name;
        o->output = static_cast<wl_output*>(wl_registry_bind(registry, name, &wl_output_interface, kOutputVersion));
        wl_output_add_listener(o->output, &kOutputListener, o.get());
        Describe(*o);
        outputs_.push_back(std::move(o));
        return true;
    }
    if (std::strcmp(interface, zxdg_output_manager_v1_interface.name) == 0 && !manager_) {
        manager_ = static_cast<zxdg_output_manager_v1*>(
            wl_registry_bind(registry, name, &zxdg_output_manager_v1_interface, std::min(version, kXdgOutputVersion)));
        for (const auto& o : outputs_) Describe(*o);
        return true;
    }
    return false;
}

void TWaylandOutputs::Describe(TWaylandOutput& output) {
    if (!manager_ || output.xdg) return;
    output.xdg = zxdg_output_manager_v1_get_xdg_output(manager_, output.output);
    zxdg_output_v1_add_listener(output.xdg, &kXdgOutputListener, &output);
}

void TWaylandOutputs::Removed(std::uint32_t name) {
    if (std::erase_if(outputs_, [name](const std::unique_ptr<TWaylandOutput>& o) { return o->name == name; }) > 0) Changed();
}

std::vector<TOutputArea> TWaylandOutputs::Areas() const {
    std::vector<TOutputArea> areas;
    for (const auto& o : outputs_) {
        if (o->xdg) {
            if (o->hasLogicalPlace && o->hasLogicalSize)
                areas.push_back({o->name, {o->logicalX, o->logicalY, o->logicalX + o->logicalWidth, o->logicalY + o->logicalHeight}});
        } else if (o->hasGeometry && o->hasMode) {
            const std::int32_t w = (o->sideways ? o->modeHeight : o->modeWidth) / o->scale;
            const std::int32_t h = (o->sideways ? o->modeWidth : o->modeHeight) / o->scale;
            areas.push_back({o->name, {o->x, o->y, o->x + w, o->y + h}});
        }
    }
    return areas;
}

wl_output* TWaylandOutputs::Proxy(std::uint32_t name) const {
    for (const auto& o : outputs_)
        if (o->name == name) return o->output;
    return nullptr;
}

void TWaylandOutputs::Changed() {
    if (changed_) changed_();
}

}  // namespace ratiscope

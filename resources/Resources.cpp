// Compiles the XPM pictures into the program and reads them on request.
#include "resources/Resources.h"

#include <array>
#include <iterator>

#include "platform/raster/Xpm.h"

namespace ratiscope {
namespace {

// XPM files are C source: each defines one array of strings.
#include "resources/zappicon.xpm"
#include "resources/zappicon32.xpm"
#include "resources/zbrcorner.xpm"
#include "resources/zcaption.xpm"
#include "resources/ztlcorner.xpm"
#include "resources/ztlcorners.xpm"
#include "resources/ztrcorner.xpm"
#include "resources/ztrcorner2.xpm"

struct TResource {
    std::string_view name;
    std::span<const char* const> strings;
};

const std::array kResources{
    TResource{"ZTLCORNER", ztlcorner_xpm},   TResource{"ZCAPTION", zcaption_xpm},
    TResource{"ZTLCORNERS", ztlcorners_xpm}, TResource{"ZTRCORNER", ztrcorner_xpm},
    TResource{"ZTRCORNER2", ztrcorner2_xpm}, TResource{"ZBRCORNER", zbrcorner_xpm},
    TResource{"ZAPPICON", zappicon_xpm},     TResource{"ZAPPICON32", zappicon32_xpm},
};

const std::array<std::string_view, std::size(kResources)> kNames = [] {
    std::array<std::string_view, std::size(kResources)> names{};
    for (std::size_t i = 0; i < kResources.size(); ++i) names[i] = kResources[i].name;
    return names;
}();

}  // namespace

TIcon LoadResourceIcon(std::string_view name) {
    for (const TResource& r : kResources)
        if (r.name == name) return IconFromXpm(r.strings).value_or(TIcon{});
    return {};
}

TIcon LoadProgramIcon(std::int32_t side) {
    constexpr std::int32_t kSmallIconSide = 32;
    return LoadResourceIcon(side <= kSmallIconSide ? "ZAPPICON32" : "ZAPPICON");
}

std::span<const std::string_view> ResourceIconNames() { return kNames; }

}  // namespace ratiscope

// Text-in-box placement and end-ellipsis shortening.
#include "platform/raster/TextBox.h"

#include <vector>

#include "platform/Canvas.h"

namespace ratiscope {

std::string ShortenWithEllipsis(ITextMeasure& engine, std::string_view text, std::int32_t maxWidth) {
    if (engine.Measure(text).width <= maxWidth) return std::string(text);
    // Prefix lengths that end on a character boundary.
    std::vector<std::size_t> cuts;
    for (std::size_t i = 0; i < text.size(); ++i)
        if ((static_cast<unsigned char>(text[i]) & 0xC0u) != 0x80u) cuts.push_back(i);
    // Binary search for the last cut that fits; cut 0 (empty prefix) is the fallback.
    std::size_t lo = 0, hi = cuts.size();  // answer in [lo, hi)
    while (hi - lo > 1) {
        const std::size_t mid = lo + (hi - lo) / 2;
        std::string candidate(text.substr(0, cuts[mid]));
        candidate += kEllipsis;
        if (engine.Measure(candidate).width <= maxWidth)
            lo = mid;
        else
            hi = mid;
    }
    std::string out(text.substr(0, cuts.empty() ? 0 : cuts[lo]));
    out += kEllipsis;
    return out;
}

TTextPlacement PlaceTextInBox(ITextMeasure& engine, std::string_view text, TRect box, std::uint32_t format,
                              int angleDegrees) {
    const bool turned = angleDegrees == 90;
    const std::int64_t boxWidth = std::int64_t{box.right} - box.left;
    const std::int64_t boxHeight = std::int64_t{box.bottom} - box.top;
    TTextPlacement p;
    p.text = (format & tfEndEllipsis)
                 ? ShortenWithEllipsis(engine, text, static_cast<std::int32_t>(turned ? boxHeight : boxWidth))
                 : std::string(text);
    const TSize size = engine.Measure(p.text);
    // The footprint on the image.
    const std::int64_t across = turned ? size.height : size.width;
    const std::int64_t down = turned ? size.width : size.height;

    std::int64_t left = box.left, top = box.top;
    if (format & tfCenter) left += (boxWidth - across) / 2;
    if (format & tfVCenter)
        top += (boxHeight - down) / 2;
    else if (format & tfBottom)
        top = box.bottom - down;
    if (turned) top += down;  // turned text starts at the bottom of its footprint
    p.x = static_cast<std::int32_t>(left);
    p.y = static_cast<std::int32_t>(top);
    return p;
}

}  // namespace ratiscope

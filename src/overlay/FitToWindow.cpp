// The fit command's arithmetic, kept apart from the window so it is tested by table.
#include "overlay/FitToWindow.h"

#include "overlay/OverlaySize.h"
#include "settings/Settings.h"

namespace ratiscope {

TWindowPlace DrawingCentre(const TSettings& s, std::int32_t left, std::int32_t top) {
    return {left + s.Border + s.Width / 2, top + s.Border + kCaptionHeight + s.Height / 2};
}

TWindowPlace FitDrawingRect(TSettings& s, const TRect& client) {
    s.SetSize(client.Width(), client.Height());
    // Truncating halves, as every centre of the figure is computed.
    return {client.left + (client.Width() - s.Width) / 2 - s.Border,
            client.top + (client.Height() - s.Height) / 2 - s.Border - kCaptionHeight};
}

}  // namespace ratiscope

// The caption and grip icons as the overlay window loads them once, at creation.
#pragma once

#include "overlay/Renderer.h"

namespace ratiscope {

// The six icons from the program's resources, each at its fixed size; an
// icon that is missing or has another size is left empty, which draws nothing.
TOverlayIcons LoadOverlayIcons();

}  // namespace ratiscope

// The figure as JSON, for other tools and for checking the geometry from outside.
#pragma once

#include <string>

namespace ratiscope {

class TSettings;

// {"settings":{...26 keys...},"window":{"width":..,"height":..},"primitives":[...]}
std::string FigureJson(const TSettings& s);

}  // namespace ratiscope

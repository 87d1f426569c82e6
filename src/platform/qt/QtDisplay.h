// Whether the X server the program would draw on can be reached, asked before
// Qt starts: Qt ends a program that finds none with an abort and a misleading
// text, where the user needs one line that says what is missing.
#pragma once

#include <string>

namespace ratiscope {

// True when an X connection to $DISPLAY can be made (and is closed again).
bool X11DisplayReachable();

// The one line said when there is none, naming the program as it was started.
std::string NoX11DisplayText(const std::string& programName);

}  // namespace ratiscope

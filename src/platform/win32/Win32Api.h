// The one way the backend includes <windows.h>: its function-name macros
// (CreateWindow, ReplaceFile, TextOut, DrawText) would rename the platform
// interfaces' own operations, so they go; the backend calls the W functions
// by their full names.
#pragma once

// Every text at the edge is UTF-16: the W functions and wide resource names.
#ifndef UNICODE
#define UNICODE
#endif
#ifndef _UNICODE
#define _UNICODE
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#undef CreateWindow
#undef ReplaceFile
#undef TextOut
#undef DrawText

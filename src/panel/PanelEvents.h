// How the panel's handlers are bound: an exception a handler raises goes to
// the program's error box and the program carries on, as after any user action.
#pragma once

#include <exception>
#include <functional>
#include <utility>

#include "platform/Controls.h"

namespace ratiscope {

using TErrorReport = std::function<void(const std::exception&)>;

inline TNotifyEvent Guarded(const TErrorReport& report, std::function<void()> handler) {
    return [report, handler = std::move(handler)] {
        try {
            handler();
        } catch (const std::exception& e) {
            if (report) report(e);
        }
    };
}

inline TKeyEvent GuardedKey(const TErrorReport& report, std::function<void(TKey)> handler) {
    return [report, handler = std::move(handler)](TKey key) {
        try {
            handler(key);
        } catch (const std::exception& e) {
            if (report) report(e);
        }
    };
}

}  // namespace ratiscope

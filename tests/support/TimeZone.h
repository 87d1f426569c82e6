// Pins the process's local time zone for a test and puts the old one back
// afterwards, through the C runtime's TZ variable on every platform.
#pragma once

#include <cstdlib>
#include <ctime>
#include <optional>
#include <string>

namespace ratiscope::testing {

// TZ as given ("UTC", "EST5": five hours behind), or unset for none.
inline void SetTimeZone(const std::optional<std::string>& tz) {
#ifdef _WIN32
    _putenv_s("TZ", tz ? tz->c_str() : "");  // an empty value removes it
    _tzset();
#else
    if (tz)
        setenv("TZ", tz->c_str(), 1);
    else
        unsetenv("TZ");
    tzset();
#endif
}

class TTimeZoneGuard {
public:
    explicit TTimeZoneGuard(const std::string& tz) {
        if (const char* old = std::getenv("TZ")) saved_ = old;
        SetTimeZone(tz);
    }
    TTimeZoneGuard(const TTimeZoneGuard&) = delete;
    TTimeZoneGuard& operator=(const TTimeZoneGuard&) = delete;
    ~TTimeZoneGuard() { SetTimeZone(saved_); }

private:
    std::optional<std::string> saved_;
};

}  // namespace ratiscope::testing

// Opening the manual and the vendor's pages, with the install-age query.
#include "shell/Links.h"

#include <algorithm>
#include <array>
#include <ctime>

#include "base/Files.h"
#include "base/Product.h"
#include "platform/Desktop.h"

#ifndef RATISCOPE_VENDOR_BASE
#define RATISCOPE_VENDOR_BASE "https://vendrel.example/"
#endif
#ifndef RATISCOPE_INSTALLED_MANUAL
#define RATISCOPE_INSTALLED_MANUAL ""
#endif
// The Linux marker and opener; the Windows build defines its own.
#ifndef RATISCOPE_INSTALL_MARKER
#define RATISCOPE_INSTALL_MARKER "ratiscope-uninstall"
#endif
#ifndef RATISCOPE_FALLBACK_OPENER
#define RATISCOPE_FALLBACK_OPENER "xdg-open"
#endif

namespace ratiscope {

namespace {

constexpr std::int64_t kMillisecondsPerDay = 86'400'000;

}  // namespace

std::string_view VendorBaseAddress() { return RATISCOPE_VENDOR_BASE; }

std::string_view InstalledManualPath() { return RATISCOPE_INSTALLED_MANUAL; }

std::string_view InstallMarkerName() { return RATISCOPE_INSTALL_MARKER; }

std::string_view FallbackOpener() { return RATISCOPE_FALLBACK_OPENER; }

std::string VendorPage(std::string_view path) {
    std::string address(VendorBaseAddress());
    address += path;
    return address;
}

std::int64_t LocalMilliseconds(std::chrono::system_clock::time_point t) {
    using namespace std::chrono;
    const auto whole = floor<seconds>(t);
    const std::int64_t millis = duration_cast<milliseconds>(t - whole).count();
    const std::time_t tt = system_clock::to_time_t(whole);
    const std::tm* local = std::localtime(&tt);  // one thread only: the GUI thread
    if (!local) return duration_cast<milliseconds>(t.time_since_epoch()).count();
    const sys_days date = year{local->tm_year + 1900} / month{static_cast<unsigned>(local->tm_mon + 1)} /
                          day{static_cast<unsigned>(local->tm_mday)};
    const std::int64_t secondsOfDay = local->tm_hour * 3600 + local->tm_min * 60 + std::min(local->tm_sec, 59);
    return (static_cast<std::int64_t>(date.time_since_epoch().count()) * 86'400 + secondsOfDay) * 1000 + millis;
}

std::int64_t InstallDateFrom(std::optional<std::chrono::system_clock::time_point> marker,
                             std::chrono::system_clock::time_point now) {
    if (marker) return LocalMilliseconds(*marker);
    return LocalMilliseconds(now) - 999 * kMillisecondsPerDay;
}

std::string WebQuery(std::int64_t installDate, std::int64_t now) {
    // Integer division truncates towards zero: -36 hours is -1, -12 hours 0.
    return "?prd=vrx&v=" + std::string(kProductVersion) + "&d=" + std::to_string((now - installDate) / kMillisecondsPerDay);
}

TLinks::TLinks(IDesktop& desktop, IFiles& files, std::string programFolder, std::chrono::system_clock::time_point now)
    : desktop_(desktop), files_(files), programFolder_(std::move(programFolder)) {
    const std::string marker = programFolder_ + std::string(InstallMarkerName());
    std::optional<std::chrono::system_clock::time_point> modified;
    if (files_.FileExists(marker)) modified = files_.ModificationTime(marker);  // a folder of that name does not count
    installDate_ = InstallDateFrom(modified, now);
}

void TLinks::OpenDocument(std::string_view target) {
    if (target.empty()) return;
    if (desktop_.OpenWithDefaultHandler(target)) return;
    // One argument, never a command line a shell would read; a leading "-"
    // would be taken for an option.
    std::array<std::string, 1> argument{std::string(target)};
    if (target.front() == '-') argument[0].insert(0, "./");
    desktop_.Run(FallbackOpener(), argument);
}

void TLinks::OpenWebPage(std::string_view address) {
    std::string target(address);
    target += WebQuery();
    OpenDocument(target);
}

std::string TLinks::WebQuery(std::chrono::system_clock::time_point now) const {
    return ratiscope::WebQuery(installDate_, LocalMilliseconds(now));
}

std::string TLinks::ManualPath() const {
    // Looked up where the program is, never in the working folder, so help
    // opens whichever folder the program was started from.
    const std::string beside = programFolder_ + std::string(kManualPath);
    if (files_.FileExists(beside)) return beside;
    const std::string installed(InstalledManualPath());
    if (!installed.empty() && files_.FileExists(installed)) return installed;
    return beside;
}

void TLinks::OpenManual() { OpenDocument(ManualPath()); }

}  // namespace ratiscope

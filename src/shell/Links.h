// The manual and the vendor's web pages, opened with the desktop's handlers;
// every web page carries the product, its version and the install age.
#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace ratiscope {

class IDesktop;
class IFiles;

// Paths after the vendor's base address.
inline constexpr std::string_view kHomePage = "";
inline constexpr std::string_view kSupportPage = "we/service/";
inline constexpr std::string_view kProductPage = "ratiscope/";
inline constexpr std::string_view kUninstallPage = "we/service/uninstall/";

// The manual, relative to the program's folder.
inline constexpr std::string_view kManualPath = "Manual/index.html";
// The file whose age is the install age: what the installer puts next to the
// program ("Uninstall.exe" on Windows, the uninstall script elsewhere), fixed
// when the program is built.
std::string_view InstallMarkerName();
// The program that opens a target when the desktop's handler could not,
// fixed when the program is built.
std::string_view FallbackOpener();

// The vendor's base address, ending with "/", fixed when the program is built.
std::string_view VendorBaseAddress();
// Where an installation puts the manual, fixed when the program is built.
std::string_view InstalledManualPath();
// The base address followed by one of the page paths above.
std::string VendorPage(std::string_view path);

// A point in time as a local date and time: milliseconds since 1970-01-01
// 00:00 of the local calendar, so two of them differ by what a wall clock shows.
std::int64_t LocalMilliseconds(std::chrono::system_clock::time_point t);

// The install date from the marker's modification time, or 999 days before now without one.
std::int64_t InstallDateFrom(std::optional<std::chrono::system_clock::time_point> marker,
                             std::chrono::system_clock::time_point now);

// "?prd=vrx&v=", the product version, "&d=" and the whole days from the
// install date to now, the fraction cut off towards zero (a marker dated in
// the future gives a negative age).
std::string WebQuery(std::int64_t installDate, std::int64_t now);

class TLinks {
public:
    // Reads the install date once, at program start. `programFolder` ends with "/".
    TLinks(IDesktop& desktop, IFiles& files, std::string programFolder,
           std::chrono::system_clock::time_point now = std::chrono::system_clock::now());

    // Opens a file path or web address with the desktop's handler, and with the
    // fallback opener when that fails. Nothing is reported either way.
    void OpenDocument(std::string_view target);
    // Opens the page address with the web query right behind it.
    void OpenWebPage(std::string_view address);
    std::string WebQuery(std::chrono::system_clock::time_point now = std::chrono::system_clock::now()) const;
    // Opens the manual found next to the program or where an installation put it.
    void OpenManual();
    // The manual's full path: the first existing candidate, else the one next to the program.
    std::string ManualPath() const;

    // Local milliseconds, as LocalMilliseconds counts them.
    std::int64_t InstallDate() const { return installDate_; }

private:
    IDesktop& desktop_;
    IFiles& files_;
    std::string programFolder_;
    std::int64_t installDate_;
};

}  // namespace ratiscope

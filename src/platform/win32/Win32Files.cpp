// Every call here may meet a hostile path (a folder, a device, a pipe, a
// dangling link) and answers it with a plain false or empty result.
#include "platform/win32/Win32Files.h"

#include "platform/win32/Win32Api.h"

#include <knownfolders.h>
#include <shlobj.h>

#include <algorithm>
#include <atomic>
#include <memory>

#include "platform/FileNamePattern.h"
#include "platform/win32/Win32Unicode.h"

namespace ratiscope {
namespace {

// 100-nanosecond steps from 1601-01-01 to 1970-01-01.
constexpr std::uint64_t kUnixEpochInFileTime = 116444736000000000ull;
constexpr DWORD kReadChunk = 65536;

// Closes a file handle at the end of its scope.
class THandle {
public:
    explicit THandle(HANDLE h) : h_(h) {}
    THandle(const THandle&) = delete;
    THandle& operator=(const THandle&) = delete;
    ~THandle() { Close(); }
    HANDLE Get() const { return h_; }
    bool Valid() const { return h_ != INVALID_HANDLE_VALUE && h_ != nullptr; }
    bool Close() {
        if (!Valid()) return true;
        const HANDLE h = h_;
        h_ = INVALID_HANDLE_VALUE;
        return CloseHandle(h) != 0;
    }

private:
    HANDLE h_;
};

std::string KnownFolder(REFKNOWNFOLDERID id) {
    PWSTR path = nullptr;
    std::string result;
    if (SUCCEEDED(SHGetKnownFolderPath(id, KF_FLAG_DEFAULT, nullptr, &path)) && path) result = PathFromWide(path);
    CoTaskMemFree(path);
    return result;
}

// The attributes of what the path finally names, links followed; nothing when it does not exist.
std::optional<BY_HANDLE_FILE_INFORMATION> FinalInformation(std::string_view path) {
    if (path.empty()) return std::nullopt;
    // Opening for no access still follows links and also works on folders.
    THandle h(CreateFileW(WidePath(path).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                          OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!h.Valid()) return std::nullopt;
    BY_HANDLE_FILE_INFORMATION info{};
    if (!GetFileInformationByHandle(h.Get(), &info)) return std::nullopt;
    return info;
}

// The final path of an open file in the program's form, without the "\\?\" prefix.
std::string FinalPathOf(HANDLE h) {
    std::wstring buffer(MAX_PATH, L'\0');
    for (int attempt = 0; attempt < 4; ++attempt) {
        const DWORD n = GetFinalPathNameByHandleW(h, buffer.data(), static_cast<DWORD>(buffer.size()), FILE_NAME_NORMALIZED);
        if (n == 0) return {};
        if (n < buffer.size()) {
            buffer.resize(n);
            std::wstring_view view = buffer;
            if (view.starts_with(L"\\\\?\\UNC\\")) return "//" + PathFromWide(view.substr(8));
            if (view.starts_with(L"\\\\?\\")) view.remove_prefix(4);
            return PathFromWide(view);
        }
        buffer.assign(n, L'\0');
    }
    return {};
}

// Where writing to `path` must go: moving over a symbolic link would replace the link itself.
std::string WriteTarget(std::string_view path) {
    const DWORD attributes = GetFileAttributesW(WidePath(path).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_REPARSE_POINT)) return std::string(path);
    THandle h(CreateFileW(WidePath(path).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                          OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    // A dangling link cannot be followed: it is written as a plain file would be.
    if (!h.Valid()) return std::string(path);
    const std::string final = FinalPathOf(h.Get());
    return final.empty() ? std::string(path) : final;
}

bool WriteAll(HANDLE h, std::string_view bytes) {
    while (!bytes.empty()) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 20));
        DWORD written = 0;
        if (!WriteFile(h, bytes.data(), chunk, &written, nullptr) || written == 0) return false;
        bytes.remove_prefix(written);
    }
    return true;
}

// A temporary file that is deleted again unless it was moved into place.
class TTemporaryFile {
public:
    TTemporaryFile(std::wstring path, HANDLE h) : path_(std::move(path)), handle_(h) {}
    TTemporaryFile(const TTemporaryFile&) = delete;
    TTemporaryFile& operator=(const TTemporaryFile&) = delete;
    ~TTemporaryFile() {
        handle_.Close();
        if (!kept_) DeleteFileW(path_.c_str());
    }
    const std::wstring& Path() const { return path_; }
    THandle& Handle() { return handle_; }
    void Keep() { kept_ = true; }

private:
    std::wstring path_;
    THandle handle_;
    bool kept_ = false;
};

// A new, empty file beside `target` under a name nobody else uses (CREATE_NEW fails on any existing name).
std::unique_ptr<TTemporaryFile> CreateTemporaryBeside(std::string_view target) {
    static std::atomic<unsigned> counter{0};
    const std::size_t slash = target.find_last_of('/');
    const std::string_view folder = slash == std::string_view::npos ? std::string_view() : target.substr(0, slash + 1);
    const std::string_view name = slash == std::string_view::npos ? target : target.substr(slash + 1);
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string temp = std::string(folder) + "." + std::string(name) + "." +
                                 std::to_string(GetCurrentProcessId()) + "." + std::to_string(++counter) + "." +
                                 std::to_string(GetTickCount() & 0xFFFFFF) + ".tmp~";
        const std::wstring wide = WidePath(temp);
        HANDLE h = CreateFileW(wide.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h != INVALID_HANDLE_VALUE) return std::make_unique<TTemporaryFile>(wide, h);
        const DWORD error = GetLastError();
        if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) return nullptr;
    }
    return nullptr;
}

// What stands at a path a file is to be written to.
enum class TExisting { Nothing, WritableFile, ReadOnly, Other };

TExisting ExistingAt(std::string_view path) {
    const DWORD attributes = GetFileAttributesW(WidePath(path).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        const DWORD error = GetLastError();
        return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? TExisting::Nothing : TExisting::Other;
    }
    if (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE)) return TExisting::Other;
    if (attributes & FILE_ATTRIBUTE_READONLY) return TExisting::ReadOnly;
    // Reserved names such as "NUL" or "COM1" answer as files but are devices.
    THandle h(CreateFileW(WidePath(path).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                          OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (h.Valid() && GetFileType(h.Get()) != FILE_TYPE_DISK) return TExisting::Other;
    return TExisting::WritableFile;
}

// The content written over the existing file where it stands: a failure on
// the way may leave it cut short, which is why this is only the last resort.
bool WriteInPlace(std::string_view path, std::string_view content) {
    THandle h(CreateFileW(WidePath(path).c_str(), GENERIC_WRITE, 0, nullptr, TRUNCATE_EXISTING,
                          FILE_ATTRIBUTE_NORMAL | FILE_FLAG_WRITE_THROUGH, nullptr));
    if (!h.Valid() || GetFileType(h.Get()) != FILE_TYPE_DISK) return false;
    if (!WriteAll(h.Get(), content) || !FlushFileBuffers(h.Get())) return false;
    return h.Close();
}

}  // namespace

TKnownFolders ShellKnownFolders() {
    return TKnownFolders{
        [] { return KnownFolder(FOLDERID_ProgramFiles); },
        [] { return KnownFolder(FOLDERID_RoamingAppData); },
        [] { return KnownFolder(FOLDERID_ProgramData); },
    };
}

TFileTime TimeFromFileTime(std::uint64_t ticks) {
    const auto since = std::chrono::duration<std::int64_t, std::ratio<1, 10'000'000>>(
        static_cast<std::int64_t>(ticks - kUnixEpochInFileTime));
    return TFileTime(std::chrono::duration_cast<TFileTime::duration>(since));
}

TWin32Files::TWin32Files(TKnownFolders folders) : folders_(std::move(folders)) {}

std::string TWin32Files::ProgramPath() {
    std::wstring buffer(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (n == 0) return {};
        if (n < buffer.size()) {
            buffer.resize(n);
            break;
        }
        if (buffer.size() >= 32768) return {};
        buffer.resize(buffer.size() * 2);
    }
    THandle h(CreateFileW(buffer.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                          OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (h.Valid())
        if (std::string final = FinalPathOf(h.Get()); !final.empty()) return final;
    return PathFromWide(buffer);
}

std::string_view TWin32Files::FolderSeparators() { return "/\\"; }

std::string TWin32Files::PlatformProgramFilesFolder() { return folders_.programFiles ? folders_.programFiles() : std::string(); }

std::string TWin32Files::PlatformUserDataFolder() { return folders_.roamingData ? folders_.roamingData() : std::string(); }

std::string TWin32Files::PlatformSharedDataFolder() { return folders_.programData ? folders_.programData() : std::string(); }

bool TWin32Files::FileExists(std::string_view path) {
    const auto info = FinalInformation(path);
    return info && !(info->dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE));
}

bool TWin32Files::FolderExists(std::string_view path) {
    const auto info = FinalInformation(path);
    return info && (info->dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool TWin32Files::CreateFolder(std::string_view path) {
    return !path.empty() && CreateDirectoryW(WidePath(path).c_str(), nullptr) != 0;
}

std::optional<TFileTime> TWin32Files::ModificationTime(std::string_view path) {
    const auto info = FinalInformation(path);
    if (!info) return std::nullopt;
    const std::uint64_t ticks =
        (std::uint64_t{info->ftLastWriteTime.dwHighDateTime} << 32) | info->ftLastWriteTime.dwLowDateTime;
    return TimeFromFileTime(ticks);
}

std::vector<std::string> TWin32Files::ListFolder(std::string_view folder, std::string_view pattern) {
    std::vector<std::string> names;
    if (folder.empty()) return names;
    std::string all(folder);
    if (all.back() != '/' && all.back() != '\\') all += '/';
    all += '*';
    WIN32_FIND_DATAW found{};
    HANDLE search = FindFirstFileExW(WidePath(all).c_str(), FindExInfoBasic, &found, FindExSearchNameMatch, nullptr, 0);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        if (found.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE)) continue;
        std::string name = Utf8FromWide(found.cFileName);
        if (MatchesFileNamePattern(name, pattern)) names.push_back(std::move(name));
    } while (FindNextFileW(search, &found));
    FindClose(search);
    std::sort(names.begin(), names.end());
    return names;
}

std::optional<std::string> TWin32Files::ReadFile(std::string_view path, std::size_t maxBytes) {
    if (path.empty()) return std::nullopt;
    THandle h(CreateFileW(WidePath(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                          nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!h.Valid()) return std::nullopt;
    // Pipes, consoles and devices are refused: only a disk file has an end to read to.
    if (GetFileType(h.Get()) != FILE_TYPE_DISK) return std::nullopt;
    BY_HANDLE_FILE_INFORMATION info{};
    if (!GetFileInformationByHandle(h.Get(), &info) || (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return std::nullopt;
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(h.Get(), &size) || size.QuadPart < 0 || static_cast<std::uint64_t>(size.QuadPart) > maxBytes)
        return std::nullopt;
    std::string content;
    content.reserve(static_cast<std::size_t>(size.QuadPart));
    std::string chunk(kReadChunk, '\0');
    for (;;) {
        DWORD n = 0;
        if (!::ReadFile(h.Get(), chunk.data(), kReadChunk, &n, nullptr)) return std::nullopt;
        if (n == 0) break;
        // The file may have grown since its size was read.
        if (content.size() + n > maxBytes) return std::nullopt;
        content.append(chunk.data(), n);
    }
    return content;
}

namespace {

// ReplaceFile's work: ERROR_SUCCESS, or the system error that says why the
// file was not replaced. The refusals of our own take the code Windows gives
// for the same case (a read-only file or a folder opened for writing).
DWORD ReplaceOrError(std::string_view path, std::string_view content) {
    if (path.empty()) return ERROR_PATH_NOT_FOUND;
    if (path.back() == '/' || path.back() == '\\') return ERROR_ACCESS_DENIED;
    std::string target = WriteTarget(path);
    std::replace(target.begin(), target.end(), '\\', '/');
    const TExisting existing = ExistingAt(target);
    // Only a regular file that may be written is replaced; a folder, a device
    // or a read-only file stays as it is.
    if (existing == TExisting::Other || existing == TExisting::ReadOnly) return ERROR_ACCESS_DENIED;
    std::unique_ptr<TTemporaryFile> temp = CreateTemporaryBeside(target);
    if (!temp) {
        const DWORD error = GetLastError();
        // A folder that takes no new files may still let the file be written where it is.
        if (existing == TExisting::WritableFile && error == ERROR_ACCESS_DENIED && WriteInPlace(target, content))
            return ERROR_SUCCESS;
        return error == ERROR_SUCCESS ? ERROR_ACCESS_DENIED : error;
    }
    const auto failed = [] {
        const DWORD error = GetLastError();
        return error == ERROR_SUCCESS ? ERROR_WRITE_FAULT : error;
    };
    if (!WriteAll(temp->Handle().Get(), content)) return failed();
    if (!FlushFileBuffers(temp->Handle().Get())) return failed();
    if (!temp->Handle().Close()) return failed();
    if (!MoveFileExW(temp->Path().c_str(), WidePath(target).c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return failed();
    temp->Keep();
    return ERROR_SUCCESS;
}

}  // namespace

bool TWin32Files::ReplaceFile(std::string_view path, std::string_view content) {
    replaceError_ = ReplaceOrError(path, content);
    return replaceError_ == ERROR_SUCCESS;
}

std::string TWin32Files::ReplaceFailure() {
    if (replaceError_ == ERROR_SUCCESS) return {};
    wchar_t* text = nullptr;
    const DWORD n = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                       FORMAT_MESSAGE_IGNORE_INSERTS,
                                   nullptr, replaceError_, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::wstring words = n > 0 && text ? std::wstring(text, n) : std::wstring();
    if (text) LocalFree(text);
    while (!words.empty() && (words.back() == L'\r' || words.back() == L'\n' || words.back() == L' ')) words.pop_back();
    if (words.empty()) return "Error " + std::to_string(replaceError_);
    return Utf8FromWide(words);
}

std::string TWin32Files::DisplayPath(std::string_view path) {
    std::string shown(path);
    std::replace(shown.begin(), shown.end(), '/', '\\');
    return shown;
}

}  // namespace ratiscope

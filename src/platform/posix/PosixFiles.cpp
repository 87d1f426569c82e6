// Every call here may meet a hostile path (a folder, a pipe, a dangling link)
// and answers it with a plain false or empty result, never an exception.
#include "platform/posix/PosixFiles.h"

#include <fcntl.h>
#include <fnmatch.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#ifndef RATISCOPE_PROGRAM_FILES_FOLDER
#define RATISCOPE_PROGRAM_FILES_FOLDER ""
#endif

namespace ratiscope {

namespace fs = std::filesystem;

namespace {

// Owns one open descriptor.
class TDescriptor {
public:
    explicit TDescriptor(int fd) : fd_(fd) {}
    TDescriptor(const TDescriptor&) = delete;
    TDescriptor& operator=(const TDescriptor&) = delete;
    ~TDescriptor() { Close(); }
    int Get() const { return fd_; }
    bool Valid() const { return fd_ >= 0; }
    // Closes now and tells whether the kernel took every pending write.
    bool Close() {
        if (fd_ < 0) return true;
        const int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0;
    }

private:
    int fd_;
};

// A temporary file that is removed again unless it was put in place.
class TTemporaryFile {
public:
    TTemporaryFile(std::string path, int fd) : path_(std::move(path)), fd_(fd) {}
    TTemporaryFile(const TTemporaryFile&) = delete;
    TTemporaryFile& operator=(const TTemporaryFile&) = delete;
    ~TTemporaryFile() {
        fd_.Close();
        if (!kept_) ::unlink(path_.c_str());
    }
    const std::string& Path() const { return path_; }
    TDescriptor& Descriptor() { return fd_; }
    void Keep() { kept_ = true; }

private:
    std::string path_;
    TDescriptor fd_;
    bool kept_ = false;
};

std::optional<std::string> AbsolutePath(std::optional<std::string> value) {
    if (!value || value->empty() || (*value)[0] != '/') return std::nullopt;
    return value;
}

std::string WithoutTrailingSlashes(std::string path) {
    while (!path.empty() && path.back() == '/') path.pop_back();
    return path;
}

std::string HomeFromPasswordDatabase() {
    long size = ::sysconf(_SC_GETPW_R_SIZE_MAX);
    std::string buffer(size > 0 ? static_cast<std::size_t>(size) : 16384, '\0');
    passwd entry{};
    passwd* found = nullptr;
    if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) != 0 || !found ||
        !found->pw_dir)
        return {};
    return AbsolutePath(std::string(found->pw_dir)).value_or(std::string());
}

bool WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

// Creates a new, empty file beside `target` under a name nobody else uses.
// The mode passes through the umask, as for any file the user creates.
std::optional<TTemporaryFile> CreateTemporaryBeside(const fs::path& target) {
    static unsigned counter = 0;
    const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
    for (int attempt = 0; attempt < 100; ++attempt) {
        const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
        const std::string name = "." + target.filename().string() + "." + std::to_string(::getpid()) + "." +
                                 std::to_string(++counter) + "." + std::to_string(stamp & 0xFFFFFF) + ".tmp~";
        const std::string path = (folder / name).string();
        const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0666);
        if (fd >= 0) return std::optional<TTemporaryFile>(std::in_place, path, fd);
        if (errno != EEXIST) return std::nullopt;
    }
    return std::nullopt;
}

// A file the user may not write, or one without any write permission bit,
// which is how users freeze a file (honoured for root as well).
bool IsReadOnly(const fs::path& path, const struct stat& st) {
    if ((st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) return true;
    return ::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) != 0;
}

// The fallback for a folder that takes no new files: the content goes into
// the existing regular file itself, which is then cut to its length.
bool WriteInPlace(const fs::path& target, std::string_view content) {
    TDescriptor fd(::open(target.c_str(), O_WRONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    if (!fd.Valid()) return false;
    struct stat st {};
    if (::fstat(fd.Get(), &st) != 0 || !S_ISREG(st.st_mode)) return false;
    if (!WriteAll(fd.Get(), content)) return false;
    if (::ftruncate(fd.Get(), static_cast<off_t>(content.size())) != 0) return false;
    if (::fsync(fd.Get()) != 0) return false;
    return fd.Close();
}

// Puts `content` in `target`'s place through a new file beside it, which keeps
// the permission bits of `old` (the regular file there now, or null). 0, or
// the errno of the step that failed; nothing is left behind then.
int ReplaceThroughTemporary(const fs::path& target, std::string_view content, const struct stat* old) {
    std::optional<TTemporaryFile> temp = CreateTemporaryBeside(target);
    if (!temp) return errno;
    const int fd = temp->Descriptor().Get();
    if (old && ::fchmod(fd, old->st_mode & 0777) != 0) return errno;
    if (!WriteAll(fd, content) || ::fsync(fd) != 0 || !temp->Descriptor().Close()) return errno;
    // Checked again just before the rename: something other than a regular
    // file that took the place meanwhile is not replaced.
    struct stat now {};
    if (::lstat(target.c_str(), &now) == 0 ? !S_ISREG(now.st_mode) : errno != ENOENT) return EEXIST;
    if (::rename(temp->Path().c_str(), target.c_str()) != 0) return errno;
    temp->Keep();
    // Make the rename itself durable; a folder that refuses this loses nothing.
    const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
    TDescriptor dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.Valid()) ::fsync(dir.Get());
    return 0;
}

// Where writing to `path` must go: renaming over a symbolic link would replace
// the link itself, so links are followed, also to a target that does not
// exist yet. Empty for a loop of links.
std::optional<fs::path> LinkTarget(fs::path path) {
    for (int hops = 0; hops < 40; ++hops) {
        std::error_code ec;
        if (!fs::is_symlink(fs::symlink_status(path, ec))) return path;
        const fs::path next = fs::read_symlink(path, ec);
        if (ec) return std::nullopt;
        path = next.is_absolute() ? next : path.parent_path() / next;
    }
    return std::nullopt;
}

}  // namespace

std::optional<std::string> ProcessEnvironment(const char* name) {
    const char* value = std::getenv(name);
    if (!value) return std::nullopt;
    return std::string(value);
}

std::string BuiltInProgramFilesFolder() { return RATISCOPE_PROGRAM_FILES_FOLDER; }

TPosixFiles::TPosixFiles(std::string programFilesFolder, TEnvironment environment)
    : programFilesFolder_(std::move(programFilesFolder)), environment_(std::move(environment)) {}

std::string TPosixFiles::ProgramPath() {
    std::error_code ec;
    fs::path exe = fs::canonical("/proc/self/exe", ec);
    return ec ? std::string() : exe.string();
}

std::string TPosixFiles::PlatformProgramFilesFolder() { return programFilesFolder_; }

std::string TPosixFiles::PlatformUserDataFolder() {
    if (auto config = AbsolutePath(environment_("XDG_CONFIG_HOME"))) return *config;
    std::string home = AbsolutePath(environment_("HOME")).value_or(std::string());
    if (home.empty()) home = HomeFromPasswordDatabase();
    if (home.empty()) return {};
    return WithoutTrailingSlashes(home) + "/.config";
}

std::string TPosixFiles::PlatformSharedDataFolder() { return PlatformSharedDataFolders().front(); }

std::vector<std::string> TPosixFiles::PlatformSharedDataFolders() {
    const std::string dirs = environment_("XDG_DATA_DIRS").value_or(std::string());
    std::vector<std::string> folders;
    const auto known = [&folders](const std::string& folder) {
        return std::ranges::any_of(folders, [&](const std::string& f) {
            return WithoutTrailingSlashes(f) == WithoutTrailingSlashes(folder);
        });
    };
    std::size_t start = 0;
    while (start <= dirs.size()) {
        std::size_t end = dirs.find(':', start);
        if (end == std::string::npos) end = dirs.size();
        // Relative entries are ignored, as the XDG rules ask; "/usr/share" and
        // "/usr/share/" are one folder.
        if (end > start && dirs[start] == '/') {
            std::string folder = dirs.substr(start, end - start);
            if (!known(folder)) folders.push_back(std::move(folder));
        }
        start = end + 1;
    }
    if (folders.empty()) return {"/usr/local/share", "/usr/share"};
    return folders;
}

bool TPosixFiles::FileExists(std::string_view path) {
    struct stat st {};
    return !path.empty() && ::stat(std::string(path).c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool TPosixFiles::FolderExists(std::string_view path) {
    struct stat st {};
    return !path.empty() && ::stat(std::string(path).c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool TPosixFiles::CreateFolder(std::string_view path) {
    return !path.empty() && ::mkdir(std::string(path).c_str(), 0700) == 0;
}

std::optional<TFileTime> TPosixFiles::ModificationTime(std::string_view path) {
    struct stat st {};
    if (path.empty() || ::stat(std::string(path).c_str(), &st) != 0) return std::nullopt;
    const auto since = std::chrono::seconds(st.st_mtim.tv_sec) + std::chrono::nanoseconds(st.st_mtim.tv_nsec);
    return TFileTime(std::chrono::duration_cast<TFileTime::duration>(since));
}

std::vector<std::string> TPosixFiles::ListFolder(std::string_view folder, std::string_view pattern) {
    std::vector<std::string> names;
    std::error_code ec;
    fs::directory_iterator it(fs::path(std::string(folder)), ec), end;
    const std::string glob(pattern);
    for (; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (::fnmatch(glob.c_str(), name.c_str(), FNM_PERIOD) != 0) continue;
        std::error_code kind;
        if (it->is_regular_file(kind)) names.push_back(name);
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::optional<std::string> TPosixFiles::ReadFile(std::string_view path, std::size_t maxBytes) {
    if (path.empty()) return std::nullopt;
    // Non-blocking, so a pipe at the path cannot hold the open; it is refused below.
    TDescriptor fd(::open(std::string(path).c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    if (!fd.Valid()) return std::nullopt;
    struct stat st {};
    if (::fstat(fd.Get(), &st) != 0 || !S_ISREG(st.st_mode)) return std::nullopt;
    if (st.st_size < 0 || static_cast<std::uint64_t>(st.st_size) > maxBytes) return std::nullopt;
    std::string content;
    content.reserve(static_cast<std::size_t>(st.st_size));
    char chunk[65536];
    for (;;) {
        const ssize_t n = ::read(fd.Get(), chunk, sizeof chunk);
        if (n < 0) {
            if (errno == EINTR) continue;
            return std::nullopt;
        }
        if (n == 0) break;
        // The file may have grown since fstat.
        if (content.size() + static_cast<std::size_t>(n) > maxBytes) return std::nullopt;
        content.append(chunk, static_cast<std::size_t>(n));
    }
    return content;
}

namespace {

// ReplaceFile's work: 0, or the errno that says why the file was not replaced.
int ReplaceOrError(std::string_view path, std::string_view content) {
    if (path.empty()) return ENOENT;
    if (path.back() == '/') return EISDIR;
    const std::optional<fs::path> resolved = LinkTarget(fs::path(std::string(path)));
    if (!resolved) return ELOOP;
    const fs::path& target = *resolved;
    struct stat old {};
    const bool exists = ::lstat(target.c_str(), &old) == 0;
    if (!exists && errno != ENOENT) return errno;
    if (exists && S_ISDIR(old.st_mode)) return EISDIR;
    if (exists && !S_ISREG(old.st_mode)) return EINVAL;
    if (exists && IsReadOnly(target, old)) return EACCES;
    const int error = ReplaceThroughTemporary(target, content, exists ? &old : nullptr);
    if (error == 0) return 0;
    if (exists && (error == EACCES || error == EPERM) && WriteInPlace(target, content)) return 0;
    return error;
}

}  // namespace

bool TPosixFiles::ReplaceFile(std::string_view path, std::string_view content) {
    replaceError_ = ReplaceOrError(path, content);
    return replaceError_ == 0;
}

std::string TPosixFiles::ReplaceFailure() { return replaceError_ == 0 ? std::string() : std::strerror(replaceError_); }

int WriteOutputFile(std::string_view path, std::string_view content) {
    if (path.empty()) return ENOENT;
    const std::string named(path);
    struct stat st {};
    if (::stat(named.c_str(), &st) == 0) {
        if (S_ISDIR(st.st_mode)) return EISDIR;
        if (!S_ISREG(st.st_mode)) {
            // A terminal, pipe or device takes the bytes as they come; the
            // kernel follows the links, also /proc's links to open descriptors.
            TDescriptor fd(::open(named.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC));
            if (!fd.Valid() || !WriteAll(fd.Get(), content)) return errno;
            return fd.Close() ? 0 : errno;
        }
    } else if (errno != ENOENT) {
        return errno;
    }
    const std::optional<fs::path> resolved = LinkTarget(fs::path(named));
    if (!resolved) return ELOOP;
    struct stat old {};
    const bool exists = ::lstat(resolved->c_str(), &old) == 0 && S_ISREG(old.st_mode);
    return ReplaceThroughTemporary(*resolved, content, exists ? &old : nullptr);
}

}  // namespace ratiscope

// POSIX implementation of the file layer.
#include "FileIO.h"

#include "IoError.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <limits>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace fileio {
namespace {

int CodeForErrno(int e) {
    switch (e) {
    case ENOENT:
    case ENOTDIR:
        return IoError::kFileNotFound;
    case ENAMETOOLONG:
        return IoError::kInvalidFilename;
    case EMFILE:
    case ENFILE:
        return IoError::kTooManyOpenFiles;
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
        return IoError::kAccessDenied;
    case ENOSPC:
    case EFBIG:
#ifdef EDQUOT
    case EDQUOT:
#endif
        return IoError::kDiskFull;
    default:
        return e;
    }
}

[[noreturn]] void Fail(const std::string& path, int e = errno) {
    throw IoError(CodeForErrno(e), path);
}

int Fd(std::intptr_t h) {
    return static_cast<int>(h);
}

// Writes all of data to fd, or raises the error of the write that failed.
void WriteAll(int fd, const std::uint8_t* data, std::size_t n, const std::string& path) {
    while (n > 0) {
        ssize_t w = ::write(fd, data, n);
        if (w < 0) {
            if (errno == EINTR)
                continue;
            Fail(path);
        }
        if (w == 0)
            throw IoError(IoError::kDiskFull, path);
        data += w;
        n -= static_cast<std::size_t>(w);
    }
}

std::string FolderOf(const std::string& path) {
    auto slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return ".";
    if (slash == 0)
        return "/";
    return path.substr(0, slash);
}

// The file that a write to path really changes: a symbolic link's target.
std::string ResolveTarget(const std::string& path) {
    struct stat st;
    if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode))
        return path;
    char resolved[PATH_MAX];
    if (::realpath(path.c_str(), resolved) != nullptr)
        return resolved;
    // A dangling link: follow it one step at a time to where the file would be.
    std::string current = path;
    for (int hops = 0; hops < 40; ++hops) {
        char buf[PATH_MAX];
        ssize_t len = ::readlink(current.c_str(), buf, sizeof buf - 1);
        if (len < 0)
            return current;
        buf[len] = '\0';
        std::string next = buf;
        if (next.empty() || next[0] != '/')
            next = FolderOf(current) + "/" + next;
        current = next;
        if (::lstat(current.c_str(), &st) != 0 || !S_ISLNK(st.st_mode))
            return current;
    }
    Fail(path, ELOOP);
}

std::string TempNameFor(const std::string& target) {
    static std::mt19937_64 rng{std::random_device{}()};
    char suffix[32];
    std::snprintf(suffix, sizeof suffix, ".%016llx.tmp", static_cast<unsigned long long>(rng()));
    return target + suffix;
}

} // namespace

BinaryFile::BinaryFile(const std::string& path, Access access) : path_(path) {
    int flags = (access == Access::ReadOnly ? O_RDONLY : O_RDWR) | O_CLOEXEC;
    int fd;
    do {
        fd = ::open(path.c_str(), flags);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0)
        Fail(path);
    struct stat st;
    if (::fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
        int e = S_ISDIR(st.st_mode) ? EISDIR : errno;
        ::close(fd);
        Fail(path, e);
    }
    handle_ = fd;
}

BinaryFile::~BinaryFile() {
    if (handle_ >= 0)
        ::close(Fd(handle_));
}

void BinaryFile::Close() {
    if (handle_ < 0)
        return;
    int fd = Fd(handle_);
    handle_ = -1;
    if (::close(fd) != 0 && errno != EINTR)
        Fail(path_);
}

std::uint64_t BinaryFile::Size() const {
    struct stat st;
    if (::fstat(Fd(handle_), &st) != 0)
        Fail(path_);
    return static_cast<std::uint64_t>(st.st_size);
}

void BinaryFile::ReadAt(std::uint64_t pos, void* buffer, std::size_t n) const {
    auto* out = static_cast<std::uint8_t*>(buffer);
    if (pos > static_cast<std::uint64_t>(std::numeric_limits<off_t>::max()))
        throw IoError(IoError::kReadBeyondEnd, path_);
    while (n > 0) {
        ssize_t r = ::pread(Fd(handle_), out, n, static_cast<off_t>(pos));
        if (r < 0) {
            if (errno == EINTR)
                continue;
            Fail(path_);
        }
        if (r == 0)
            throw IoError(IoError::kReadBeyondEnd, path_);
        out += r;
        pos += static_cast<std::uint64_t>(r);
        n -= static_cast<std::size_t>(r);
    }
}

void BinaryFile::WriteAt(std::uint64_t pos, const void* buffer, std::size_t n) {
    const auto* in = static_cast<const std::uint8_t*>(buffer);
    if (pos > static_cast<std::uint64_t>(std::numeric_limits<off_t>::max()))
        throw IoError(IoError::kDiskFull, path_);
    while (n > 0) {
        ssize_t w = ::pwrite(Fd(handle_), in, n, static_cast<off_t>(pos));
        if (w < 0) {
            if (errno == EINTR)
                continue;
            Fail(path_);
        }
        if (w == 0)
            throw IoError(IoError::kDiskFull, path_);
        in += w;
        pos += static_cast<std::uint64_t>(w);
        n -= static_cast<std::size_t>(w);
    }
}

void BinaryFile::Truncate(std::uint64_t size) {
    if (::ftruncate(Fd(handle_), static_cast<off_t>(size)) != 0)
        Fail(path_);
}

void BinaryFile::Sync() {
    if (::fsync(Fd(handle_)) != 0)
        Fail(path_);
}

bool FileExists(const std::string& path) {
    struct stat st;
    return !path.empty() && ::stat(path.c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

bool DirectoryExists(const std::string& path) {
    struct stat st;
    return !path.empty() && ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

void CreateDirectories(const std::string& path) {
    std::string folder = path;
    while (folder.size() > 1 && folder.back() == '/')
        folder.pop_back();
    if (folder.empty() || DirectoryExists(folder))
        return;
    const auto slash = folder.find_last_of('/');
    if (slash != std::string::npos && slash > 0)
        CreateDirectories(folder.substr(0, slash));
    if (::mkdir(folder.c_str(), 0777) != 0 && errno != EEXIST)
        Fail(path);
}

std::uint64_t FileSize(const std::string& path) {
    struct stat st;
    if (::stat(path.c_str(), &st) != 0)
        Fail(path);
    return static_cast<std::uint64_t>(st.st_size);
}

void ReplaceFileAtomically(const std::string& path, std::span<const std::uint8_t> data) {
    const std::string target = ResolveTarget(path);

    struct stat st;
    bool existed = ::stat(target.c_str(), &st) == 0;
    if (existed && S_ISDIR(st.st_mode))
        Fail(path, EISDIR);

    std::string temp;
    int fd = -1;
    for (int attempt = 0; attempt < 16 && fd < 0; ++attempt) {
        temp = TempNameFor(target);
        fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST && errno != EINTR)
            Fail(path);
    }
    if (fd < 0)
        Fail(path, EEXIST);

    try {
        if (existed) {
            // Keep the owner when someone else's file is rewritten (as root);
            // where that is not allowed the file simply becomes ours.
            if (st.st_uid != ::geteuid() || st.st_gid != ::getegid()) [[maybe_unused]]
                int ignored = ::fchown(fd, st.st_uid, st.st_gid);
            if (::fchmod(fd, (st.st_mode & 07777) | S_IWUSR) != 0)
                Fail(path);
        }
        WriteAll(fd, data.data(), data.size(), path);
        if (::fsync(fd) != 0)
            Fail(path);
        int c = ::close(fd);
        fd = -1;
        if (c != 0)
            Fail(path);
        if (::rename(temp.c_str(), target.c_str()) != 0)
            Fail(path);
    } catch (...) {
        if (fd >= 0)
            ::close(fd);
        ::unlink(temp.c_str());
        throw;
    }
    // Make the rename itself durable; a failure here cannot undo it.
    int dir = ::open(FolderOf(target).c_str(), O_RDONLY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
}

void RemoveFile(const std::string& path) {
    if (::unlink(path.c_str()) != 0)
        Fail(path);
}

void SetArchiveOnly(const std::string& path) {
    struct stat st;
    if (::stat(path.c_str(), &st) != 0)
        Fail(path);
    if ((st.st_mode & S_IWUSR) == 0 && ::chmod(path.c_str(), (st.st_mode & 07777) | S_IWUSR) != 0)
        Fail(path);
}

std::string CurrentDirectory() {
    char buf[PATH_MAX];
    if (::getcwd(buf, sizeof buf) == nullptr)
        Fail(".");
    std::string dir = buf;
    if (dir.empty() || dir.back() != '/')
        dir += '/';
    return dir;
}

std::string ProgramFilePath() {
    char buf[PATH_MAX];
    ssize_t len = ::readlink("/proc/self/exe", buf, sizeof buf - 1);
    if (len < 0)
        return {};
    buf[len] = '\0';
    return buf;
}

} // namespace fileio

// Win32 implementation of the file layer. Paths arrive as UTF-8 and are handed
// to the wide-character calls, so names outside the ANSI code page work too.
#include "FileIO.h"

#include "IoError.h"

#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <cstdio>
#include <limits>
#include <random>

namespace fileio {
namespace {

int CodeForWin32Error(DWORD e) {
    switch (e) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
        return IoError::kFileNotFound;
    case ERROR_INVALID_NAME:
    case ERROR_FILENAME_EXCED_RANGE:
        return IoError::kInvalidFilename;
    case ERROR_TOO_MANY_OPEN_FILES:
        return IoError::kTooManyOpenFiles;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
        return IoError::kAccessDenied;
    case ERROR_HANDLE_DISK_FULL:
    case ERROR_DISK_FULL:
        return IoError::kDiskFull;
    default:
        return static_cast<int>(e);
    }
}

[[noreturn]] void Fail(const std::string& path, DWORD e = ::GetLastError()) {
    throw IoError(CodeForWin32Error(e), path);
}

bool IsSlash(wchar_t c) {
    return c == L'\\' || c == L'/';
}

// File systems take at most 255 UTF-16 units per name and 32767 per path;
// checked here so that the code does not depend on which one refuses first.
bool NameTooLong(const std::wstring& wide) {
    if (wide.size() > 32767)
        return true;
    std::size_t run = 0;
    for (wchar_t c : wide) {
        run = IsSlash(c) || c == L':' ? 0 : run + 1;
        if (run > 255)
            return true;
    }
    return false;
}

// A path beyond MAX_PATH reaches the system only with the "\\?\" prefix,
// which turns off the system's own clean-up: the full path is made first.
std::wstring LongPathForm(const std::wstring& wide) {
    if (wide.size() < MAX_PATH - 12 || wide.rfind(L"\\\\?\\", 0) == 0)
        return wide;
    const DWORD n = ::GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
    if (n == 0)
        return wide;
    std::wstring full(n, L'\0');
    const DWORD got = ::GetFullPathNameW(wide.c_str(), n, full.data(), nullptr);
    if (got == 0 || got >= n)
        return wide;
    full.resize(got);
    if (full.size() >= 3 && full[1] == L':' && IsSlash(full[2]))
        return L"\\\\?\\" + full;
    if (full.size() >= 2 && IsSlash(full[0]) && IsSlash(full[1]))
        return L"\\\\?\\UNC\\" + full.substr(2);
    return wide;
}

std::wstring Widen(const std::string& path) {
    if (path.empty())
        return {};
    const int n = ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, path.data(),
                                        static_cast<int>(path.size()), nullptr, 0);
    if (n <= 0)
        Fail(path, ERROR_INVALID_NAME);
    std::wstring wide(static_cast<std::size_t>(n), L'\0');
    ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, path.data(), static_cast<int>(path.size()),
                          wide.data(), n);
    // An embedded NUL would silently shorten the name the system sees.
    if (wide.find(L'\0') != std::wstring::npos)
        Fail(path, ERROR_INVALID_NAME);
    if (NameTooLong(wide))
        Fail(path, ERROR_FILENAME_EXCED_RANGE);
    return LongPathForm(wide);
}

std::string Narrow(const wchar_t* text, std::size_t length) {
    if (length == 0)
        return {};
    const int n = ::WideCharToMultiByte(CP_UTF8, 0, text, static_cast<int>(length), nullptr, 0,
                                        nullptr, nullptr);
    if (n <= 0)
        return {};
    std::string out(static_cast<std::size_t>(n), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text, static_cast<int>(length), out.data(), n, nullptr,
                          nullptr);
    return out;
}

HANDLE H(std::intptr_t h) {
    return reinterpret_cast<HANDLE>(h);
}

// The most one ReadFile or WriteFile call is asked to move.
constexpr std::size_t kMaxChunk = 1u << 30;

OVERLAPPED At(std::uint64_t pos) {
    OVERLAPPED o{};
    o.Offset = static_cast<DWORD>(pos & 0xFFFFFFFFu);
    o.OffsetHigh = static_cast<DWORD>(pos >> 32);
    return o;
}

// Writes all of data to h at pos, or raises the error of the write that failed.
void WriteAllAt(HANDLE h, std::uint64_t pos, const std::uint8_t* data, std::size_t n,
                const std::string& path) {
    while (n > 0) {
        const DWORD chunk = static_cast<DWORD>(n < kMaxChunk ? n : kMaxChunk);
        OVERLAPPED o = At(pos);
        DWORD written = 0;
        if (!::WriteFile(h, data, chunk, &written, &o))
            Fail(path);
        if (written == 0)
            throw IoError(IoError::kDiskFull, path);
        data += written;
        pos += written;
        n -= written;
    }
}

// Attributes that tell a folder or a link apart; INVALID_FILE_ATTRIBUTES when
// nothing is there.
DWORD AttributesOf(const std::wstring& wide) {
    return wide.empty() ? INVALID_FILE_ATTRIBUTES : ::GetFileAttributesW(wide.c_str());
}

bool IsFolder(DWORD attributes) {
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// The file that a write to path really changes: a symbolic link's target.
std::wstring ResolveTarget(const std::wstring& wide) {
    const DWORD attributes = AttributesOf(wide);
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0)
        return wide;
    HANDLE h =
        ::CreateFileW(wide.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                      nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return wide;
    std::wstring resolved(MAX_PATH, L'\0');
    DWORD n = ::GetFinalPathNameByHandleW(h, resolved.data(), static_cast<DWORD>(resolved.size()),
                                          FILE_NAME_NORMALIZED);
    if (n >= resolved.size()) {
        resolved.resize(n + 1);
        n = ::GetFinalPathNameByHandleW(h, resolved.data(), static_cast<DWORD>(resolved.size()),
                                        FILE_NAME_NORMALIZED);
    }
    ::CloseHandle(h);
    if (n == 0 || n >= resolved.size())
        return wide;
    resolved.resize(n);
    return resolved;
}

std::wstring TempNameFor(const std::wstring& target) {
    static std::mt19937_64 rng{std::random_device{}()};
    wchar_t suffix[32];
    std::swprintf(suffix, sizeof suffix / sizeof suffix[0], L".%016llx.tmp",
                  static_cast<unsigned long long>(rng()));
    return target + suffix;
}

// The attributes a replacement keeps from the file it replaces. Read-only is
// dropped, as the POSIX layer adds the owner's write bit.
constexpr DWORD kKeptAttributes = FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_HIDDEN |
                                  FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

} // namespace

BinaryFile::BinaryFile(const std::string& path, Access access) : path_(path) {
    const std::wstring wide = Widen(path);
    if (wide.empty())
        Fail(path, ERROR_FILE_NOT_FOUND);
    const DWORD desired = access == Access::ReadOnly ? GENERIC_READ : GENERIC_READ | GENERIC_WRITE;
    // Shared for reading and writing with other programs, as the game's tools expect.
    HANDLE h = ::CreateFileW(wide.c_str(), desired, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                             OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        const DWORD e = ::GetLastError();
        // A folder is refused like POSIX refuses it: access denied.
        Fail(path, IsFolder(AttributesOf(wide)) ? ERROR_ACCESS_DENIED : e);
    }
    handle_ = reinterpret_cast<std::intptr_t>(h);
}

BinaryFile::~BinaryFile() {
    if (handle_ != -1)
        ::CloseHandle(H(handle_));
}

void BinaryFile::Close() {
    if (handle_ == -1)
        return;
    HANDLE h = H(handle_);
    handle_ = -1;
    if (!::CloseHandle(h))
        Fail(path_);
}

std::uint64_t BinaryFile::Size() const {
    LARGE_INTEGER size;
    if (!::GetFileSizeEx(H(handle_), &size))
        Fail(path_);
    return static_cast<std::uint64_t>(size.QuadPart);
}

void BinaryFile::ReadAt(std::uint64_t pos, void* buffer, std::size_t n) const {
    auto* out = static_cast<std::uint8_t*>(buffer);
    if (pos > static_cast<std::uint64_t>(std::numeric_limits<LONGLONG>::max()))
        throw IoError(IoError::kReadBeyondEnd, path_);
    while (n > 0) {
        const DWORD chunk = static_cast<DWORD>(n < kMaxChunk ? n : kMaxChunk);
        OVERLAPPED o = At(pos);
        DWORD got = 0;
        if (!::ReadFile(H(handle_), out, chunk, &got, &o)) {
            const DWORD e = ::GetLastError();
            if (e == ERROR_HANDLE_EOF)
                throw IoError(IoError::kReadBeyondEnd, path_);
            Fail(path_, e);
        }
        if (got == 0)
            throw IoError(IoError::kReadBeyondEnd, path_);
        out += got;
        pos += got;
        n -= got;
    }
}

void BinaryFile::WriteAt(std::uint64_t pos, const void* buffer, std::size_t n) {
    if (pos > static_cast<std::uint64_t>(std::numeric_limits<LONGLONG>::max()))
        throw IoError(IoError::kDiskFull, path_);
    WriteAllAt(H(handle_), pos, static_cast<const std::uint8_t*>(buffer), n, path_);
}

void BinaryFile::Truncate(std::uint64_t size) {
    LARGE_INTEGER to;
    to.QuadPart = static_cast<LONGLONG>(size);
    if (!::SetFilePointerEx(H(handle_), to, nullptr, FILE_BEGIN) || !::SetEndOfFile(H(handle_)))
        Fail(path_);
}

void BinaryFile::Sync() {
    if (!::FlushFileBuffers(H(handle_)))
        Fail(path_);
}

bool FileExists(const std::string& path) {
    if (path.empty())
        return false;
    try {
        const DWORD a = AttributesOf(Widen(path));
        return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY) == 0;
    } catch (const IoError&) {
        return false; // a name that cannot be converted names no file
    }
}

bool DirectoryExists(const std::string& path) {
    if (path.empty())
        return false;
    try {
        return IsFolder(AttributesOf(Widen(path)));
    } catch (const IoError&) {
        return false;
    }
}

void CreateDirectories(const std::string& path) {
    std::string folder = path;
    while (folder.size() > 1 && IsSlash(static_cast<wchar_t>(folder.back())))
        folder.pop_back();
    // A drive ("C:") or a server share ("\\\\host\\share") is there or not: never created.
    if (folder.empty() || DirectoryExists(folder) || (folder.size() == 2 && folder[1] == ':'))
        return;
    const auto slash = folder.find_last_of("\\/");
    const bool share = folder.size() > 2 && IsSlash(static_cast<wchar_t>(folder[0])) &&
                       IsSlash(static_cast<wchar_t>(folder[1])) &&
                       folder.find_first_of("\\/", 2) == slash;
    if (slash != std::string::npos && slash > 0 && !share)
        CreateDirectories(folder.substr(0, slash));
    if (!::CreateDirectoryW(Widen(folder).c_str(), nullptr) &&
        ::GetLastError() != ERROR_ALREADY_EXISTS)
        Fail(path);
}

std::uint64_t FileSize(const std::string& path) {
    const std::wstring wide = Widen(path);
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (wide.empty())
        Fail(path, ERROR_FILE_NOT_FOUND);
    if (!::GetFileAttributesExW(wide.c_str(), GetFileExInfoStandard, &data))
        Fail(path);
    return (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

void ReplaceFileAtomically(const std::string& path, std::span<const std::uint8_t> data) {
    const std::wstring given = Widen(path);
    if (given.empty())
        Fail(path, ERROR_FILE_NOT_FOUND);
    const std::wstring target = ResolveTarget(given);

    const DWORD oldAttributes = AttributesOf(target);
    const bool existed = oldAttributes != INVALID_FILE_ATTRIBUTES;
    if (IsFolder(oldAttributes))
        Fail(path, ERROR_ACCESS_DENIED);
    const DWORD newAttributes = existed && (oldAttributes & kKeptAttributes) != 0
                                    ? oldAttributes & kKeptAttributes
                                    : FILE_ATTRIBUTE_NORMAL;

    std::wstring temp;
    HANDLE h = INVALID_HANDLE_VALUE;
    for (int attempt = 0; attempt < 16 && h == INVALID_HANDLE_VALUE; ++attempt) {
        temp = TempNameFor(target);
        h = ::CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, newAttributes,
                          nullptr);
        if (h == INVALID_HANDLE_VALUE) {
            const DWORD e = ::GetLastError();
            if (e != ERROR_FILE_EXISTS && e != ERROR_ALREADY_EXISTS)
                Fail(path, e);
        }
    }
    if (h == INVALID_HANDLE_VALUE)
        Fail(path, ERROR_FILE_EXISTS);

    bool clearedReadOnly = false;
    try {
        WriteAllAt(h, 0, data.data(), data.size(), path);
        if (!::FlushFileBuffers(h))
            Fail(path);
        HANDLE closing = h;
        h = INVALID_HANDLE_VALUE;
        if (!::CloseHandle(closing))
            Fail(path);
        // A read-only target refuses to be replaced; the replacement is
        // writable anyway, so the flag goes first and comes back on failure.
        if (existed && (oldAttributes & FILE_ATTRIBUTE_READONLY) != 0) {
            if (!::SetFileAttributesW(target.c_str(), oldAttributes & ~FILE_ATTRIBUTE_READONLY))
                Fail(path);
            clearedReadOnly = true;
        }
        if (!::MoveFileExW(temp.c_str(), target.c_str(),
                           MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
            Fail(path);
    } catch (...) {
        if (h != INVALID_HANDLE_VALUE)
            ::CloseHandle(h);
        ::DeleteFileW(temp.c_str());
        if (clearedReadOnly)
            ::SetFileAttributesW(target.c_str(), oldAttributes);
        throw;
    }
}

void RemoveFile(const std::string& path) {
    const std::wstring wide = Widen(path);
    if (wide.empty())
        Fail(path, ERROR_FILE_NOT_FOUND);
    if (!::DeleteFileW(wide.c_str()))
        Fail(path);
}

void SetArchiveOnly(const std::string& path) {
    const std::wstring wide = Widen(path);
    if (wide.empty())
        Fail(path, ERROR_FILE_NOT_FOUND);
    if (::GetFileAttributesW(wide.c_str()) == INVALID_FILE_ATTRIBUTES)
        Fail(path);
    if (!::SetFileAttributesW(wide.c_str(), FILE_ATTRIBUTE_ARCHIVE))
        Fail(path);
}

std::string CurrentDirectory() {
    const DWORD n = ::GetCurrentDirectoryW(0, nullptr);
    if (n == 0)
        Fail(".");
    std::wstring buf(n, L'\0');
    const DWORD got = ::GetCurrentDirectoryW(n, buf.data());
    if (got == 0 || got >= n)
        Fail(".");
    std::string dir = Narrow(buf.data(), got);
    if (dir.empty() || (dir.back() != '\\' && dir.back() != '/'))
        dir += '\\';
    return dir;
}

std::string ProgramFilePath() {
    std::wstring buf(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = ::GetModuleFileNameW(nullptr, buf.data(), static_cast<DWORD>(buf.size()));
        if (n == 0)
            return {};
        if (n < buf.size())
            return Narrow(buf.data(), n);
        buf.resize(buf.size() * 2);
    }
}

} // namespace fileio

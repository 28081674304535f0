// The one file layer. Everything the core does to a file goes through here;
// no other source file calls the operating system. Every failure raises an
// IoError with the code the user is shown:
//
//   2   File not found          (POSIX: ENOENT, ENOTDIR)
//   3   Invalid filename        (ENAMETOOLONG)
//   4   Too many open files     (EMFILE, ENFILE)
//   5   File access denied      (EACCES, EPERM, EROFS, EISDIR)
//   100 Read beyond end of file (a block read that gets fewer bytes than asked)
//   101 Disk full               (a short write, ENOSPC, EFBIG, EDQUOT)
//   n   I/O error n             (any other errno)
//
// Positions and sizes are 64-bit, so that offsets read from a file as
// unsigned 32-bit words can be added to without wrapping around.
//
// Rewriting a file is done only by ReplaceFileAtomically: the new contents go
// to a temporary file created exclusively beside the target, which is synced
// and then renamed over it. Either the whole new file is in place or the old
// one is untouched and no temporary is left behind.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace fileio {

using Bytes = std::vector<std::uint8_t>;

enum class Access { ReadOnly, ReadWrite };

// An open binary file with positioned little-endian block reads and writes.
class BinaryFile {
  public:
    BinaryFile(const std::string& path, Access access);
    ~BinaryFile();
    BinaryFile(const BinaryFile&) = delete;
    BinaryFile& operator=(const BinaryFile&) = delete;

    std::uint64_t Size() const;
    // Reads exactly n bytes at pos; fewer raise "Read beyond end of file".
    void ReadAt(std::uint64_t pos, void* buffer, std::size_t n) const;
    // Writes all n bytes at pos; fewer raise "Disk full".
    void WriteAt(std::uint64_t pos, const void* buffer, std::size_t n);
    void Truncate(std::uint64_t size);
    void Sync();
    // Closes now and reports a failure; the destructor closes silently.
    void Close();

    std::uint16_t ReadU16(std::uint64_t pos) const;
    std::uint32_t ReadU32(std::uint64_t pos) const;
    void WriteU16(std::uint64_t pos, std::uint16_t value);
    void WriteU32(std::uint64_t pos, std::uint32_t value);

    const std::string& Path() const { return path_; }

  private:
    std::string path_;
    std::intptr_t handle_ = -1;
};

// A regular file exists at path (a folder does not count).
bool FileExists(const std::string& path);
bool DirectoryExists(const std::string& path);
// Creates the folder at path and any missing folders above it.
void CreateDirectories(const std::string& path);
std::uint64_t FileSize(const std::string& path);

// The whole file, opened for reading only.
Bytes ReadWholeFile(const std::string& path);

// Replaces (or creates) the file at path with data, atomically. A symbolic
// link is followed, so its target is replaced and the link stays. An existing
// file keeps its permission bits, with the owner's write bit added.
void ReplaceFileAtomically(const std::string& path, std::span<const std::uint8_t> data);
void ReplaceFileAtomically(const std::string& path, const std::string& text);

// Copies src over dst (dst replaced atomically when it exists).
void CopyFileOver(const std::string& src, const std::string& dst);
void RemoveFile(const std::string& path);

// Makes a file writable by its owner. On Windows this sets the attributes to
// "archive only" (read-only, hidden and system cleared); POSIX has no hidden
// or system attribute, so only the owner's write bit is added.
void SetArchiveOnly(const std::string& path);

// The process's current folder, ending in a separator.
std::string CurrentDirectory();
// The full path of the running program's own file.
std::string ProgramFilePath();

// Little-endian word access on a byte buffer; the caller checks bounds.
inline std::uint16_t LoadU16(const std::uint8_t* p) {
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}
inline std::uint32_t LoadU32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}
inline void StoreU16(std::uint8_t* p, std::uint16_t v) {
    p[0] = static_cast<std::uint8_t>(v);
    p[1] = static_cast<std::uint8_t>(v >> 8);
}
inline void StoreU32(std::uint8_t* p, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        p[i] = static_cast<std::uint8_t>(v >> (8 * i));
}

} // namespace fileio

// The parts of the file layer that are the same on every system: word access
// and whole-file helpers built on the platform's block reads and writes.
#include "FileIO.h"

#include "IoError.h"

#include <cerrno>
#include <cstdint>

namespace fileio {

std::uint16_t BinaryFile::ReadU16(std::uint64_t pos) const {
    std::uint8_t b[2];
    ReadAt(pos, b, 2);
    return LoadU16(b);
}

std::uint32_t BinaryFile::ReadU32(std::uint64_t pos) const {
    std::uint8_t b[4];
    ReadAt(pos, b, 4);
    return LoadU32(b);
}

void BinaryFile::WriteU16(std::uint64_t pos, std::uint16_t value) {
    std::uint8_t b[2];
    StoreU16(b, value);
    WriteAt(pos, b, 2);
}

void BinaryFile::WriteU32(std::uint64_t pos, std::uint32_t value) {
    std::uint8_t b[4];
    StoreU32(b, value);
    WriteAt(pos, b, 4);
}

Bytes ReadWholeFile(const std::string& path) {
    BinaryFile file(path, Access::ReadOnly);
    std::uint64_t size = file.Size();
    if (size > static_cast<std::uint64_t>(SIZE_MAX / 2))
        throw IoError(ENOMEM, path);
    Bytes data(static_cast<std::size_t>(size));
    if (!data.empty())
        file.ReadAt(0, data.data(), data.size());
    file.Close();
    return data;
}

void ReplaceFileAtomically(const std::string& path, const std::string& text) {
    ReplaceFileAtomically(
        path, std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
}

void CopyFileOver(const std::string& src, const std::string& dst) {
    Bytes data = ReadWholeFile(src);
    ReplaceFileAtomically(dst, data);
}

} // namespace fileio

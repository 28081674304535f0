// The GP4info block on any track file bytes. Read, write, read again agree:
// the second read gives the list as the writer stores it (each name with the
// value its first case-insensitive namesake has), a second write changes no
// byte, the checksum is right, and nothing before the block moves. A file
// without a block gets one in place of its checksum that reads back the same
// way. The file functions do on disk exactly what the byte functions do.
#include "FuzzSupport.h"
#include "GP4Info.h"
#include "KestrumVar.h"
#include "TrackFile.h"

#include <algorithm>

namespace {

NameValueList ListOf(const std::vector<std::string>& entries) {
    NameValueList list;
    for (const std::string& e : entries)
        list.Add(e);
    return list;
}

// The entries as the writer stores them.
std::vector<std::string> AsStored(const NameValueList& list) {
    std::vector<std::string> out;
    for (std::size_t i = 0; i < list.Count(); ++i)
        out.push_back(list.Names(i) + "=" + list.Values(list.Names(i)));
    return out;
}

// Writes list at position and checks the file it gives.
fileio::Bytes WriteAndReread(std::span<const std::uint8_t> file, std::uint64_t position,
                             const NameValueList& list) {
    const fileio::Bytes written = BuildGP4InfoFile(file, position, list);
    FUZZ_CHECK(ChecksumIsRight(written));
    FUZZ_CHECK(written.size() == position + FormatGP4InfoBlock(list).size() + kChecksumSize);
    FUZZ_CHECK(written[written.size() - 5] == '#');
    for (std::uint64_t i = 0; i < position; ++i)
        FUZZ_CHECK(written[i] == file[i] ||
                   (i >= kChecksumOffsetWord && i < kChecksumOffsetWord + 4));
    if (position >= kChecksumOffsetWord + 4)
        FUZZ_CHECK(fileio::LoadU32(written.data() + kChecksumOffsetWord) ==
                   written.size() - kChecksumSize);

    // Found again only through the byte 0x00 before the marker.
    const std::optional<GP4InfoBlock> again = FindGP4InfoBlock(written);
    if (position == 0 || file[position - 1] != 0x00)
        return written;
    FUZZ_CHECK(again.has_value());
    FUZZ_CHECK(again->position == position);
    FUZZ_CHECK(again->entries == AsStored(list));
    FUZZ_CHECK(BuildGP4InfoFile(written, position, ListOf(again->entries)) == written);
    return written;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> file(data, size);
    const std::optional<GP4InfoBlock> block = FindGP4InfoBlock(file);

    std::optional<fileio::Bytes> expected;
    if (block) {
        FUZZ_CHECK(block->position >= 1 && block->position + kGP4InfoMinTail <= size);
        FUZZ_CHECK(data[block->position - 1] == 0x00);
        const NameValueList list = ListOf(block->entries);
        FUZZ_CHECK(FirstUnstorableEntry(list) == -1);
        expected = WriteAndReread(file, block->position, list);
    } else if (size >= kChecksumSize) {
        // A new block in place of the checksum, from a few storable entries.
        NameValueList list;
        list.Add("x=1");
        std::string own(reinterpret_cast<const char*>(data), std::min<std::size_t>(size, 12));
        std::erase_if(own, [](char c) { return c == '|' || c == '#'; });
        list.Add(own);
        list.Add("X=2");
        WriteAndReread(file, size - kChecksumSize, list);
    }

    // The file functions on disk, every so often (they sync each file).
    if (size % 8 != 0)
        return 0;
    fuzz::ClearScratch();
    const std::string path = fuzz::ScratchDir() + "/track.dat";
    fuzz::WriteFile(path, file);
    kestrum::GP4InfoList.Clear();
    kestrum::GP4InfoPos = 12345;
    const bool read = ReadGP4Info(path);
    FUZZ_CHECK(read == block.has_value());
    if (!read) {
        FUZZ_CHECK(kestrum::GP4InfoPos == 0 && kestrum::GP4InfoList.Count() == 0);
        return 0;
    }
    FUZZ_CHECK(static_cast<std::uint64_t>(kestrum::GP4InfoPos) == block->position);
    FUZZ_CHECK(kestrum::GP4InfoList.Items() == block->entries);
    FUZZ_CHECK(WriteGP4Info(path));
    FUZZ_CHECK(fuzz::ReadFile(path) == *expected);
    FUZZ_CHECK(fuzz::ScratchEntries() == std::vector<std::string>{"track.dat"});
    return 0;
}

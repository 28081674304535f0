#include "GP4Info.h"

#include "IoError.h"
#include "KestrumVar.h"
#include "Messages.h"
#include "TrackFile.h"
#include "UserInterface.h"

#include <algorithm>
#include <cstdio>
#include <limits>

namespace {

constexpr std::uint8_t kFieldEnd = '|';
constexpr std::uint8_t kBlockEnd = '#';

bool MarkerAt(std::span<const std::uint8_t> file, std::uint64_t pos) {
    if (pos > file.size() || file.size() - pos < kGP4InfoMinTail)
        return false;
    return std::equal(kGP4InfoMarker.begin(), kGP4InfoMarker.end(),
                      file.begin() + static_cast<std::ptrdiff_t>(pos));
}

// GP4InfoPos is a signed 32-bit position.
constexpr std::uint64_t kMaxPosition = std::numeric_limits<std::int32_t>::max();

} // namespace

std::optional<GP4InfoBlock> FindGP4InfoBlock(std::span<const std::uint8_t> file) {
    const std::uint64_t size = file.size();
    if (size < 5 || file[size - 5] != kBlockEnd)
        return std::nullopt;
    // The pair just before the checksum (size - 6, size - 5) is not looked at:
    // its '#' is the end mark.
    std::optional<std::uint64_t> start;
    for (std::uint64_t q = size - 6; size >= 6 && q-- > 0;)
        if (file[q] == 0x00 && file[q + 1] == kBlockEnd) {
            start = q + 1;
            break;
        }
    if (!start || !MarkerAt(file, *start))
        return std::nullopt;

    std::vector<std::string> fields;
    std::string field;
    for (std::uint64_t i = *start + kGP4InfoMarker.size();; ++i) {
        // The end mark at size - 5 always stops this loop.
        const std::uint8_t c = file[i];
        if (c == kFieldEnd || c == kBlockEnd) {
            fields.push_back(std::move(field));
            field.clear();
            if (c == kBlockEnd)
                break;
        } else {
            field.push_back(static_cast<char>(c));
        }
    }

    GP4InfoBlock block;
    block.position = *start;
    for (std::size_t i = 0; i + 1 < fields.size(); i += 2)
        block.entries.push_back(fields[i] + "=" + fields[i + 1]);
    if (fields.size() % 2 == 1)
        block.entries.push_back(fields.back());
    block.entries.pop_back();
    return block;
}

bool IsStorableGP4InfoText(std::string_view text) {
    return text.find_first_of("|#") == std::string_view::npos;
}

long FirstUnstorableEntry(const NameValueList& list) {
    for (std::size_t i = 0; i < list.Count(); ++i)
        if (!IsStorableGP4InfoText(list[i]))
            return static_cast<long>(i);
    return -1;
}

std::string FormatGP4InfoBlock(const NameValueList& list) {
    std::string block(kGP4InfoMarker);
    for (std::size_t i = 0; i < list.Count(); ++i) {
        // Values looks the name up again, so of two entries whose names differ
        // only in case both are written with the first one's value.
        const std::string name = list.Names(i);
        block += name;
        block += static_cast<char>(kFieldEnd);
        block += list.Values(name);
        block += static_cast<char>(kFieldEnd);
    }
    block += static_cast<char>(kBlockEnd);
    return block;
}

fileio::Bytes BuildGP4InfoFile(std::span<const std::uint8_t> file, std::uint64_t position,
                               const NameValueList& list) {
    const std::string block = FormatGP4InfoBlock(list);
    const std::size_t head =
        static_cast<std::size_t>(std::min<std::uint64_t>(position, file.size()));
    fileio::Bytes out;
    out.reserve(head + block.size() + kChecksumSize);
    out.insert(out.end(), file.begin(), file.begin() + static_cast<std::ptrdiff_t>(head));
    out.insert(out.end(), block.begin(), block.end());
    out.insert(out.end(), kChecksumSize, 0);
    // The word at 8 holds the checksum's position, which the block has moved.
    if (head >= kChecksumOffsetWord + 4)
        fileio::StoreU32(out.data() + kChecksumOffsetWord,
                         static_cast<std::uint32_t>(out.size() - kChecksumSize));
    StoreChecksum(out);
    return out;
}

bool ReadGP4Info(const std::string& trackPath) {
    kestrum::GP4InfoPos = 0;
    if (!fileio::FileExists(trackPath))
        return false;
    const fileio::Bytes file = fileio::ReadWholeFile(trackPath);
    std::optional<GP4InfoBlock> block = FindGP4InfoBlock(file);
    if (!block || block->position > kMaxPosition)
        return false;
    for (std::string& entry : block->entries)
        kestrum::GP4InfoList.Add(std::move(entry));
    kestrum::GP4InfoPos = static_cast<std::int32_t>(block->position);
    return true;
}

bool WriteGP4Info(const std::string& trackPath) {
    if (!fileio::FileExists(trackPath))
        return false;
    const NameValueList& list = kestrum::GP4InfoList;
    if (long bad = FirstUnstorableEntry(list); bad >= 0) {
        char text[512];
        std::snprintf(text, sizeof text, msg::kGP4InfoUnstorable, bad + 1);
        Ui().ShowMessage(MessageType::Error, text);
        return false;
    }

    const fileio::Bytes file = fileio::ReadWholeFile(trackPath);
    std::uint64_t position;
    if (kestrum::GP4InfoPos == 0) {
        // No block yet: the new one takes the checksum's place.
        if (file.size() < kChecksumSize)
            throw IoError(IoError::kReadBeyondEnd, trackPath);
        position = file.size() - kChecksumSize;
    } else {
        // Cutting the file anywhere but at its block would cut track data.
        position = static_cast<std::uint64_t>(std::max<std::int32_t>(kestrum::GP4InfoPos, 0));
        if (kestrum::GP4InfoPos < 0 || !MarkerAt(file, position)) {
            Ui().ShowMessage(MessageType::Error, msg::kGP4InfoMoved);
            return false;
        }
    }
    const fileio::Bytes rewritten = BuildGP4InfoFile(file, position, list);
    if (rewritten.size() > kMaxPosition) {
        Ui().ShowMessage(MessageType::Error, msg::kGP4InfoTooLarge);
        return false;
    }

    fileio::ReplaceFileAtomically(trackPath, rewritten);
    kestrum::GP4InfoPos = static_cast<std::int32_t>(position);
    return true;
}

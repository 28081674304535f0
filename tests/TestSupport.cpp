#include "TestSupport.h"

#include "Gp4Exe.h"
#include "IoError.h"
#include "KestrumVar.h"
#include "MagicLayout.h"
#include "TrackFile.h"

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>

namespace fs = std::filesystem;

TempDir::TempDir() {
    static std::mt19937_64 rng{std::random_device{}()};
    fs::path base = fs::temp_directory_path();
    for (int i = 0; i < 100; ++i) {
        fs::path p = base / ("torvex-test-" + std::to_string(rng()));
        if (fs::create_directory(p)) {
            path_ = p.string();
            return;
        }
    }
    throw std::runtime_error("cannot create a scratch folder");
}

TempDir::~TempDir() {
    std::error_code ec;
    // Make everything removable again, whatever a test did to it.
    for (auto it = fs::recursive_directory_iterator(path_, ec);
         !ec && it != fs::recursive_directory_iterator(); ++it)
        fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ec);
    fs::remove_all(path_, ec);
}

RecordingUi::RecordingUi() : previous_(SetUi(this)) {}
RecordingUi::~RecordingUi() {
    SetUi(previous_);
}

std::string RecordingUi::AskText(const std::string& caption, const std::string& prompt,
                                 const std::string& initial) {
    textQuestions.push_back(caption + "|" + prompt + "|" + initial);
    if (textAnswers.empty())
        return initial;
    std::string answer = textAnswers.front();
    textAnswers.pop_front();
    return answer;
}

int IoCodeOf(const std::function<void()>& f) {
    try {
        f();
    } catch (const IoError& e) {
        return e.Code();
    }
    return 0;
}

fileio::Bytes ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot read " + path);
    return fileio::Bytes(std::istreambuf_iterator<char>(in), {});
}

void WriteBytes(const std::string& path, const fileio::Bytes& data) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data.data()),
              static_cast<std::streamsize>(data.size()));
    if (!out)
        throw std::runtime_error("cannot write " + path);
}

std::string ReadText(const std::string& path) {
    fileio::Bytes b = ReadBytes(path);
    return std::string(b.begin(), b.end());
}

void WriteText(const std::string& path, const std::string& text) {
    WriteBytes(path, fileio::Bytes(text.begin(), text.end()));
}

fileio::Bytes MakeTrack(std::uint32_t magic, std::uint32_t next, const fileio::Bytes& body,
                        bool validChecksum) {
    fileio::Bytes file(kTrackHeaderSize, 0);
    for (std::size_t i = 0; i < kTrackHeaderSize; ++i)
        file[i] = static_cast<std::uint8_t>(0xA0 + i); // recognisable untouched header bytes
    fileio::StoreU32(&file[kMagicOffsetWord], magic);
    fileio::StoreU32(&file[kNextOffsetWord], next);
    file.insert(file.end(), body.begin(), body.end());
    file.insert(file.end(), {0xEE, 0xEE, 0xEE, 0xEE});
    fileio::StoreU32(&file[kChecksumOffsetWord], static_cast<std::uint32_t>(file.size() - 4));
    if (validChecksum)
        StoreChecksum(file);
    return file;
}

fileio::Bytes MakeTaggedRecord(std::uint8_t seed,
                               const std::vector<std::pair<std::uint16_t, std::uint16_t>>& bumps) {
    fileio::Bytes r(kMagicTag.begin(), kMagicTag.end());
    for (std::size_t i = 0; i < kMagicFixedSize; ++i)
        r.push_back(static_cast<std::uint8_t>(seed + i * 7));
    for (auto [a, b] : bumps) {
        r.push_back(static_cast<std::uint8_t>(a));
        r.push_back(static_cast<std::uint8_t>(a >> 8));
        r.push_back(static_cast<std::uint8_t>(b));
        r.push_back(static_cast<std::uint8_t>(b >> 8));
    }
    r.push_back(0xFF);
    r.push_back(0xFF);
    return r;
}

std::string MakeMagicText(const std::vector<std::int32_t>& values,
                          const std::vector<std::string>& bumpLines) {
    std::ostringstream out;
    out << "[GP4 magic file]\r\n\r\n";
    for (std::size_t i = 0; i < kMagicValueLines; ++i)
        out << (i < values.size() ? values[i] : 0) << " ; line " << (i + 1) << "\r\n";
    out << "\r\n[bumptable]\r\n\r\n";
    for (const auto& line : bumpLines)
        out << line << "\r\n";
    return out.str();
}

fileio::Bytes Joined(std::initializer_list<fileio::Bytes> parts) {
    std::size_t size = 0;
    for (const auto& p : parts)
        size += p.size();
    fileio::Bytes out;
    out.reserve(size);
    for (const auto& p : parts)
        out.insert(out.end(), p.begin(), p.end());
    return out;
}

namespace {

SyntheticExe MakeSyntheticExe() {
    SyntheticExe exe;
    exe.bytes.assign(kGp4ExeSize, 0x90);
    exe.records.resize(kTrackCount + 1);
    exe.offsets.resize(kTrackCount + 1);
    std::uint32_t pos = 3000000;
    for (int k = 1; k <= kTrackCount; ++k) {
        std::vector<std::pair<std::uint16_t, std::uint16_t>> bumps;
        for (int i = 0; i < k % 4; ++i)
            bumps.emplace_back(static_cast<std::uint16_t>(100 * k + i),
                               static_cast<std::uint16_t>(i));
        const fileio::Bytes tagged = MakeTaggedRecord(static_cast<std::uint8_t>(k), bumps);
        exe.records[k].assign(tagged.begin() + kMagicTag.size(), tagged.end());
        exe.offsets[k] = pos;
        fileio::StoreU32(&exe.bytes[kGp4ExeTableOffset + 4 * (k - 1)], pos + kGp4ExeImageBase);
        std::copy(exe.records[k].begin(), exe.records[k].end(), exe.bytes.begin() + pos);
        pos += static_cast<std::uint32_t>(exe.records[k].size()) + 4;
    }
    return exe;
}

} // namespace

const SyntheticExe& SyntheticGp4Exe() {
    static const SyntheticExe exe = MakeSyntheticExe();
    return exe;
}

void WriteSyntheticExe(const std::string& path, std::uint64_t size) {
    WriteBytes(path, SyntheticGp4Exe().bytes);
    fs::resize_file(path, size);
}

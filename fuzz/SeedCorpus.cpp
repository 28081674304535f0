// Writes the seed corpora of the fuzz targets, one folder per target, all
// built with the core's own writers so that the seeds are files the program
// itself would read or write.
//   torvex_fuzz_seeds FOLDER
#include "FuzzSupport.h"
#include "GP4Info.h"
#include "Gp4Exe.h"
#include "KestrumVar.h"
#include "MagicLayout.h"
#include "MagicWriter.h"
#include "TrackFile.h"

#include <filesystem>
#include <iostream>

namespace fs = std::filesystem;
using fileio::Bytes;

namespace {

class Corpus {
  public:
    Corpus(const fs::path& root, const std::string& target) : dir_(root / target) {
        fs::create_directories(dir_);
    }
    void Add(std::span<const std::uint8_t> bytes) {
        fuzz::WriteFile((dir_ / ("seed-" + std::to_string(++count_))).string(), bytes);
    }
    void Add(const std::string& text) { Add(fuzz::AsBytes(text)); }

  private:
    fs::path dir_;
    int count_ = 0;
};

// A record without tag: fixed part from seed, then bump pairs, then 0xFFFF.
Bytes Record(std::uint8_t seed, std::size_t pairs) {
    Bytes r;
    for (std::size_t i = 0; i < kMagicFixedSize; ++i)
        r.push_back(static_cast<std::uint8_t>(seed * 31 + i * 7));
    for (std::size_t k = 0; k < pairs; ++k) {
        const std::uint16_t a = static_cast<std::uint16_t>(100 * k + seed);
        const std::uint16_t b = static_cast<std::uint16_t>(a * 3 + 1);
        r.insert(r.end(), {static_cast<std::uint8_t>(a), static_cast<std::uint8_t>(a >> 8),
                           static_cast<std::uint8_t>(b), static_cast<std::uint8_t>(b >> 8)});
    }
    r.insert(r.end(), {0xFF, 0xFF});
    return r;
}

Bytes Tagged(const Bytes& record) {
    Bytes t(kMagicTag.begin(), kMagicTag.end());
    t.insert(t.end(), record.begin(), record.end());
    return t;
}

std::string Text(const Bytes& record) {
    DescriptionArray d;
    for (std::size_t k = 1; k < d.size(); ++k)
        d[k] = "value " + std::to_string(k);
    return FormatMagicText(record, d);
}

// A track file: header (words at 20 and 24), body, checksum.
Bytes Track(std::uint32_t magic, std::uint32_t next, const Bytes& body) {
    Bytes f(kTrackHeaderSize, 0);
    for (std::size_t i = 0; i < f.size(); ++i)
        f[i] = static_cast<std::uint8_t>(0x40 + i);
    fileio::StoreU32(&f[kMagicOffsetWord], magic);
    fileio::StoreU32(&f[kNextOffsetWord], next);
    f.insert(f.end(), body.begin(), body.end());
    f.insert(f.end(), 4, 0);
    fileio::StoreU32(&f[kChecksumOffsetWord], static_cast<std::uint32_t>(f.size() - 4));
    StoreChecksum(f);
    return f;
}

Bytes Body(std::size_t n, std::uint8_t seed) {
    Bytes b(n);
    for (std::size_t i = 0; i < n; ++i)
        b[i] = static_cast<std::uint8_t>(seed + i * 13);
    return b;
}

// A track that holds a stored record, as an insertion leaves it.
Bytes TrackWithRecord(const Bytes& record, std::size_t tail) {
    const Bytes plain = Track(0, 8, Body(8 + tail, 3));
    return PlanInsertion(plain, Tagged(record)).plan->file;
}

Bytes WithInfo(const Bytes& track, const std::vector<std::string>& entries) {
    NameValueList list;
    for (const auto& e : entries)
        list.Add(e);
    Bytes t = track;
    t[t.size() - 5] = 0x00; // the reader finds the block by the 0x00 before it
    return BuildGP4InfoFile(t, t.size() - 4, list);
}

Bytes Concat(std::initializer_list<std::span<const std::uint8_t>> parts) {
    Bytes out;
    for (auto p : parts)
        out.insert(out.end(), p.begin(), p.end());
    return out;
}

Bytes Le16(std::uint16_t v) {
    return {static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8)};
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: torvex_fuzz_seeds FOLDER\n";
        return 2;
    }
    const fs::path root = argv[1];

    const Bytes r0 = Record(1, 0), r3 = Record(2, 3), r40 = Record(9, 40);
    const Bytes rFFFF = [] {
        Bytes r = Record(4, 2);
        for (std::size_t i = 40; i < 60; ++i)
            r[i] = 0xFF; // 0xFFFF values inside the fixed part
        return r;
    }();

    {
        Corpus c(root, "magic_compiler");
        for (const Bytes* r : {&r0, &r3, &r40, &rFFFF})
            c.Add(Text(*r));
        c.Add("[GP4 magic file]\r\n\r\n  12 ; a\r\n$1F;b\r\n-151;c\r\n104\r\n12abc;\r\n"
              "70000;\r\n-2147483648;\r\n0x7fffffff;\r\n\r\n[bumptable]\r\n\r\n5,7\r\n"
              "   \r\n-5 ,7\r\n5, 7\r\n\x1A"
              "9,9\r\n");
        c.Add("[GP4 magic file]\n");
        c.Add("[GP4 magic file] \r\n");
    }
    {
        Corpus c(root, "stored_record");
        for (const Bytes* r : {&r0, &r3, &rFFFF})
            c.Add(TrackWithRecord(*r, 40));
        c.Add(Track(0, 8, Body(60, 5)));
        Bytes cut = TrackWithRecord(r3, 0);
        cut.resize(cut.size() - 20);
        c.Add(cut);
        c.Add(Track(0xFFFFFFF0u, 0, Body(4, 1)));
    }
    {
        Corpus c(root, "insertion");
        const std::vector<std::pair<Bytes, Bytes>> pairs{
            {Track(0, 8, Body(48, 2)), r3},
            {TrackWithRecord(r3, 24), r40},
            {TrackWithRecord(r40, 24), r0},
            {WithInfo(TrackWithRecord(r0, 30), {"name=Monaco", "author=me"}), r3},
            {Track(20, 4, Body(40, 1)), r0},
            {Track(0, 36, Body(38, 1)), r0},
        };
        for (const auto& [track, record] : pairs) {
            const std::string text = Text(record);
            c.Add(Concat(
                {Le16(static_cast<std::uint16_t>(track.size())), track, fuzz::AsBytes(text)}));
        }
    }
    {
        Corpus c(root, "gp4info");
        const Bytes t = TrackWithRecord(r3, 40);
        c.Add(WithInfo(t, {"x=1", "y=2"}));
        c.Add(WithInfo(t, {}));
        c.Add(WithInfo(t, {"Ab=1", "aB=2", "a=b=c", "=empty", "key="}));
        c.Add(t);
        Bytes odd = WithInfo(t, {"x=1"});
        c.Add(odd);
        const std::string blockEnd = "#GP4INFO|x|1|y|2#";
        Bytes raw = t;
        raw.resize(raw.size() - 4);
        raw.push_back(0);
        raw.insert(raw.end(), blockEnd.begin(), blockEnd.end());
        raw.insert(raw.end(), 4, 0);
        c.Add(raw);
    }
    {
        Corpus c(root, "ini");
        // The fuzz target first takes section, key, value, another section and
        // another key (each text ends at a backslash); the rest is the file.
        const std::string head =
            "config\\ GP4exe\\ C:\\\\games\\\\gp4.exe\\ descriptions\\ desc1\\ ";
        c.Add(head + "[config]\r\nGP4exe=D:\\gp4\\gp4.exe\r\nlastdir=D:\\tracks\\\r\n\r\n"
                     "[descriptions]\r\ndesc1=Grip\r\ndesc2=\r\n");
        c.Add(head + "; comment\n[Other]\nkey = value \n\n[CONFIG]\ngp4EXE=\n");
        c.Add(head + "\xEF\xBB\xBF[config]\rlastdir=x");
        c.Add(head);
    }
    {
        Corpus c(root, "exe_table");
        Bytes table;
        std::uint32_t address = kGp4ExeImageBase + 0x300000;
        Bytes payload;
        for (int k = 1; k <= kTrackCount; ++k) {
            table.insert(table.end(), {static_cast<std::uint8_t>(address),
                                       static_cast<std::uint8_t>(address >> 8),
                                       static_cast<std::uint8_t>(address >> 16),
                                       static_cast<std::uint8_t>(address >> 24)});
            address += static_cast<std::uint32_t>(kMagicMinRecordSize + 4 * k + 4);
        }
        const Bytes bumps = Record(7, 5);
        payload.assign(bumps.begin() + kMagicFixedSize, bumps.end());
        for (std::uint8_t choice : {0, 5, 16})
            c.Add(Concat({table, Bytes{choice}, payload}));
        Bytes nearEnd = table;
        fileio::StoreU32(&nearEnd[4 * (kTrackCount - 1)],
                         static_cast<std::uint32_t>(kGp4ExeImageBase + kGp4ExeSize - 300));
        c.Add(Concat({nearEnd, Bytes{16}, Bytes{0xFF, 0xFF}}));
        c.Add(Concat({table, Bytes{1}}));
    }
    {
        Corpus c(root, "track_number");
        for (const char* t :
             {"1",          " 5",         "+5",          "05",         "$11",        "x11",
              "0x11",       "0X11",       "-3",          "5 ",         "",           "abc",
              "-$5",        "2147483647", "-2147483648", "2147483648", "4294967296", "$FFFFFFFF",
              "$123456789", "12x",        "0x"})
            c.Add(std::string(t));
    }
    std::cout << "seed corpora written to " << root.string() << "\n";
    return 0;
}

// The magic text format in both directions: compiler and writer.
#include "IoError.h"
#include "MagicCompiler.h"
#include "MagicLayout.h"
#include "MagicWriter.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <random>

namespace {

fileio::Bytes Compile(const std::string& text) {
    auto r = CompileMagicRecord(
        std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
    EXPECT_TRUE(r.has_value());
    return r.value_or(fileio::Bytes{});
}

std::string Format(const fileio::Bytes& tagged, const DescriptionArray& d = DescriptionArray{}) {
    return FormatMagicText(std::span(tagged).subspan(4), d);
}

// The value lines of a text with the given line (1-based) set to text; all others "0;".
std::string TextWithLine(std::size_t line, const std::string& text, const std::string& bumps = "") {
    std::string out = "[GP4 magic file]\r\n\r\n";
    for (std::size_t i = 1; i <= kMagicValueLines; ++i)
        out += (i == line ? text : std::string("0;")) + "\r\n";
    return out + "\r\n[bumptable]\r\n\r\n" + bumps;
}

} // namespace

TEST(MagicLayoutTable, GroupsTileTheFixedPartAndTheLines) {
    std::uint32_t offset = 0;
    int line = 1;
    for (const MagicGroup& g : kMagicGroups) {
        EXPECT_EQ(g.offset, offset) << g.name;
        EXPECT_EQ(g.firstLine, line) << g.name;
        offset += g.width * g.items;
        line += static_cast<int>(g.items) * LinesPerItem(g.encoding);
    }
    EXPECT_EQ(offset, kMagicFixedSize);
    EXPECT_EQ(line - 1, static_cast<int>(kMagicValueLines));
}

TEST(MagicCompiler, RejectsAnythingButTheExactHeader) {
    for (const char* text :
         {"[GP4 magic file] \r\n", "[gp4 magic file]\r\n", " [GP4 magic file]\r\n", ""}) {
        std::string t(text);
        EXPECT_FALSE(CompileMagicRecord(
            std::span(reinterpret_cast<const std::uint8_t*>(t.data()), t.size())))
            << '"' << text << '"';
    }
    EXPECT_TRUE(CompileMagicRecord(
        std::span(reinterpret_cast<const std::uint8_t*>("[GP4 magic file]"), 16)));
}

TEST(MagicCompiler, NoBumpLinesGivesTagFixedPartAndTerminator) {
    fileio::Bytes r = Compile(MakeMagicText({}, {}));
    ASSERT_EQ(r.size(), 302u);
    EXPECT_EQ(std::string(r.begin(), r.begin() + 4), "MA03");
    EXPECT_EQ(r[300], 0xFF);
    EXPECT_EQ(r[301], 0xFF);
}

TEST(MagicCompiler, EncodesEachGroupAsItsTableSays) {
    std::vector<std::int32_t> v(kMagicValueLines, 0);
    v[0] = -151; // group A low byte
    v[1] = 104;  // group A high byte
    v[24] = -2;  // group B, signed 32
    v[34] = 261; // group E low byte: low 8 bits only
    v[35] = 200;
    v[36] = 70000; // group F, unsigned 16
    v[37] = -1;
    fileio::Bytes r = Compile(MakeMagicText(v, {}));
    const std::uint8_t* rec = r.data() + 4;
    EXPECT_EQ(rec[0], 0x00);
    EXPECT_EQ(rec[1], 0xFF);
    EXPECT_EQ(fileio::LoadU32(rec + 24), 0xFFFFFFFEu);
    EXPECT_EQ(rec[40], 5);
    EXPECT_EQ(rec[41], 200);
    EXPECT_EQ(fileio::LoadU16(rec + 42), 4464);
    EXPECT_EQ(fileio::LoadU16(rec + 44), 0xFFFF);
    // -1 and 0 on lines 1 and 2 give 0x96 and 0x97.
    v[0] = -1;
    v[1] = 0;
    r = Compile(MakeMagicText(v, {}));
    EXPECT_EQ(r[4], 0x96);
    EXPECT_EQ(r[5], 0x97);
}

struct ValueLineCase {
    const char* line;
    std::uint16_t stored; // group F's first slot (line 37)
};

class ValueLine : public ::testing::TestWithParam<ValueLineCase> {};

TEST_P(ValueLine, TakesTheTrimmedTextBeforeTheFirstSemicolon) {
    fileio::Bytes r = Compile(TextWithLine(37, GetParam().line));
    EXPECT_EQ(fileio::LoadU16(r.data() + 4 + 42), GetParam().stored)
        << '"' << GetParam().line << '"';
}

INSTANTIATE_TEST_SUITE_P(Lines, ValueLine,
                         ::testing::Values(ValueLineCase{"  12  ; desc", 12},
                                           ValueLineCase{"12", 0}, ValueLineCase{"\t12\t;x", 12},
                                           ValueLineCase{"12abc;", 12}, ValueLineCase{"abc;", 0},
                                           ValueLineCase{"$1F;", 31}, ValueLineCase{"7;8;9", 7},
                                           ValueLineCase{";5", 0}, ValueLineCase{"12 ; 34", 12}));

struct BumpCase {
    const char* lines;
    std::vector<std::uint16_t> words;
};

class BumpLines : public ::testing::TestWithParam<BumpCase> {};

TEST_P(BumpLines, BecomePairsOfUnsignedWords) {
    fileio::Bytes r = Compile(TextWithLine(1, "0;", GetParam().lines));
    std::vector<std::uint16_t> words;
    for (std::size_t p = 4 + kMagicFixedSize; p + 2 < r.size(); p += 2)
        words.push_back(fileio::LoadU16(&r[p]));
    EXPECT_EQ(words, GetParam().words) << GetParam().lines;
    EXPECT_EQ(fileio::LoadU16(&r[r.size() - 2]), 0xFFFF);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, BumpLines,
    ::testing::Values(BumpCase{"5,7\r\n", {5, 7}}, BumpCase{"\r\n\r\n5,7\r\n\r\n", {5, 7}},
                      BumpCase{"   \r\n", {0, 0}}, BumpCase{"5, 7\r\n", {5, 7}},
                      BumpCase{"-5 ,7\r\n", {5, 7}}, BumpCase{"9\r\n", {0, 9}},
                      BumpCase{"-1,70000\r\n", {0xFFFF, 4464}}, BumpCase{"1,2\n3,4", {1, 2, 3, 4}},
                      BumpCase{"1,2\r\n\x1a"
                               "3,4\r\n",
                               {1, 2}},
                      BumpCase{"1,2\r\n3\r4,5\r\n", {1, 2, 34, 5}}));

TEST(MagicCompiler, TextEndingEarlyGivesZerosAndNoBumps) {
    fileio::Bytes r = Compile("[GP4 magic file]\r\n\r\n5;\r\n");
    ASSERT_EQ(r.size(), 302u);
    EXPECT_EQ(r[4], static_cast<std::uint8_t>(5 + 151));
    EXPECT_EQ(r[5], 151); // line 2 missing: value 0
    EXPECT_EQ(fileio::LoadU16(r.data() + 4 + 42), 0);
}

TEST(MagicWriter, WritesTheLayoutWithPaddedValuesAndDescriptions) {
    fileio::Bytes tagged = MakeTaggedRecord(0, {{1, 65535}, {0, 2}});
    std::uint8_t* rec = tagged.data() + 4;
    rec[0] = 0x00;                           // line 1: -151
    rec[1] = 0xFF;                           // line 2: 104
    fileio::StoreU32(rec + 24, 0xFFFFFFE9);  // line 25: -23
    rec[40] = 0x05;                          // line 35
    rec[41] = 0xC8;                          // line 36
    fileio::StoreU16(rec + 42, 0xFFFF);      // line 37
    fileio::StoreU32(rec + 140, 1234567890); // line 82: ten characters, no padding
    DescriptionArray d{};
    d[25] = "abc";
    d[139] = "last";
    std::string text = Format(tagged, d);

    std::vector<std::string> lines;
    for (std::size_t pos = 0; pos < text.size();) {
        auto eol = text.find("\r\n", pos);
        ASSERT_NE(eol, std::string::npos) << "every line ends in CR LF";
        lines.push_back(text.substr(pos, eol - pos));
        pos = eol + 2;
    }
    ASSERT_EQ(lines.size(), 2u + 139u + 3u + 2u);
    EXPECT_EQ(lines[0], "[GP4 magic file]");
    EXPECT_EQ(lines[1], "");
    EXPECT_EQ(lines[2], "-151      ; ");
    EXPECT_EQ(lines[3], "104       ; ");
    EXPECT_EQ(lines[2 + 24], "-23       ; abc");
    EXPECT_EQ(lines[2 + 34], "5         ; ");
    EXPECT_EQ(lines[2 + 35], "200       ; ");
    EXPECT_EQ(lines[2 + 36], "65535     ; ");
    EXPECT_EQ(lines[2 + 81], "1234567890; ");
    EXPECT_EQ(lines[2 + 138].substr(10), "; last");
    EXPECT_EQ(lines[141], "");
    EXPECT_EQ(lines[142], "[bumptable]");
    EXPECT_EQ(lines[143], "");
    EXPECT_EQ(lines[144], "1,65535");
    EXPECT_EQ(lines[145], "0,2");
}

TEST(MagicWriter, NoBumpPairsEndsAfterTheBumpTableHeader) {
    std::string text = Format(MakeTaggedRecord(3, {}));
    EXPECT_TRUE(text.ends_with("\r\n\r\n[bumptable]\r\n\r\n"));
}

TEST(MagicWriter, AnOddTrailingWordIsNotWritten) {
    fileio::Bytes rec = MakeTaggedRecord(3, {{7, 8}});
    rec.pop_back(); // 296 + 4 + 1 bytes: the terminator's half is not a whole pair
    EXPECT_TRUE(Format(rec).ends_with("[bumptable]\r\n\r\n7,8\r\n"));
}

TEST(MagicRoundTrip, CompileWriteCompileGivesTheSameBytes) {
    std::mt19937 rng(42);
    for (int trial = 0; trial < 50; ++trial) {
        std::vector<std::pair<std::uint16_t, std::uint16_t>> bumps(rng() % 40);
        for (auto& b : bumps)
            b = {static_cast<std::uint16_t>(rng()), static_cast<std::uint16_t>(rng() % 0xFFFF)};
        fileio::Bytes original = MakeTaggedRecord(static_cast<std::uint8_t>(rng()), bumps);
        for (std::size_t i = 4; i < 4 + kMagicFixedSize; ++i)
            original[i] = static_cast<std::uint8_t>(rng());
        DescriptionArray d{};
        d[trial % 139 + 1] = "some; text, with separators";
        EXPECT_EQ(Compile(Format(original, d)), original) << "trial " << trial;
    }
}

TEST(MagicTextFiles, CompileMagicTextWritesTheRecordFileOrNothing) {
    RecordingUi ui;
    TempDir dir;
    WriteText(dir / "m.md3", MakeMagicText({1, 2, 3}, {"4,5"}));
    ASSERT_TRUE(CompileMagicText(dir / "m.md3", dir / "rec.bin"));
    EXPECT_EQ(ReadBytes(dir / "rec.bin"), Compile(MakeMagicText({1, 2, 3}, {"4,5"})));

    WriteText(dir / "bad.md3", "[GP4 magic file] \r\n");
    EXPECT_FALSE(CompileMagicText(dir / "bad.md3", dir / "none.bin"));
    EXPECT_FALSE(fileio::FileExists(dir / "none.bin"));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].first, MessageType::Error);
    EXPECT_EQ(ui.messages[0].second, "This file doesn't appear to be a valid GP4 Magic file!");
}

TEST(MagicTextFiles, WriteMagicTextUsesTheDescriptionTable) {
    TempDir dir;
    kestrum::DescriptionTable[1] = "First value";
    fileio::Bytes rec = MakeTaggedRecord(9, {});
    WriteMagicText(rec.data() + 4, rec.size() - 4, dir / "out.md3");
    kestrum::DescriptionTable[1].clear();
    std::string text = ReadText(dir / "out.md3");
    EXPECT_NE(text.find("; First value\r\n"), std::string::npos);
    EXPECT_THROW(WriteMagicText(rec.data() + 4, rec.size() - 4, dir / "no-such-folder/out.md3"),
                 IoError);
}

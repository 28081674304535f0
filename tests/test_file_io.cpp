// The file layer: error codes and the atomic replacement.
#include "FileIO.h"
#include "IoError.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>

TEST(IoErrorTexts, FollowTheSystemCode) {
    EXPECT_STREQ(IoError(2).what(), "File not found");
    EXPECT_STREQ(IoError(3).what(), "Invalid filename");
    EXPECT_STREQ(IoError(4).what(), "Too many open files");
    EXPECT_STREQ(IoError(5).what(), "File access denied");
    EXPECT_STREQ(IoError(100).what(), "Read beyond end of file");
    EXPECT_STREQ(IoError(101).what(), "Disk full");
    EXPECT_STREQ(IoError(106).what(), "Invalid numeric input");
    EXPECT_STREQ(IoError(32).what(), "I/O error 32");
    EXPECT_EQ(ErrorBoxText(IoError(2)), "File not found.");
    EXPECT_EQ(WithFinalDot("Done."), "Done.");
}

TEST(FileLayer, FailuresCarryTheirCodes) {
    TempDir dir;
    WriteBytes(dir / "f", {1, 2, 3});
    EXPECT_EQ(IoCodeOf([&] { fileio::BinaryFile f(dir / "missing", fileio::Access::ReadOnly); }),
              2);
    EXPECT_EQ(IoCodeOf([&] { fileio::BinaryFile f(dir / "f/below", fileio::Access::ReadOnly); }),
              2);
    EXPECT_EQ(IoCodeOf([&] {
                  fileio::BinaryFile f(dir / std::string(300, 'x'), fileio::Access::ReadOnly);
              }),
              3);
    EXPECT_EQ(IoCodeOf([&] { fileio::BinaryFile f(dir.Path(), fileio::Access::ReadWrite); }), 5);
    EXPECT_EQ(IoCodeOf([&] {
                  fileio::BinaryFile f(dir / "f", fileio::Access::ReadOnly);
                  std::uint8_t b[4];
                  f.ReadAt(0, b, 4);
              }),
              100);
    EXPECT_EQ(IoCodeOf([&] {
                  fileio::BinaryFile f(dir / "f", fileio::Access::ReadOnly);
                  f.ReadU16(0xFFFFFFFFull + 10);
              }),
              100);
}

TEST(FileLayer, BlockReadsAndWritesAreLittleEndian) {
    TempDir dir;
    WriteBytes(dir / "f", fileio::Bytes(8, 0));
    {
        fileio::BinaryFile f(dir / "f", fileio::Access::ReadWrite);
        f.WriteU32(0, 0x11223344);
        f.WriteU16(6, 0xABCD);
        EXPECT_EQ(f.ReadU32(0), 0x11223344u);
        EXPECT_EQ(f.Size(), 8u);
        f.Truncate(7);
        f.Close();
    }
    EXPECT_EQ(ReadBytes(dir / "f"), (fileio::Bytes{0x44, 0x33, 0x22, 0x11, 0, 0, 0xCD}));
}

TEST(FileLayer, ReplaceFileAtomicallyCreatesReplacesAndCleansUp) {
    TempDir dir;
    fileio::ReplaceFileAtomically(dir / "new", std::string("abc"));
    EXPECT_EQ(ReadText(dir / "new"), "abc");
#ifndef _WIN32 // Windows has attributes instead of permission bits
    ::chmod((dir / "new").c_str(), 0640);
#endif
    fileio::ReplaceFileAtomically(dir / "new", std::string("xy"));
    EXPECT_EQ(ReadText(dir / "new"), "xy");
#ifndef _WIN32
    struct stat st;
    ::stat((dir / "new").c_str(), &st);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
#endif

    EXPECT_EQ(IoCodeOf([&] { fileio::ReplaceFileAtomically(dir / "no/such", std::string("a")); }),
              2);
    std::filesystem::create_directory(dir / "sub");
    EXPECT_EQ(IoCodeOf([&] { fileio::ReplaceFileAtomically(dir / "sub", std::string("a")); }), 5);
    int entries = 0;
    for ([[maybe_unused]] auto& e : std::filesystem::directory_iterator(dir.Path()))
        ++entries;
    EXPECT_EQ(entries, 2) << "no temporary file left behind";
}

TEST(FileLayer, ExistenceCopyRemoveAndWritableBit) {
    TempDir dir;
    EXPECT_FALSE(fileio::FileExists(dir.Path()));
    EXPECT_TRUE(fileio::DirectoryExists(dir.Path()));
    EXPECT_FALSE(fileio::FileExists(""));
    WriteBytes(dir / "a", {9, 8});
    fileio::CopyFileOver(dir / "a", dir / "b");
    EXPECT_EQ(ReadBytes(dir / "b"), (fileio::Bytes{9, 8}));
#ifndef _WIN32 // Windows has attributes instead of permission bits
    ::chmod((dir / "a").c_str(), 0444);
    fileio::SetArchiveOnly(dir / "a");
    struct stat st;
    ::stat((dir / "a").c_str(), &st);
    EXPECT_EQ(st.st_mode & 07777, 0644u);
#endif
    fileio::RemoveFile(dir / "b");
    EXPECT_FALSE(fileio::FileExists(dir / "b"));
    EXPECT_EQ(IoCodeOf([&] { fileio::RemoveFile(dir / "b"); }), 2);
}

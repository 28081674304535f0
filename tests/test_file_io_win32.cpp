// The Win32 file layer: attributes, wide-character names, long paths, sharing
// and the replace-existing move. Only a Windows build has these.
#ifdef _WIN32
#include "FileIO.h"
#include "IoError.h"
#include "PathRules.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <windows.h>

namespace {

std::wstring Wide(const std::string& utf8) {
    const int n =
        ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring out(static_cast<std::size_t>(n), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), out.data(), n);
    return out;
}

DWORD Attributes(const std::string& path) {
    return ::GetFileAttributesW(Wide(path).c_str());
}

int CodeOf(const std::function<void()>& f) {
    try {
        f();
    } catch (const IoError& e) {
        return e.Code();
    }
    return 0;
}

std::vector<std::string> Entries(const TempDir& dir) {
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(dir.Path()))
        names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

constexpr DWORD kHiddenSystemReadOnly =
    FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;

} // namespace

TEST(Win32FileLayer, ArchiveOnlyClearsReadOnlyHiddenAndSystem) {
    TempDir dir;
    WriteBytes(dir / "t.dat", {1, 2, 3});
    ASSERT_TRUE(::SetFileAttributesW(Wide(dir / "t.dat").c_str(), kHiddenSystemReadOnly));

    fileio::SetArchiveOnly(dir / "t.dat");
    EXPECT_EQ(Attributes(dir / "t.dat"), static_cast<DWORD>(FILE_ATTRIBUTE_ARCHIVE));
    fileio::BinaryFile f(dir / "t.dat", fileio::Access::ReadWrite);
    f.WriteU16(0, 0xBEEF);
    EXPECT_EQ(f.ReadU16(0), 0xBEEF);
    EXPECT_EQ(CodeOf([&] { fileio::SetArchiveOnly(dir / "none.dat"); }), 2);
}

TEST(Win32FileLayer, ReplacingAReadOnlyHiddenFileKeepsItHiddenButWritable) {
    TempDir dir;
    WriteBytes(dir / "t.dat", {1, 2, 3});
    ASSERT_TRUE(::SetFileAttributesW(Wide(dir / "t.dat").c_str(),
                                     FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN));
    fileio::ReplaceFileAtomically(dir / "t.dat", std::string("new"));
    EXPECT_EQ(ReadText(dir / "t.dat"), "new");
    const DWORD a = Attributes(dir / "t.dat");
    EXPECT_NE(a & FILE_ATTRIBUTE_HIDDEN, 0u);
    EXPECT_EQ(a & FILE_ATTRIBUTE_READONLY, 0u);
    EXPECT_EQ(Entries(dir), std::vector<std::string>{"t.dat"});
}

TEST(Win32FileLayer, AFileHeldOpenByAnotherProgramStaysAsItWas) {
    TempDir dir;
    WriteBytes(dir / "t.dat", {1, 2, 3});
    // Another program holding the file without sharing it.
    HANDLE other = ::CreateFileW(Wide(dir / "t.dat").c_str(), GENERIC_READ, 0, nullptr,
                                 OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(other, INVALID_HANDLE_VALUE);
    EXPECT_EQ(CodeOf([&] { fileio::BinaryFile f(dir / "t.dat", fileio::Access::ReadOnly); }), 5);
    EXPECT_EQ(CodeOf([&] { fileio::ReplaceFileAtomically(dir / "t.dat", std::string("x")); }), 5);
    ::CloseHandle(other);
    EXPECT_EQ(ReadBytes(dir / "t.dat"), (fileio::Bytes{1, 2, 3}));
    EXPECT_EQ(Entries(dir), std::vector<std::string>{"t.dat"}) << "the temporary file is removed";
}

TEST(Win32FileLayer, NamesAreUtf8AndReachTheSystemAsWideCharacters) {
    TempDir dir;
    const std::string name = dir / "Str\xC3\xA4\xC3\x9F"
                                   "e \xE2\x82\xAC.dat"; // Sträße €.dat
    fileio::ReplaceFileAtomically(name, std::string("abc"));
    EXPECT_NE(Attributes(name), INVALID_FILE_ATTRIBUTES);
    EXPECT_TRUE(fileio::FileExists(name));
    EXPECT_EQ(fileio::FileSize(name), 3u);
    EXPECT_EQ(fileio::ReadWholeFile(name), (fileio::Bytes{'a', 'b', 'c'}));
    fileio::RemoveFile(name);
    EXPECT_FALSE(fileio::FileExists(name));
    // Bytes that are not UTF-8 name no file.
    EXPECT_FALSE(fileio::FileExists(dir / "\xFF.dat"));
    EXPECT_EQ(CodeOf([&] { fileio::ReplaceFileAtomically(dir / "\xFF.dat", std::string("x")); }),
              3);
}

TEST(Win32FileLayer, PathsLongerThanMaxPathWork) {
    TempDir dir;
    std::string folder = dir.Path();
    while (folder.size() < 300) {
        folder += "\\" + std::string(40, 'd');
        ASSERT_TRUE(::CreateDirectoryW((L"\\\\?\\" + Wide(folder)).c_str(), nullptr)) << folder;
    }
    const std::string file = folder + "\\track.dat";
    fileio::ReplaceFileAtomically(file, std::string("long"));
    EXPECT_TRUE(fileio::FileExists(file));
    EXPECT_EQ(fileio::ReadWholeFile(file), (fileio::Bytes{'l', 'o', 'n', 'g'}));
    fileio::RemoveFile(file);
    // The scratch folder's clean-up does not reach that deep: climb out by hand.
    while (folder.size() > dir.Path().size()) {
        ASSERT_TRUE(::RemoveDirectoryW((L"\\\\?\\" + Wide(folder)).c_str())) << folder;
        folder.resize(folder.find_last_of('\\'));
    }
    EXPECT_EQ(CodeOf([&] { fileio::FileSize(dir / std::string(256, 'n')); }), 3);
}

TEST(Win32FileLayer, FoldersAndTheRunningProgram) {
    TempDir dir;
    EXPECT_TRUE(fileio::DirectoryExists(dir.Path()));
    EXPECT_FALSE(fileio::FileExists(dir.Path()));
    EXPECT_EQ(CodeOf([&] { fileio::BinaryFile f(dir.Path(), fileio::Access::ReadOnly); }), 5);
    fileio::CreateDirectories(dir.Path() + "\\a/b\\c\\");
    EXPECT_TRUE(fileio::DirectoryExists(dir.Path() + "\\a\\b\\c"));
    fileio::CreateDirectories(dir.Path() + "\\a\\b");
    WriteBytes(dir / "file", {1});
    EXPECT_EQ(CodeOf([&] { fileio::CreateDirectories(dir / "file/below"); }), 2);
    const std::string cwd = fileio::CurrentDirectory();
    ASSERT_FALSE(cwd.empty());
    EXPECT_EQ(cwd.back(), '\\');
    EXPECT_EQ(paths::UpperAscii(paths::ExtractFileExt(fileio::ProgramFilePath())), ".EXE");
}

TEST(Win32PathRules, BackslashSlashAndColonEndAFolder) {
    EXPECT_EQ(paths::ExtractFileName("C:\\gp4\\tracks/monaco.dat"), "monaco.dat");
    EXPECT_EQ(paths::ExtractFileName("C:monaco.dat"), "monaco.dat");
    EXPECT_EQ(paths::ExtractFilePath("C:\\gp4\\monaco.dat"), "C:\\gp4\\");
    EXPECT_EQ(paths::ChangeFileExt("C:\\gp4.v2\\track", ".bak"), "C:\\gp4.v2\\track.bak");
    EXPECT_EQ(paths::FoldCaseForFileSystem("C:\\GP4\\"), "c:\\gp4\\");
}
#endif

// Our INI file, which changes only the lines it must, and the settings kept
// in it: where the file lives, what is read at start-up and written at closing.
#include "FileIO.h"
#include "IniFile.h"
#include "IoError.h"
#include "KestrumVar.h"
#include "PathRules.h"
#include "Settings.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>

namespace {

// The line ending of a file created from nothing.
#ifdef _WIN32
const std::string kEol = "\r\n";
#else
const std::string kEol = "\n";
#endif

// Every line ends in CR LF, as files edited on Windows do.
const std::string kHandWritten = "; Torvex settings, edited by hand\r\n"
                                 "\r\n"
                                 "[Other]\r\n"
                                 "GP4exe=not this one\r\n"
                                 "  key with blanks  =  a value  \r\n"
                                 "\r\n"
                                 "[CONFIG]\r\n"
                                 "# a comment inside\r\n"
                                 "gp4EXE = C:\\Old\\gp4.exe\r\n"
                                 "LastDir=C:\\tracks\\\r\n"
                                 "extra=kept\r\n"
                                 "\r\n"
                                 "[descriptions]\r\n"
                                 "desc1=first\r\n"
                                 "desc2=second; with a semicolon\r\n";

std::string Replace(std::string text, const std::string& from, const std::string& to) {
    auto at = text.find(from);
    if (at == std::string::npos)
        throw std::logic_error("no " + from);
    return text.replace(at, from.size(), to);
}

std::string SaveFailureMessage(IniFile& ini) {
    try {
        ini.Save();
    } catch (const IoError& e) {
        return std::string("an IoError: ") + e.what();
    } catch (const Error& e) {
        return e.what();
    }
    return "no error";
}

} // namespace

TEST(IniFile, ASaveKeepsEveryLineItDidNotChangeByteForByte) {
    TempDir dir;
    const std::string path = dir / "torvex4.ini";
    WriteText(path, kHandWritten);
    IniFile ini(path);
    EXPECT_EQ(ini.ReadString("config", "GP4exe", "-"), "C:\\Old\\gp4.exe");
    EXPECT_EQ(ini.ReadString("Config", "lastdir", "-"), "C:\\tracks\\");
    EXPECT_EQ(ini.ReadString("OTHER", "gp4exe", "-"), "not this one");
    EXPECT_EQ(ini.ReadString("other", "KEY WITH BLANKS", "-"), "a value");
    EXPECT_EQ(ini.ReadString("descriptions", "desc2", "-"), "second; with a semicolon");

    ini.WriteString("config", "GP4exe", "/games/GP4/gp4.exe");
    ini.WriteString("config", "lastdir", "/home/me/Tracks/");
    ini.Save();
    std::string expected =
        Replace(kHandWritten, "gp4EXE = C:\\Old\\gp4.exe\r\n", "gp4EXE = /games/GP4/gp4.exe\r\n");
    expected = Replace(expected, "LastDir=C:\\tracks\\\r\n", "LastDir=/home/me/Tracks/\r\n");
    EXPECT_EQ(ReadText(path), expected);
    EXPECT_EQ(IniFile(path).ReadString("config", "GP4exe", "-"), "/games/GP4/gp4.exe");
}

TEST(IniFile, WritingTheValueAKeyAlreadyHasChangesNothing) {
    const std::string text = "[config]\nGP4exe =  same   \nlastdir=x";
    IniFile ini("unused.ini", text);
    ini.WriteString("CONFIG", "gp4exe", "same");
    EXPECT_EQ(ini.ToText(), text);
}

TEST(IniFile, AMissingFileIsEmptyAndASaveCreatesItWithTheSection) {
    TempDir dir;
    const std::string path = dir / "new.ini";
    IniFile ini(path);
    EXPECT_EQ(ini.ReadString("config", "GP4exe", "default"), "default");
    ini.WriteString("config", "GP4exe", "");
    ini.WriteString("config", "lastdir", "/t/");
    ini.Save();
    EXPECT_EQ(ReadText(path), "[config]" + kEol + "GP4exe=" + kEol + "lastdir=/t/" + kEol);
    // An empty value is a value: the default is not taken.
    EXPECT_EQ(IniFile(path).ReadString("config", "GP4exe", "default"), "");
}

TEST(IniFile, AMissingKeyGoesAfterTheLastKeyOfItsSection) {
    IniFile ini("unused.ini", "[config]\r\nGP4exe=a\r\n\r\n; about the next one\r\n[next]\r\nk=v");
    ini.WriteString("config", "lastdir", "/d/");
    ini.WriteString("brand new", "key", "v2");
    ini.WriteString("next", "k2", "v3"); // after a last line without its line ending
    EXPECT_EQ(ini.ToText(), "[config]\r\nGP4exe=a\r\nlastdir=/d/\r\n\r\n; about the next one\r\n"
                            "[next]\r\nk=v\r\nk2=v3\r\n\r\n[brand new]\r\nkey=v2\r\n");
}

TEST(IniFile, AKeyOfASectionWithoutKeysGoesRightBelowItsHeader) {
    IniFile ini("unused.ini", "[config]\n; nothing yet\n\n[other]\nx=1\n");
    ini.WriteString("config", "GP4exe", "g");
    EXPECT_EQ(ini.ToText(), "[config]\nGP4exe=g\n; nothing yet\n\n[other]\nx=1\n");
}

TEST(IniFile, ValuesAreWrittenAndReadExactlyAsGiven) {
    TempDir dir;
    const std::string path = dir / "v.ini";
    const std::vector<std::string> values{"\"quoted\"", "a=b;c # d",   "C:\\dir\\",
                                          "%s %d",      "tab\tinside", "J\xC3\xB6rg"};
    {
        IniFile ini(path);
        for (std::size_t i = 0; i < values.size(); ++i)
            ini.WriteString("s", "k" + std::to_string(i), values[i]);
        ini.Save();
    }
    IniFile back(path);
    for (std::size_t i = 0; i < values.size(); ++i)
        EXPECT_EQ(back.ReadString("s", "k" + std::to_string(i), "-"), values[i]);
    EXPECT_NE(ReadText(path).find("k0=\"quoted\"" + kEol), std::string::npos);
}

TEST(IniFile, AnEmptyValueLeavesTheKeyAndItsEqualsSign) {
    IniFile ini("unused.ini", "[config]\nGP4exe = C:\\gp4.exe\n");
    ini.WriteString("config", "GP4exe", "");
    EXPECT_EQ(ini.ToText(), "[config]\nGP4exe =\n");
}

TEST(IniFile, TheFirstOfTwoKeysOrSectionsOfTheSameNameCounts) {
    IniFile ini("unused.ini", "k=outside\n[a]\nk=1\nK=2\n[b]\n[A]\nk=3\nj=4\n");
    EXPECT_EQ(ini.ReadString("a", "k", "-"), "1");
    EXPECT_EQ(ini.ReadString("a", "j", "-"), "4"); // found in the second [A]
    EXPECT_EQ(ini.ReadString("b", "k", "-"), "-");
    ini.WriteString("a", "k", "new");
    EXPECT_EQ(ini.ToText(), "k=outside\n[a]\nk=new\nK=2\n[b]\n[A]\nk=3\nj=4\n");
}

TEST(IniFile, ABlankedHeaderAByteOrderMarkAndCommentsAreUnderstood) {
    const std::string text = "\xEF\xBB\xBF[ config ]\n;GP4exe=commented\nGP4exe=real\n";
    IniFile ini("unused.ini", text);
    EXPECT_EQ(ini.ReadString("config", "GP4exe", "-"), "real");
    EXPECT_EQ(ini.ReadString("config", ";GP4exe", "-"), "-");
    ini.WriteString("config", "GP4exe", "new");
    EXPECT_EQ(ini.ToText(), "\xEF\xBB\xBF[ config ]\n;GP4exe=commented\nGP4exe=new\n");
}

TEST(IniFile, AFailedSaveIsUnableToWriteAndLeavesNoFile) {
    TempDir dir;
    const std::string path = dir / "no such folder/torvex4.ini";
    IniFile ini(path);
    ini.WriteString("config", "GP4exe", "x");
    EXPECT_EQ(SaveFailureMessage(ini), "Unable to write to " + path);
    EXPECT_FALSE(fileio::FileExists(path));
}

TEST(IniFile, AValueWithALineBreakCannotBeWritten) {
    IniFile ini("the.ini", "[config]\nGP4exe=old\n");
    for (const char* value : {"a\nlastdir=b", "a\r", "\n"}) {
        try {
            ini.WriteString("config", "GP4exe", value);
            ADD_FAILURE() << "no error";
        } catch (const Error& e) {
            EXPECT_STREQ(e.what(), "Unable to write to the.ini");
        }
    }
    EXPECT_EQ(ini.ToText(), "[config]\nGP4exe=old\n");
}

struct CutCase {
    std::string text;
    std::size_t max;
    std::string expected;
};
void PrintTo(const CutCase& c, std::ostream* os) {
    *os << c.text.size() << " bytes cut to " << c.max;
}

class CutText : public ::testing::TestWithParam<CutCase> {};

TEST_P(CutText, KeepsTheFirstCharacters) {
    EXPECT_EQ(CutToCharacters(GetParam().text, GetParam().max), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, CutText,
    ::testing::Values(CutCase{std::string(255, 'a'), 255, std::string(255, 'a')},
                      CutCase{std::string(256, 'a'), 255, std::string(255, 'a')},
                      CutCase{"", 255, ""},
                      // UTF-8: code points are characters.
                      CutCase{"\xC3\xA9\xC3\xA9\xC3\xA9", 2, "\xC3\xA9\xC3\xA9"},
                      CutCase{"a\xE2\x82\xAC"
                              "b",
                              2, "a\xE2\x82\xAC"},
                      // Not UTF-8 (an 8-bit code page): bytes are characters.
                      CutCase{"\xE9\xE9\xE9", 2, "\xE9\xE9"}, CutCase{"\xC3\xA9\xE9", 1, "\xC3"}));

namespace {

// Settings with the program's folder and the user's configuration folder in
// a scratch folder; the environment and the shared state restored afterwards.
class SettingsFile : public ::testing::Test {
  protected:
    void SetUp() override {
#ifndef _WIN32
        for (const char* name : {"XDG_CONFIG_HOME", "HOME"})
            if (const char* v = std::getenv(name))
                saved_.emplace_back(name, std::string(v));
            else
                saved_.emplace_back(name, std::nullopt);
        ::setenv("XDG_CONFIG_HOME", xdg.c_str(), 1);
        ::setenv("HOME", home.c_str(), 1);
#endif
        std::filesystem::create_directory(program);
        kestrum::ProgramDir = program + "/";
        ResetState();
    }
    void TearDown() override {
#ifndef _WIN32
        for (const auto& [name, value] : saved_)
            if (value)
                ::setenv(name.c_str(), value->c_str(), 1);
            else
                ::unsetenv(name.c_str());
#endif
        ResetState();
        kestrum::ProgramDir.clear();
    }
    static void ResetState() {
        kestrum::Gp4ExePath = "stale exe";
        kestrum::LastDir = "stale dir";
        for (auto& d : kestrum::DescriptionTable)
            d = "stale";
    }
    // Where the settings go when no file lies beside the program: on Windows
    // always the program's folder.
    std::string UserFile() const {
#ifdef _WIN32
        return program + "/torvex4.ini";
#else
        return xdg + "/torvex4/torvex4.ini";
#endif
    }

    TempDir dir;
    std::string program = dir / "Program Folder";
    std::string xdg = dir / "xdg";
    std::string home = dir / "home";

  private:
    std::vector<std::pair<std::string, std::optional<std::string>>> saved_;
};

} // namespace

#ifndef _WIN32
TEST_F(SettingsFile, LivesBesideTheProgramOnlyWhenOneIsThere) {
    EXPECT_EQ(SettingsFilePath(), UserFile());
    ::unsetenv("XDG_CONFIG_HOME");
    EXPECT_EQ(SettingsFilePath(), home + "/.config/torvex4/torvex4.ini");
    ::setenv("XDG_CONFIG_HOME", "relative/folder", 1); // not absolute: ignored
    EXPECT_EQ(SettingsFilePath(), home + "/.config/torvex4/torvex4.ini");
    WriteText(program + "/torvex4.ini", "");
    EXPECT_EQ(SettingsFilePath(), program + "/torvex4.ini"); // a portable install
}
#else
TEST_F(SettingsFile, LivesBesideTheProgram) {
    EXPECT_EQ(SettingsFilePath(), program + "/torvex4.ini");
}
#endif

TEST_F(SettingsFile, TheProgramsFolderKeepsItsCase) {
    const std::string dirOfProgram = ProgramDirFromExecutable();
    ASSERT_FALSE(dirOfProgram.empty());
    EXPECT_TRUE(paths::IsSeparator(dirOfProgram.back()));
    EXPECT_TRUE(
        fileio::FileExists(dirOfProgram + paths::ExtractFileName(fileio::ProgramFilePath())));
    kestrum::ProgramDir.clear(); // then the program's own folder is taken
#ifdef _WIN32
    EXPECT_EQ(SettingsFilePath(), dirOfProgram + "torvex4.ini");
#else
    EXPECT_EQ(SettingsFilePath(), fileio::FileExists(dirOfProgram + "torvex4.ini")
                                      ? dirOfProgram + "torvex4.ini"
                                      : UserFile());
#endif
}

TEST_F(SettingsFile, LoadsTheConfigAndTheDescriptionsDesc1ToDesc139) {
    std::string text = "[CONFIG]\r\ngp4EXE=/g/gp4.exe\r\nLASTDIR=/t/\r\n[Descriptions]\r\n";
    text += "desc0=zero\r\ndesc140=beyond\r\ndesc01=leading zero\r\n";
    for (int k = 1; k <= 139; ++k)
        text += "desc" + std::to_string(k) + "=text " + std::to_string(k) + "\r\n";
    std::filesystem::create_directories(paths::ExtractFilePath(UserFile()));
    WriteText(UserFile(), text);
    LoadSettings();
    EXPECT_EQ(kestrum::Gp4ExePath, "/g/gp4.exe");
    EXPECT_EQ(kestrum::LastDir, "/t/");
    EXPECT_EQ(kestrum::DescriptionTable[1], "text 1");
    EXPECT_EQ(kestrum::DescriptionTable[139], "text 139");
    for (int k = 1; k <= 139; ++k)
        ASSERT_EQ(kestrum::DescriptionTable[k], "text " + std::to_string(k));
}

TEST_F(SettingsFile, DescriptionsAreCutTo255Characters) {
    const std::string exact(255, 'e');
    const std::string longer = std::string(255, 'l') + "X";
    std::string accented; // 256 two-byte characters
    for (int i = 0; i < 256; ++i)
        accented += "\xC3\xA9";
    std::filesystem::create_directories(paths::ExtractFilePath(UserFile()));
    WriteText(UserFile(), "[descriptions]\ndesc1=" + exact + "\ndesc2=" + longer +
                              "\ndesc3=" + accented + "\n");
    LoadSettings();
    EXPECT_EQ(kestrum::DescriptionTable[1], exact);
    EXPECT_EQ(kestrum::DescriptionTable[2], std::string(255, 'l'));
    EXPECT_EQ(kestrum::DescriptionTable[3], accented.substr(0, 510));
    EXPECT_EQ(kestrum::DescriptionTable[4], "");
    EXPECT_EQ(kestrum::Gp4ExePath, "");
}

TEST_F(SettingsFile, WithoutAFileEverythingIsEmpty) {
    LoadSettings();
    EXPECT_EQ(kestrum::Gp4ExePath, "");
    EXPECT_EQ(kestrum::LastDir, "");
    for (int k = 1; k <= 139; ++k)
        ASSERT_EQ(kestrum::DescriptionTable[k], "");
    EXPECT_FALSE(fileio::FileExists(UserFile()));
}

TEST_F(SettingsFile, AFirstSaveCreatesTheFolderAndOnlyTheConfigSection) {
    kestrum::Gp4ExePath = "";
    kestrum::LastDir = "/home/me/Tracks/";
    SaveSettings();
    EXPECT_EQ(ReadText(UserFile()),
              "[config]" + kEol + "GP4exe=" + kEol + "lastdir=/home/me/Tracks/" + kEol);
    kestrum::Gp4ExePath = "/g/GP4.EXE";
    kestrum::LastDir = "/x/";
    SaveSettings();
    ResetState();
    LoadSettings();
    EXPECT_EQ(kestrum::Gp4ExePath, "/g/GP4.EXE");
    EXPECT_EQ(kestrum::LastDir, "/x/");
}

TEST_F(SettingsFile, ASaveChangesOnlyTheTwoConfigValues) {
    // A portable install: the file beside the program.
    const std::string path = program + "/torvex4.ini";
    WriteText(path, kHandWritten);
    LoadSettings();
    EXPECT_EQ(kestrum::DescriptionTable[2], "second; with a semicolon");
    kestrum::Gp4ExePath = "/g/gp4.exe";
    SaveSettings();
    EXPECT_EQ(ReadText(path),
              Replace(kHandWritten, "gp4EXE = C:\\Old\\gp4.exe\r\n", "gp4EXE = /g/gp4.exe\r\n"));
#ifndef _WIN32
    EXPECT_FALSE(fileio::FileExists(UserFile()));
#endif
}

TEST_F(SettingsFile, ASaveThatCannotWriteIsUnableToWriteToThePath) {
#ifdef _WIN32
    const std::string blocker = UserFile() + "/inside"; // a folder where the file would be
    std::filesystem::create_directories(blocker);
#else
    const std::string blocker = xdg; // a file where the folder would be
    WriteText(blocker, "in the way");
#endif
    kestrum::Gp4ExePath = "/g/gp4.exe";
    try {
        SaveSettings();
        ADD_FAILURE() << "no error";
    } catch (const IoError& e) {
        ADD_FAILURE() << "an IoError: " << e.what();
    } catch (const Error& e) {
        EXPECT_EQ(std::string(e.what()), "Unable to write to " + UserFile());
    }
#ifdef _WIN32
    EXPECT_TRUE(fileio::DirectoryExists(blocker));
#else
    EXPECT_EQ(ReadText(blocker), "in the way");
#endif
}

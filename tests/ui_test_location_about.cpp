// The location dialog's check of the file its field names, and the About box.
#include "ui_test_harness.h"

#include "FileNameEdit.h"
#include "Gp4Exe.h"
#include "Messages.h"

#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

#include <filesystem>

namespace fs = std::filesystem;

namespace {

const QString kWrongSize = QStringLiteral("This file doesn't appear to be the right one.\n\n"
                                          "Torvex only works with the decrypted GP4.EXE\n"
                                          "(6275072 bytes).");

class LocationDialog : public WindowTest {
  protected:
    void SetUp() override {
        WriteSettings(dir / "nowhere/GP4.EXE", "");
        Start();
        ASSERT_TRUE(ui.boxes.empty());
    }
    QLineEdit* Field() { return Location().FEGP4EXE->Edit(); }
};

TEST_F(LocationDialog, TypingAPathTellsOfEachExistingFileOfTheWrongSizeItPasses) {
    fs::create_directory(dir / "g");
    const std::string exe = dir / "g/GP4.EXE";
    WriteSyntheticExe(exe, kGp4ExeSize);
    MakeFile("g/GP4", "short"); // passed on the way to GP4.EXE
    MakeFile("g/GP4.E", "");
    Location().show();
    Field()->setFocus();
    int expected = 0;
    std::string typed;
    for (char c : exe) {
        typed += c;
        QTest::keyClick(Field(), c);
        if (fs::is_regular_file(typed) && fs::file_size(typed) != kGp4ExeSize)
            ++expected;
        ASSERT_EQ(static_cast<int>(ui.boxes.size()), expected) << typed;
    }
    EXPECT_EQ(expected, 2);
    for (const ShownBox& box : ui.boxes) {
        EXPECT_EQ(box.text, kWrongSize);
        EXPECT_EQ(box.title, QStringLiteral("Information"));
        EXPECT_EQ(box.icon, QMessageBox::Information);
    }
    // A folder's path shows nothing.
    Field()->setText(ToQt(dir / "g"));
    EXPECT_EQ(static_cast<int>(ui.boxes.size()), expected);
}

TEST_F(LocationDialog, TheCheckOnlyReadsTheFileAndLeavesItsPermissionsAlone) {
    const std::string exe = MakeFile("GP4.EXE", "too short");
    fs::permissions(exe, fs::perms::owner_read | fs::perms::group_read);
    const fs::perms before = fs::status(exe).permissions();
    Field()->setText(ToQt(exe));
    EXPECT_EQ(ui.BoxTexts(), std::vector<QString>{kWrongSize});
    EXPECT_TRUE(ui.boxes.empty() || ui.boxes[0].icon == QMessageBox::Information);
    EXPECT_EQ(fs::status(exe).permissions(), before);
    EXPECT_EQ(ReadText(exe), "too short");
}

TEST_F(LocationDialog, AFileOfTheSupportedSizeShowsNothingAndOkAcceptsAnyName) {
    const std::string exe = dir / "GP4.EXE";
    WriteSyntheticExe(exe, kGp4ExeSize);
    Field()->setText(ToQt(exe));
    EXPECT_TRUE(ui.boxes.empty());
    // The dialog closes with OK whatever the field holds, and with Cancel by its close box.
    Location().show();
    Location().BOK->click();
    EXPECT_EQ(Location().result(), QDialog::Accepted);
    Location().show();
    Location().close();
    EXPECT_EQ(Location().result(), QDialog::Rejected);
    EXPECT_EQ(FromQt(Location().FEGP4EXE->FileName()), exe);
}

TEST_F(LocationDialog, TheBrowseButtonOffersGp4ExeFirstAndAnyFile) {
    QStringList filters;
    ui.answers.push_back([&](QDialog& d) {
        filters = qobject_cast<QFileDialog*>(&d)->nameFilters();
        ChooseFile(dir / "GP4.EXE")(d);
    });
    Location().FEGP4EXE->BrowseButton()->click();
    ASSERT_EQ(filters.size(), 2);
    EXPECT_EQ(filters[0], QStringLiteral("GP4.EXE (GP4.EXE)"));
    EXPECT_TRUE(filters[1].startsWith(QStringLiteral("All files")));
    EXPECT_EQ(FromQt(Location().FEGP4EXE->FileName()), dir / "GP4.EXE");
}

TEST_F(WindowTest, TheAboutBoxShowsTheVersionAndCreditsThatCannotBeEdited) {
    Start();
    TFAbout& about = windows->FAbout;
    EXPECT_EQ(about.windowTitle(), QStringLiteral("About"));
    EXPECT_EQ(about.LProgramVersion->text(), QStringLiteral("Torvex - 4 version 1.02"));
    const QStringList lines = about.MCredits->toPlainText().split(QLatin1Char('\n'));
    ASSERT_GE(lines.size(), 3);
    EXPECT_EQ(lines[0], QStringLiteral("Thanks to : "));
    EXPECT_TRUE(lines[1].isEmpty());
    EXPECT_FALSE(about.PAbout->isEnabled());
    EXPECT_FALSE(about.MCredits->isEnabled());
    about.show();
    EXPECT_TRUE(about.BOK->hasFocus() || !about.isActiveWindow());
    about.BOK->click();
    EXPECT_EQ(about.result(), QDialog::Accepted);
}

} // namespace

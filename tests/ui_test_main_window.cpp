// The main window, driven through its real widgets: the enabling rules of the
// two file fields, the drop rule, F12, the first showing and the location
// command, the settings kept between runs, and whole commands.
#include "ui_test_harness.h"

#include "FileDropTarget.h"
#include "FileNameEdit.h"
#include "Gp4Exe.h"
#include "KestrumVar.h"
#include "Messages.h"
#include "PathRules.h"
#include "Settings.h"
#include "TrackFile.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDropEvent>
#include <QFileDialog>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QUrl>

#include <filesystem>

namespace fs = std::filesystem;

namespace {

// The main window after a start with a configured GP4.EXE that does not exist:
// no box, no dialog at the first showing.
class MainWindow : public WindowTest {
  protected:
    void SetUp() override {
        WriteSettings(dir / "nowhere/GP4.EXE", "");
        Start();
    }
    QLineEdit* TrackEdit() { return Main().FETrackFile->Edit(); }
    QLineEdit* MagicEdit() { return Main().FEMagicFile->Edit(); }
    bool InsertEnabled() { return Main().BInsert->isEnabled(); }
    bool EditEnabled() { return Main().BEditGP4info->isEnabled(); }
    bool GetMagicEnabled() { return Main().Savemagicdatafromtrackfile1->isEnabled(); }

    void Drop(QWidget* onto, const std::vector<std::string>& names,
              Qt::DropActions actions = Qt::CopyAction | Qt::MoveAction) {
        QMimeData data;
        QList<QUrl> urls;
        for (const std::string& name : names)
            urls << QUrl::fromLocalFile(ToQt(name));
        data.setUrls(urls);
        // As the desktop does it: the drop reaches the control that took the drag's entry.
        QDragEnterEvent enter(QPoint(5, 5), actions, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(onto, &enter);
        if (!enter.isAccepted())
            return;
        QDropEvent drop(QPointF(5, 5), actions, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(onto, &drop);
    }
};

} // namespace

TEST_F(MainWindow, TypingATrackPathLetterByLetterFollowsTheFilesItNames) {
    fs::create_directory(dir / "d");
    const std::string target = MakeFile("d/t.dat");
    MakeFile("d/t.d"); // a name the typing passes through
    const std::string magic = MakeFile("m.md3");
    MagicEdit()->setText(ToQt(magic));
    kestrum::LastDir = "unchanged/";

    TrackEdit()->setFocus();
    std::string typed;
    std::string lastDir = kestrum::LastDir;
    for (char c : target) {
        QTest::keyClick(TrackEdit(), c);
        typed += c;
        ASSERT_EQ(FromQt(TrackEdit()->text()), typed);
        const bool exists = fs::is_regular_file(typed);
        EXPECT_EQ(kestrum::TrackFileValid, exists) << typed;
        EXPECT_EQ(InsertEnabled(), exists) << typed;
        EXPECT_EQ(EditEnabled(), exists) << typed;
        EXPECT_EQ(GetMagicEnabled(), exists) << typed;
        if (exists)
            lastDir = dir / "d/";
        EXPECT_EQ(kestrum::LastDir, lastDir) << typed;
    }
    EXPECT_TRUE(kestrum::TrackFileValid);

    // The folder itself does not count, even when the text names it.
    TrackEdit()->setText(ToQt(dir / "d"));
    EXPECT_FALSE(kestrum::TrackFileValid);
    EXPECT_FALSE(InsertEnabled());
}

TEST_F(MainWindow, F12EmptiesBothFieldsWhicheverControlHasTheFocus) {
    const std::string track = MakeFile("t.dat");
    const std::string magic = MakeFile("m.md3");
    Main().CBBackup->setChecked(true);
    Main().SetStatusText("Done.");
    for (QWidget* focus : std::vector<QWidget*>{TrackEdit(), Main().CBBackup, Main().BInsert}) {
        TrackEdit()->setText(ToQt(track));
        MagicEdit()->setText(ToQt(magic));
        ASSERT_TRUE(InsertEnabled());
        const std::string lastDir = kestrum::LastDir;
        QTest::keyClick(focus, Qt::Key_F12, Qt::ShiftModifier | Qt::ControlModifier);
        EXPECT_TRUE(TrackEdit()->text().isEmpty()) << focus->objectName().toStdString();
        EXPECT_TRUE(MagicEdit()->text().isEmpty());
        EXPECT_FALSE(kestrum::TrackFileValid);
        EXPECT_FALSE(kestrum::MagicFileValid);
        EXPECT_FALSE(InsertEnabled());
        EXPECT_FALSE(EditEnabled());
        EXPECT_FALSE(GetMagicEnabled());
        EXPECT_EQ(kestrum::LastDir, lastDir);
        EXPECT_TRUE(Main().CBBackup->isChecked());
        EXPECT_EQ(Main().StatusText(), QStringLiteral("Done."));
    }
    // Other keys do nothing to the fields.
    TrackEdit()->setText(QStringLiteral("abc"));
    QTest::keyClick(Main().CBBackup, Qt::Key_F11);
    EXPECT_EQ(TrackEdit()->text(), QStringLiteral("abc"));
}

TEST_F(MainWindow, ChoosingInTheOpenDialogRunsTheDialogRuleThenTakesTheName) {
    fs::create_directory(dir / "tracks");
    const std::string track = MakeFile("tracks/Monza.dat");
    const std::string magic = MakeFile("m.md3");
    MagicEdit()->setText(ToQt(magic));
    QString openedIn;
    ui.answers.push_back([&](QDialog& d) {
        openedIn = qobject_cast<QFileDialog*>(&d)->directory().absolutePath();
        ChooseFile(track)(d);
    });
    Main().FETrackFile->BrowseButton()->click();
    EXPECT_EQ(FromQt(Main().FETrackFile->FileName()), track);
    EXPECT_TRUE(kestrum::TrackFileValid);
    EXPECT_TRUE(InsertEnabled());
    EXPECT_TRUE(EditEnabled());
    EXPECT_EQ(kestrum::LastDir, dir / "tracks/");
    EXPECT_EQ(Main().FETrackFile->InitialDir(), ToQt(dir / "tracks/"));
    // No configured last folder: the dialog started in the program's folder.
    EXPECT_EQ(QDir(openedIn), QDir(ToQt(kestrum::ProgramDir)));

    // Opened again, it starts in the folder of the name in the field; a cancel reports the
    // field's own name and changes nothing.
    ui.answers.push_back([&](QDialog& d) {
        openedIn = qobject_cast<QFileDialog*>(&d)->directory().absolutePath();
        d.close();
    });
    QString reported;
    QObject::connect(Main().FETrackFile, &FileNameEdit::AfterDialog,
                     [&](const QString& name) { reported = name; });
    Main().FETrackFile->BrowseButton()->click();
    EXPECT_EQ(QDir(openedIn), QDir(ToQt(dir / "tracks")));
    EXPECT_EQ(FromQt(reported), track);
    EXPECT_TRUE(InsertEnabled());
}

TEST_F(MainWindow, ChoosingANameThatDoesNotExistDisablesInsertion) {
    const std::string track = MakeFile("t.dat");
    MagicEdit()->setText(ToQt(MakeFile("m.md3")));
    TrackEdit()->setText(ToQt(track));
    ASSERT_TRUE(InsertEnabled());
    ui.answers.push_back(ChooseFile(dir / "new.dat"));
    Main().FETrackFile->BrowseButton()->click();
    EXPECT_EQ(FromQt(Main().FETrackFile->FileName()), dir / "new.dat");
    EXPECT_FALSE(kestrum::TrackFileValid);
    EXPECT_FALSE(InsertEnabled());
    EXPECT_FALSE(EditEnabled());
}

struct DropCase {
    const char* name;
    std::vector<std::string> dropped;
    std::string track; // what the track field holds afterwards ("" empty)
    std::string magic;
};

class DropRule : public MainWindow, public ::testing::WithParamInterface<DropCase> {};

TEST_P(DropRule, FillsEachFieldFromTheFirstFileOfItsKind) {
    fs::create_directory(dir / "old.dat");
    std::vector<std::string> dropped;
    for (const std::string& name : GetParam().dropped)
        dropped.push_back(name == "old.dat" ? dir / name : MakeFile(name));
    // Dropped on a control, the fields included: the window takes it.
    Drop(MagicEdit(), dropped);
    auto expected = [&](const std::string& name) { return name.empty() ? name : dir / name; };
    EXPECT_EQ(FromQt(TrackEdit()->text()), expected(GetParam().track));
    EXPECT_EQ(FromQt(MagicEdit()->text()), expected(GetParam().magic));
    EXPECT_EQ(kestrum::TrackFileValid, !GetParam().track.empty() && GetParam().track != "old.dat");
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DropRule,
    ::testing::Values(DropCase{"TwoTracksAndAnMd2", {"a.dat", "b.dat", "c.md2"}, "a.dat", "c.md2"},
                      DropCase{"OnlyAnMd3", {"m.md3"}, "", "m.md3"},
                      DropCase{"MagicFirstUpperCase", {"M.MD", "X.Dat"}, "X.Dat", "M.MD"},
                      DropCase{"FirstMagicWins", {"p.md3", "q.md2", "t.dat"}, "t.dat", "p.md3"},
                      DropCase{"OtherExtensions", {"x.dat2", "x", "y.md4", "z.bak"}, "", ""},
                      DropCase{"AFolderNamedOldDat", {"old.dat"}, "old.dat", ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(MainWindow, TheDropTargetTakesLocalFilesAsACopyOnly) {
    const std::string track = MakeFile("t.dat");
    QMimeData files;
    files.setUrls({QUrl::fromLocalFile(ToQt(track))});
    QDragEnterEvent moveOnly(QPoint(5, 5), Qt::MoveAction, &files, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(Main().BInsert, &moveOnly);
    EXPECT_FALSE(moveOnly.isAccepted());
    QDragEnterEvent copy(QPoint(5, 5), Qt::CopyAction | Qt::MoveAction, &files, Qt::LeftButton,
                         Qt::NoModifier);
    QApplication::sendEvent(Main().BInsert, &copy);
    EXPECT_TRUE(copy.isAccepted());
    EXPECT_EQ(copy.dropAction(), Qt::CopyAction);

    Drop(Main().CBBackup, {track}, Qt::MoveAction);
    EXPECT_TRUE(TrackEdit()->text().isEmpty());
    // Remote files are not files of this machine.
    QMimeData remote;
    remote.setUrls({QUrl(QStringLiteral("https://example.org/t.dat"))});
    EXPECT_TRUE(FileDropTarget::LocalFiles(remote).empty());
    Drop(Main().CBBackup, {track});
    EXPECT_EQ(FromQt(TrackEdit()->text()), track);
    EXPECT_TRUE(fs::is_regular_file(track));
}

TEST_F(MainWindow, InsertingWithTheBackupBoxTickedRewritesTheTrackAndKeepsTheOriginal) {
    const fileio::Bytes original = MakeTrack(0, 10, fileio::Bytes(40, 0x11));
    const std::string track = dir / "t.dat";
    WriteBytes(track, original);
    const std::string magic = MakeFile("m.md3", MakeMagicText({1, 2, 3}, {"10,20"}));
    Drop(Main().BInsert, {track, magic});
    ASSERT_TRUE(InsertEnabled());
    Main().CBBackup->click();
    ASSERT_TRUE(Main().CBBackup->isChecked());

    QTest::mouseClick(Main().BInsert, Qt::LeftButton);

    EXPECT_TRUE(ui.boxes.empty()) << ui.boxes.front().text.toStdString();
    EXPECT_EQ(ReadBytes(dir / "t.bak"), original);
    const fileio::Bytes now = ReadBytes(track);
    EXPECT_NE(now, original);
    EXPECT_TRUE(ChecksumIsRight(now));
    EXPECT_EQ(Main().StatusText(), ToQt(msg::kDone));
    ASSERT_FALSE(ui.busyCursorShown.empty());
    EXPECT_TRUE(ui.busyCursorShown.front());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(MainWindow, TheStatusLineSaysDoneOnlyAfterARecordWasInserted) {
    const std::string track = dir / "t.dat";
    WriteBytes(track, MakeTrack(0, 10, fileio::Bytes(40, 0x11)));
    const std::string good = MakeFile("good.md3", MakeMagicText({1}, {}));
    const std::string bad = MakeFile("bad.md3", "not a magic file\r\n");
    TrackEdit()->setText(ToQt(track));
    MagicEdit()->setText(ToQt(good));
    Main().BInsert->click();
    ASSERT_EQ(Main().StatusText(), ToQt(msg::kDone));

    const fileio::Bytes before = ReadBytes(track);
    MagicEdit()->setText(ToQt(bad));
    Main().BInsert->click();
    EXPECT_EQ(ui.BoxTexts(), std::vector<QString>{Shown(msg::kNotMagicFile)});
    EXPECT_TRUE(Main().StatusText().isEmpty());
    EXPECT_EQ(ReadBytes(track), before);
}

TEST_F(MainWindow, GettingTheMagicDataAsksForTheOutputFileWithTheSaveDialog) {
    const fileio::Bytes record = MakeTaggedRecord(7, {{5, 6}});
    const fileio::Bytes body = Joined({fileio::Bytes(10, 0), record});
    const std::string track = dir / "t.dat";
    WriteBytes(track, MakeTrack(10, static_cast<std::uint32_t>(10 + record.size()), body));
    TrackEdit()->setText(ToQt(track));
    ASSERT_TRUE(GetMagicEnabled());

    QString title;
    ui.answers.push_back([&](QDialog& d) {
        title = d.windowTitle();
        ChooseFile(dir / "out")(d); // typed without an extension
    });
    Main().Savemagicdatafromtrackfile1->trigger();
    EXPECT_EQ(ui.dialogs, std::vector<QString>{QStringLiteral("SDMagic")});
    EXPECT_EQ(title, ToQt(msg::kSaveMagicTitle));
    ASSERT_TRUE(fs::is_regular_file(dir / "out.md")) << "the default extension is added";
    EXPECT_EQ(ReadText(dir / "out.md").rfind("[GP4 magic file]", 0), 0u);
}

TEST_F(MainWindow, TheSaveDialogAsksBeforeItReplacesAnExistingFile) {
    const std::string existing = MakeFile("t.dat", "keep me");
    QFileDialog& save = *Main().SDMagic;
    ConfigureSaveDialog(save, ToQt(msg::kSaveMagicTitle), ToQt(msg::kSaveMagicFilter),
                        ToQt(msg::kSaveMagicDefaultExt));
    for (QMessageBox::StandardButton answer : {QMessageBox::No, QMessageBox::Yes}) {
        save.setResult(QDialog::Rejected);
        save.show();
        save.selectFile(ToQt(existing));
        QString asked;
        // The question is a modal box of its own: answer it from the event loop it runs.
        QTimer::singleShot(0, [&] {
            auto* question = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (question == nullptr)
                return;
            asked = question->text();
            question->button(answer)->click();
        });
        static_cast<QDialog&>(save).accept();
        EXPECT_FALSE(asked.isEmpty()) << "no question before replacing the file";
        EXPECT_EQ(save.result() == QDialog::Accepted, answer == QMessageBox::Yes);
        save.hide();
    }
    EXPECT_EQ(ReadText(existing), "keep me");
}

TEST_F(MainWindow, CreatingAMagicFileFromGp4ExeWritesTheTrackAskedFor) {
    const std::string exe = dir / "GP4.EXE";
    WriteSyntheticExe(exe, kGp4ExeSize);
    ui.answers.push_back(LocationAnswer(exe, true));
    Main().SetGP4EXElocation1->trigger();
    ASSERT_TRUE(Main().CreateMagicFilefromGP4EXE1->isEnabled());

    ui.answers.push_back(AnswerText(QStringLiteral("7")));
    Main().CreateMagicFilefromGP4EXE1->trigger();
    EXPECT_TRUE(fs::is_regular_file(dir / "magic4_07.md3"));
    // A cancelled question gives "1".
    ui.answers.push_back(CancelDialog());
    Main().CreateMagicFilefromGP4EXE1->trigger();
    EXPECT_TRUE(fs::is_regular_file(dir / "magic4_01.md3"));
    EXPECT_TRUE(ui.boxes.empty());
}

TEST_F(MainWindow, EditGp4InfoAndAboutShowTheirDialogsModally) {
    TrackEdit()->setText(ToQt(MakeFile("t.dat", "abcdefgh")));
    Main().BEditGP4info->click();
    Main().About1->trigger();
    EXPECT_EQ(ui.dialogs,
              (std::vector<QString>{QStringLiteral("FEditGP4info"), QStringLiteral("FAbout")}));
    EXPECT_FALSE(Editor().isVisible());
}

// The first showing and the location command.
class FirstShowing : public WindowTest {};

TEST_F(FirstShowing, WithoutSettingsAsksForTheLocationAndWarnsWhenNoneIsGiven) {
    Start();
    EXPECT_EQ(ui.dialogs, std::vector<QString>{QStringLiteral("FGP4Location")});
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_EQ(ui.boxes[0].text, Shown(msg::kGp4ExeNotSet));
    EXPECT_EQ(ui.boxes[0].title, QStringLiteral("Warning"));
    EXPECT_EQ(ui.boxes[0].icon, QMessageBox::Warning);
    EXPECT_FALSE(Main().CreateMagicFilefromGP4EXE1->isEnabled());
    EXPECT_TRUE(kestrum::Gp4ExePath.empty());
    EXPECT_EQ(Main().FETrackFile->InitialDir(), ToQt(kestrum::ProgramDir));
    EXPECT_EQ(Main().FEMagicFile->InitialDir(), ToQt(kestrum::ProgramDir));
    EXPECT_EQ(kestrum::ProgramDir, ProgramDirFromExecutable());
}

TEST_F(FirstShowing, TakesTheLocationEvenWhenTheDialogIsClosedByItsCloseBox) {
    const std::string exe = dir / "GP4.EXE";
    WriteSyntheticExe(exe, kGp4ExeSize);
    ui.answers.push_back(LocationAnswer(exe, false));
    Start();
    EXPECT_EQ(kestrum::Gp4ExePath, exe);
    EXPECT_TRUE(ui.boxes.empty());
    EXPECT_TRUE(Main().CreateMagicFilefromGP4EXE1->isEnabled());
    EXPECT_NE(kestrum::TrackTable[1].offset, 0);
}

TEST_F(FirstShowing, AConfiguredFileOfTheWrongSizeGetsTheInformationBoxAndNoTable) {
    const std::string exe = dir / "GP4.EXE";
    WriteSyntheticExe(exe, kGp4ExeSize + 1);
    WriteSettings(exe, "");
    Start();
    EXPECT_TRUE(ui.dialogs.empty());
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_EQ(ui.boxes[0].title, QStringLiteral("Information"));
    EXPECT_EQ(ui.boxes[0].icon, QMessageBox::Information);
    EXPECT_EQ(ui.boxes[0].text, QStringLiteral("This file doesn't appear to be the right one.\n\n"
                                               "Torvex only works with the decrypted GP4.EXE\n"
                                               "(6275072 bytes)."));
    EXPECT_FALSE(Main().CreateMagicFilefromGP4EXE1->isEnabled());
    EXPECT_EQ(kestrum::Gp4ExePath, exe);
    EXPECT_EQ(FromQt(Location().FEGP4EXE->FileName()), exe);
}

TEST_F(FirstShowing, AnErrorReadingTheTableIsReportedAndTheWindowStillOpens) {
    const std::string exe = dir / "GP4.EXE";
    WriteSyntheticExe(exe, kGp4ExeSize);
    {
        // Record 17 starts so near the end that no terminator follows its fixed part.
        fileio::Bytes bytes = ReadBytes(exe);
        fileio::StoreU32(&bytes[kGp4ExeTableOffset + 4 * 16],
                         static_cast<std::uint32_t>(kGp4ExeSize - 300 + kGp4ExeImageBase));
        WriteBytes(exe, bytes);
    }
    WriteSettings(exe, "");
    Start();
    EXPECT_TRUE(Main().isVisible());
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_EQ(ui.boxes[0].title, QStringLiteral("Torvex-4"));
    EXPECT_EQ(ui.boxes[0].text, QStringLiteral("Read beyond end of file."));
    EXPECT_FALSE(Main().CreateMagicFilefromGP4EXE1->isEnabled());
    EXPECT_EQ(kestrum::Gp4ExePath, exe);
}

TEST_F(FirstShowing, AConfiguredFileThatIsGoneShowsNothingAndIsSavedAgain) {
    const std::string exe = dir / "gone/GP4.EXE";
    WriteSettings(exe, "");
    Start();
    EXPECT_TRUE(ui.dialogs.empty());
    EXPECT_TRUE(ui.boxes.empty());
    EXPECT_FALSE(Main().CreateMagicFilefromGP4EXE1->isEnabled());
    Main().Exit1->trigger();
    EXPECT_NE(SettingsText().find("GP4exe=" + exe + "\r\n"), std::string::npos) << SettingsText();
}

TEST_F(FirstShowing, TheLocationCommandTakesTheFieldOnlyWithOk) {
    const std::string good = dir / "GP4.EXE";
    WriteSyntheticExe(good, kGp4ExeSize);
    const std::string wrong = dir / "other.exe";
    WriteSyntheticExe(wrong, kGp4ExeSize - 1);
    Start(); // no location: warned
    ASSERT_FALSE(Main().CreateMagicFilefromGP4EXE1->isEnabled());
    ui.boxes.clear();

    // OK on a correct GP4.EXE: the table is read.
    ui.answers.push_back(LocationAnswer(good, true));
    Main().SetGP4EXElocation1->trigger();
    EXPECT_EQ(kestrum::Gp4ExePath, good);
    EXPECT_TRUE(Main().CreateMagicFilefromGP4EXE1->isEnabled());
    const TrackTableArray table = kestrum::TrackTable;

    // The close box after a change: the location stays, the table is read again from it.
    ui.answers.push_back(LocationAnswer(wrong, false));
    Main().SetGP4EXElocation1->trigger();
    EXPECT_EQ(kestrum::Gp4ExePath, good);
    EXPECT_TRUE(Main().CreateMagicFilefromGP4EXE1->isEnabled());
    EXPECT_EQ(ui.boxes.size(), 1u) << "the wrong size was told when it was typed";

    // Reopened, the field shows what it last held; OK on the wrong size takes it, the table
    // keeps its contents, and the command is disabled.
    QString shownText;
    ui.answers.push_back([&](QDialog& d) {
        shownText = qobject_cast<TFGP4Location*>(&d)->FEGP4EXE->FileName();
        qobject_cast<TFGP4Location*>(&d)->BOK->click();
    });
    Main().SetGP4EXElocation1->trigger();
    EXPECT_EQ(FromQt(shownText), wrong);
    EXPECT_EQ(kestrum::Gp4ExePath, wrong);
    EXPECT_FALSE(Main().CreateMagicFilefromGP4EXE1->isEnabled());
    EXPECT_EQ(kestrum::TrackTable[17].length, table[17].length);
    EXPECT_EQ(kestrum::TrackTable[1].offset, table[1].offset);

    // OK on a name that does not exist empties the location; no warning from the menu.
    ui.boxes.clear();
    ui.answers.push_back(LocationAnswer(dir / "missing.exe", true));
    Main().SetGP4EXElocation1->trigger();
    EXPECT_TRUE(kestrum::Gp4ExePath.empty());
    EXPECT_TRUE(ui.boxes.empty());
}

// Settings kept between runs.
TEST_F(WindowTest, TheLastFolderAndTheLocationAreSavedAtClosingAndUsedAtTheNextStart) {
    WriteSettings(dir / "GP4.EXE", "");
    Start();
    fs::create_directory(dir / "Tracks");
    const std::string track = MakeFile("Tracks/Spa.dat");
    Main().FETrackFile->Edit()->setText(ToQt(track));
    EXPECT_EQ(kestrum::LastDir, dir / "Tracks/");
    Main().close();
    const std::string saved = SettingsText();
    EXPECT_NE(saved.find("lastdir=" + dir / "Tracks/"), std::string::npos) << saved;
    EXPECT_NE(saved.find("GP4exe=" + dir / "GP4.EXE"), std::string::npos) << saved;

    windows.reset();
    Start();
    EXPECT_EQ(Main().FETrackFile->InitialDir(), ToQt(dir / "Tracks/"));
    EXPECT_EQ(Main().FEMagicFile->InitialDir(), ToQt(dir / "Tracks/"));
    // Lower-cased only where the file system ignores case.
    EXPECT_EQ(kestrum::LastDir, paths::FoldCaseForFileSystem(dir / "Tracks/"));
}

TEST_F(WindowTest, ASettingsFileThatCannotBeWrittenIsReportedAndTheWindowStillCloses) {
    WriteSettings(dir / "GP4.EXE", "");
    Start();
    // The settings file's place becomes unusable: its folder is now a plain file.
    const fs::path folder = fs::path(SettingsFilePath()).parent_path();
    fs::remove_all(folder);
    WriteText(folder.string(), "in the way");
    ui.boxes.clear();
    Main().close();
    EXPECT_FALSE(Main().isVisible());
    ASSERT_EQ(ui.boxes.size(), 1u);
    EXPECT_EQ(ui.boxes[0].title, QStringLiteral("Torvex-4"));
    EXPECT_EQ(ui.boxes[0].icon, QMessageBox::Critical);
    EXPECT_TRUE(ui.boxes[0].text.startsWith(QStringLiteral("Unable to write to ")));
    EXPECT_TRUE(ui.boxes[0].text.endsWith(QLatin1Char('.')));
}

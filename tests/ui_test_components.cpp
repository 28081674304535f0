// The stand-in components on their own (input box, message boxes, filters),
// and the look the windows must keep: client areas, captions that fit, tab
// order, frames.
#include "ui_test_harness.h"

#include "FileNameEdit.h"
#include "InputBox.h"
#include "IoError.h"
#include "MessageBoxes.h"
#include "Messages.h"
#include "StringGrid.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>

#include "DpiScale.h"

namespace {

TEST(InputBox, TakesAtMost255CharactersAndACancelGivesTheInitialText) {
    for (bool ok : {true, false}) {
        InputBox box(QStringLiteral("Caption"), QStringLiteral("Prompt : "), QStringLiteral("1"));
        EXPECT_EQ(box.windowTitle(), QStringLiteral("Caption"));
        box.show();
        box.Edit()->selectAll();
        QTest::keyClicks(box.Edit(), QString(300, QLatin1Char('x')));
        EXPECT_EQ(box.Edit()->text().size(), 255);
        (ok ? box.OkButton() : box.CancelButton())->click();
        EXPECT_EQ(box.Answer(), ok ? QString(255, QLatin1Char('x')) : QStringLiteral("1"));
    }
    InputBox closed(QStringLiteral("C"), QStringLiteral("P"), QStringLiteral("init"));
    closed.show();
    closed.Edit()->setText(QStringLiteral("typed"));
    closed.close();
    EXPECT_EQ(closed.Answer(), QStringLiteral("init"));
}

struct BoxCase {
    MessageType type;
    const char* title;
    QMessageBox::Icon icon;
};

class MessageBoxes : public ::testing::TestWithParam<BoxCase> {};

TEST_P(MessageBoxes, HaveTheCaptionAndIconOfTheirTypeAndOneOkButton) {
    auto box = MakeMessageBox(GetParam().type, "line one\r\n\r\nline three");
    EXPECT_EQ(box->windowTitle(), QString::fromUtf8(GetParam().title));
    EXPECT_EQ(box->icon(), GetParam().icon);
    EXPECT_EQ(box->text(), QStringLiteral("line one\n\nline three"));
    EXPECT_EQ(box->standardButtons(), QMessageBox::Ok);
    EXPECT_EQ(box->parentWidget(), nullptr) << "centred on the screen, not on a window";
}

INSTANTIATE_TEST_SUITE_P(
    Types, MessageBoxes,
    ::testing::Values(BoxCase{MessageType::Warning, "Warning", QMessageBox::Warning},
                      BoxCase{MessageType::Error, "Error", QMessageBox::Critical},
                      BoxCase{MessageType::Information, "Information", QMessageBox::Information},
                      BoxCase{MessageType::Plain, "Torvex-4", QMessageBox::NoIcon}));

TEST(ErrorBox, ShowsTheMessageWithAFinalDotUnderTheApplicationTitle) {
    auto box = MakeErrorBox(IoError(IoError::kAccessDenied));
    EXPECT_EQ(box->windowTitle(), QStringLiteral("Torvex-4"));
    EXPECT_EQ(box->icon(), QMessageBox::Critical);
    EXPECT_EQ(box->text(), QStringLiteral("File access denied."));
    EXPECT_EQ(MakeErrorBox(Error("Already ends."))->text(), QStringLiteral("Already ends."));
}

TEST(NameFilters, KeepTheirOrderAndListEveryFileForAllFiles) {
    const QStringList filters = QtNameFilters(QString::fromUtf8(msg::kTrackFilter));
    ASSERT_EQ(filters.size(), 2);
    EXPECT_EQ(filters[0], QStringLiteral("GP track files (*.dat)"));
#ifndef _WIN32
    EXPECT_EQ(filters[1], QStringLiteral("All files (*)"));
#endif
}

TEST(FileNameEdit, GivesTheNameWithoutSurroundingQuotesAndReportsEveryChange) {
    FileNameEdit field;
    int changes = 0;
    QObject::connect(&field, &FileNameEdit::Changed, [&] { ++changes; });
    field.SetFileName(QStringLiteral("\"/a b/c.dat\""));
    EXPECT_EQ(field.FileName(), QStringLiteral("/a b/c.dat"));
    QTest::keyClicks(field.Edit(), QStringLiteral("xy"));
    field.SetFileName(QString());
    EXPECT_EQ(changes, 4);
}

class WindowLook : public WindowTest {
  protected:
    void SetUp() override {
        WriteSettings(dir / "nowhere/GP4.EXE", "");
        Start();
    }
};

TEST_F(WindowLook, TheMainWindowKeepsItsClientAreaCaptionsAndTabOrder) {
    TFKestrum& w = Main();
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Torvex - 4"));
    EXPECT_EQ(w.centralWidget()->size(), QSize(Scaled(458), Scaled(124)));
    EXPECT_EQ(w.minimumSize(), w.maximumSize()) << "not resizable";
    EXPECT_FALSE(w.windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(w.windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_EQ(w.FETrackFile->geometry(), QRect(Scaled(96), Scaled(8), Scaled(357), Scaled(21)));
    EXPECT_EQ(w.BInsert->geometry(), QRect(Scaled(352), Scaled(76), Scaled(100), Scaled(21)));
    EXPECT_EQ(w.StatusBar->geometry(), QRect(0, Scaled(105), Scaled(458), Scaled(19)));
    for (QWidget* control : std::initializer_list<QWidget*>{w.LTrackFile, w.LMagicFile, w.BInsert,
                                                            w.CBBackup, w.BEditGP4info})
        EXPECT_TRUE(CaptionFits(control)) << control->objectName().toStdString();
    EXPECT_FALSE(w.BInsert->isDefault());
    EXPECT_FALSE(w.CBBackup->isChecked());
    EXPECT_TRUE(w.StatusText().isEmpty());

    // Tab order from the track field, which has the focus first.
    w.BInsert->setEnabled(true);
    w.BEditGP4info->setEnabled(true);
    w.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    EXPECT_EQ(QApplication::focusWidget(), w.FETrackFile->Edit());
    for (QWidget* next : std::initializer_list<QWidget*>{
             w.FEMagicFile->Edit(), w.BInsert, w.CBBackup, w.BEditGP4info, w.FETrackFile->Edit()}) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), next) << next->objectName().toStdString();
    }
    QStringList menus;
    for (QAction* action : w.menuBar()->actions())
        menus << action->text();
    EXPECT_EQ(menus, (QStringList{QStringLiteral("File"), QStringLiteral("Edit"),
                                  QStringLiteral("About")}));
}

TEST_F(WindowLook, TheDialogsKeepTheirClientAreasAndCaptions) {
    EXPECT_EQ(Editor().size(), QSize(Scaled(330), Scaled(219)));
    EXPECT_EQ(Editor().windowTitle(), QStringLiteral("Edit GP4info"));
    EXPECT_EQ(Editor().BSave->text(), QStringLiteral("Save "));
    EXPECT_EQ(Editor().SGGP4Info->columnWidth(0), Scaled(100));
    EXPECT_EQ(Editor().SGGP4Info->columnWidth(1), Scaled(186));
    EXPECT_EQ(Location().size(), QSize(Scaled(382), Scaled(75)));
    EXPECT_EQ(Location().windowTitle(), QStringLiteral("Set GP4 Location"));
    EXPECT_TRUE(Location().BOK->isDefault());
    EXPECT_EQ(windows->FAbout.size(), QSize(Scaled(284), Scaled(193)));
    for (QWidget* control : std::initializer_list<QWidget*>{
             Editor().BSave, Editor().BCancel, Editor().BAdd, Editor().BDelete,
             Location().LGP4EXELocation, Location().BOK, windows->FAbout.LProgramVersion})
        EXPECT_TRUE(CaptionFits(control)) << control->objectName().toStdString();
    for (QWidget* dialog :
         std::initializer_list<QWidget*>{&Editor(), &Location(), &windows->FAbout}) {
        EXPECT_FALSE(dialog->windowFlags() & Qt::WindowMaximizeButtonHint);
        EXPECT_FALSE(dialog->windowFlags() & Qt::WindowMinimizeButtonHint);
        EXPECT_EQ(dialog->minimumSize(), dialog->maximumSize());
    }
}

} // namespace

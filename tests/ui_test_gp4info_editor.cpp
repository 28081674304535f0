// The GP4info editor, driven through its grid and buttons: the states after
// each refill, Add, Delete, in-place edits, Save and Cancel, and the rows
// staying in step with the entries they show.
#include "ui_test_harness.h"

#include "FileNameEdit.h"
#include "KestrumVar.h"
#include "Messages.h"
#include "StringGrid.h"

#include <QCoreApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <cstdio>
#include <utility>

namespace {

using Entries = std::vector<std::pair<std::string, std::string>>;

// A track file whose last bytes before the checksum are a GP4info block.
fileio::Bytes TrackWithInfo(const Entries& entries) {
    fileio::Bytes body(24, 0x5A);
    body.push_back(0x00);
    std::string block = "#GP4INFO|";
    for (const auto& [name, value] : entries)
        block += name + "|" + value + "|";
    block += "#";
    body.insert(body.end(), block.begin(), block.end());
    return MakeTrack(0, 0, body);
}

std::vector<std::string> ListNow() {
    return kestrum::GP4InfoList.Items();
}

class Gp4InfoEditor : public WindowTest {
  protected:
    void SetUp() override {
        WriteSettings(dir / "nowhere/GP4.EXE", "");
        Start();
    }

    // Names the track file in the main window and opens the editor on it; actions run while it
    // is open, after what its showing did.
    void Open(const fileio::Bytes& track, std::function<void(TFEditGP4info&)> actions) {
        WriteBytes(trackPath, track);
        OpenAgain(std::move(actions));
    }
    void OpenAgain(std::function<void(TFEditGP4info&)> actions) {
        Main().FETrackFile->Edit()->setText(ToQt(trackPath));
        ASSERT_TRUE(Main().BEditGP4info->isEnabled());
        ui.answers.push_front([actions](QDialog& d) { actions(static_cast<TFEditGP4info&>(d)); });
        Main().BEditGP4info->click();
    }

    // Opens the in-place editor of a value cell.
    static QLineEdit* EditCell(TFEditGP4info& e, int row) {
        e.SGGP4Info->setCurrentCell(row, 1);
        e.SGGP4Info->editItem(e.SGGP4Info->item(row, 1));
        return qobject_cast<QLineEdit*>(e.SGGP4Info->ActiveEditor());
    }
    // The grid ends the edit from its event loop.
    static void PressReturn(QLineEdit* editor) {
        QTest::keyClick(editor, Qt::Key_Return);
        QCoreApplication::processEvents();
    }
    static void EmptyCell(QLineEdit* editor) {
        editor->selectAll();
        QTest::keyClick(editor, Qt::Key_Backspace);
    }

    std::string trackPath = dir / "t.dat";
};

struct StateCase {
    const char* name;
    Entries entries;
    bool hasBlock;
    int rows;
    bool editable;
    bool save;
    bool del;
};

class Gp4InfoStates : public Gp4InfoEditor, public ::testing::WithParamInterface<StateCase> {};

TEST_P(Gp4InfoStates, FollowTheNumberOfEntries) {
    const StateCase& c = GetParam();
    Open(c.hasBlock ? TrackWithInfo(c.entries) : MakeTrack(0, 0, fileio::Bytes(30, 1)),
         [&](TFEditGP4info& e) {
             EXPECT_EQ(e.SGGP4Info->rowCount(), c.rows);
             EXPECT_EQ(e.SGGP4Info->Editing(), c.editable);
             EXPECT_EQ(e.BSave->isEnabled(), c.save);
             EXPECT_EQ(e.BDelete->isEnabled(), c.del);
             EXPECT_TRUE(e.BAdd->isEnabled());
             for (int i = 0; i < static_cast<int>(c.entries.size()); ++i) {
                 EXPECT_EQ(FromQt(e.SGGP4Info->Cell(0, i)), c.entries[i].first);
                 EXPECT_EQ(FromQt(e.SGGP4Info->Cell(1, i)), c.entries[i].second);
             }
             if (c.entries.empty()) {
                 EXPECT_TRUE(e.SGGP4Info->Cell(0, 0).isEmpty());
                 EXPECT_TRUE(e.SGGP4Info->Cell(1, 0).isEmpty());
             }
         });
    if (c.hasBlock) {
        EXPECT_TRUE(ui.boxes.empty());
    } else {
        ASSERT_EQ(ui.boxes.size(), 1u);
        EXPECT_EQ(ui.boxes[0].text, Shown(msg::kNoGP4Info));
        EXPECT_EQ(ui.boxes[0].title, QStringLiteral("Torvex-4"));
        EXPECT_EQ(ui.boxes[0].icon, QMessageBox::NoIcon);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Gp4InfoStates,
    ::testing::Values(StateCase{"NoBlock", {}, false, 1, false, false, false},
                      StateCase{"EmptyBlock", {}, true, 1, false, false, false},
                      StateCase{"OneEntry", {{"Track", "Monza"}}, true, 1, true, true, false},
                      StateCase{"ThreeEntries",
                                {{"Track", "Monza"}, {"Author", "me"}, {"Laps", "53"}},
                                true,
                                3,
                                true,
                                true,
                                true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Gp4InfoEditor, ATrackWithoutABlockAfterOneWithEntriesShowsAnEmptyList) {
    Open(TrackWithInfo({{"a", "1"}, {"b", "2"}}),
         [](TFEditGP4info& e) { EXPECT_EQ(e.SGGP4Info->rowCount(), 2); });
    Open(MakeTrack(0, 0, fileio::Bytes(30, 1)), [](TFEditGP4info& e) {
        EXPECT_EQ(e.SGGP4Info->rowCount(), 1);
        EXPECT_TRUE(e.SGGP4Info->Cell(0, 0).isEmpty());
        EXPECT_FALSE(e.SGGP4Info->Editing());
        EXPECT_FALSE(e.BSave->isEnabled());
        EXPECT_FALSE(e.BDelete->isEnabled());
    });
    EXPECT_EQ(ui.BoxTexts(), std::vector<QString>{Shown(msg::kNoGP4Info)});
}

TEST_F(Gp4InfoEditor, AFreshlyAddedNameIsSavedWithAnEmptyValue) {
    const fileio::Bytes original = MakeTrack(0, 0, fileio::Bytes(30, 0));
    Open(original, [&](TFEditGP4info& e) {
        ui.answers.push_front(AnswerText(QStringLiteral("Sector")));
        e.BAdd->click();
        EXPECT_EQ(FromQt(e.SGGP4Info->Cell(0, 0)), "Sector");
        EXPECT_TRUE(e.SGGP4Info->Cell(1, 0).isEmpty());
        EXPECT_TRUE(e.BSave->isEnabled());
        EXPECT_FALSE(e.BDelete->isEnabled());
        e.BSave->click();
        EXPECT_FALSE(e.isVisible());
    });
    const std::string text = ReadText(trackPath);
    EXPECT_EQ(text.substr(original.size() - 4, 18), "#GP4INFO|Sector||#");
    ASSERT_FALSE(ui.busyCursorShown.empty());
    EXPECT_TRUE(ui.busyCursorShown.back());
}

struct AddCase {
    const char* name;
    std::optional<QString> typed; // nothing: Cancel
    std::vector<std::string> list;
    std::string message; // empty: none
};

class Gp4InfoAdd : public Gp4InfoEditor, public ::testing::WithParamInterface<AddCase> {};

TEST_P(Gp4InfoAdd, AddsOnlyANewStorableName) {
    const AddCase& c = GetParam();
    Open(TrackWithInfo({{"Ab", "1"}}), [&](TFEditGP4info& e) {
        ui.answers.push_front(c.typed ? AnswerText(*c.typed) : CancelDialog());
        e.BAdd->click();
        EXPECT_EQ(ListNow(), c.list);
        EXPECT_EQ(e.SGGP4Info->rowCount(), static_cast<int>(c.list.size()));
    });
    if (c.message.empty()) {
        EXPECT_TRUE(ui.boxes.empty());
    } else {
        EXPECT_EQ(ui.BoxTexts(), std::vector<QString>{ToQt(c.message)});
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Gp4InfoAdd,
    ::testing::Values(AddCase{"New", QStringLiteral("Laps"), {"Ab=1", "Laps="}, ""},
                      AddCase{"SameNameOtherCase",
                              QStringLiteral("AB"),
                              {"Ab=1"},
                              "Value 'AB' is already defined."},
                      AddCase{"BlanksOnly", QStringLiteral("  \t "), {"Ab=1"}, ""},
                      AddCase{"Cancelled", std::nullopt, {"Ab=1"}, ""},
                      AddCase{"LeadingBlankKept", QStringLiteral(" Ab"), {"Ab=1", " Ab="}, ""},
                      AddCase{"Bar", QStringLiteral("a|b"), {"Ab=1"}, msg::kUnstorableText},
                      AddCase{"Hash", QStringLiteral("#x"), {"Ab=1"}, msg::kUnstorableText}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Gp4InfoEditor, DeleteRemovesTheSelectedRowButNeverTheLastEntry) {
    Open(TrackWithInfo({{"a", "1"}, {"b", "2"}}), [](TFEditGP4info& e) {
        e.SGGP4Info->setCurrentCell(1, 1);
        e.BDelete->click();
        EXPECT_EQ(ListNow(), std::vector<std::string>{"a=1"});
        EXPECT_EQ(e.SGGP4Info->rowCount(), 1);
        EXPECT_FALSE(e.BDelete->isEnabled());
        e.BDeleteClick(); // even when asked directly
        EXPECT_EQ(ListNow(), std::vector<std::string>{"a=1"});
    });
}

TEST_F(Gp4InfoEditor, ATypedCharacterReplacesTheSelectedValueAtOnceAndIsSaved) {
    Open(TrackWithInfo({{"a", "1"}, {"b", "2"}}), [](TFEditGP4info& e) {
        e.SGGP4Info->setFocus();
        e.SGGP4Info->setCurrentCell(1, 1);
        QTest::keyClicks(e.SGGP4Info, QStringLiteral("Z"));
        EXPECT_EQ(ListNow(), (std::vector<std::string>{"a=1", "b=Z"}));
        e.BSave->click();
    });
    EXPECT_NE(ReadText(trackPath).find("#GP4INFO|a|1|b|Z|#"), std::string::npos);
}

TEST_F(Gp4InfoEditor, AnEmptiedValueRemovesItsEntryAndTheRowsFollowWhenTheEditEnds) {
    Open(TrackWithInfo({{"a", "1"}, {"b", "2"}, {"c", "3"}}), [](TFEditGP4info& e) {
        QLineEdit* editor = EditCell(e, 0);
        ASSERT_NE(editor, nullptr);
        EmptyCell(editor);
        EXPECT_EQ(ListNow(), (std::vector<std::string>{"b=2", "c=3"}));
        PressReturn(editor);
        // Refilled: row i shows entry i again.
        ASSERT_EQ(e.SGGP4Info->rowCount(), 2);
        EXPECT_EQ(FromQt(e.SGGP4Info->Cell(0, 0)), "b");
        EXPECT_EQ(FromQt(e.SGGP4Info->Cell(0, 1)), "c");
        // So Delete removes the entry the selected row shows.
        e.SGGP4Info->setCurrentCell(1, 1);
        e.BDelete->click();
        EXPECT_EQ(ListNow(), std::vector<std::string>{"b=2"});
    });
}

TEST_F(Gp4InfoEditor, RetypingAnEmptiedValueStaysWithItsOwnName) {
    Open(TrackWithInfo({{"a", "1"}, {"b", "2"}}), [](TFEditGP4info& e) {
        QLineEdit* editor = EditCell(e, 0);
        ASSERT_NE(editor, nullptr);
        EmptyCell(editor);
        QTest::keyClicks(editor, QStringLiteral("9"));
        EXPECT_EQ(kestrum::GP4InfoList.Values("a"), "9");
        EXPECT_EQ(kestrum::GP4InfoList.Values("b"), "2");
        PressReturn(editor);
        for (int row = 0; row < 2; ++row)
            EXPECT_EQ(FromQt(e.SGGP4Info->Cell(1, row)),
                      kestrum::GP4InfoList.Values(FromQt(e.SGGP4Info->Cell(0, row))));
    });
}

TEST_F(Gp4InfoEditor, SaveIsDisabledAsSoonAsTheListBecomesEmpty) {
    const fileio::Bytes original = TrackWithInfo({{"a", "1"}});
    Open(original, [](TFEditGP4info& e) {
        QLineEdit* editor = EditCell(e, 0);
        ASSERT_NE(editor, nullptr);
        EmptyCell(editor);
        EXPECT_EQ(kestrum::GP4InfoList.Count(), 0u);
        EXPECT_FALSE(e.BSave->isEnabled()) << "while the cell is still being edited";
        e.SGGP4Info->EndEdit();
        EXPECT_EQ(e.SGGP4Info->rowCount(), 1);
        EXPECT_TRUE(e.SGGP4Info->Cell(0, 0).isEmpty());
        EXPECT_FALSE(e.SGGP4Info->Editing());
        EXPECT_FALSE(e.BSave->isEnabled());
    });
    EXPECT_EQ(ReadBytes(trackPath), original);
}

TEST_F(Gp4InfoEditor, AValueHoldingABarOrAHashIsRefusedAtOnce) {
    Open(TrackWithInfo({{"a", "1"}}), [](TFEditGP4info& e) {
        QLineEdit* editor = EditCell(e, 0);
        ASSERT_NE(editor, nullptr);
        editor->end(false);
        QTest::keyClicks(editor, QStringLiteral("x#"));
        EXPECT_EQ(editor->text(), QStringLiteral("1x"));
        EXPECT_EQ(ListNow(), std::vector<std::string>{"a=1x"});
        QTest::keyClicks(editor, QStringLiteral("|"));
        EXPECT_EQ(ListNow(), std::vector<std::string>{"a=1x"});
    });
    EXPECT_EQ(ui.BoxTexts(),
              (std::vector<QString>{ToQt(msg::kUnstorableText), ToQt(msg::kUnstorableText)}));
}

TEST_F(Gp4InfoEditor, NamesEqualApartFromCaseShowAndEditTheFirstEntry) {
    Open(TrackWithInfo({{"Ab", "1"}, {"aB", "2"}}), [](TFEditGP4info& e) {
        EXPECT_EQ(FromQt(e.SGGP4Info->Cell(1, 0)), "1");
        EXPECT_EQ(FromQt(e.SGGP4Info->Cell(1, 1)), "1");
        QLineEdit* editor = EditCell(e, 1);
        ASSERT_NE(editor, nullptr);
        editor->selectAll();
        QTest::keyClicks(editor, QStringLiteral("7"));
        EXPECT_EQ(ListNow(), (std::vector<std::string>{"aB=7", "aB=2"}));
    });
}

TEST_F(Gp4InfoEditor, CancelLeavesTheTrackFileAsItWasAndTheNextShowingRereadsIt) {
    const fileio::Bytes original = TrackWithInfo({{"a", "1"}, {"b", "2"}});
    Open(original, [&](TFEditGP4info& e) {
        ui.answers.push_front(AnswerText(QStringLiteral("new")));
        e.BAdd->click();
        e.SGGP4Info->setCurrentCell(0, 1);
        e.BDelete->click();
        e.BCancel->click();
        EXPECT_FALSE(e.isVisible());
    });
    EXPECT_EQ(ReadBytes(trackPath), original);
    OpenAgain([](TFEditGP4info& e) {
        EXPECT_EQ(ListNow(), (std::vector<std::string>{"a=1", "b=2"}));
        EXPECT_EQ(e.SGGP4Info->rowCount(), 2);
    });
}

} // namespace

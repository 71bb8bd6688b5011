#include "QuestionEditDlg.h"

#include "DataFileBuilder.h"
#include "MessageBoxRecorder.h"
#include "ModalRun.h"
#include "TestHost.h"

#include <QPlainTextEdit>
#include <QTest>
#include <gtest/gtest.h>

#include <cstring>
#include <memory>

namespace {

class QuestionEditDlgTest : public ::testing::Test {
protected:
    QuestionEditDlgTest() : host(dir.File("deck.qld"), dir.Path()) {}

    // Loads the deck as the quiz window does; by default questions "Q1".."Qn", answers "A1".."An".
    void Open(int records, DeckSpec deck = {}) {
        for (int i = 1; i <= records; ++i)
            deck.cards.emplace_back(std::to_string(i).insert(0, "Q"),
                                    std::to_string(i).insert(0, "A"));
        WriteFileBytes(host.GetDataFilePath(), MakeDataFile(deck));
        file = std::make_unique<CQuestionFile>(host);
        file->Load();
        before = DataBytes();
        host.now += 60; // a header written from here on differs
    }

    // Runs the editor on the record; go-to dialogs that it opens are answered by answerGoto.
    int Edit(int number, const std::function<void(CDialog&)>& script) {
        CQuestionEditDlg editor(nullptr);
        editor.m_pFile = file.get();
        editor.m_record.number = number;
        return RunModal(editor, script, answerGoto);
    }

    Bytes DataBytes() const { return ReadFileBytes(host.GetDataFilePath()); }
    static std::size_t Question(int slot) { return RecordOffset(slot) + 4; }
    static std::size_t Answer(int slot) { return RecordOffset(slot) + 504; }
    // The bytes with each text in the 500-byte field at its offset.
    static Bytes With(Bytes bytes,
                      std::initializer_list<std::pair<std::size_t, std::string>> texts) {
        for (const auto& [offset, text] : texts) {
            std::memset(&bytes[offset], 0, 500);
            std::memcpy(&bytes[offset], text.data(), text.size());
        }
        return bytes;
    }

    static QPlainTextEdit* Box(CDialog& dialog, int id) {
        return qobject_cast<QPlainTextEdit*>(dialog.GetDlgItem(id));
    }
    // Replaces the box's text by typing.
    static void Retype(CDialog& dialog, int id, const QString& text) {
        QTest::keyClick(Box(dialog, id), Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(Box(dialog, id), text);
    }

    TempDir dir;
    TestHost host;
    MessageBoxRecorder boxes;
    std::unique_ptr<CQuestionFile> file;
    Bytes before;
    std::function<void(CGotoDlg&)> answerGoto = [](CGotoDlg&) { ADD_FAILURE() << "go-to ran"; };
};

} // namespace

// Some texts come back from a box not quite as stored (a carriage return as a line break): only
// the boxes the user changed are stored, and the others keep their record's bytes.
TEST_F(QuestionEditDlgTest, LeavingARecordStoresItsEditsAndEscapeDropsOnlyTheShownOnes) {
    Open(0, DeckSpec{{{"a\r\nb", "x\xC2\xA0y"}, {"c\rd", "e\rf"}}});
    const int unchanged = Edit(0, [](CDialog& dialog) {
        Click(dialog, IDC_EDIT_NEXT);
        QTest::keyClick(Box(dialog, IDC_EDIT_QUESTION), Qt::Key_Return);
    });
    EXPECT_EQ(unchanged, IDOK);
    EXPECT_EQ(DataBytes(), before) << "Return without a change writes nothing";

    const Bytes first = With(before, {{Answer(0), "Rome"}});
    const Bytes both = With(first, {{Question(1), "Capital?"}});
    const int result = Edit(0, [&](CDialog& dialog) {
        const auto expect = [&](const char* position, const Bytes& onDisk) {
            EXPECT_EQ(dialog.GetDlgItemText(IDC_EDIT_POSITION), position);
            EXPECT_EQ(DataBytes(), onDisk) << position;
        };
        EXPECT_EQ(dialog.focusWidget(), Box(dialog, IDC_EDIT_QUESTION));
        Retype(dialog, IDC_EDIT_ANSWER, "Rome");
        Click(dialog, IDC_EDIT_PREVIOUS); // at the first record: nothing
        expect("1 of 2", before);
        Click(dialog, IDC_EDIT_NEXT);
        expect("2 of 2", first);
        Retype(dialog, IDC_EDIT_QUESTION, "Capital?");
        Click(dialog, IDC_EDIT_PREVIOUS);
        expect("1 of 2", both);
        EXPECT_EQ(dialog.GetDlgItemText(IDC_EDIT_ANSWER), "Rome");
        Click(dialog, IDC_EDIT_NEXT);
        Retype(dialog, IDC_EDIT_QUESTION, "Lost");
        Click(dialog, IDC_EDIT_NEXT); // at the last record: nothing
        expect("2 of 2", both);
        EXPECT_EQ(dialog.GetDlgItemText(IDC_EDIT_QUESTION), "Lost");
        QTest::keyClick(Box(dialog, IDC_EDIT_QUESTION), Qt::Key_Escape);
    });
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_EQ(DataBytes(), both);
    EXPECT_TRUE(boxes.Shown().empty());
}

// The go-to dialog offers the file's records; 0, 6 or Cancel keeps the record shown, unstored,
// and the record shown itself keeps the texts typed, stored as on leaving it.
TEST_F(QuestionEditDlgTest, PositionButtonGoesToARecordOfTheFileOnly) {
    Open(5);
    const std::pair<const char*, Qt::Key> answers[] = {{"0", Qt::Key_Return},
                                                       {"6", Qt::Key_Return},
                                                       {"3", Qt::Key_Escape},
                                                       {"2", Qt::Key_Return},
                                                       {"4", Qt::Key_Return}};
    const auto* answer = answers;
    answerGoto = [&](CGotoDlg& go) {
        EXPECT_EQ(go.GetDlgItemText(IDC_GOTO_NUMBER), "2");
        EXPECT_EQ(go.GetDlgItemText(IDC_GOTO_RANGE), "between 1 and 5");
        QTest::keyClicks(go.GetDlgItem(IDC_GOTO_NUMBER), answer->first);
        QTest::keyClick(go.GetDlgItem(IDC_GOTO_NUMBER), answer++->second);
    };
    Edit(1, [&](CDialog& dialog) {
        Retype(dialog, IDC_EDIT_QUESTION, "Unsaved");
        for (int refused = 0; refused < 3; ++refused) {
            Click(dialog, IDC_EDIT_POSITION);
            EXPECT_EQ(dialog.GetDlgItemText(IDC_EDIT_POSITION), "2 of 5");
            EXPECT_EQ(dialog.GetDlgItemText(IDC_EDIT_QUESTION), "Unsaved");
            EXPECT_EQ(DataBytes(), before) << answers[refused].first;
        }
        Click(dialog, IDC_EDIT_POSITION);
        EXPECT_EQ(dialog.GetDlgItemText(IDC_EDIT_POSITION), "2 of 5");
        EXPECT_EQ(dialog.GetDlgItemText(IDC_EDIT_QUESTION), "Unsaved");
        EXPECT_EQ(DataBytes(), With(before, {{Question(1), "Unsaved"}}));
        Click(dialog, IDC_EDIT_POSITION);
        EXPECT_EQ(dialog.GetDlgItemText(IDC_EDIT_POSITION), "4 of 5");
        EXPECT_EQ(dialog.GetDlgItemText(IDC_EDIT_QUESTION), "Q4");
        EXPECT_EQ(dialog.GetDlgItemText(IDC_EDIT_ANSWER), "A4");
    });
    EXPECT_EQ(DataBytes(), With(before, {{Question(1), "Unsaved"}}));
    EXPECT_TRUE(boxes.Shown().empty());
}

// Tab moves on and Ctrl+Tab types a tab. New stores the record shown and appends an empty one,
// up to 1000; keys typed right after its mnemonic reach the new record, never the one before. The
// mnemonic of a push-like button leaves the focus in the box, and Enter on one presses Return.
TEST_F(QuestionEditDlgTest, KeysInTheBoxesAndNewByItsMnemonic) {
    Open(5);
    Edit(2, [&](CDialog& dialog) {
        dialog.activateWindow(); // mnemonics act in the active window
        ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
        // A push-like button shows that it has the keyboard, as a button does.
        QWidget* previous = dialog.GetDlgItem(IDC_EDIT_PREVIOUS);
        const QImage unfocused = previous->grab().toImage();
        dialog.setAttribute(Qt::WA_KeyboardFocusChange); // as after a Tab
        previous->setFocus();
        EXPECT_NE(previous->grab().toImage(), unfocused);
        Box(dialog, IDC_EDIT_QUESTION)->setFocus();
        Retype(dialog, IDC_EDIT_QUESTION, "Capital of Italy?");
        QTest::keyClick(Box(dialog, IDC_EDIT_QUESTION), Qt::Key_Tab);
        ASSERT_EQ(dialog.focusWidget(), Box(dialog, IDC_EDIT_ANSWER));
        Retype(dialog, IDC_EDIT_ANSWER, "Rome");
        QTest::keyClick(Box(dialog, IDC_EDIT_ANSWER), Qt::Key_Tab, Qt::ControlModifier);
        QTest::keyClicks(Box(dialog, IDC_EDIT_ANSWER), "Roma");
        QTest::keyClick(Box(dialog, IDC_EDIT_ANSWER), Qt::Key_Return, Qt::ControlModifier);
        QTest::keyClicks(Box(dialog, IDC_EDIT_ANSWER), "Rom");
        QTest::keyClick(Box(dialog, IDC_EDIT_ANSWER), Qt::Key_N, Qt::AltModifier);
        QTest::keyClicks(dialog.focusWidget(), "Capital of Spain?");
        EXPECT_EQ(dialog.GetDlgItemText(IDC_EDIT_POSITION), "6 of 6");
        EXPECT_EQ(dialog.GetDlgItemText(IDC_EDIT_ANSWER), "");
        EXPECT_EQ(Int32At(DataBytes(), 4), 6) << "recordCount";
        QTest::keyClick(dialog.focusWidget(), Qt::Key_Return);
    });
    Bytes grown = before;
    grown.resize(RecordOffset(6), 0); // a sixth record, numbered 5, correct count 0
    PutInt32At(grown, RecordOffset(5), 5);
    const Bytes expected = With(grown, {{Question(2), "Capital of Italy?"},
                                        {Answer(2), "Rome\tRoma\nRom"},
                                        {Question(5), "Capital of Spain?"}});
    const Bytes bytes = DataBytes();
    EXPECT_EQ(Bytes(bytes.begin() + RecordOffset(0), bytes.end()),
              Bytes(expected.begin() + RecordOffset(0), expected.end()));

    Open(1000);
    const int result = Edit(0, [](CDialog& dialog) {
        dialog.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
        QTest::keyClick(Box(dialog, IDC_EDIT_QUESTION), Qt::Key_Less, Qt::AltModifier);
        EXPECT_EQ(dialog.focusWidget(), Box(dialog, IDC_EDIT_QUESTION));
        Click(dialog, IDC_EDIT_NEW);
        EXPECT_EQ(dialog.GetDlgItemText(IDC_EDIT_POSITION), "1 of 1000");
        dialog.GetDlgItem(IDC_EDIT_NEW)->setFocus();
        QTest::keyClick(dialog.GetDlgItem(IDC_EDIT_NEW), Qt::Key_Return);
    });
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(boxes.Texts(), std::vector<std::string>{"No more questions can be added.\n\n"
                                                      "The limit is 1000 questions."});
    EXPECT_EQ(DataBytes(), before);
}

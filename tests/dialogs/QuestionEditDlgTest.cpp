#include "QuestionEditDlg.h"

#include "DataFileBuilder.h"
#include "GotoDlg.h"
#include "MessageBoxRecorder.h"
#include "ModalRun.h"
#include "TestHost.h"

#include <QGroupBox>
#include <QPlainTextEdit>
#include <QTest>
#include <gtest/gtest.h>

#include <cstring>
#include <memory>

namespace {

class QuestionEditDlgTest : public ::testing::Test {
protected:
    QuestionEditDlgTest() : host(dir.File("deck.qld"), dir.Path()) {}

    // A deck of questions "Q1".."Qn" with answers "A1".."An", loaded as the quiz window does.
    void Open(int records) {
        DeckSpec deck;
        for (int i = 1; i <= records; ++i)
            deck.cards.emplace_back(QStringLiteral("Q%1").arg(i).toStdString(),
                                    QStringLiteral("A%1").arg(i).toStdString());
        Open(deck);
    }
    void Open(const DeckSpec& deck) {
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
        ModalRun run([&](CDialog& dialog) {
            if (auto* go = dynamic_cast<CGotoDlg*>(&dialog))
                answerGoto(*go);
            else
                script(dialog);
        });
        return editor.DoModal();
    }

    Bytes DataBytes() const { return ReadFileBytes(host.GetDataFilePath()); }

    // The file as it was opened, with a record's question field holding the text.
    Bytes BeforeWithQuestion(int slot, const std::string& text) const {
        Bytes bytes = before;
        std::memset(&bytes[RecordOffset(slot) + 4], 0, 500);
        std::memcpy(&bytes[RecordOffset(slot) + 4], text.data(), text.size());
        return bytes;
    }

    static std::string TextAt(const Bytes& bytes, std::size_t offset) {
        return reinterpret_cast<const char*>(&bytes[offset]);
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

TEST_F(QuestionEditDlgTest, ShowsTheRecordAndReturnWithoutChangeWritesNothing) {
    Open(5);
    const int result = Edit(1, [](CDialog& dialog) {
        EXPECT_EQ(dialog.windowTitle(), "Edit");
        EXPECT_EQ(dialog.findChild<QGroupBox*>()->title(), "Question && Answer") << "one & shows";
        EXPECT_EQ(dialog.GetDlgItemText(IDC_EDIT_POSITION), "2 of 5");
        EXPECT_EQ(dialog.GetDlgItemText(IDC_EDIT_QUESTION), "Q2");
        EXPECT_EQ(dialog.GetDlgItemText(IDC_EDIT_ANSWER), "A2");
        EXPECT_EQ(dialog.focusWidget(), Box(dialog, IDC_EDIT_QUESTION));
        Click(dialog, IDOK);
    });
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(DataBytes(), before);
    EXPECT_TRUE(boxes.Shown().empty());
}

TEST_F(QuestionEditDlgTest, LeavingARecordStoresItsEditAndEscapeDropsOnlyTheShownOne) {
    Open(2);
    const Bytes changed = BeforeWithQuestion(0, "Changed");
    const int result = Edit(0, [&](CDialog& dialog) {
        const auto expect = [&](const char* position, const char* question, const Bytes& onDisk) {
            EXPECT_EQ(dialog.GetDlgItemText(IDC_EDIT_POSITION), position);
            EXPECT_EQ(dialog.GetDlgItemText(IDC_EDIT_QUESTION), question);
            EXPECT_EQ(DataBytes(), onDisk) << position << " " << question;
        };
        Retype(dialog, IDC_EDIT_QUESTION, "Changed");
        Click(dialog, IDC_EDIT_PREVIOUS); // at the first record: nothing
        expect("1 of 2", "Changed", before);
        Click(dialog, IDC_EDIT_NEXT);
        expect("2 of 2", "Q2", changed);
        Click(dialog, IDC_EDIT_PREVIOUS);
        expect("1 of 2", "Changed", changed);
        Click(dialog, IDC_EDIT_NEXT);
        Retype(dialog, IDC_EDIT_QUESTION, "Lost");
        Click(dialog, IDC_EDIT_NEXT); // at the last record: nothing
        expect("2 of 2", "Lost", changed);
        QTest::keyClick(Box(dialog, IDC_EDIT_QUESTION), Qt::Key_Escape);
    });
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_EQ(DataBytes(), changed);
    EXPECT_TRUE(boxes.Shown().empty());
}

TEST_F(QuestionEditDlgTest, PositionButtonGoesToARecordOfTheFileOnly) {
    struct Case {
        const char* typed;
        Qt::Key key;
        const char *position, *question;
        bool stored;
    };
    for (const auto& c : {Case{"4", Qt::Key_Return, "4 of 5", "Q4", true},
                          Case{"0", Qt::Key_Return, "2 of 5", "Unsaved", false},
                          Case{"6", Qt::Key_Return, "2 of 5", "Unsaved", false},
                          Case{"3", Qt::Key_Escape, "2 of 5", "Unsaved", false}}) {
        SCOPED_TRACE(c.typed);
        Open(5);
        answerGoto = [&](CGotoDlg& go) {
            EXPECT_EQ(go.GetDlgItemText(IDC_GOTO_NUMBER), "2");
            EXPECT_EQ(go.GetDlgItemText(IDC_GOTO_RANGE), "between 1 and 5");
            QTest::keyClicks(go.GetDlgItem(IDC_GOTO_NUMBER), c.typed);
            QTest::keyClick(go.GetDlgItem(IDC_GOTO_NUMBER), c.key);
        };
        Edit(1, [&](CDialog& dialog) {
            Retype(dialog, IDC_EDIT_QUESTION, "Unsaved");
            Click(dialog, IDC_EDIT_POSITION);
            EXPECT_EQ(dialog.GetDlgItemText(IDC_EDIT_POSITION), c.position);
            EXPECT_EQ(dialog.GetDlgItemText(IDC_EDIT_QUESTION), c.question);
            EXPECT_EQ(dialog.GetDlgItemText(IDC_EDIT_ANSWER), c.stored ? "A4" : "A2");
        });
        EXPECT_EQ(DataBytes(), c.stored ? BeforeWithQuestion(1, "Unsaved") : before);
    }
    EXPECT_TRUE(boxes.Shown().empty());
}

TEST_F(QuestionEditDlgTest, NewAppendsAnEmptyRecordAfterStoringTheShownOne) {
    Open(5);
    Edit(2, [](CDialog& dialog) {
        Retype(dialog, IDC_EDIT_QUESTION, "Edited");
        Click(dialog, IDC_EDIT_NEW);
        EXPECT_EQ(dialog.GetDlgItemText(IDC_EDIT_POSITION), "6 of 6");
        EXPECT_EQ(dialog.GetDlgItemText(IDC_EDIT_QUESTION), "");
        EXPECT_EQ(dialog.GetDlgItemText(IDC_EDIT_ANSWER), "");
    });
    const Bytes bytes = DataBytes();
    EXPECT_EQ(Int32At(bytes, 4), 6) << "recordCount";
    Bytes expected = BeforeWithQuestion(2, "Edited");
    expected.resize(RecordOffset(6), 0); // an empty sixth record, correct count 0
    PutInt32At(expected, RecordOffset(5), 5);
    EXPECT_EQ(Bytes(bytes.begin() + 104, bytes.end()),
              Bytes(expected.begin() + 104, expected.end()));
}

// Keys typed right after a mnemonic reach the record it shows, never the one before.
TEST_F(QuestionEditDlgTest, TabMovesOnCtrlTabTypesATabAndAMnemonicActsAtOnce) {
    Open(2);
    Edit(0, [](CDialog& dialog) {
        dialog.activateWindow(); // mnemonics act in the active window
        ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
        Retype(dialog, IDC_EDIT_QUESTION, "Capital of Italy?");
        QTest::keyClick(Box(dialog, IDC_EDIT_QUESTION), Qt::Key_Tab);
        ASSERT_EQ(dialog.focusWidget(), Box(dialog, IDC_EDIT_ANSWER));
        Retype(dialog, IDC_EDIT_ANSWER, "Rome");
        QTest::keyClick(Box(dialog, IDC_EDIT_ANSWER), Qt::Key_Tab, Qt::ControlModifier);
        QTest::keyClicks(Box(dialog, IDC_EDIT_ANSWER), "Roma");
        QTest::keyClick(Box(dialog, IDC_EDIT_ANSWER), Qt::Key_N, Qt::AltModifier);
        QTest::keyClicks(dialog.focusWidget(), "Capital of Spain?");
        EXPECT_EQ(dialog.GetDlgItemText(IDC_EDIT_POSITION), "3 of 3");
        QTest::keyClick(dialog.focusWidget(), Qt::Key_Return);
    });
    const Bytes bytes = DataBytes();
    EXPECT_EQ(TextAt(bytes, RecordOffset(0) + 4), "Capital of Italy?");
    EXPECT_EQ(TextAt(bytes, RecordOffset(0) + 504), "Rome\tRoma");
    EXPECT_EQ(TextAt(bytes, RecordOffset(2) + 4), "Capital of Spain?");
}

TEST_F(QuestionEditDlgTest, NewOnAFullFileShowsTheLimit) {
    Open(1000);
    Edit(0, [](CDialog& dialog) {
        Click(dialog, IDC_EDIT_NEW);
        EXPECT_EQ(dialog.GetDlgItemText(IDC_EDIT_POSITION), "1 of 1000");
    });
    ASSERT_EQ(boxes.Shown().size(), 1u);
    EXPECT_EQ(boxes.Shown()[0].text,
              "No more questions can be added.\n\nThe limit is 1000 questions.");
    EXPECT_EQ(boxes.Shown()[0].type & MB_ICONMASK, unsigned{MB_ICONEXCLAMATION});
    EXPECT_EQ(DataBytes(), before);
}

TEST_F(QuestionEditDlgTest, LongQuestionIsStoredAndShownCutTo499Bytes) {
    Open(2);
    Edit(0, [](CDialog& dialog) {
        dialog.SetDlgItemText(IDC_EDIT_QUESTION, std::string(600, 'x'));
        Click(dialog, IDC_EDIT_NEXT);
        Click(dialog, IDC_EDIT_PREVIOUS);
        EXPECT_EQ(dialog.GetDlgItemText(IDC_EDIT_QUESTION), std::string(499, 'x'));
    });
    EXPECT_EQ(DataBytes(), BeforeWithQuestion(0, std::string(499, 'x')));
}

TEST_F(QuestionEditDlgTest, CtrlEnterStartsALineAndEnterReturns) {
    Open(2);
    const int result = Edit(0, [](CDialog& dialog) {
        Retype(dialog, IDC_EDIT_ANSWER, "one");
        QTest::keyClick(Box(dialog, IDC_EDIT_ANSWER), Qt::Key_Return, Qt::ControlModifier);
        QTest::keyClicks(Box(dialog, IDC_EDIT_ANSWER), "two");
        EXPECT_EQ(dialog.GetDlgItemText(IDC_EDIT_ANSWER), "one\ntwo");
        QTest::keyClick(Box(dialog, IDC_EDIT_QUESTION), Qt::Key_Return);
    });
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(TextAt(DataBytes(), RecordOffset(0) + 504), "one\ntwo");
}

TEST_F(QuestionEditDlgTest, TextsComeBackAsStoredWhenLeftUnchanged) {
    Open(DeckSpec{{{"a\r\nb", "x\xC2\xA0y"}, {"c\rd", "A2"}}});
    Edit(0, [](CDialog& dialog) { Click(dialog, IDC_EDIT_NEXT); });
    EXPECT_EQ(DataBytes(), before);
    Edit(1, [](CDialog& dialog) {
        Retype(dialog, IDC_EDIT_ANSWER, "new");
        Click(dialog, IDOK);
    });
    EXPECT_EQ(TextAt(DataBytes(), RecordOffset(1) + 4), "c\rd");
}

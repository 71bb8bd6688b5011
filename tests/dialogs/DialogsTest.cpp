#include "DataFileBuilder.h"
#include "GotoDlg.h"
#include "MessageBoxRecorder.h"
#include "OptionDlg.h"
#include "QuestionEditDlg.h"
#include "ScheduleDlg.h"
#include "TestHost.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QInputMethodEvent>
#include <QTest>
#include <gtest/gtest.h>

#include <array>

namespace {

// Every control shown that Tab reaches has a name that screen readers say.
void ExpectNamed(const CDialog& dialog) {
    for (QWidget* control : dialog.findChildren<QWidget*>())
        if (control->isVisible() && (control->focusPolicy() & Qt::TabFocus)) {
            EXPECT_NE(QAccessible::queryAccessibleInterface(control)->text(QAccessible::Name), "")
                << dialog.windowTitle().toStdString() << ": " << control->metaObject()->className();
        }
}

// Runs the dialog modally and returns how it ended: the script drives it, and each go-to dialog
// that it opens takes the next number, typed over the selected preset (Escape for an empty one).
int RunModal(CDialog& dialog, const std::function<void(CDialog&)>& script,
             std::vector<std::string> numbers = {}) {
    ScopedHandler run(CDialog::SetModalRunHandler, [&](CDialog& shown) {
        if (!dynamic_cast<CGotoDlg*>(&shown))
            return script(shown);
        ASSERT_FALSE(numbers.empty()) << "an unexpected go-to dialog";
        ExpectNamed(shown);
        QWidget* box = shown.GetDlgItem(IDC_GOTO_NUMBER);
        QTest::keyClicks(box, QString::fromStdString(numbers.front()));
        QTest::keyClick(box, numbers.front().empty() ? Qt::Key_Escape : Qt::Key_Return);
        numbers.erase(numbers.begin());
    });
    return dialog.DoModal();
}

void Click(CDialog& dialog, int id) {
    qobject_cast<QAbstractButton*>(dialog.GetDlgItem(id))->click();
}

// The records of a data file, without the header that every load rewrites.
Bytes Records(const Bytes& file) {
    return Bytes(file.begin() + RecordOffset(0), file.end());
}

// The question editor on a deck in a fresh folder, loaded as the quiz window loads it.
struct Editor {
    explicit Editor(const DeckSpec& deck) {
        WriteFileBytes(host.GetDataFilePath(), MakeDataFile(deck));
        EXPECT_FALSE(ShownFailure(file.Load()));
    }
    int Run(int number, const std::function<void(CDialog&)>& script,
            std::vector<std::string> numbers = {}) {
        CQuestionEditDlg editor(nullptr);
        editor.m_pFile = &file;
        editor.m_record.number = number;
        return RunModal(editor, script, std::move(numbers));
    }
    Bytes OnDisk() const { return Records(ReadFileBytes(host.GetDataFilePath())); }

    TempDir dir;
    TestHost host{dir.File("deck.qld"), dir.Path()};
    CQuestionFile file{host};
    MessageBoxRecorder boxes;
};

} // namespace

// Keys reach controls only in the active window, as the user's do.
void Activate(CDialog& dialog) {
    dialog.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
}

// A refused period keeps the dialog open with the text selected, so that typing replaces it.
TEST(DialogsTest, OptionPeriodIsUpTo360Minutes) {
    MessageBoxRecorder boxes;
    COptionDlg dialog(nullptr);
    const auto script = [](CDialog& shown) {
        ExpectNamed(shown);
        QWidget* period = shown.GetDlgItem(IDC_OPTION_PERIOD);
        shown.SetDlgItemText(IDC_OPTION_PERIOD, "361");
        QTest::keyClick(period, Qt::Key_Return);
        QTest::keyClicks(period, "360");
        QTest::keyClick(period, Qt::Key_Return);
    };
    EXPECT_EQ(RunModal(dialog, script), IDOK);
    EXPECT_EQ(dialog.m_nPopupMinutes, 360u);
    EXPECT_EQ(boxes.Texts(),
              std::vector<std::string>{"Please enter an integer between 0 and 360."});
}

// The texts of a record are stored on leaving it, only the boxes changed (a box shows a CR as a
// line break); < and > stop at the ends, the position button takes a record of the file only,
// and Escape drops the changes of the record shown. Tab moves on; Ctrl+Tab types a tab.
TEST(DialogsTest, EditorStoresARecordOnLeavingIt) {
    DeckSpec deck{{{"a\r\nb", "x"}, {"c\rd", "e\rf"}, {"Q3", "A3"}}};
    Editor editor(deck);
    DeckSpec first = deck, both = deck;
    first.cards[0].second = both.cards[0].second = "Ro\tme";
    both.cards[1].first = "Capital?";
    const auto script = [&](CDialog& dialog) {
        const auto expect = [&](const char* position, const DeckSpec& onDisk) {
            EXPECT_EQ(dialog.GetDlgItemText(IDC_EDIT_POSITION), position);
            EXPECT_EQ(editor.OnDisk(), Records(MakeDataFile(onDisk))) << position;
        };
        Activate(dialog);
        ExpectNamed(dialog);
        QWidget* question = dialog.GetDlgItem(IDC_EDIT_QUESTION);
        question->setFocus();
        QTest::keyClick(question, Qt::Key_Tab);
        QWidget* answer = dialog.focusWidget();
        ASSERT_EQ(answer, dialog.GetDlgItem(IDC_EDIT_ANSWER));
        QTest::keyClick(answer, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(answer, "Ro");
        QTest::keyClick(answer, Qt::Key_Tab, Qt::ControlModifier);
        QTest::keyClicks(answer, "me");
        QTest::keyClick(answer, '<', Qt::AltModifier);
        EXPECT_EQ(dialog.focusWidget(), answer) << "Alt+< keeps the keyboard in the box";
        expect("1 of 3", deck);
        Click(dialog, IDC_EDIT_NEXT);
        expect("2 of 3", first);
        dialog.SetDlgItemText(IDC_EDIT_QUESTION, "Capital?");
        for (int refused = 0; refused < 3; ++refused) {
            Click(dialog, IDC_EDIT_POSITION);
            expect("2 of 3", first);
        }
        Click(dialog, IDC_EDIT_POSITION);
        expect("3 of 3", both);
        Click(dialog, IDC_EDIT_NEXT);
        expect("3 of 3", both);
        dialog.SetDlgItemText(IDC_EDIT_QUESTION, "Lost");
        QTest::keyClick(dialog.GetDlgItem(IDC_EDIT_QUESTION), Qt::Key_Escape);
    };
    EXPECT_EQ(editor.Run(0, script, {"0", "4", "", "3"}), IDCANCEL);
    EXPECT_EQ(editor.OnDisk(), Records(MakeDataFile(both)));
}

// New stores the record shown and appends an empty one, numbered, up to 1000 records; a box
// holds at most 499 bytes.
TEST(DialogsTest, EditorAppendsUpTo1000Records) {
    Editor two({{{"Q1", "A1"}, {"Q2", "A2"}}});
    const auto append = [](CDialog& dialog) {
        dialog.SetDlgItemText(IDC_EDIT_QUESTION, "Changed");
        Click(dialog, IDC_EDIT_NEW);
        EXPECT_EQ(dialog.GetDlgItemText(IDC_EDIT_POSITION), "3 of 3");
        dialog.SetDlgItemText(IDC_EDIT_QUESTION, "Third");
        QWidget* answer = dialog.GetDlgItem(IDC_EDIT_ANSWER);
        for (int i = 0; i < 300; ++i)
            QTest::sendKeyEvent(QTest::Click, answer, Qt::Key_unknown, QStringLiteral("\u00E4"),
                                Qt::NoModifier);
        QInputMethodEvent composed;
        composed.setCommitString(QStringLiteral("x\u6771"));
        QApplication::sendEvent(answer, &composed);
        QApplication::clipboard()->setText(QStringLiteral("\u00F6"));
        QTest::keyClick(answer, Qt::Key_V, Qt::ControlModifier);
        Click(dialog, IDOK);
    };
    EXPECT_EQ(two.Run(0, append), IDOK);
    // 498 bytes typed, 1 of a composition fits, and no paste.
    const std::string filled = QString(249, u'\u00E4').append(u'x').toStdString();
    EXPECT_EQ(two.OnDisk(),
              Records(MakeDataFile({{{"Changed", "A1"}, {"Q2", "A2"}, {"Third", filled}}})));
    Editor full(DeckSpec{std::vector<std::pair<std::string, std::string>>(1000)});
    full.Run(0, [](CDialog& dialog) { Click(dialog, IDC_EDIT_NEW); });
    EXPECT_EQ(full.boxes.Texts(), std::vector<std::string>{"No more questions can be added.\n\n"
                                                           "The limit is 1000 questions."});
    EXPECT_EQ(full.OnDisk().size(), 1000u * 1052);
}

// The range buttons take a number of 1 to 1000 from the go-to dialog and keep the range ordered;
// OK returns the range, the mode checked and whether the range's records are to be cleared.
// Tab enters the modes at the checked one, and Enter on a range button presses OK.
TEST(DialogsTest, ScheduleRangeStaysOrdered) {
    Editor deck({});
    CScheduleDlg dialog(nullptr);
    dialog.file = &deck.file;
    std::vector<std::string> ranges;
    const auto script = [&](CDialog& shown) {
        for (int button :
             {IDC_SCHEDULE_FROM, IDC_SCHEDULE_TO, IDC_SCHEDULE_FROM, IDC_SCHEDULE_TO}) {
            Click(shown, button);
            ranges.push_back(shown.GetDlgItemText(IDC_SCHEDULE_FROM) + " " +
                             shown.GetDlgItemText(IDC_SCHEDULE_TO));
        }
        Click(shown, IDC_SCHEDULE_ROUGH);
        Click(shown, IDC_SCHEDULE_INIT_RECORDS);
        Activate(shown);
        QWidget* initRecords = shown.GetDlgItem(IDC_SCHEDULE_INIT_RECORDS);
        initRecords->setFocus();
        QTest::keyClick(initRecords, Qt::Key_Tab);
        EXPECT_EQ(shown.focusWidget(), shown.GetDlgItem(IDC_SCHEDULE_ROUGH));
        shown.GetDlgItem(IDC_SCHEDULE_FROM)->setFocus();
        QTest::keyClick(shown.GetDlgItem(IDC_SCHEDULE_FROM), Qt::Key_Return);
    };
    EXPECT_EQ(RunModal(dialog, script, {"30", "5", "0", "1001"}), IDOK);
    EXPECT_EQ(ranges, (std::vector<std::string>{"From:  30 To:  30", "From:   5 To:   5",
                                                "From:   5 To:   5", "From:   5 To:   5"}));
    EXPECT_EQ((std::array{dialog.rangeFrom, dialog.rangeTo, dialog.reviewMode, dialog.initRecords}),
              (std::array{4, 4, 2, 1}));
}

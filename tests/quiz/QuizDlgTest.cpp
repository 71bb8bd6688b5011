#include "QuizDlg.h"
#include "DataFileBuilder.h"
#include "DesktopServices.h"
#include "FileDialog.h"
#include "Menus.h"
#include "MessageBoxRecorder.h"
#include "PopupMenu.h"
#include "TestQuizHost.h"

#include <QAbstractButton>
#include <QMenu>
#include <QMimeData>
#include <QSystemTrayIcon>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>
#include <qpa/qplatformdrag.h>
#include <qpa/qwindowsysteminterface.h>

#include <filesystem>
#include <memory>
#include <set>

namespace {

// A quiz window on a deck in a fresh folder, driven through its real widgets.
class QuizDlgTest : public ::testing::Test {
protected:
    static DeckSpec Capitals(int flags = 0, int minutes = 1) {
        return {{{"France?", "Paris"}, {"Italy?", "Rome"}, {"Spain?", "Madrid"}}, minutes, flags};
    }
    // Starts (or starts again) on the deck; done once the first question is on screen.
    void Start(const DeckSpec& deck) {
        TearDown();
        WriteFileBytes(dir.File("deck.qld"), MakeDataFile(deck));
        WriteFileBytes(dir.File("backimg.bmp"), ReadFileBytes(QUILLOW_SKIN_PICTURE));
        host = std::make_unique<TestQuizHost>(dir.File("deck.qld"), dir.Path());
        quiz = std::make_unique<CQuizDlg>(*host);
        quiz->Create();
        quiz->show();
        EXPECT_TRUE(QTest::qWaitFor([&] { return quiz->findChild<QSystemTrayIcon*>(); }));
    }
    void TearDown() override {
        if (quiz)
            quiz->DestroyWindow();
    }

    std::int32_t At(std::size_t offset) const {
        return Int32At(ReadFileBytes(dir.File("deck.qld")), offset);
    }
    std::int32_t Correct(int slot) const { return At(CorrectCountOffset(slot)); }
    std::string QuestionShown() const { return quiz->GetDlgItemText(IDC_QUESTION_TEXT); }
    bool Shown() const { return quiz->IsShownToUser(); }
    // The pop-up timer's period in milliseconds, or -1 when it does not run.
    int PopupPeriod() const {
        const auto* timer = quiz->findChild<QTimer*>(QString(), Qt::FindDirectChildrenOnly);
        return quiz->IsTimerRunning(CQuizDlg::ID_POPUP_TIMER) ? timer->interval() : -1;
    }

    void Press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(quiz->GetDlgItem(IDC_ANSWER_BOX), key, modifiers);
    }
    void Answer(const std::string& text) {
        quiz->SetDlgItemText(IDC_ANSWER_BOX, text);
        Press(Qt::Key_Return);
    }
    static void Click(const CDialog& window, int id) {
        qobject_cast<QAbstractButton*>(window.GetDlgItem(id))->click();
    }
    // Runs the action, each dialog that it opens driven by the script.
    static void WithDialogs(const CDialog::ModalRunHandler& script,
                            const std::function<void()>& action) {
        ScopedHandler dialogs(CDialog::SetModalRunHandler, script);
        action();
    }
    // Chooses the item of the Function menu, opened with F9, that shows the label.
    void Choose(const QString& label) {
        ScopedHandler menu(SetPopupMenuHandler, [label](QMenu& items, QPoint) {
            const auto actions = items.actions();
            const auto item = std::find_if(actions.begin(), actions.end(),
                                           [&](auto* action) { return action->text() == label; });
            return item != actions.end() ? (*item)->data().toInt() : 0;
        });
        Press(Qt::Key_F9);
        QCoreApplication::processEvents();
    }

    TempDir dir;
    MessageBoxRecorder boxes;
    std::unique_ptr<TestQuizHost> host;
    std::unique_ptr<CQuizDlg> quiz;
};

// Types the number into the go-to dialog and ends it, cancelling when there is none.
void GoTo(CDialog& dialog, const std::string& number) {
    dialog.SetDlgItemText(IDC_GOTO_NUMBER, number);
    QTest::keyClick(dialog.GetDlgItem(IDC_GOTO_NUMBER),
                    number.empty() ? Qt::Key_Escape : Qt::Key_Return);
}

} // namespace

// A wrong answer shows the stored one and keeps the typed text; a right one (by the file's
// letter-case option) is counted on disk and the schedule moves on. Answer only reveals, F8 only
// moves on.
TEST_F(QuizDlgTest, AnswersAreCountedAndTheScheduleMovesOn) {
    Start({{{"France?", "Paris"}, {"", "Berlin\r\nBonn"}, {"Big Apple?", "New York"}},
           1,
           OPT_MATCH_CASE});
    Answer("paris");
    EXPECT_EQ(quiz->GetDlgItemText(IDC_ANSWER_BOX), "paris");
    EXPECT_EQ(Correct(0), 0);
    Answer(" Par is");
    EXPECT_EQ(Correct(0), 1);
    EXPECT_EQ(QuestionShown(), "{Push [Edit] button to edit this question and answer.}");
    Answer("Berlin\nBonn");
    EXPECT_EQ(Correct(1), 1);
    EXPECT_EQ(ReadFileBytes(dir.File("deck.qld"))[RecordOffset(1) + 4], 0) << "no hint stored";
    quiz->SetDlgItemText(IDC_ANSWER_BOX, "New York");
    Click(*quiz, IDC_ANSWER);
    Press(Qt::Key_F8);
    EXPECT_EQ(Correct(2), 0);
    EXPECT_EQ(boxes.Texts(), (std::vector<std::string>{"Paris", "New York"}));
    EXPECT_EQ(QuestionShown(), "France?");
}

// Hidden at start for the file's period, minimised where no tray shows the icon. Option stores
// the switches and the period on OK only; a waiting pop-up takes a new period at once, a shown
// window at its next hide. The icon's left and right buttons and its menu bring the window back
// as it was, each showing with the sound once it is on.
TEST_F(QuizDlgTest, HideOptionsAndPopup) {
    std::vector<std::string> played;
    ScopedHandler sounds(SetSoundHandler, [&](const std::string& path) { played.push_back(path); });
    const auto options = [&](const char* period, int tick, int end = IDOK) {
        WithDialogs(
            [&](CDialog& dialog) {
                dialog.SetDlgItemText(IDC_OPTION_PERIOD, period);
                Click(dialog, tick);
                Click(dialog, end);
            },
            [&] { quiz->SendCommand(ID_OPTION); });
    };
    // 0x10 means nothing: OK drops it.
    Start(Capitals(OPT_NO_SHOW_AT_START | OPT_MATCH_CASE | 0x10, 7));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !Shown(); }));
    EXPECT_TRUE(quiz->isMinimized());
    EXPECT_EQ(PopupPeriod(), 7 * 60000);
    options("0", IDC_OPTION_HIDE_IF_CORRECT);
    EXPECT_EQ((std::vector{At(20), At(12)}), (std::vector{0x07, 0})) << "switches, period";
    EXPECT_TRUE(QTest::qWaitFor([&] { return Shown(); }));
    options("7", IDC_OPTION_SOUND_ON, IDCANCEL);
    options("2", IDC_OPTION_SOUND_ON);
    EXPECT_EQ((std::vector{At(20), At(12)}), (std::vector{0x0f, 2})) << "Cancel stores nothing";
    EXPECT_EQ(PopupPeriod(), -1);
    quiz->SetDlgItemText(IDC_ANSWER_BOX, "Par");
    Press(Qt::Key_Escape);
    EXPECT_EQ(PopupPeriod(), 2 * 60000);
    auto* icon = quiz->findChild<QSystemTrayIcon*>();
    emit icon->activated(QSystemTrayIcon::Trigger);
    EXPECT_EQ(quiz->GetDlgItemText(IDC_ANSWER_BOX), "Par");
    Answer("Paris");
    EXPECT_FALSE(Shown()) << "hidden once answered";
    emit icon->activated(QSystemTrayIcon::Context);
    EXPECT_EQ(QuestionShown(), "Italy?");
    Click(*quiz, IDC_HIDE);
    icon->contextMenu()->actions().value(0)->trigger();
    EXPECT_TRUE(Shown()) << "by the icon menu's Show Quillow";
    EXPECT_EQ(played, std::vector<std::string>(3, dir.File("Quillow.wav")));
    quiz->close();
    EXPECT_EQ(quiz->result(), IDCANCEL) << "the close box ends it, Escape or not before";
    quiz->DestroyWindow();
    EXPECT_FALSE(icon->isVisible()) << "no icon is left behind";
}

// The file is saved and closed while a file dialog runs, and opened again on Cancel; a new file
// starts with one empty question, another file is drilled under its caption. The manual opens.
TEST_F(QuizDlgTest, FunctionMenuFilesAndManual) {
    Start(Capitals());
    for (int i = 0; i < 3; ++i)
        Press(Qt::Key_F8);
    std::string chosen; // empty: Cancel
    ScopedHandler files(CFileDialog::SetRunHandler, [&](CFileDialog&, std::string& path) {
        path = chosen;
        return chosen.empty() ? IDCANCEL : IDOK;
    });
    for (const char* command : {"New QLD file...", "Open QLD file..."}) {
        Choose(command);
        ASSERT_TRUE(quiz->File().IsOpen()) << "opened again";
    }
    EXPECT_EQ(At(68), 1) << "the header was saved";
    chosen = dir.File("fresh.qld");
    Choose("New QLD file...");
    EXPECT_EQ(QuestionShown(), "{Push [Edit] button to edit this question and answer.}");
    WriteFileBytes(dir.File("other.qld"), MakeDataFile({{{"Ocean?", "Pacific"}}}));
    chosen = dir.File("other.qld");
    Choose("Open QLD file...");
    EXPECT_EQ(host->GetDataFilePath(), dir.File("other.qld"));
    EXPECT_EQ(host->storedCaption, "Quillow V2.0 - other.qld");
    EXPECT_EQ(QuestionShown(), "Ocean?");
    std::vector<std::string> opened;
    ScopedHandler viewer(SetViewerHandler,
                         [&](const std::string& path) { opened.push_back(path); });
    Choose("User's Manual...");
    EXPECT_EQ(opened, std::vector<std::string>{dir.File("manual.txt")});
}

// Go continues at a question of the range, on disk at once; other numbers up to 1000 are
// refused with a message, larger ones silently. The editor's texts show at once.
TEST_F(QuizDlgTest, GoWithinTheRangeAndEdit) {
    DeckSpec deck = Capitals();
    deck.rangeFrom = deck.position = 1;
    deck.rangeTo = 2;
    Start(deck);
    for (const char* number : {"1", "4", "1001", ""})
        WithDialogs([&](CDialog& dialog) { GoTo(dialog, number); }, [&] { Press(Qt::Key_F7); });
    EXPECT_EQ(boxes.Shown().size(), 2u);
    EXPECT_EQ(At(8), 1) << "position";
    WithDialogs([&](CDialog& dialog) { GoTo(dialog, "3"); }, [&] { Click(*quiz, IDC_GO); });
    EXPECT_EQ(QuestionShown(), "Spain?");
    EXPECT_EQ(At(8), 2);
    WithDialogs(
        [](CDialog& dialog) {
            dialog.SetDlgItemText(IDC_EDIT_QUESTION, "Peru?");
            Click(dialog, IDOK);
        },
        [&] { Press(Qt::Key_Return, Qt::ShiftModifier); });
    EXPECT_EQ(QuestionShown(), "Peru?");
}

// OK stores the range to 2 and the mode Rough and restarts at the range's first question; the
// correct counts are cleared only when the question is answered Yes. Cancel keeps all.
TEST_F(QuizDlgTest, MemoryScheduleStoresRangeAndModeAndClearsOnlyWhenConfirmed) {
    for (const auto& [tick, answer, end] : {std::tuple{false, 0, IDOK},
                                            {true, IDYES, IDOK},
                                            {true, IDNO, IDOK},
                                            {true, IDYES, IDCANCEL}}) {
        SCOPED_TRACE(testing::Message() << tick << answer << end);
        Start(Capitals());
        Answer("Paris");
        boxes.Clear();
        if (tick)
            boxes.AnswerNext(answer);
        const auto script = [&](CDialog& dialog) {
            if (dialog.GetDlgItem(IDC_GOTO_NUMBER))
                return GoTo(dialog, "2");
            Click(dialog, IDC_SCHEDULE_TO);
            Click(dialog, IDC_SCHEDULE_ROUGH);
            if (tick)
                Click(dialog, IDC_SCHEDULE_INIT_RECORDS);
            Click(dialog, end);
        };
        WithDialogs(script, [&] { Choose("Memory Schedule..."); });
        const bool ok = end == IDOK;
        EXPECT_EQ((std::vector{At(76), At(8), At(64)}),
                  (ok ? std::vector{1, 0, 2} : std::vector{19, 1, 1}))
            << "range to, position, mode";
        EXPECT_EQ(QuestionShown(), ok ? "France?" : "Italy?");
        EXPECT_EQ(Correct(0), ok && answer == IDYES ? 0 : 1);
        EXPECT_EQ(boxes.Shown().size(), ok && tick ? 1u : 0u);
    }
}

// A deck of another program, opened or dropped, becomes a data file beside it under a free name,
// with qld's summary in a message box; one that qld refuses leaves the current file open.
TEST_F(QuizDlgTest, DecksOfOtherProgramsOpenAsNewDataFiles) {
    Start(Capitals());
    std::filesystem::create_symlink(QLD_EXECUTABLE, dir.File("qld"));
    std::filesystem::copy_file(QLD_SAMPLES "/anki-apkg-export.apkg",
                               dir.File("anki-apkg-export.apkg"));
    const Bytes taken = MakeDataFile({{{"mine", "kept"}}});
    WriteFileBytes(dir.File("anki-apkg-export.qld"), taken);
    std::string filters;
    ScopedHandler files(CFileDialog::SetRunHandler, [&](CFileDialog& dialog, std::string& path) {
        filters = dialog.NameFilters().join(';').toStdString();
        path = dir.File("anki-apkg-export.apkg");
        return IDOK;
    });
    Choose("Open QLD file...");
    EXPECT_EQ(filters, "Quillow Data File (*.qld);Decks of other programs (*.apkg *.colpkg *.cards "
                       "*.kvtml)");
    EXPECT_EQ(boxes.Texts(),
              std::vector<std::string>{
                  "anki-apkg-export-2.qld: 3 cards added to a new file, 3 records; from HTML: 1 "
                  "entity, 2 tags removed; left out: 1 sound, 1 image\n\nqld: " +
                  dir.File("anki-apkg-export.apkg") + ": note 4: one field, no answer: skipped"});
    EXPECT_EQ(host->GetDataFilePath(), dir.File("anki-apkg-export-2.qld"));
    EXPECT_EQ(QuestionShown(), "France");
    EXPECT_EQ(ReadFileBytes(dir.File("anki-apkg-export.qld")), taken);

    const std::pair<std::string, std::string> refused[] = {
        {"not-sqlite.apkg", "not a readable Anki collection: file is not a database"},
        {"kvtml1-animals.kvtml", "entry 1: one field, no answer: skipped"}};
    for (const auto& [sample, reason] : refused) {
        std::filesystem::copy_file(std::string(QLD_SAMPLES "/") + sample, dir.File(sample));
        boxes.Clear();
        QMimeData dropped;
        dropped.setUrls({QUrl::fromLocalFile(QString::fromStdString(dir.File(sample)))});
        // As the desktop delivers a drag and its drop, here on the answer box.
        const QPoint at = quiz->GetDlgItem(IDC_ANSWER_BOX)->geometry().center();
        QWindowSystemInterface::handleDrag(quiz->windowHandle(), &dropped, at, Qt::CopyAction,
                                           Qt::LeftButton, Qt::NoModifier);
        QWindowSystemInterface::handleDrop(quiz->windowHandle(), &dropped, at, Qt::CopyAction,
                                           Qt::LeftButton, Qt::NoModifier);
        ASSERT_EQ(boxes.Texts().size(), 1u) << sample;
        const bool empty = sample.ends_with(".kvtml");
        EXPECT_TRUE(boxes.Texts()[0].starts_with("Cannot convert " + sample + ":\n" +
                                                 (empty ? "it gives no cards\n" : "") +
                                                 "qld: " + dir.File(sample) + ": " + reason))
            << boxes.Texts()[0];
        EXPECT_EQ(host->GetDataFilePath(), dir.File("anki-apkg-export-2.qld"));
        EXPECT_TRUE(quiz->File().IsOpen());
    }
    std::set<std::string> left; // no converted file left behind under a name of its own
    for (const auto& entry : std::filesystem::directory_iterator(dir.Path()))
        left.insert(entry.path().filename().string());
    EXPECT_EQ(left, (std::set<std::string>{"anki-apkg-export-2.qld", "anki-apkg-export.apkg",
                                           "anki-apkg-export.qld", "backimg.bmp", "deck.qld",
                                           "kvtml1-animals.kvtml", "not-sqlite.apkg", "qld"}));
}

#include "QuizFixture.h"

#include "AboutDlg.h"
#include "DesktopServices.h"
#include "ExitTrap.h"
#include "FileDialog.h"
#include "Menus.h"
#include "PopupMenu.h"
#include "ScopedHandler.h"
#include "WinApp.h"

#include <QAbstractButton>
#include <QAction>
#include <QLabel>
#include <QMenu>

namespace {

// Answers the file dialogs with a path, or cancels them when it is empty; keeps what they asked.
class FileDialogScript {
public:
    explicit FileDialogScript(std::string answer)
        : m_answer(std::move(answer)),
          m_run(CFileDialog::SetRunHandler, [this](CFileDialog& dialog, std::string& path) {
              asked.push_back({dialog.IsOpenDialog(), dialog.Title(), dialog.DefaultExtension(),
                               dialog.FileName(), dialog.Flags(), dialog.NameFilters()});
              path = m_answer;
              return m_answer.empty() ? IDCANCEL : IDOK;
          }) {}

    struct Asked {
        bool open;
        std::string title, extension, name;
        unsigned flags;
        QStringList filters;
    };
    std::vector<Asked> asked;

private:
    std::string m_answer;
    ScopedHandler<CFileDialog::RunHandler> m_run;
};

// The header without its save time, which every write renews.
Bytes HeaderWithoutTime(const Bytes& file) {
    Bytes header(file.begin(), file.begin() + 104);
    PutInt32At(header, 28, 0);
    return header;
}

} // namespace

class FunctionMenuTest : public QuizTest {
protected:
    std::string StoredTitle() const { return host->storedCaption; }
};

TEST_F(FunctionMenuTest, MenuDropsDownUnderTheFunctionButton) {
    Start(Capitals());
    QStringList items;
    QPoint shownAt;
    {
        ScopedHandler menu(SetPopupMenuHandler, [&](QMenu& menu, QPoint at) {
            for (const QAction* action : menu.actions())
                items << (action->isSeparator() ? QStringLiteral("-") : action->text());
            shownAt = at;
            return 0;
        });
        qobject_cast<QAbstractButton*>(quiz->GetDlgItem(IDC_FUNCTION))->click();
    }
    EXPECT_EQ(items,
              (QStringList{"Memory Schedule...", "Option...", "-", "New QLD file...",
                           "Open QLD file...", "-", "User's Manual...", "-", "About Quillow..."}));
    const QWidget* button = quiz->GetDlgItem(IDC_FUNCTION);
    EXPECT_EQ(shownAt, button->mapToGlobal(QPoint(0, button->height() + 1)));
    EXPECT_EQ(quiz->focusWidget(), AnswerBox());
}

TEST_F(FunctionMenuTest, NewFileStartsEmptyUnderItsOwnCaption) {
    Start(Capitals());
    Answer("Paris");
    Press(Qt::Key_F8);
    Press(Qt::Key_F8);
    FileDialogScript files(dir.File("fresh.qld"));
    Choose(ID_NEW_FILE);
    ASSERT_EQ(files.asked.size(), 1u);
    const auto& asked = files.asked[0];
    EXPECT_FALSE(asked.open);
    EXPECT_EQ(asked.title, "Create a new QLD File");
    EXPECT_EQ(asked.extension, "qld");
    EXPECT_EQ(asked.name, "untitled");
    EXPECT_EQ(asked.flags, unsigned{OFN_OVERWRITEPROMPT});
    EXPECT_EQ(asked.filters, QStringList{"Quillow Data File (*.qld)"});

    EXPECT_EQ(quiz->windowTitle(), "Quillow V2.0 - fresh.qld");
    EXPECT_EQ(StoredTitle(), "Quillow V2.0 - fresh.qld");
    EXPECT_EQ(host->GetDataFilePath(), dir.File("fresh.qld"));
    EXPECT_EQ(QuestionShown(), "{Push [Edit] button to edit this question and answer.}");
    EXPECT_EQ(ReadFileBytes(dir.File("fresh.qld")).size(), 104u + 1052) << "the first question";
    EXPECT_EQ(Int32At(DataBytes(), 68), 1) << "the old file's header was saved first";
}

TEST_F(FunctionMenuTest, OpenFileShowsTheOtherFile) {
    Start(Capitals());
    WriteFileBytes(dir.File("other.qld"), MakeDataFile(DeckSpec{{{"Ocean?", "Pacific"}}}));
    FileDialogScript files(dir.File("other.qld"));
    Choose(ID_OPEN_FILE);
    ASSERT_EQ(files.asked.size(), 1u);
    EXPECT_TRUE(files.asked[0].open);
    EXPECT_EQ(files.asked[0].title, "Open a QLD File");
    EXPECT_EQ(files.asked[0].flags, unsigned{OFN_FILEMUSTEXIST});
    EXPECT_EQ(QuestionShown(), "Ocean?");
    EXPECT_EQ(StoredTitle(), "Quillow V2.0 - other.qld");
    Answer("pacific");
    EXPECT_EQ(Int32At(ReadFileBytes(dir.File("other.qld")), CorrectCountOffset(0)), 1);
}

TEST_F(FunctionMenuTest, CancelKeepsTheFileTheQuestionAndTheHeader) {
    Start(Capitals());
    Press(Qt::Key_F8);
    const Bytes header = HeaderWithoutTime(DataBytes());
    for (int command : {ID_NEW_FILE, ID_OPEN_FILE}) {
        FileDialogScript files("");
        Choose(command);
        EXPECT_EQ(QuestionShown(), "Capital of Italy?");
        EXPECT_EQ(quiz->windowTitle(), "Quillow V2.0 - deck.qld");
        EXPECT_EQ(HeaderWithoutTime(DataBytes()), header);
    }
    Answer("Rome");
    EXPECT_EQ(Int32At(DataBytes(), CorrectCountOffset(1)), 1) << "the file is open again";
}

TEST_F(FunctionMenuTest, OpeningAMissingFileFallsBackToTheDefault) {
    Start(Capitals());
    WriteFileBytes(dir.File("Quillow.qld"), MakeDataFile(DeckSpec{{{"Default?", "yes"}}}));
    FileDialogScript files(dir.File("gone.qld"));
    Choose(ID_OPEN_FILE);
    ASSERT_EQ(boxes.Shown().size(), 1u);
    EXPECT_EQ(boxes.Shown()[0].text.substr(0, 17), "File not found.\n\n");
    EXPECT_EQ(QuestionShown(), "Default?");
    EXPECT_EQ(quiz->windowTitle(), "Quillow V2.0 - Quillow.qld");
    EXPECT_EQ(StoredTitle(), "Quillow V2.0 - Quillow.qld");
}

TEST_F(FunctionMenuTest, OpeningAFileThatIsNotADataFileEndsWithoutWritingIt) {
    Start(Capitals());
    const Bytes notes{'m', 'y', ' ', 'n', 'o', 't', 'e', 's', '\n'};
    WriteFileBytes(dir.File("notes.qld"), notes);
    FileDialogScript files(dir.File("notes.qld"));
    EXPECT_EQ(ExitStatusOf([&] { quiz->SendCommand(ID_OPEN_FILE); }), 1);
    EXPECT_EQ(boxes.Texts(), std::vector<std::string>{"Defective Header in the QLD file\n\n" +
                                                      dir.File("notes.qld")});
    EXPECT_EQ(ReadFileBytes(dir.File("notes.qld")), notes);
}

TEST_F(FunctionMenuTest, ManualAndAbout) {
    Start(Capitals());
    std::vector<std::string> opened;
    {
        ScopedHandler viewer(SetViewerHandler,
                             [&](const std::string& path) { opened.push_back(path); });
        Choose(ID_USERS_MANUAL);
    }
    EXPECT_EQ(opened, std::vector<std::string>{dir.File("manual.txt")});

    std::vector<std::string> aboutTexts;
    std::vector<QSize> aboutIcons;
    {
        ScopedHandler about(CDialog::SetModalRunHandler, [&](CDialog& dialog) {
            ASSERT_NE(dynamic_cast<CAboutDlg*>(&dialog), nullptr);
            EXPECT_EQ(dialog.windowTitle(), "About Quillow...");
            for (const QLabel* label : dialog.findChildren<QLabel*>()) {
                aboutTexts.push_back(label->text().toStdString());
                if (!label->pixmap().isNull())
                    aboutIcons.push_back(label->pixmap().size());
            }
            QTest::keyClick(&dialog, Qt::Key_Return);
        });
        Choose(ID_ABOUT);
    }
    EXPECT_NE(std::find(aboutTexts.begin(), aboutTexts.end(), "Quillow V2.0"), aboutTexts.end());
    // The licence is named; no address is made up.
    const auto says = [&](const char* words) {
        return std::any_of(aboutTexts.begin(), aboutTexts.end(), [&](const std::string& text) {
            return text.find(words) != std::string::npos;
        });
    };
    EXPECT_TRUE(says("GNU General Public License, version 3 or later"));
    EXPECT_FALSE(says("@"));
    EXPECT_EQ(aboutIcons, (std::vector<QSize>{{40, 40}, {32, 32}})) << "scaled down, never up";
    EXPECT_TRUE(quiz->IsShownToUser());
}

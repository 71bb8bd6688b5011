#include "QuizFixture.h"

#include "AboutDlg.h"
#include "DesktopServices.h"
#include "ExitTrap.h"
#include "FileDialog.h"
#include "Menus.h"
#include "WinApp.h"

#include <QAction>
#include <QLabel>
#include <QMenu>

using FunctionMenuTest = QuizTest;

namespace {

// Answers the file dialogs with a path, or cancels them when it is empty; keeps what they asked.
struct FileDialogScript {
    explicit FileDialogScript(std::string answer)
        : run(CFileDialog::SetRunHandler, [this, answer](CFileDialog& dialog, std::string& path) {
              asked.push_back((dialog.IsOpenDialog() ? "open " : "save ") + dialog.Title() + " " +
                              dialog.DefaultExtension() + " " + dialog.FileName() + " " +
                              std::to_string(dialog.Flags()));
              path = answer;
              return answer.empty() ? IDCANCEL : IDOK;
          }) {}
    std::vector<std::string> asked;
    ScopedHandler<CFileDialog::RunHandler> run;
};

} // namespace

// The menu drops down under its button; the manual opens in the viewer, About as a dialog.
TEST_F(FunctionMenuTest, MenuItemsManualAndAbout) {
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
        Click(*quiz, IDC_FUNCTION);
    }
    EXPECT_EQ(items,
              (QStringList{"Memory Schedule...", "Option...", "-", "New QLD file...",
                           "Open QLD file...", "-", "User's Manual...", "-", "About Quillow..."}));
    const QWidget* button = quiz->GetDlgItem(IDC_FUNCTION);
    EXPECT_EQ(shownAt, button->mapToGlobal(QPoint(0, button->height() + 1)));
    EXPECT_EQ(quiz->focusWidget(), AnswerBox());

    std::vector<std::string> opened;
    {
        ScopedHandler viewer(SetViewerHandler,
                             [&](const std::string& path) { opened.push_back(path); });
        Choose(ID_USERS_MANUAL);
    }
    EXPECT_EQ(opened, std::vector<std::string>{dir.File("manual.txt")});
    std::vector<QSize> icons;
    const auto about = [&](CDialog& dialog) {
        EXPECT_NE(dynamic_cast<CAboutDlg*>(&dialog), nullptr);
        for (const QLabel* label : dialog.findChildren<QLabel*>())
            if (!label->pixmap().isNull())
                icons.push_back(label->pixmap().size());
        QTest::keyClick(&dialog, Qt::Key_Return);
    };
    EXPECT_EQ(WithDialogs(about, [&] { Choose(ID_ABOUT); }), 1);
    EXPECT_EQ(icons, (std::vector<QSize>{{40, 40}, {32, 32}})) << "scaled down, never up";
    EXPECT_TRUE(Shown());
}

TEST_F(FunctionMenuTest, NewFileStartsEmptyUnderItsOwnCaption) {
    Start(Capitals());
    Answer("Paris");
    Press(Qt::Key_F8);
    Press(Qt::Key_F8);
    FileDialogScript files(dir.File("fresh.qld"));
    Choose(ID_NEW_FILE);
    EXPECT_EQ(files.asked, std::vector<std::string>{"save Create a new QLD File qld untitled " +
                                                    std::to_string(OFN_OVERWRITEPROMPT)});
    EXPECT_EQ(quiz->windowTitle(), "Quillow V2.0 - fresh.qld");
    EXPECT_EQ(host->storedCaption, "Quillow V2.0 - fresh.qld");
    EXPECT_EQ(host->GetDataFilePath(), dir.File("fresh.qld"));
    EXPECT_EQ(QuestionShown(), "{Push [Edit] button to edit this question and answer.}");
    EXPECT_EQ(ReadFileBytes(dir.File("fresh.qld")).size(), 104u + 1052) << "the first question";
    EXPECT_EQ(At(68), 1) << "the old file's header was saved first";
}

// A cancelled dialog keeps the file; another file is shown and written; a missing one falls
// back to the default; one that is no data file ends the program without being written.
TEST_F(FunctionMenuTest, OpenAfterCancelThenAMissingFileThenNoDataFile) {
    Start(Capitals());
    Press(Qt::Key_F8);
    Bytes header = DataBytes();
    header.resize(104);
    for (int command : {ID_NEW_FILE, ID_OPEN_FILE}) {
        FileDialogScript files("");
        Choose(command);
        EXPECT_EQ(QuestionShown(), "Capital of Italy?");
        EXPECT_EQ(quiz->windowTitle(), "Quillow V2.0 - deck.qld");
        Bytes now = DataBytes();
        now.resize(104);
        PutInt32At(now, 28, 0); // the save time, which every write renews
        PutInt32At(header, 28, 0);
        EXPECT_EQ(now, header);
    }
    WriteFileBytes(dir.File("other.qld"), MakeDataFile(DeckSpec{{{"Ocean?", "Pacific"}}}));
    {
        FileDialogScript files(dir.File("other.qld"));
        Choose(ID_OPEN_FILE);
        EXPECT_EQ(files.asked, std::vector<std::string>{"open Open a QLD File qld  " +
                                                        std::to_string(OFN_FILEMUSTEXIST)});
    }
    EXPECT_EQ(QuestionShown(), "Ocean?");
    EXPECT_EQ(host->storedCaption, "Quillow V2.0 - other.qld");
    Answer("pacific");
    EXPECT_EQ(Int32At(ReadFileBytes(dir.File("other.qld")), CorrectCountOffset(0)), 1);

    WriteFileBytes(dir.File("Quillow.qld"), MakeDataFile(DeckSpec{{{"Default?", "yes"}}}));
    FileDialogScript files(dir.File("gone.qld"));
    Choose(ID_OPEN_FILE);
    ASSERT_EQ(boxes.Shown().size(), 1u);
    EXPECT_EQ(boxes.Shown()[0].text.substr(0, 17), "File not found.\n\n");
    EXPECT_EQ(QuestionShown(), "Default?");
    EXPECT_EQ(quiz->windowTitle(), "Quillow V2.0 - Quillow.qld");
    EXPECT_EQ(host->storedCaption, "Quillow V2.0 - Quillow.qld");

    boxes.Clear();
    const Bytes notes{'m', 'y', ' ', 'n', 'o', 't', 'e', 's', '\n'};
    WriteFileBytes(dir.File("notes.qld"), notes);
    FileDialogScript notesFile(dir.File("notes.qld"));
    EXPECT_EQ(ExitStatusOf([&] { quiz->SendCommand(ID_OPEN_FILE); }), 1);
    EXPECT_EQ(boxes.Texts(), std::vector<std::string>{"Defective Header in the QLD file\n\n" +
                                                      dir.File("notes.qld")});
    EXPECT_EQ(ReadFileBytes(dir.File("notes.qld")), notes);
}

#include "Dialog.h"
#include "Commands.h"
#include "DataExchange.h"
#include "MessageBox.h"
#include "QtMessageBox.h"
#include "UserMessage.h"
#include "WinApp.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QSettings>
#include <QTest>
#include <QTextEdit>
#include <QTimer>
#include <gtest/gtest.h>

#include <fstream>

namespace {

// A dialog on the quiz window's template with a member answer box and a small command table.
class TestDialog : public CDialog {
public:
    TestDialog() : CDialog(IDD_QUIZ) {}

    std::vector<int> commands;
    std::vector<int> timers;
    std::vector<std::pair<unsigned, std::intptr_t>> messages;
    QPlainTextEdit box;
    int childrenRemoved = 0;

protected:
    void DoDataExchange(CDataExchange* pDX) override { DDX_Control(pDX, IDC_ANSWER_BOX, box); }
    void childEvent(QChildEvent* event) override {
        childrenRemoved += event->removed();
        CDialog::childEvent(event);
    }
    bool OnCommand(int id) override;
    void OnTimer(int id) override { timers.push_back(id); }
    void OnUserMessage(unsigned message, std::intptr_t wParam) override {
        messages.emplace_back(message, wParam);
    }

private:
    void OnHide() { commands.push_back(IDC_HIDE); }
    void OnNext() { commands.push_back(IDC_NEXT); }
    static const CommandEntry<TestDialog> kCommands[];
};

const CommandEntry<TestDialog> TestDialog::kCommands[] = {
    {IDC_HIDE, &TestDialog::OnHide},
    {IDC_NEXT, &TestDialog::OnNext},
};

bool TestDialog::OnCommand(int id) {
    return DispatchCommand<TestDialog>(this, kCommands, id) || CDialog::OnCommand(id);
}

} // namespace

// Controls come from the template in pixels, a bound member takes its control's place, buttons
// send commands and posted ones wait for the event loop.
TEST(DialogTest, TemplateControlsAndCommands) {
    TestDialog dialog;
    dialog.Create();
    EXPECT_EQ(dialog.size(), QSize(506, 170));
    EXPECT_EQ(dialog.GetDlgItem(IDC_GO)->geometry(), QRect(442, 122, 26, 18));
    EXPECT_EQ(dialog.GetDlgItemText(4242), "");
    dialog.SetDlgItemText(IDC_QUESTION_TEXT, "Caf\xC3\xA9?");
    EXPECT_EQ(dialog.GetDlgItemText(IDC_QUESTION_TEXT), "Caf\xC3\xA9?");
    EXPECT_EQ(dialog.GetDlgItem(IDC_ANSWER_BOX), &dialog.box);
    EXPECT_EQ(dialog.box.parentWidget(), &dialog);
    EXPECT_EQ(dialog.box.geometry(), QRect(8, 100, 422, 62));
    EXPECT_EQ(dialog.box.focusPolicy(), Qt::StrongFocus);
    EXPECT_EQ(dialog.findChildren<QPlainTextEdit*>().size(), 1);
    EXPECT_EQ(dialog.childrenRemoved, 0) << "no template control is built to be thrown away";

    qobject_cast<QPushButton*>(dialog.GetDlgItem(IDC_NEXT))->click();
    dialog.PostCommand(IDC_HIDE);
    EXPECT_EQ(dialog.commands, std::vector<int>{IDC_NEXT});
    QCoreApplication::processEvents();
    qobject_cast<QPushButton*>(dialog.GetDlgItem(IDC_GO))->click();
    EXPECT_EQ(dialog.commands, (std::vector<int>{IDC_NEXT, IDC_HIDE}));

    SendUserMessage(&dialog, WM_USER + 1, 5);
    EXPECT_EQ(dialog.messages, (std::vector<std::pair<unsigned, std::intptr_t>>{{WM_USER + 1, 5}}));
}

TEST(DialogTest, TimersRepeatUntilKilled) {
    TestDialog dialog;
    dialog.SetTimer(7, 1);
    ASSERT_TRUE(QTest::qWaitFor([&] { return dialog.timers.size() >= 3; }, 3000));
    dialog.KillTimer(7);
    EXPECT_FALSE(dialog.IsTimerRunning(7));
    const auto fired = dialog.timers.size();
    QTest::qWait(30);
    EXPECT_EQ(dialog.timers.size(), fired);
    EXPECT_EQ(dialog.timers.front(), 7);
}

TEST(DialogTest, ModalRunEndsByEscapeCloseOrTheScript) {
    auto previous = CDialog::SetModalRunHandler([](CDialog& dialog) {
        QTest::keyClick(dialog.GetDlgItem(IDC_ANSWER_BOX), Qt::Key_Escape);
    });
    TestDialog escaped;
    EXPECT_EQ(escaped.DoModal(), IDCANCEL);
    EXPECT_FALSE(escaped.isVisible());

    CDialog::SetModalRunHandler([](CDialog& dialog) { dialog.EndDialog(IDOK); });
    TestDialog accepted;
    EXPECT_EQ(accepted.DoModal(), IDOK);

    CDialog::SetModalRunHandler([](CDialog&) {});
    TestDialog abandoned;
    EXPECT_EQ(abandoned.DoModal(), IDCANCEL);
    CDialog::SetModalRunHandler(std::move(previous));
}

TEST(ProfileTest, StringsRoundTripAndGarbageGivesTheDefault) {
    CWinApp* app = AfxGetApp();
    app->WriteProfileString("Recent QLD File", "File1", "/tmp/a b/\xC3\xA9.qld");
    EXPECT_EQ(app->GetProfileString("Recent QLD File", "File1", "x"), "/tmp/a b/\xC3\xA9.qld");
    EXPECT_EQ(app->GetProfileString("Recent QLD File", "Missing", "ExtraQuillow"), "ExtraQuillow");

    const std::string path = QSettings("Brightfen", "Quillow").fileName().toStdString();
    std::ofstream(path, std::ios::binary | std::ios::trunc) << "\x01\xff[[[\n=@ByteArray(\x02)\n";
    EXPECT_EQ(app->GetProfileString("Recent QLD File", "Title", "ExtraQuillow"), "ExtraQuillow");
    std::ofstream(path, std::ios::trunc)
        << "[Recent%20QLD%20File]\nTitle=@Variant(\\0\\0\\0\\x7f)\n";
    EXPECT_EQ(app->GetProfileString("Recent QLD File", "Title", "ExtraQuillow"), "ExtraQuillow");
    std::ofstream(path, std::ios::trunc)
        << "[Recent%20QLD%20File]\nFile1=/" << std::string(10'000'000, 'a') << "\n";
    EXPECT_EQ(app->GetProfileString("Recent QLD File", "File1", ""), "");
}

// A box is owned by the main window when no other is active, shows the program's icon and its
// whole caption, and fits on the screen whatever the text: a long one scrolls.
TEST(QtMessageBoxTest, OwnedWithTheIconAndFitsTheScreenWhateverTheText) {
    QWidget mainWindow;
    AfxGetApp()->m_pMainWnd = &mainWindow;
    QString lines;
    for (int k = 1; k <= 70; ++k)
        lines += QStringLiteral("line %1\n").arg(k);
    const QString caption = QStringLiteral("The correct answer is...");
    for (const QString& text : {QStringLiteral("Paris"), QString(499, 'x'), lines}) {
        SCOPED_TRACE(text.left(20).toStdString());
        QWidget* owner = nullptr;
        QSize size;
        bool hasIcon = false;
        QString shown;
        QTimer::singleShot(0, [&] {
            QWidget* box = QApplication::activeModalWidget();
            ASSERT_NE(box, nullptr);
            owner = box->parentWidget();
            size = box->frameGeometry().size();
            hasIcon = !box->windowIcon().isNull();
            for (const QLabel* label : box->findChildren<QLabel*>())
                if (label->isVisible())
                    shown += label->text();
            for (const QTextEdit* view : box->findChildren<QTextEdit*>())
                shown += view->toPlainText();
            QTest::keyClick(box, Qt::Key_Return);
        });
        EXPECT_EQ(ShowQtMessageBox({text.toStdString(), caption.toStdString(), MB_OK}), IDOK);
        EXPECT_EQ(owner, &mainWindow);
        EXPECT_TRUE(hasIcon);
        EXPECT_TRUE(shown.contains(text));
        QFont title;
        title.setBold(true);
        EXPECT_GE(size.width(), QFontMetrics(title).horizontalAdvance(caption) + 100);
        const QSize screen = QGuiApplication::primaryScreen()->availableGeometry().size();
        EXPECT_LE(size.width(), screen.width());
        EXPECT_LE(size.height(), screen.height());
    }
    AfxGetApp()->m_pMainWnd = nullptr;
}

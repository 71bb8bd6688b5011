#include "Dialog.h"
#include "FileDialog.h"
#include "MessageBox.h"
#include "QtMessageBox.h"
#include "ScopedHandler.h"
#include "TempDir.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

// An application window without an owner has its own task-bar entry; the close box comes with
// the system menu. A modal run tells Escape (which hides the quiz window) from the close box
// (which ends the program).
TEST(DialogTest, WindowFlagsAndHowAModalRunEnded) {
    struct Dialog : CDialog {
        using CDialog::CDialog;
        using CDialog::TakeEscapePress;
    };
    QWidget owner;
    const struct {
        int id;
        QWidget* parent;
        Qt::WindowType type;
        bool closeBox;
        CDialog::ModalRunHandler run;
        int result;
        bool escape;
    } cases[] = {
        {IDD_QUIZ, nullptr, Qt::Window, true,
         [](CDialog& d) { QTest::keyClick(&d, Qt::Key_Escape); }, IDCANCEL, true},
        {IDD_QUIZ, &owner, Qt::Dialog, true, [](CDialog& d) { d.close(); }, IDCANCEL, false},
        {IDD_ABOUT, nullptr, Qt::Dialog, true, [](CDialog& d) { d.EndDialog(IDOK); }, IDOK, false},
        {IDD_GOTO, nullptr, Qt::Tool, false, [](CDialog&) {}, IDCANCEL, false}};
    for (const auto& c : cases) {
        ScopedHandler modal(CDialog::SetModalRunHandler, c.run);
        Dialog dialog(c.id, c.parent);
        EXPECT_EQ(dialog.DoModal(), c.result) << c.id;
        EXPECT_EQ(dialog.windowType(), c.type) << c.id;
        EXPECT_EQ(dialog.windowFlags().testFlag(Qt::WindowCloseButtonHint), c.closeBox) << c.id;
        EXPECT_EQ(dialog.TakeEscapePress(), c.escape) << c.id;
    }
}

// The real boxes answer with the button pressed; the dialog of a new file asks before it takes
// one that is there, and stays open when the answer is No.
TEST(DialogTest, RealBoxesAnswerAndAskAsPressed) {
    // Presses the button of the box that shows next.
    const auto press = [](QMessageBox::StandardButton button) {
        QTimer::singleShot(0, [button] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget()))
                box->button(button)->click();
        });
    };
    for (const auto& [button, id] : {std::pair{QMessageBox::Yes, IDYES}, {QMessageBox::No, IDNO}}) {
        press(button);
        EXPECT_EQ(ShowQtMessageBox({"Sure?", "Quillow", MB_YESNO}), id);
    }
    TempDir dir;
    WriteFileBytes(dir.File("kept.qld"), Bytes(5, 'x'));
    CFileDialog dialog(false, "qld", "", OFN_OVERWRITEPROMPT, "Quillow Data File (*.qld)|*.qld||");
    bool asked = false;
    QTimer::singleShot(0, [&] {
        auto* files = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        files->selectFile(QString::fromStdString(dir.File("kept.qld")));
        QTimer::singleShot(0, [&] {
            asked = qobject_cast<QMessageBox*>(QApplication::activeModalWidget()) != nullptr;
            press(QMessageBox::No);
            QTimer::singleShot(0, files, &QDialog::reject);
        });
        QTest::keyClick(files->focusWidget(), Qt::Key_Return);
    });
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_TRUE(asked);
}

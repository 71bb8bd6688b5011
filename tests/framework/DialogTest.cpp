#include "Dialog.h"
#include "MessageBox.h"
#include "ScopedHandler.h"

#include <QTest>
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

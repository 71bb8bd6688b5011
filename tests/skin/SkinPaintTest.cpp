#include "DataFileBuilder.h"
#include "MessageBoxRecorder.h"
#include "PanelStatic.h"
#include "QuizDlg.h"
#include "SkinButton.h"
#include "SkinPictures.h"
#include "TestHost.h"
#include "TestQuizHost.h"

#include <QCoreApplication>
#include <QCursor>
#include <QScreen>
#include <QTest>
#include <gtest/gtest.h>

namespace {

const QPoint kFarAway(5000, 5000);

// Counts the paints of the widgets it watches.
struct PaintCounter : QObject {
    bool eventFilter(QObject*, QEvent* event) override {
        paints += event->type() == QEvent::Paint;
        return false;
    }
    int paints = 0;
};

// The skinned controls, shown offscreen on a picture whose regions all differ. In the window:
// large buttons Edit and Answer (of the second face group) and the small Go.
class SkinPaintTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(LoadPicture(MakeBmp(400, 40, 0)), nullptr);
        QCursor::setPos(kFarAway);
        Place(edit, "Edit", 0, {0, 20, 50, 20}, 0);
        Place(answer, "Answer", 60, {0, 20, 50, 20}, 1);
        Place(go, "Go", 120, {10, 0, 30, 19}, 0);
        window.show();
        QCoreApplication::processEvents();
    }
    void TearDown() override { FreeBackgroundImage(); }

    void Place(CSkinButton& button, const char* caption, int x, const QRect& strip, int group) {
        button.setParent(&window);
        button.setText(caption);
        button.move(x, 10);
        button.SetStripPos(strip.x(), strip.y(), strip.width(), strip.height(), group);
        button.installEventFilter(&painted);
    }
    // Whether the window shows the button with the face at `face`, outside the caption.
    bool Shows(const QWidget& button, const QPoint& face) const {
        const QRect top(button.x(), button.y(), button.width(), 3);
        return ShowsPicture(window.screen()->grabWindow(window.winId()).toImage(), top, face);
    }

    PaintCounter painted;
    QWidget window;
    CSkinButton edit, answer, go;
};

} // namespace

TEST_F(SkinPaintTest, ButtonFaceFollowsTheStateInItsStrip) {
    // The face shown; whether the button is disabled, down and under the cursor.
    const std::tuple<int, bool, bool, bool> cases[] = {
        {CSkinButton::FACE_NORMAL, false, false, false},
        {CSkinButton::FACE_PRESSED, false, true, false},
        {CSkinButton::FACE_HOVER, false, false, true},
        {CSkinButton::FACE_DISABLED, true, false, false},
        {CSkinButton::FACE_DISABLED, true, true, true}};
    // Each button's normal face and size; its other faces follow at steps of its width.
    const std::tuple<CSkinButton*, QPoint, QSize> strips[] = {
        {&edit, {0, 20}, {50, 20}}, {&answer, {200, 20}, {50, 20}}, {&go, {10, 0}, {30, 19}}};
    for (const auto& [button, normal, size] : strips) {
        EXPECT_EQ(button->size(), size);
        for (const auto& [state, disabled, down, underCursor] : cases) {
            SCOPED_TRACE(::testing::Message() << button->text().toStdString() << ", face " << state
                                              << (down ? ", down" : ""));
            button->setEnabled(!disabled);
            button->setDown(down);
            QCursor::setPos(underCursor ? button->mapToGlobal(QPoint(size.width() - 1, 0))
                                        : kFarAway);
            button->repaint();
            const QPoint face = normal + QPoint(size.width() * state, 0);
            EXPECT_TRUE(Shows(*button, face));
            EXPECT_FALSE(ShowsPicture(button->grab().toImage(), button->rect(), face))
                << "a caption is drawn";
        }
    }
}

// One button at most is lit, with the one timer running, until the cursor has left it or it is
// destroyed.
TEST_F(SkinPaintTest, ButtonLightPassesFromButtonToButtonAndGoesOut) {
    edit.OnNcHitTest();
    EXPECT_EQ(CSkinButton::HoverButton(), &edit);
    EXPECT_TRUE(Shows(edit, {100, 20}));

    answer.OnNcHitTest();
    EXPECT_EQ(CSkinButton::HoverButton(), &answer);
    EXPECT_TRUE(answer.IsHoverTimerRunning());
    EXPECT_EQ(edit.IsHoverTimerRunning() + answer.IsHoverTimerRunning() + go.IsHoverTimerRunning(),
              1);
    EXPECT_TRUE(Shows(edit, {0, 20})) << "Edit is normal again";
    EXPECT_TRUE(Shows(answer, {300, 20}));

    painted.paints = 0;
    answer.OnNcHitTest();
    answer.OnNcHitTest();
    EXPECT_EQ(painted.paints, 0) << "the lit button is not repainted";

    QCursor::setPos(answer.mapToGlobal(QPoint(49, 19)));
    answer.OnTimer(CSkinButton::ID_HOVER_TIMER);
    EXPECT_EQ(CSkinButton::HoverButton(), &answer) << "the cursor is still inside";
    QCursor::setPos(answer.mapToGlobal(QPoint(50, 19)));
    answer.OnTimer(CSkinButton::ID_HOVER_TIMER);
    EXPECT_EQ(CSkinButton::HoverButton(), nullptr);
    EXPECT_FALSE(answer.IsHoverTimerRunning());
    EXPECT_TRUE(Shows(answer, {200, 20}));
    edit.OnNcHitTest();
    EXPECT_TRUE(QTest::qWaitFor([] { return !CSkinButton::HoverButton(); })) << "by the timer";

    {
        CSkinButton lit;
        lit.OnNcHitTest();
    }
    EXPECT_EQ(CSkinButton::HoverButton(), nullptr);
    QCursor::setPos(edit.mapToGlobal(QPoint(5, 5)));
    edit.OnNcHitTest();
    EXPECT_TRUE(edit.IsHoverTimerRunning()) << "a new light starts its own timer";

    window.hide();
    EXPECT_EQ(CSkinButton::HoverButton(), nullptr) << "a hidden window's buttons are not lit";
    EXPECT_FALSE(edit.IsHoverTimerRunning());
}

TEST_F(SkinPaintTest, PanelShowsLevelNumberRangeModeAndProgress) {
    TestHost host("", "");
    CQuestionFile file(host);
    // The colour each bar segment shows; the number, progress, from and to, as digits shown.
    const struct {
        int correctCount, number, reviewMode, rangeFrom, rangeTo, position, stepIndex;
        const char *bar, *digits;
    } cases[] = {{0, 7, 1, 0, 19, 0, 3, "0000000000", "0007 001 0001 0020"},
                 {3, 12345, 0, 4, 9, 2, 5, "1110000000", "2345 000 0005 0010"},
                 {10, 42, 2, 0, 9, 13, 0, "1112223334", "0042 100 0001 0010"},
                 {12, 1, 3, 5, 5, 5, 1, "1112223334", "0001 100 0006 0006"},
                 {INT32_MIN, 1, 1, 0, 19, 0, 0, "0000000000", "0001 000 0001 0020"},
                 {INT32_MAX, 1, 1, 0, 19, 0, 0, "1112223334", "0001 000 0001 0020"}};
    CPanelStatic panel;
    panel.resize(54, 35);
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << "correct " << c.correctCount << ", number " << c.number
                                          << ", mode " << c.reviewMode);
        file.header.reviewMode = c.reviewMode;
        file.header.rangeFrom = c.rangeFrom;
        file.header.rangeTo = c.rangeTo;
        file.header.position = c.position;
        file.header.stepIndex = c.stepIndex;
        panel.SetInfo(CPanelStatic::LevelOf(c.correctCount), c.number, &file);
        const QImage shot = panel.grab().toImage();
        EXPECT_TRUE(ShowsPicture(shot, QRect(0, 31, 54, 4), QPoint(190, 31))) << "the face";
        for (int i = 0; i < 10; ++i)
            EXPECT_TRUE(ShowsPicture(shot, QRect(3 + 4 * i, 2, 3, 2),
                                     QPoint(90 + 4 * (c.bar[i] - '0'), 10)))
                << "segment " << i;
        // Each digit's glyph, five pixels apart: the number and progress above, the range below.
        const QStringList numbers = QString(c.digits).split(' ');
        const QPoint at[] = {{2, 6}, {30, 6}, {2, 22}, {30, 22}};
        for (int n = 0; n < 4; ++n)
            for (int k = 0; k < numbers[n].size(); ++k)
                EXPECT_TRUE(ShowsPicture(shot, QRect(at[n] + QPoint(5 * k, 0), QSize(5, 9)),
                                         QPoint(90 + 5 * numbers[n][k].digitValue(), 0)))
                    << "digit " << k << " of " << c.digits;
        EXPECT_TRUE(ShowsPicture(shot, QRect(46, 2, 5, 5), QPoint(110 + 6 * c.reviewMode, 9)))
            << "the mode mark";
    }
}

// The quiz window loads the shipped picture from its program folder.
TEST_F(SkinPaintTest, QuizWindowTilesCoverItToItsEdges) {
    TempDir dir;
    MessageBoxRecorder boxes;
    WriteFileBytes(dir.File("deck.qld"), MakeDataFile(DeckSpec{{{"Capital of France?", "Paris"}}}));
    WriteFileBytes(dir.File("backimg.bmp"), ReadFileBytes(QUILLOW_SKIN_PICTURE));
    TestQuizHost host(dir.File("deck.qld"), dir.Path());
    CQuizDlg quiz(host);
    quiz.Create();
    quiz.setFixedSize(250, 90);
    quiz.show();
    QCoreApplication::processEvents();
    const QImage shot = quiz.grab().toImage();
    ASSERT_EQ(shot.size(), QSize(250, 90));
    // Areas that no control covers: the top-left corner, the bottom rows, the right columns.
    for (const QRect& area : {QRect(0, 0, 4, 4), QRect(0, 85, 250, 5), QRect(244, 0, 6, 10)})
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x)
                ASSERT_TRUE(ShowsPicture(shot, QRect(x, y, 1, 1), QPoint(150 + x % 40, y % 40)))
                    << x << ", " << y;
    quiz.DestroyWindow();
}

#include "AnswerEdit.h"
#include "AnswerKeys.h"
#include "PanelStatic.h"
#include "QuestionFile.h"
#include "SkinButton.h"
#include "SkinPictures.h"
#include "TestHost.h"

#include <QCursor>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// A window that records the key commands its answer box sends.
class CommandRecorder : public QWidget {
public:
    std::vector<std::intptr_t> commands;

protected:
    bool event(QEvent* event) override {
        if (event->type() != CUserMessageEvent::EventType())
            return QWidget::event(event);
        if (auto* message = static_cast<CUserMessageEvent*>(event);
            message->message == WM_ANSWERKEY)
            commands.push_back(message->wParam);
        return true;
    }
};

// Whether the area of the shot shows the loaded picture's pixels from `from` on.
bool ShowsPicture(const QImage& shot, const QRect& area, const QPoint& from) {
    const QImage picture = GetBackBitmap()->toImage().convertToFormat(QImage::Format_RGB32);
    return shot.convertToFormat(QImage::Format_RGB32).copy(area) ==
           picture.copy(QRect(from, area.size()));
}

// The skinned controls on a picture whose regions all differ.
struct SkinPaintTest : ::testing::Test {
    void SetUp() override { ASSERT_NE(LoadPicture(MakeBmp(400, 40, 0)), nullptr); }
    void TearDown() override { FreeBackgroundImage(); }
};

} // namespace

// The command (-1: none) arrives before the key click returns; a key without one reaches the box.
TEST(AnswerEditTest, KeysSendTheirCommandsOrReachTheBox) {
    const std::tuple<Qt::Key, Qt::KeyboardModifiers, int, const char*> cases[] = {
        {Qt::Key_Return, Qt::NoModifier, KEYCMD_ANSWER, ""},
        {Qt::Key_Enter, Qt::KeypadModifier, KEYCMD_ANSWER, ""},
        {Qt::Key_Return, Qt::ShiftModifier, KEYCMD_EDIT, ""},
        {Qt::Key_Return, Qt::ControlModifier, -1, "\n"},
        {Qt::Key_Return, Qt::AltModifier, -1, ""},
        {Qt::Key_Tab, Qt::NoModifier, -1, ""},
        {Qt::Key_Tab, Qt::ControlModifier, -1, "\t"},
        {Qt::Key_F7, Qt::NoModifier, KEYCMD_GO, ""},
        {Qt::Key_F8, Qt::ControlModifier, KEYCMD_NEXT, ""},
        {Qt::Key_F9, Qt::NoModifier, KEYCMD_FUNCTION, ""},
        {Qt::Key_F7, Qt::AltModifier, -1, ""},
        {Qt::Key_A, Qt::NoModifier, -1, "a"}};
    for (const auto& [key, modifiers, command, typed] : cases) {
        SCOPED_TRACE(::testing::Message()
                     << "key " << QTest::toString(key) << " modifiers " << int(modifiers));
        CommandRecorder window;
        auto* box = new CAnswerEdit(257);
        box->setParent(&window);
        QTest::keyClick(box, key, modifiers);
        EXPECT_EQ(window.commands,
                  command < 0 ? std::vector<std::intptr_t>{} : std::vector<std::intptr_t>{command});
        EXPECT_EQ(box->toPlainText().toStdString(), typed);
    }
}

// Faces follow at steps of the button's width, four to a group; the caption is teal (the only
// colour greener than red) on the pressed face alone.
TEST_F(SkinPaintTest, ButtonShowsTheFaceOfItsStateAndItsCaption) {
    CSkinButton button;
    button.setText("Answer");
    button.SetStripPos(10, 20, 40, 20, 1);
    button.show();
    for (const auto& [state, disabled, down, underCursor] :
         {std::tuple{CSkinButton::FACE_NORMAL, false, false, false},
          {CSkinButton::FACE_PRESSED, false, true, false},
          {CSkinButton::FACE_HOVER, false, false, true},
          {CSkinButton::FACE_DISABLED, true, true, true}}) {
        SCOPED_TRACE(::testing::Message() << "face " << state);
        button.setEnabled(!disabled);
        button.setDown(down);
        QCursor::setPos(button.mapToGlobal(QPoint(underCursor ? 39 : 40, 0)));
        const QImage shot = button.grab().toImage();
        EXPECT_EQ(shot.size(), QSize(40, 20));
        const QPoint face(170 + 40 * state, 20);
        EXPECT_TRUE(ShowsPicture(shot, QRect(0, 0, 40, 3), face)) << "above the caption";
        EXPECT_FALSE(ShowsPicture(shot, shot.rect(), face)) << "a caption is drawn";
        int teal = 0;
        for (int y = 0; y < 20; ++y)
            for (int x = 0; x < 40; ++x)
                teal += qGreen(shot.pixel(x, y)) > qRed(shot.pixel(x, y));
        EXPECT_EQ(teal > 0, state == CSkinButton::FACE_PRESSED);
    }
}

TEST_F(SkinPaintTest, PanelShowsLevelNumberRangeModeAndProgress) {
    TestHost host("", "");
    CQuestionFile file(host);
    // The colour each bar segment shows; the number, progress, from and to, as digits shown.
    const struct {
        int correctCount, number, reviewMode, rangeFrom, rangeTo, position, stepIndex;
        const char *bar, *digits;
    } cases[] = {{0, 7, 1, 0, 19, 0, 3, "0000000000", "0007 001 0001 0020"},
                 {3, 12345, 0, 4, 9, 6, 5, "1110000000", "2345 012 0005 0010"},
                 {10, 42, 2, 0, 9, 13, 0, "1112223334", "0042 100 0001 0010"},
                 {INT32_MIN, 1, 3, 5, 5, 5, 1, "0000000000", "0001 100 0006 0006"}};
    CPanelStatic panel;
    panel.resize(54, 35);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.digits);
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

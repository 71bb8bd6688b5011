#include "SkinButton.h"
#include "BackgroundImage.h"
#include "SkinPictures.h"

#include <QCoreApplication>
#include <QCursor>
#include <QElapsedTimer>
#include <QScreen>
#include <QWidget>
#include <gtest/gtest.h>

namespace {

const QPoint kFarAway(5000, 5000);

// A skin button that counts its paints.
class CountingButton : public CSkinButton {
public:
    int paints = 0;

protected:
    void paintEvent(QPaintEvent* event) override {
        ++paints;
        CSkinButton::paintEvent(event);
    }
};

// Large buttons Edit and Answer and the small Go, in a window shown offscreen.
class SkinButtonTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(LoadBackgroundImage(ShippedSkinFolder()), nullptr);
        QCursor::setPos(kFarAway);
        window.resize(200, 60);
        edit = AddButton("Edit", 0, {0, 20, 50, 20});
        answer = AddButton("Answer", 60, {0, 20, 50, 20});
        go = AddButton("Go", 120, {0, 0, 30, 19});
        window.show();
        QCoreApplication::processEvents();
    }
    void TearDown() override { FreeBackgroundImage(); }

    CountingButton* AddButton(const char* caption, int x, const QRect& strip) {
        auto* button = new CountingButton;
        button->setParent(&window);
        button->setText(caption);
        button->move(x, 10);
        button->SetStripPos(strip.x(), strip.y(), strip.width(), strip.height(), 0);
        return button;
    }
    // What the window shows of the button at this moment.
    QImage Shown(const QWidget* button) const {
        return window.screen()
            ->grabWindow(window.winId(), button->x(), button->y(), button->width(),
                         button->height())
            .toImage();
    }
    // The face at `face` in the picture, outside the caption: the top and bottom three rows.
    static bool ShowsFace(const QImage& image, const QPoint& face) {
        const int w = image.width(), h = image.height();
        return ShowsPicture(image, QRect(0, 0, w, 3), face) &&
               ShowsPicture(image, QRect(0, h - 3, w, 3), face + QPoint(0, h - 3));
    }

    QWidget window;
    CountingButton *edit = nullptr, *answer = nullptr, *go = nullptr;
};

} // namespace

TEST_F(SkinButtonTest, StripPositionSizesTheButtonAndPlacesItsFaces) {
    CSkinButton button;
    button.resize(80, 30);
    button.SetStripPos(0, 20, 50, 20, 0);
    EXPECT_EQ(button.size(), QSize(50, 20));
    EXPECT_EQ(button.FacePosition(CSkinButton::FACE_HOVER), QPoint(100, 20));
    button.SetStripPos(0, 20, 50, 20, 1);
    EXPECT_EQ(button.FacePosition(CSkinButton::FACE_HOVER), QPoint(300, 20));
    button.SetStripPos(10, 0, 30, 19, 0);
    EXPECT_EQ(button.FacePosition(CSkinButton::FACE_DISABLED), QPoint(100, 0));
    for (const auto& [cx, cy] : {std::pair{0, 20}, {50, 0}, {-1, 20}}) {
        button.SetStripPos(0, 0, cx, cy, 0);
        EXPECT_EQ(button.size(), QSize(30, 19)) << cx << " x " << cy;
    }
}

TEST_F(SkinButtonTest, FaceFollowsTheButtonsState) {
    const struct {
        int state;
        bool disabled, down, underCursor;
    } cases[] = {{CSkinButton::FACE_NORMAL, false, false, false},
                 {CSkinButton::FACE_PRESSED, false, true, false},
                 {CSkinButton::FACE_HOVER, false, false, true},
                 {CSkinButton::FACE_DISABLED, true, false, false},
                 {CSkinButton::FACE_DISABLED, true, true, true}};
    for (CountingButton* button : {edit, go})
        for (const auto& c : cases) {
            SCOPED_TRACE(::testing::Message()
                         << button->text().toStdString() << ", case " << &c - cases);
            const QPoint face = button == edit ? QPoint(50 * c.state, 20) : QPoint(30 * c.state, 0);
            button->setEnabled(!c.disabled);
            button->setDown(c.down);
            QCursor::setPos(c.underCursor ? button->mapToGlobal(QPoint(button->width() - 1, 0))
                                          : kFarAway);
            const QImage painted = button->grab().toImage();
            EXPECT_TRUE(ShowsFace(painted, face));
            EXPECT_FALSE(ShowsPicture(painted, button->rect(), face)) << "a caption is drawn";
        }
}

TEST_F(SkinButtonTest, LightPassesFromButtonToButton) {
    edit->OnNcHitTest();
    EXPECT_EQ(CSkinButton::HoverButton(), edit);
    EXPECT_TRUE(ShowsFace(Shown(edit), {100, 20}));

    answer->OnNcHitTest();
    EXPECT_EQ(CSkinButton::HoverButton(), answer);
    EXPECT_TRUE(answer->IsHoverTimerRunning());
    EXPECT_EQ(
        edit->IsHoverTimerRunning() + answer->IsHoverTimerRunning() + go->IsHoverTimerRunning(), 1);
    EXPECT_GE(edit->paints, 1);
    EXPECT_TRUE(ShowsFace(Shown(edit), {0, 20})) << "Edit is normal again";
    EXPECT_TRUE(ShowsFace(Shown(answer), {100, 20}));

    edit->paints = answer->paints = 0;
    answer->OnNcHitTest();
    answer->OnNcHitTest();
    EXPECT_EQ(edit->paints + answer->paints, 0) << "the lit button is not repainted";
    EXPECT_EQ(CSkinButton::HoverButton(), answer);
    EXPECT_TRUE(answer->IsHoverTimerRunning());
}

TEST_F(SkinButtonTest, LightGoesOutWhenTheCursorLeaves) {
    if (QCursor::pos() != kFarAway)
        GTEST_SKIP() << "the cursor cannot be moved on this platform";
    answer->OnNcHitTest();
    QCursor::setPos(answer->mapToGlobal(QPoint(49, 19)));
    answer->OnTimer(CSkinButton::ID_HOVER_TIMER);
    EXPECT_EQ(CSkinButton::HoverButton(), answer) << "the cursor is still inside";
    QCursor::setPos(answer->mapToGlobal(QPoint(50, 19)));
    answer->OnTimer(CSkinButton::ID_HOVER_TIMER);
    EXPECT_EQ(CSkinButton::HoverButton(), nullptr);
    EXPECT_FALSE(answer->IsHoverTimerRunning());
    EXPECT_TRUE(ShowsFace(Shown(answer), {0, 20}));

    // The button's own timer notices as well.
    edit->OnNcHitTest();
    QElapsedTimer clock;
    clock.start();
    while (CSkinButton::HoverButton() && clock.elapsed() < 3000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    EXPECT_EQ(CSkinButton::HoverButton(), nullptr);
    EXPECT_TRUE(ShowsFace(Shown(edit), {0, 20}));
}

TEST_F(SkinButtonTest, DestroyingTheLitButtonPutsTheLightOut) {
    edit->OnNcHitTest();
    delete edit;
    edit = nullptr;
    EXPECT_EQ(CSkinButton::HoverButton(), nullptr);
    answer->OnNcHitTest();
    EXPECT_EQ(CSkinButton::HoverButton(), answer);
    EXPECT_TRUE(answer->IsHoverTimerRunning()) << "a new light starts its own timer";
}

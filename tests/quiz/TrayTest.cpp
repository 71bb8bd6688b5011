#include "QuizFixture.h"

#include "DesktopServices.h"
#include "QuestionFileHeader.h"
#include "ScopedHandler.h"

#include <QMenu>
#include <QSystemTrayIcon>

using TrayTest = QuizTest;

TEST_F(TrayTest, IconIsThereForTheWholeRunAndPopsTheWindowUp) {
    Start(Capitals());
    auto* icon = quiz->findChild<QSystemTrayIcon*>();
    ASSERT_NE(icon, nullptr);
    EXPECT_EQ(icon->toolTip(), "Quillow");
    EXPECT_FALSE(icon->icon().isNull());
    EXPECT_EQ(icon->icon().availableSizes().front(), QSize(16, 16));

    Press(Qt::Key_Escape);
    EXPECT_FALSE(quiz->IsShownToUser());
    emit icon->activated(QSystemTrayIcon::MiddleClick);
    EXPECT_FALSE(quiz->IsShownToUser()) << "only the left and right buttons pop it up";
    emit icon->activated(QSystemTrayIcon::Trigger);
    EXPECT_TRUE(quiz->IsShownToUser());
    EXPECT_FALSE(quiz->IsTimerRunning(CQuizDlg::ID_POPUP_TIMER));

    Press(Qt::Key_Escape);
    EXPECT_TRUE(quiz->IsTimerRunning(CQuizDlg::ID_POPUP_TIMER)) << "a second hide restarts it";
    emit icon->activated(QSystemTrayIcon::Context);
    EXPECT_TRUE(quiz->IsShownToUser());

    // Where the tray's host keeps the right button for a menu, its first item shows the window.
    Press(Qt::Key_Escape);
    ASSERT_NE(icon->contextMenu(), nullptr);
    QAction* show = icon->contextMenu()->actions().value(0);
    ASSERT_NE(show, nullptr);
    EXPECT_EQ(show->text(), "&Show Quillow");
    show->trigger();
    EXPECT_TRUE(quiz->IsShownToUser());

    quiz->DestroyWindow();
    EXPECT_FALSE(icon->isVisible()) << "no icon is left behind";
}

TEST_F(TrayTest, SoundPlaysOnEveryShowingOnlyWithTheOption) {
    for (const bool soundOn : {true, false}) {
        SCOPED_TRACE(soundOn);
        if (quiz)
            quiz->DestroyWindow();
        std::vector<std::string> played;
        ScopedHandler sounds(SetSoundHandler,
                             [&](const std::string& path) { played.push_back(path); });
        DeckSpec deck = Capitals();
        deck.optionFlags = soundOn ? OPT_SOUND_ON : 0;
        deck.popupMinutes = 0;
        Start(deck);
        Press(Qt::Key_Escape);
        ASSERT_TRUE(WaitFor([&] { return quiz->IsShownToUser(); }));
        const std::string wav = dir.File("Quillow.wav");
        EXPECT_EQ(played, (soundOn ? std::vector{wav, wav} : std::vector<std::string>{}))
            << "at start and at the pop-up";
    }
}

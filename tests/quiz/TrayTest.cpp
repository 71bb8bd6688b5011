#include "QuizFixture.h"

#include "DesktopServices.h"
#include "QuestionFileHeader.h"

#include <QSystemTrayIcon>

namespace {

// Records the sounds the window would play.
class SoundRecorder {
public:
    SoundRecorder()
        : m_previous(SetSoundHandler([this](const std::string& path) { played.push_back(path); })) {
    }
    ~SoundRecorder() { SetSoundHandler(std::move(m_previous)); }
    std::vector<std::string> played;

private:
    DesktopHandler m_previous;
};

} // namespace

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

    quiz->DestroyWindow();
    EXPECT_FALSE(icon->isVisible()) << "no icon is left behind";
}

TEST_F(TrayTest, SoundPlaysOnEveryShowingOnlyWithTheOption) {
    SoundRecorder sounds;
    DeckSpec deck = Capitals();
    deck.optionFlags = OPT_SOUND_ON;
    deck.popupMinutes = 0;
    Start(deck);
    const std::vector<std::string> once{dir.File("Quillow.wav")};
    EXPECT_EQ(sounds.played, once) << "the first showing at start";
    Press(Qt::Key_Escape);
    ASSERT_TRUE(WaitFor([&] { return quiz->IsShownToUser(); }));
    EXPECT_EQ(sounds.played.size(), 2u);
    EXPECT_EQ(sounds.played.back(), dir.File("Quillow.wav"));
}

TEST_F(TrayTest, NoSoundWithoutTheOption) {
    SoundRecorder sounds;
    DeckSpec deck = Capitals();
    deck.popupMinutes = 0;
    Start(deck);
    Press(Qt::Key_Escape);
    ASSERT_TRUE(WaitFor([&] { return quiz->IsShownToUser(); }));
    EXPECT_TRUE(sounds.played.empty());
}

#include "BackgroundImage.h"
#include "DataFileBuilder.h"
#include "MessageBoxRecorder.h"
#include "QuizDlg.h"
#include "SkinPictures.h"
#include "TestQuizHost.h"

#include <QCoreApplication>
#include <QPixmap>
#include <gtest/gtest.h>

#include <vector>

TEST(QuizBackgroundTest, TilesCoverTheWindowToItsEdges) {
    TempDir dir;
    MessageBoxRecorder boxes;
    WriteFileBytes(dir.File("deck.qld"), MakeDataFile(DeckSpec{{{"Capital of France?", "Paris"}}}));
    WriteFileBytes(dir.File("backimg.bmp"), ReadFileBytes(QUILLOW_SKIN_PICTURE));
    TestQuizHost host(dir.File("deck.qld"), dir.Path());
    CQuizDlg quiz(host);
    quiz.Create();
    quiz.show();
    QCoreApplication::processEvents();
    const QImage tile = Rgb32(GetBackBitmap()->toImage()).copy(150, 0, 40, 40);
    // Areas that no control covers: the top-left corner, the bottom rows, the right columns.
    const struct {
        QSize size;
        std::vector<QRect> areas;
    } cases[] = {
        {{506, 170}, {{0, 0, 4, 4}, {0, 165, 506, 5}, {504, 0, 2, 170}}},
        {{250, 90}, {{0, 0, 4, 4}, {0, 85, 250, 5}, {244, 0, 6, 10}}},
    };
    for (const auto& c : cases) {
        quiz.setFixedSize(c.size);
        QCoreApplication::processEvents();
        const QImage shot = Rgb32(quiz.grab().toImage());
        ASSERT_EQ(shot.size(), c.size);
        for (const QRect& area : c.areas) {
            int wrong = 0;
            for (int y = area.top(); y <= area.bottom(); ++y)
                for (int x = area.left(); x <= area.right(); ++x)
                    wrong += shot.pixel(x, y) != tile.pixel(x % 40, y % 40);
            EXPECT_EQ(wrong, 0) << c.size.width() << " x " << c.size.height() << ", area at "
                                << area.x() << ", " << area.y();
        }
    }
    quiz.DestroyWindow();
}

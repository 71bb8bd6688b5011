#include "PanelStatic.h"
#include "BackgroundImage.h"
#include "DataFileBuilder.h"
#include "QuestionFile.h"
#include "SkinPictures.h"
#include "TestHost.h"

#include <QString>
#include <gtest/gtest.h>

namespace {

// Whether the shot shows the digit glyphs of `digits` at x, x + 5, ... on row y.
void ExpectDigits(const QImage& shot, const std::string& digits, int x, int y) {
    for (std::size_t k = 0; k < digits.size(); ++k)
        EXPECT_TRUE(ShowsPicture(shot, QRect(x + 5 * int(k), y, 5, 9),
                                 QPoint(90 + 5 * (digits[k] - '0'), 0)))
            << "digit " << k << " of " << digits << " at y " << y;
}

} // namespace

TEST(PanelStaticTest, ReadoutShowsLevelNumberRangeModeAndProgress) {
    ASSERT_NE(LoadBackgroundImage(ShippedSkinFolder()), nullptr);
    TempDir dir;
    WriteFileBytes(dir.File("deck.qld"), MakeDataFile(DeckSpec{{{"Capital of France?", "Paris"}}}));
    TestHost host(dir.File("deck.qld"), dir.Path());
    CQuestionFile file(host);
    file.Load();
    const struct {
        int correctCount, number, reviewMode, rangeFrom, rangeTo, position, stepIndex;
        int bar[10]; // the colour each segment shows
        const char *numberShown, *fromShown, *toShown;
        int progress;
    } cases[] = {
        {0, 7, 1, 0, 19, 0, 3, {0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, "0007", "0001", "0020", 1},
        {3, 12345, 0, 4, 9, 2, 5, {1, 1, 1, 0, 0, 0, 0, 0, 0, 0}, "2345", "0005", "0010", 0},
        {10, 42, 2, 0, 9, 13, 0, {1, 1, 1, 2, 2, 2, 3, 3, 3, 4}, "0042", "0001", "0010", 100},
        {12, 1, 3, 5, 5, 5, 1, {1, 1, 1, 2, 2, 2, 3, 3, 3, 4}, "0001", "0006", "0006", 100},
        {1, 999, 3, 5, 5, 5, 0, {1, 0, 0, 0, 0, 0, 0, 0, 0, 0}, "0999", "0006", "0006", 0},
    };
    CPanelStatic panel;
    panel.resize(54, 35);
    panel.show();
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << "correct " << c.correctCount << ", number " << c.number
                                          << ", mode " << c.reviewMode);
        file.header.reviewMode = c.reviewMode;
        file.header.rangeFrom = c.rangeFrom;
        file.header.rangeTo = c.rangeTo;
        file.header.position = c.position;
        file.header.stepIndex = c.stepIndex;
        panel.SetInfo(c.correctCount - 1, c.number, &file);
        EXPECT_EQ(CPanelStatic::Progress(file.header), c.progress);

        const QImage shot = panel.grab().toImage();
        EXPECT_TRUE(ShowsPicture(shot, QRect(0, 31, 54, 4), QPoint(190, 31))) << "the face";
        for (int i = 0; i < 10; ++i)
            EXPECT_TRUE(
                ShowsPicture(shot, QRect(3 + 4 * i, 2, 3, 2), QPoint(90 + 4 * c.bar[i], 10)))
                << "segment " << i;
        ExpectDigits(shot, c.numberShown, 2, 6);
        ExpectDigits(shot, QString("%1").arg(c.progress, 3, 10, QChar('0')).toStdString(), 30, 6);
        ExpectDigits(shot, c.fromShown, 2, 22);
        ExpectDigits(shot, c.toShown, 30, 22);
        EXPECT_TRUE(ShowsPicture(shot, QRect(46, 2, 5, 5), QPoint(110 + 6 * c.reviewMode, 9)))
            << "the mode mark";
    }
    FreeBackgroundImage();
}

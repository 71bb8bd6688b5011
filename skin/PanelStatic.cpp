#include "PanelStatic.h"

#include "BackgroundImage.h"
#include "ReviewSchedule.h"
#include "SkinMap.h"

#include <QPainter>

#include <algorithm>

namespace {

// The k lowest digits of the value, the rightmost at x.
void DrawNumber(QPainter& painter, int value, int digits, int x, int y) {
    auto v = static_cast<unsigned>(std::max(value, 0));
    for (int k = 0; k < digits; ++k, x -= 5, v /= 10)
        CopyFromBackground(painter, QPoint(x, y), kSkinDigit.Rect(static_cast<int>(v % 10)));
}

// Which colour a lit segment of the bar takes, by its place.
int SegmentColour(int x) {
    return x < 15 ? 1 : x < 27 ? 2 : x < 39 ? 3 : 4;
}

} // namespace

void CPanelStatic::SetInfo(int level, int number, const QuestionFileHeader& header) {
    m_nLevel = level;
    m_nNumber = number;
    m_pHeader = &header;
    static const char* const modes[] = {"Careful review", "Normal review", "Rough review",
                                        "No review"};
    const int correct = std::max(level, -1) + 1;
    setText(QStringLiteral("Question %1: %2 correct answer%3, %4% of the pass, %5, questions "
                           "%6 to %7")
                .arg(number)
                .arg(correct)
                .arg(correct == 1 ? QString() : QStringLiteral("s"))
                .arg(Progress(header))
                .arg(modes[header.reviewMode])
                .arg(header.rangeFrom + 1)
                .arg(header.rangeTo + 1));
    repaint();
}

int CPanelStatic::LevelOf(std::int32_t correctCount) {
    return correctCount == INT32_MIN ? INT32_MIN : correctCount - 1;
}

int CPanelStatic::Progress(const QuestionFileHeader& h) {
    const long long span = kReviewSpan[static_cast<std::size_t>(h.reviewMode)];
    const long long done =
        h.stepIndex + (static_cast<long long>(h.position) - h.rangeFrom) * kSequenceSlots;
    long long total = (span + h.rangeTo - h.rangeFrom) * kSequenceSlots;
    if (total < 1)
        total = 1;
    return static_cast<int>(std::clamp(done * 100 / total, 0LL, 100LL));
}

void CPanelStatic::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (!CopyFromBackground(painter, QPoint(0, 0), kSkinPanel.Rect()))
        painter.fillRect(rect(), Qt::black);
    DrawInfo(painter);
}

void CPanelStatic::DrawInfo(QPainter& painter) {
    if (!m_pHeader || !GetBackBitmap())
        return;
    const QuestionFileHeader& h = *m_pHeader;
    for (int i = 0; i < 10; ++i) {
        const int x = 3 + 4 * i;
        const int colour = m_nLevel < i ? 0 : SegmentColour(x);
        CopyFromBackground(painter, QPoint(x, 2), kSkinBarColour.Rect(colour));
    }
    DrawNumber(painter, m_nNumber, 4, 17, 6);
    DrawNumber(painter, h.rangeFrom + 1, 4, 17, 22);
    DrawNumber(painter, h.rangeTo + 1, 4, 45, 22);
    CopyFromBackground(painter, QPoint(46, 2), kSkinModeMark.Rect(h.reviewMode));
    DrawNumber(painter, Progress(h), 3, 40, 6);
}

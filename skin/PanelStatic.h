#pragma once

#include "QuestionFileHeader.h"

#include <QLabel>

#include <cstdint>

class QPainter;

// The display panel: the question's correct-answer bar and number, the range, the review mode
// and the pass's progress, all copied out of the skin picture. It reads the open file's header
// at every drawing, so the header must outlive the panel's use of it. Its text, never drawn, says
// the same for screen readers.
class CPanelStatic : public QLabel {
public:
    CPanelStatic() = default;

    void SetInfo(int level, int number, const QuestionFileHeader& header);
    // The bar's level for a question's correct count: one less, the lowest count staying lowest.
    static int LevelOf(std::int32_t correctCount);

    // The progress of the pass in per cent, 0 to 100.
    static int Progress(const QuestionFileHeader& header);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void DrawInfo(QPainter& painter);

    const QuestionFileHeader* m_pHeader = nullptr;
    int m_nLevel = 0;
    int m_nNumber = 0;
};

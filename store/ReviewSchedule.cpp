#include "QuestionFile.h"

#include "Exit.h"
#include "MessageBox.h"
#include "ResourceIds.h"

void CQuestionFile::ComputeSequence() {
    auto& h = header;
    for (;;) {
        sequence.fill(-1);
        int k = 0;
        for (std::int32_t d : kReviewOffsets[static_cast<std::size_t>(h.reviewMode)]) {
            if (d < 0)
                continue;
            const std::int32_t q = h.position - d;
            sequence[static_cast<std::size_t>(k++)] = (q >= h.rangeFrom && q <= h.rangeTo) ? q : -1;
        }
        for (int i = 0; i < kSequenceSlots; ++i) {
            if (sequence[static_cast<std::size_t>(i)] >= 0) {
                sequenceIndex = i;
                WriteHeader();
                return;
            }
        }
        if (h.position > h.rangeTo + kReviewSpan[static_cast<std::size_t>(h.reviewMode)]) {
            AfxMessageBox(IDS_CONGRATULATIONS, MB_ICONEXCLAMATION);
            h.position = h.rangeFrom;
        } else {
            h.position += 1;
        }
        h.stepIndex = 0;
        sequenceIndex = 0;
    }
}

int CQuestionFile::NextQuestion(QuestionRecord& destination) {
    if (sequenceIndex < 0)
        ExitProgram(1);
    std::int32_t n = -1;
    if (sequenceIndex < kSequenceSlots) {
        n = sequence[static_cast<std::size_t>(sequenceIndex)];
        while (n < 0 && ++sequenceIndex < kSequenceSlots)
            n = sequence[static_cast<std::size_t>(sequenceIndex)];
    }
    if (n < 0) {
        header.position += 1;
        header.stepIndex = 0;
        ComputeSequence();
        n = sequence[static_cast<std::size_t>(sequenceIndex)];
    }
    if (n >= header.recordCount) {
        if (header.recordCount >= kMaxQuestions) {
            AfxMessageBox(IDS_QUESTION_LIMIT, MB_ICONEXCLAMATION);
            ExitProgram(1);
        }
        AppendRecord();
    } else {
        ReadRecordOrExit(n, workRecord);
    }
    header.stepIndex = sequenceIndex;
    sequenceIndex += 1;
    destination = workRecord;
    return n;
}

#include "QuestionFile.h"

#include "ResourceIds.h"
#include "Strings.h"

StoreStatus CQuestionFile::ComputeSequence() {
    auto& h = m_header;
    for (;;) {
        m_sequence.fill(-1);
        int k = 0;
        for (std::int32_t d : kReviewOffsets[static_cast<std::size_t>(h.reviewMode)]) {
            if (d < 0)
                continue;
            const std::int32_t q = h.position - d;
            m_sequence[static_cast<std::size_t>(k++)] =
                (q >= h.rangeFrom && q <= h.rangeTo) ? q : -1;
        }
        for (int i = 0; i < kSequenceSlots; ++i) {
            if (m_sequence[static_cast<std::size_t>(i)] >= 0) {
                m_sequenceIndex = i;
                return WriteHeader();
            }
        }
        if (h.position > h.rangeTo + kReviewSpan[static_cast<std::size_t>(h.reviewMode)]) {
            m_host.Notify(LoadString(IDS_CONGRATULATIONS));
            h.position = h.rangeFrom;
        } else {
            h.position += 1;
        }
        h.stepIndex = 0;
        m_sequenceIndex = 0;
    }
}

StoreStatus CQuestionFile::NextQuestion(QuestionRecord& destination) {
    std::int32_t n = -1;
    if (m_sequenceIndex < kSequenceSlots) {
        n = m_sequence[static_cast<std::size_t>(m_sequenceIndex)];
        while (n < 0 && ++m_sequenceIndex < kSequenceSlots)
            n = m_sequence[static_cast<std::size_t>(m_sequenceIndex)];
    }
    if (n < 0) {
        m_header.position += 1;
        m_header.stepIndex = 0;
        if (StoreStatus computed = ComputeSequence(); computed.Failed())
            return computed;
        n = m_sequence[static_cast<std::size_t>(m_sequenceIndex)];
    }
    if (n >= m_header.recordCount) {
        if (m_header.recordCount >= kMaxQuestions)
            return {LoadString(IDS_QUESTION_LIMIT)};
        if (StoreStatus appended = AppendRecord(); appended.Failed())
            return appended;
    } else if (StoreStatus read = ReadRecord(n, m_workRecord); read.Failed()) {
        return read;
    }
    m_header.stepIndex = m_sequenceIndex;
    m_sequenceIndex += 1;
    destination = m_workRecord;
    return {};
}

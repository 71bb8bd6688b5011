#include "QuestionRecord.h"

#include "ByteOrder.h"

#include <algorithm>
#include <cstring>

RecordBytes EncodeRecord(const QuestionRecord& r) {
    RecordBytes b{};
    PutInt32(&b[0], r.number);
    std::memcpy(&b[4], r.question.data(), kTextSize);
    std::memcpy(&b[504], r.answer.data(), kTextSize);
    PutInt32(&b[1004], r.memoryReserved);
    PutInt32(&b[1008], r.correctCount);
    for (int k = 0; k < kCorrectTimesSlots; ++k)
        PutInt32(&b[1012 + 4 * k], r.correctTimes[k]);
    return b;
}

QuestionRecord DecodeRecord(const RecordBytes& b) {
    QuestionRecord r;
    r.number = GetInt32(&b[0]);
    std::memcpy(r.question.data(), &b[4], kTextSize);
    std::memcpy(r.answer.data(), &b[504], kTextSize);
    r.memoryReserved = GetInt32(&b[1004]);
    r.correctCount = GetInt32(&b[1008]);
    for (int k = 0; k < kCorrectTimesSlots; ++k)
        r.correctTimes[k] = GetInt32(&b[1012 + 4 * k]);
    return r;
}

namespace {

bool IsContinuationByte(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

// How many bytes the sequence that starts with this lead byte takes; 0 for a byte that cannot
// start one of more than a byte.
std::size_t SequenceLength(char lead) {
    const auto b = static_cast<unsigned char>(lead);
    return b >= 0xC2 && b <= 0xDF ? 2 : b >= 0xE0 && b <= 0xEF ? 3 : b >= 0xF0 && b <= 0xF4 ? 4 : 0;
}

} // namespace

std::string_view FieldBytes(const TextField& field) {
    return {field.data(), ::strnlen(field.data(), kTextSize - 1)};
}

std::string_view FieldText(const TextField& field) {
    const std::string_view bytes = FieldBytes(field);
    std::size_t lead = bytes.size();
    while (lead > 0 && bytes.size() - lead < 3 && IsContinuationByte(bytes[lead - 1]))
        --lead;
    if (lead == 0)
        return bytes;
    const std::size_t needed = SequenceLength(bytes[lead - 1]);
    return needed > bytes.size() - lead + 1 ? bytes.substr(0, lead - 1) : bytes;
}

void SetFieldText(TextField& field, std::string_view text) {
    std::size_t length = text.size();
    if (length > kTextSize - 1) {
        length = kTextSize - 1;
        // Back up to the lead byte of a character that the cut would split.
        while (length > 0 && IsContinuationByte(text[length]))
            --length;
    }
    field.fill('\0');
    std::copy_n(text.data(), length, field.begin());
}

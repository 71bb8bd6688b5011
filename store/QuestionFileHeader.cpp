#include "QuestionFileHeader.h"

#include "ByteOrder.h"
#include "QuestionRecord.h"

#include <algorithm>

HeaderBytes EncodeHeader(const QuestionFileHeader& h) {
    HeaderBytes b{};
    PutInt32(&b[0], h.version);
    PutInt32(&b[4], h.recordCount);
    PutInt32(&b[8], h.position);
    PutInt32(&b[12], h.popupMinutes);
    PutInt32(&b[16], h.reservedInt1);
    PutInt32(&b[20], h.optionFlags);
    PutInt32(&b[24], h.reservedInt2);
    PutInt32(&b[28], h.savedTime);
    std::copy(h.reservedBytes1.begin(), h.reservedBytes1.end(), &b[32]);
    PutInt16(&b[60], h.reservedShort);
    std::copy(h.gap.begin(), h.gap.end(), &b[62]);
    PutInt32(&b[64], h.reviewMode);
    PutInt32(&b[68], h.stepIndex);
    PutInt32(&b[72], h.rangeFrom);
    PutInt32(&b[76], h.rangeTo);
    std::copy(h.reservedBytes2.begin(), h.reservedBytes2.end(), &b[80]);
    return b;
}

QuestionFileHeader DecodeHeader(const HeaderBytes& b) {
    QuestionFileHeader h;
    h.version = GetInt32(&b[0]);
    h.recordCount = GetInt32(&b[4]);
    h.position = GetInt32(&b[8]);
    h.popupMinutes = GetInt32(&b[12]);
    h.reservedInt1 = GetInt32(&b[16]);
    h.optionFlags = GetInt32(&b[20]);
    h.reservedInt2 = GetInt32(&b[24]);
    h.savedTime = GetInt32(&b[28]);
    std::copy(&b[32], &b[60], h.reservedBytes1.begin());
    h.reservedShort = GetInt16(&b[60]);
    std::copy(&b[62], &b[64], h.gap.begin());
    h.reviewMode = GetInt32(&b[64]);
    h.stepIndex = GetInt32(&b[68]);
    h.rangeFrom = GetInt32(&b[72]);
    h.rangeTo = GetInt32(&b[76]);
    std::copy(&b[80], &b[104], h.reservedBytes2.begin());
    return h;
}

int HeaderSizeOf(const QuestionFileHeader& header) {
    return header.version < kLongHeaderVersion ? kOldHeaderSize : kHeaderSize;
}

std::int64_t NeededLength(const QuestionFileHeader& header) {
    return RecordOffset(header.recordCount, HeaderSizeOf(header));
}

bool IsValidRange(const QuestionFileHeader& header) {
    return header.rangeFrom >= 0 && header.rangeFrom <= header.rangeTo &&
           header.rangeTo < kMaxQuestions;
}

HeaderDefect FindHeaderDefect(const QuestionFileHeader& header, std::int64_t length) {
    // A file too short to hold a version is short, whatever its first bytes say.
    if (length >= 4 && (header.version < 1 || header.version > kCurrentVersion))
        return HeaderDefect::UnknownVersion;
    if (length < HeaderSizeOf(header))
        return HeaderDefect::ShortHeader;
    if (header.recordCount < 0 || header.recordCount > kMaxQuestions)
        return HeaderDefect::RecordCountOutOfRange;
    if (length < NeededLength(header))
        return HeaderDefect::ShortRecords;
    return HeaderDefect::None;
}

#include "QuestionFile.h"

#include "Exit.h"
#include "MessageBox.h"
#include "ResourceIds.h"
#include "Strings.h"

namespace {

constexpr const char* kDefaultFileName = "Quillow.qld";

[[noreturn]] void ExitWithMessage(unsigned id) {
    AfxMessageBox(id, MB_ICONEXCLAMATION);
    ExitProgram(1);
}

} // namespace

CQuestionFile::CQuestionFile(IQuestionFileHost& host) : m_host(host) {}

void CQuestionFile::CreateNew() {
    if (!Open(m_host.GetDataFilePath(), modeCreate | modeReadWrite))
        ExitWithMessage(IDS_CANNOT_CREATE);
    header.version = kCurrentVersion;
    header.recordCount = 0;
    header.position = 0;
    header.popupMinutes = 1;
    header.reservedInt1 = 0;
    header.optionFlags = 0;
    header.reservedInt2 = 0;
    header.reservedBytes1.fill(0);
    header.reservedShort = 0;
    header.reviewMode = REVIEW_NORMAL;
    header.stepIndex = 0;
    header.rangeFrom = 0;
    header.rangeTo = 19;
    header.reservedBytes2.fill(0);
    sequenceIndex = 0;
    ComputeSequence();
}

void CQuestionFile::Load() {
    const std::string path = m_host.GetDataFilePath();
    if (!Open(path, modeReadWrite)) {
        AfxMessageBox(FormatString(IDS_FILE_NOT_FOUND, path), MB_ICONEXCLAMATION);
        const std::string defaultPath = m_host.GetDefaultDataFolder() + kDefaultFileName;
        m_host.SetDataFilePath(defaultPath);
        if (!Open(defaultPath, modeReadWrite)) {
            CreateNew();
            return;
        }
    }
    LoadOpenFile();
}

void CQuestionFile::LoadOpenFile() {
    HeaderBytes bytes{};
    const std::size_t got = Seek(0) ? Read(bytes.data(), bytes.size()) : 0;
    header = DecodeHeader(bytes);
    RefuseUnlessLoadable(got);

    if (header.version < kLongHeaderVersion) {
        header.reservedBytes1.fill(0);
        header.reservedShort = 0;
        header.version = kLongHeaderVersion;
        MoveRecordsFromOldLayout();
    }
    if (header.version < kCurrentVersion) {
        header.stepIndex = 0;
        header.rangeFrom = 0;
        header.reviewMode = REVIEW_NORMAL;
        header.rangeTo = header.recordCount > 0 ? header.recordCount - 1 : 0;
        header.version = kCurrentVersion;
    }
    RepairScheduleState();
    ComputeSequence();
    sequenceIndex = header.stepIndex;
}

// Nothing is written to a file that is not a data file of a known version: a file picked by
// mistake stays as it was.
void CQuestionFile::RefuseUnlessLoadable(std::size_t headerBytesRead) {
    const bool oldLayout = header.version < kLongHeaderVersion;
    const std::size_t headerSize = oldLayout ? kOldHeaderSize : kHeaderSize;
    const bool loadable =
        headerBytesRead >= headerSize && header.version >= 1 && header.version <= kCurrentVersion &&
        header.recordCount >= 0 && header.recordCount <= kMaxQuestions &&
        GetLength() >= std::int64_t(headerSize) + std::int64_t{header.recordCount} * kRecordSize;
    if (!loadable)
        ExitWithMessage(IDS_DEFECTIVE_HEADER);
}

void CQuestionFile::RepairScheduleState() {
    auto& h = header;
    if (h.rangeTo < 0 || h.rangeFrom < 0 || h.rangeTo >= kMaxQuestions || h.rangeFrom > h.rangeTo ||
        h.reviewMode < 0 || h.reviewMode >= kReviewModes) {
        h.stepIndex = 0;
        h.rangeFrom = 0;
        h.reviewMode = REVIEW_NORMAL;
        h.rangeTo = 19;
    }
    if (h.stepIndex < 0 || h.stepIndex >= kSequenceSlots)
        h.stepIndex = 0;
    if (h.position > h.rangeTo || h.position < h.rangeFrom)
        h.position = h.rangeFrom;
}

void CQuestionFile::SaveAndClose() {
    WriteHeader();
    Close();
}

void CQuestionFile::WriteHeader() {
    header.savedTime = m_host.GetCurrentTime();
    const HeaderBytes bytes = EncodeHeader(header);
    if (!Seek(0) || !Write(bytes.data(), bytes.size()) || !Flush())
        ExitOnWriteFailure(GetFilePath());
}

int CQuestionFile::ReadRecord(int number, QuestionRecord& buffer) {
    RecordBytes bytes{};
    if (number < 0 || !Seek(RecordOffset(number, kHeaderSize)) ||
        Read(bytes.data(), bytes.size()) != bytes.size())
        return -1;
    buffer = DecodeRecord(bytes);
    return 0;
}

int CQuestionFile::ReadRecordOrExit(int number, QuestionRecord& buffer) {
    if (ReadRecord(number, buffer) < 0)
        ExitWithMessage(IDS_READ_ELEMENT_ERROR);
    return number;
}

bool CQuestionFile::WriteRecordBytes(int number, const QuestionRecord& buffer) {
    const RecordBytes bytes = EncodeRecord(buffer);
    return number >= 0 && Seek(RecordOffset(number, kHeaderSize)) &&
           Write(bytes.data(), bytes.size());
}

int CQuestionFile::WriteRecord(int number, const QuestionRecord& buffer) {
    if (!WriteRecordBytes(number, buffer) || !Flush())
        ExitOnWriteFailure(GetFilePath());
    return 0;
}

void CQuestionFile::AppendRecord() {
    workRecord.number = header.recordCount;
    header.recordCount += 1;
    workRecord.question.fill('\0');
    workRecord.answer.fill('\0');
    workRecord.memoryReserved = 0;
    workRecord.correctCount = 0;
    WriteRecord(workRecord.number, workRecord);
    WriteHeader();
}

int CQuestionFile::UpdateTexts(int number, std::string_view question, std::string_view answer) {
    ReadRecordOrExit(number, workRecord);
    SetFieldText(workRecord.question, question);
    SetFieldText(workRecord.answer, answer);
    return WriteRecord(number, workRecord);
}

int CQuestionFile::RecordCorrectAnswer(int number) {
    ReadRecordOrExit(number, workRecord);
    auto count = static_cast<std::uint32_t>(workRecord.correctCount) + 1u;
    workRecord.correctCount = static_cast<std::int32_t>(count);
    workRecord.correctTimes[count % kCorrectTimesSlots] = m_host.GetCurrentTime();
    return WriteRecord(number, workRecord);
}

void CQuestionFile::InitMemoryRecords() {
    if (AfxMessageBox(IDS_INIT_MEMORY_RECORDS, MB_YESNO | MB_ICONQUESTION) != IDYES)
        return;
    for (int i = header.rangeFrom; i <= header.rangeTo && i < header.recordCount; ++i) {
        ReadRecordOrExit(i, workRecord);
        workRecord.memoryReserved = 0;
        workRecord.correctCount = 0;
        WriteRecord(i, workRecord);
    }
}

void CQuestionFile::ExitOnWriteFailure(const std::string& path) {
    AfxMessageBox(FormatString(IDS_CANNOT_WRITE, path), MB_ICONEXCLAMATION);
    ExitProgram(1);
}

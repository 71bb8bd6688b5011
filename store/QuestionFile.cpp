#include "QuestionFile.h"

#include "Exit.h"
#include "MessageBox.h"
#include "ResourceIds.h"
#include "StarterDeck.h"
#include "Strings.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {

constexpr const char* kDefaultFileName = "Quillow.qld";

[[noreturn]] void ExitWithMessage(const std::string& text) {
    AfxMessageBox(text, MB_ICONEXCLAMATION);
    ExitProgram(1);
}

[[noreturn]] void ExitWithMessage(unsigned id) {
    ExitWithMessage(LoadString(id));
}

constexpr unsigned kOpenForWriting = CFile::modeReadWrite | CFile::shareExclusive;

// An error of opening that means no file is there.
bool IsMissing(int code) {
    return code == ENOENT || code == ENOTDIR;
}

} // namespace

CQuestionFile::CQuestionFile(IQuestionFileHost& host) : m_host(host) {}

void CQuestionFile::CreateNew() {
    CreateNewFile(CFile::modeCreate);
}

// modeCreate writes over a file that is there, modeCreateNew makes one only where none is. A file
// that another Quillow or qld has open is left to it, as one that cannot be opened. When none can
// be made, the next start opens the file that was open before.
void CQuestionFile::CreateNewFile(unsigned createMode) {
    const std::string path = m_host.GetDataFilePath();
    const std::string previous = GetFilePath();
    bool inUse = false;
    if (!Open(path, createMode | kOpenForWriting, &inUse)) {
        if (!inUse) {
            if (!previous.empty())
                m_host.SetDataFilePath(previous);
            ExitWithMessage(IDS_CANNOT_CREATE);
        }
        if (path == DefaultFilePath())
            ExitWithMessage(FormatString(IDS_DEFAULT_FILE_IN_USE, path));
        AfxMessageBox(FormatString(IDS_FILE_IN_USE, path), MB_ICONEXCLAMATION);
        OpenDefaultFile();
        return;
    }
    StartNewFile();
}

void CQuestionFile::StartNewFile() {
    m_headerOnDisk.clear();
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

// No path yet (a first start) means the default file, without a word.
void CQuestionFile::Load() {
    const std::string path = m_host.GetDataFilePath();
    if (path.empty()) {
        OpenDefaultFile();
        return;
    }
    bool inUse = false;
    if (Open(path, kOpenForWriting, &inUse)) {
        LoadOpenFile();
        return;
    }
    const int code = errno;
    AfxMessageBox(inUse             ? FormatString(IDS_FILE_IN_USE, path)
                  : IsMissing(code) ? FormatString(IDS_FILE_NOT_FOUND, path)
                                    : FormatString(IDS_CANNOT_OPEN, path, std::strerror(code)),
                  MB_ICONEXCLAMATION);
    OpenDefaultFile();
}

std::string CQuestionFile::DefaultFilePath() const {
    return m_host.GetDefaultDataFolder() + kDefaultFileName;
}

// Only a missing default file is made again: one that cannot be read is never written over.
void CQuestionFile::OpenDefaultFile() {
    const std::string path = DefaultFilePath();
    m_host.SetDataFilePath(path);
    bool inUse = false;
    if (Open(path, kOpenForWriting, &inUse))
        LoadOpenFile();
    else if (inUse)
        ExitWithMessage(FormatString(IDS_DEFAULT_FILE_IN_USE, path));
    else if (const int code = errno; !IsMissing(code))
        ExitWithMessage(FormatString(IDS_CANNOT_OPEN_DEFAULT, path, std::strerror(code)));
    else
        MakeDefaultFile();
}

// From the starter deck beside the program, or empty without a loadable one, where no file is.
void CQuestionFile::MakeDefaultFile() {
    const std::string path = DefaultFilePath();
    if (CopyStarterDeck(m_host.GetProgramFolder() + kDefaultFileName, path)) {
        if (Open(path, kOpenForWriting) && ReadHeader() == HeaderDefect::None) {
            LoadHeaderRead();
            return;
        }
        Close();
        std::remove(path.c_str());
    }
    CreateNewFile(CFile::modeCreateNew);
}

HeaderDefect CQuestionFile::ReadHeader() {
    HeaderBytes bytes{};
    const std::size_t got = Seek(0) ? Read(bytes.data(), bytes.size()) : 0;
    m_headerOnDisk.assign(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(got));
    header = DecodeHeader(bytes);
    return FindHeaderDefect(header, GetLength());
}

void CQuestionFile::LoadOpenFile() {
    if (ReadHeader() == HeaderDefect::None)
        LoadHeaderRead();
    else
        RefuseDefectiveFile();
}

void CQuestionFile::LoadHeaderRead() {
    if (header.version < kCurrentVersion)
        UpgradeFile();
    RepairScheduleState();
    ComputeSequence();
    sequenceIndex = header.stepIndex;
}

// Nothing is written to a file that is not a data file of a known version: a file picked by
// mistake stays as it was, and the next start opens the default file instead of trying it again.
// A defective default file is kept aside under a free name and the default file made again.
void CQuestionFile::RefuseDefectiveFile() {
    const std::string path = GetFilePath();
    m_host.SetDataFilePath(DefaultFilePath());
    std::string aside;
    if (path != DefaultFilePath() || (aside = MoveToFreeName(path + ".defective")).empty())
        ExitWithMessage(FormatString(IDS_DEFECTIVE_HEADER, path));
    Close();
    AfxMessageBox(FormatString(IDS_DEFAULT_FILE_SET_ASIDE, path, aside), MB_ICONEXCLAMATION);
    MakeDefaultFile();
}

void CQuestionFile::RepairScheduleState() {
    auto& h = header;
    if (!IsValidRange(h) || h.reviewMode < 0 || h.reviewMode >= kReviewModes) {
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
    CheckUnchangedAtPath();
    header.savedTime = m_host.GetCurrentTime();
    const HeaderBytes bytes = EncodeHeader(header);
    if (!Seek(0) || !Write(bytes.data(), bytes.size()) || !Flush())
        ExitOnWriteFailure(GetFilePath());
    m_headerOnDisk.assign(bytes.begin(), bytes.end());
    CheckUnchangedAtPath();
}

int CQuestionFile::ReadRecord(int number, QuestionRecord& buffer) {
    RecordBytes bytes{};
    if (number < 0 || !Seek(RecordOffset(number, kHeaderSize)) ||
        Read(bytes.data(), bytes.size()) != bytes.size())
        return -1;
    buffer = DecodeRecord(bytes);
    // A damaged number must not send the record's changes to another slot.
    buffer.number = number;
    return 0;
}

int CQuestionFile::ReadRecordOrExit(int number, QuestionRecord& buffer) {
    if (ReadRecord(number, buffer) < 0)
        ExitWithMessage(IDS_READ_ELEMENT_ERROR);
    return number;
}

int CQuestionFile::WriteRecord(int number, const QuestionRecord& buffer) {
    CheckUnchangedAtPath();
    const RecordBytes bytes = EncodeRecord(buffer);
    if (number < 0 || !Seek(RecordOffset(number, kHeaderSize)) ||
        !Write(bytes.data(), bytes.size()) || !Flush())
        ExitOnWriteFailure(GetFilePath());
    CheckUnchangedAtPath();
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

// Before a write, so as not to write over another program's file; after it, so that nothing is
// taken as kept that is not in the file at the path. The header is compared too, for a change
// made so soon after this program's own write that the file's change time did not move.
void CQuestionFile::CheckUnchangedAtPath() {
    std::string onDisk(kHeaderSize, '\0');
    onDisk.resize(Seek(0) ? Read(onDisk.data(), onDisk.size()) : 0);
    if (!IsUnchangedAtPath() || onDisk != m_headerOnDisk)
        ExitWithMessage(FormatString(IDS_FILE_CHANGED, GetFilePath()));
}

void CQuestionFile::ExitOnWriteFailure(const std::string& path) {
    ExitWithMessage(FormatString(IDS_CANNOT_WRITE, path));
}

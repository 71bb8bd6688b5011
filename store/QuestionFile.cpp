#include "QuestionFile.h"

#include "ResourceIds.h"
#include "StarterDeck.h"
#include "Strings.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {

constexpr const char* kDefaultFileName = "Quillow.qld";

constexpr unsigned kOpenForWriting = CFile::modeReadWrite | CFile::shareExclusive;

// An error of opening that means no file is there.
bool IsMissing(int code) {
    return code == ENOENT || code == ENOTDIR;
}

} // namespace

CQuestionFile::CQuestionFile(IQuestionFileHost& host) : m_host(host) {}

StoreStatus CQuestionFile::CreateNew() {
    return CreateNewFile(CFile::modeCreate);
}

// modeCreate writes over a file that is there, modeCreateNew makes one only where none is. A file
// that another Quillow or qld has open is left to it, as one that cannot be opened. When none can
// be made, the next start opens the file that was open before.
StoreStatus CQuestionFile::CreateNewFile(unsigned createMode) {
    const std::string path = m_host.GetDataFilePath();
    const std::string previous = GetFilePath();
    bool inUse = false;
    if (!Open(path, createMode | kOpenForWriting, &inUse)) {
        if (!inUse) {
            if (!previous.empty())
                m_host.SetDataFilePath(previous);
            return {LoadString(IDS_CANNOT_CREATE)};
        }
        if (path == DefaultFilePath())
            return {FormatString(IDS_DEFAULT_FILE_IN_USE, path)};
        m_host.Notify(FormatString(IDS_FILE_IN_USE, path));
        return OpenDefaultFile();
    }
    return StartNewFile();
}

StoreStatus CQuestionFile::StartNewFile() {
    m_headerOnDisk.clear();
    auto& h = m_header;
    h.version = kCurrentVersion;
    h.recordCount = 0;
    h.position = 0;
    h.popupMinutes = 1;
    h.reservedInt1 = 0;
    h.optionFlags = 0;
    h.reservedInt2 = 0;
    h.reservedBytes1.fill(0);
    h.reservedShort = 0;
    h.reviewMode = REVIEW_NORMAL;
    h.stepIndex = 0;
    h.rangeFrom = kDefaultRangeFrom;
    h.rangeTo = kDefaultRangeTo;
    h.reservedBytes2.fill(0);
    m_sequenceIndex = 0;
    return ComputeSequence();
}

// No path yet (a first start) means the default file, without a word.
StoreStatus CQuestionFile::Load() {
    const std::string path = m_host.GetDataFilePath();
    if (path.empty())
        return OpenDefaultFile();
    bool inUse = false;
    if (Open(path, kOpenForWriting, &inUse))
        return LoadOrSetAside();
    const int code = errno;
    m_host.Notify(inUse             ? FormatString(IDS_FILE_IN_USE, path)
                  : IsMissing(code) ? FormatString(IDS_FILE_NOT_FOUND, path)
                                    : FormatString(IDS_CANNOT_OPEN, path, std::strerror(code)));
    return OpenDefaultFile();
}

std::string CQuestionFile::DefaultFilePath() const {
    return m_host.GetDefaultDataFolder() + kDefaultFileName;
}

// Only a missing default file is made again: one that cannot be read is never written over.
StoreStatus CQuestionFile::OpenDefaultFile() {
    const std::string path = DefaultFilePath();
    m_host.SetDataFilePath(path);
    bool inUse = false;
    if (Open(path, kOpenForWriting, &inUse))
        return LoadOrSetAside();
    if (inUse)
        return {FormatString(IDS_DEFAULT_FILE_IN_USE, path)};
    if (const int code = errno; !IsMissing(code))
        return {FormatString(IDS_CANNOT_OPEN_DEFAULT, path, std::strerror(code))};
    return MakeDefaultFile();
}

// From the starter deck beside the program, or empty without a loadable one, where no file is.
StoreStatus CQuestionFile::MakeDefaultFile() {
    const std::string path = DefaultFilePath();
    if (CopyStarterDeck(m_host.GetProgramFolder() + kDefaultFileName, path)) {
        if (Open(path, kOpenForWriting) && ReadHeader() == HeaderDefect::None)
            return LoadHeaderRead();
        Close();
        std::remove(path.c_str());
    }
    return CreateNewFile(CFile::modeCreateNew);
}

HeaderDefect CQuestionFile::ReadHeader() {
    HeaderBytes bytes{};
    const std::size_t got = Seek(0) ? Read(bytes.data(), bytes.size()) : 0;
    m_headerOnDisk.assign(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(got));
    m_header = DecodeHeader(bytes);
    return FindHeaderDefect(m_header, GetLength());
}

StoreStatus CQuestionFile::LoadOpenFile() {
    return ReadHeader() == HeaderDefect::None
               ? LoadHeaderRead()
               : StoreStatus{FormatString(IDS_DEFECTIVE_HEADER, GetFilePath())};
}

StoreStatus CQuestionFile::LoadOrSetAside() {
    return ReadHeader() == HeaderDefect::None ? LoadHeaderRead() : RefuseDefectiveFile();
}

StoreStatus CQuestionFile::LoadHeaderRead() {
    if (m_header.version < kCurrentVersion)
        if (StoreStatus upgrade = UpgradeFile(); upgrade.Failed())
            return upgrade;
    RepairScheduleState();
    if (StoreStatus computed = ComputeSequence(); computed.Failed())
        return computed;
    m_sequenceIndex = m_header.stepIndex;
    return {};
}

// Nothing is written to a file that is not a data file of a known version: a file picked by
// mistake stays as it was, and the next start opens the default file instead of trying it again.
// A defective default file is kept aside under a free name and the default file made again.
StoreStatus CQuestionFile::RefuseDefectiveFile() {
    const std::string path = GetFilePath();
    m_host.SetDataFilePath(DefaultFilePath());
    std::string aside;
    if (path != DefaultFilePath() || (aside = MoveToFreeName(path + ".defective")).empty())
        return {FormatString(IDS_DEFECTIVE_HEADER, path)};
    Close();
    m_host.Notify(FormatString(IDS_DEFAULT_FILE_SET_ASIDE, path, aside));
    return MakeDefaultFile();
}

void CQuestionFile::RepairScheduleState() {
    auto& h = m_header;
    if (!IsValidRange(h) || !IsReviewMode(h.reviewMode)) {
        h.stepIndex = 0;
        h.rangeFrom = kDefaultRangeFrom;
        h.reviewMode = REVIEW_NORMAL;
        h.rangeTo = kDefaultRangeTo;
    }
    if (h.stepIndex < 0 || h.stepIndex >= kSequenceSlots)
        h.stepIndex = 0;
    if (h.position > h.rangeTo || h.position < h.rangeFrom)
        h.position = h.rangeFrom;
}

StoreStatus CQuestionFile::SaveAndClose() {
    StoreStatus saved = WriteHeader();
    Close();
    return saved;
}

StoreStatus CQuestionFile::SetSchedule(int rangeFrom, int rangeTo, int reviewMode) {
    m_header.rangeFrom = rangeFrom;
    m_header.position = rangeFrom;
    m_header.rangeTo = rangeTo;
    if (IsReviewMode(reviewMode))
        m_header.reviewMode = reviewMode;
    return ComputeSequence();
}

StoreStatus CQuestionFile::GoTo(int position) {
    m_header.position = position;
    return ComputeSequence();
}

StoreStatus CQuestionFile::SetOptions(std::int32_t popupMinutes, std::int32_t optionFlags) {
    m_header.popupMinutes = popupMinutes;
    m_header.optionFlags = optionFlags;
    return WriteHeader();
}

StoreStatus CQuestionFile::WriteHeader() {
    if (StoreStatus unchanged = CheckUnchangedAtPath(); unchanged.Failed())
        return unchanged;
    m_header.savedTime = m_host.GetCurrentTime();
    const HeaderBytes bytes = EncodeHeader(m_header);
    if (!Seek(0) || !Write(bytes.data(), bytes.size()) || !Flush())
        return WriteFailure(GetFilePath());
    m_headerOnDisk.assign(bytes.begin(), bytes.end());
    return CheckUnchangedAtPath();
}

StoreStatus CQuestionFile::ReadRecord(int number, QuestionRecord& buffer) {
    RecordBytes bytes{};
    if (number < 0 || !Seek(RecordOffset(number, kHeaderSize)) ||
        Read(bytes.data(), bytes.size()) != bytes.size())
        return {LoadString(IDS_READ_ELEMENT_ERROR)};
    buffer = DecodeRecord(bytes);
    // A damaged number must not send the record's changes to another slot.
    buffer.number = number;
    return {};
}

StoreStatus CQuestionFile::WriteRecord(int number, const QuestionRecord& buffer) {
    if (StoreStatus unchanged = CheckUnchangedAtPath(); unchanged.Failed())
        return unchanged;
    const RecordBytes bytes = EncodeRecord(buffer);
    if (number < 0 || !Seek(RecordOffset(number, kHeaderSize)) ||
        !Write(bytes.data(), bytes.size()) || !Flush())
        return WriteFailure(GetFilePath());
    return CheckUnchangedAtPath();
}

StoreStatus CQuestionFile::AppendRecord() {
    m_workRecord.number = m_header.recordCount;
    m_header.recordCount += 1;
    m_workRecord.question.fill('\0');
    m_workRecord.answer.fill('\0');
    m_workRecord.memoryReserved = 0;
    m_workRecord.correctCount = 0;
    if (StoreStatus written = WriteRecord(m_workRecord.number, m_workRecord); written.Failed())
        return written;
    return WriteHeader();
}

StoreStatus CQuestionFile::AppendRecordWithoutTimes() {
    m_workRecord.correctTimes.fill(0);
    return AppendRecord();
}

StoreStatus CQuestionFile::UpdateTexts(int number, std::string_view question,
                                       std::string_view answer) {
    if (StoreStatus read = ReadRecord(number, m_workRecord); read.Failed())
        return read;
    SetFieldText(m_workRecord.question, question);
    SetFieldText(m_workRecord.answer, answer);
    return WriteRecord(number, m_workRecord);
}

StoreStatus CQuestionFile::RecordCorrectAnswer(int number) {
    if (StoreStatus read = ReadRecord(number, m_workRecord); read.Failed())
        return read;
    auto count = static_cast<std::uint32_t>(m_workRecord.correctCount) + 1u;
    m_workRecord.correctCount = static_cast<std::int32_t>(count);
    m_workRecord.correctTimes[count % kCorrectTimesSlots] = m_host.GetCurrentTime();
    return WriteRecord(number, m_workRecord);
}

StoreStatus CQuestionFile::InitMemoryRecords() {
    for (int i = m_header.rangeFrom; i <= m_header.rangeTo && i < m_header.recordCount; ++i) {
        if (StoreStatus read = ReadRecord(i, m_workRecord); read.Failed())
            return read;
        m_workRecord.memoryReserved = 0;
        m_workRecord.correctCount = 0;
        if (StoreStatus written = WriteRecord(i, m_workRecord); written.Failed())
            return written;
    }
    return {};
}

// Before a write, so as not to write over another program's file; after it, so that nothing is
// taken as kept that is not in the file at the path. The header is compared too, for a change
// made so soon after this program's own write that the file's change time did not move; a file
// unchanged at its path that gives fewer of its bytes failed to be read.
StoreStatus CQuestionFile::CheckUnchangedAtPath() {
    std::string onDisk(kHeaderSize, '\0');
    onDisk.resize(Seek(0) ? Read(onDisk.data(), onDisk.size()) : 0);
    if (IsUnchangedAtPath() && onDisk == m_headerOnDisk)
        return {};
    if (IsUnchangedAtPath() &&
        std::ssize(onDisk) < std::min<std::int64_t>(kHeaderSize, GetLength()))
        return {LoadString(IDS_READ_ELEMENT_ERROR)};
    return {FormatString(IDS_FILE_CHANGED, GetFilePath())};
}

StoreStatus CQuestionFile::WriteFailure(const std::string& path) {
    return {FormatString(IDS_CANNOT_WRITE, path)};
}

#pragma once

#include "File.h"
#include "QuestionFileHeader.h"
#include "QuestionFileHost.h"
#include "QuestionRecord.h"
#include "ReviewSchedule.h"
#include "StoreStatus.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

// The open data file: its header, one work record and the schedule's current sequence, changed
// only through the operations below, each of which writes what it changed at once. A failure
// is returned, for the caller to show; the file is locked while it is open, so that no other
// Quillow or qld writes it meanwhile.
class CQuestionFile : private CFile {
public:
    explicit CQuestionFile(IQuestionFileHost& host);

    using CFile::Close;
    using CFile::GetFilePath;
    using CFile::GetFileTitle;
    using CFile::IsOpen;
    using CFile::Open;

    // A new file at the application's path, over any file there.
    StoreStatus CreateNew();
    // The file at the application's path, or the default file when there is none yet or it
    // cannot be opened.
    StoreStatus Load();
    // For a file that this object has opened itself, locked (CFile::shareExclusive): loads it as
    // Load does, without a default file to fall back on, or gives it the header of a new file.
    StoreStatus LoadOpenFile();
    StoreStatus StartNewFile();
    StoreStatus SaveAndClose();

    const QuestionFileHeader& Header() const { return m_header; }
    // The drill restarts at the range's first question; a mode outside the known ones keeps the
    // file's own.
    StoreStatus SetSchedule(int rangeFrom, int rangeTo, int reviewMode);
    // The drill goes on at a question of the range.
    StoreStatus GoTo(int position);
    StoreStatus SetOptions(std::int32_t popupMinutes, std::int32_t optionFlags);

    // Fails when the record cannot be read whole. The buffer's number is the slot read.
    StoreStatus ReadRecord(int number, QuestionRecord& buffer);
    // A record at the end, with empty texts and no count, keeping the work record's answer times.
    StoreStatus AppendRecord();
    // The same with an empty ring of answer times, as a card from elsewhere comes.
    StoreStatus AppendRecordWithoutTimes();
    StoreStatus UpdateTexts(int number, std::string_view question, std::string_view answer);
    StoreStatus RecordCorrectAnswer(int number);
    // The count and the memory of each question of the range start again.
    StoreStatus InitMemoryRecords();
    // The schedule's next question, appended empty when the file has none at its number yet.
    StoreStatus NextQuestion(QuestionRecord& destination);

private:
    StoreStatus CreateNewFile(unsigned createMode);
    std::string DefaultFilePath() const;
    StoreStatus OpenDefaultFile();
    StoreStatus MakeDefaultFile();
    StoreStatus LoadOrSetAside();
    HeaderDefect ReadHeader();
    StoreStatus LoadHeaderRead();
    StoreStatus RefuseDefectiveFile();
    StoreStatus UpgradeFile();
    [[nodiscard]] bool MoveRecordsFromOldLayout(CFile& converted);
    void RepairScheduleState();
    StoreStatus ComputeSequence();
    StoreStatus WriteHeader();
    StoreStatus WriteRecord(int number, const QuestionRecord& buffer);
    // Refuses to go on when another program has replaced or changed the file under it.
    StoreStatus CheckUnchangedAtPath();
    static StoreStatus WriteFailure(const std::string& path);

    IQuestionFileHost& m_host;
    QuestionFileHeader m_header;
    QuestionRecord m_workRecord;
    std::array<std::int32_t, kSequenceSlots> m_sequence{};
    std::int32_t m_sequenceIndex = 0;
    // The file's first bytes as this object last read or wrote them.
    std::string m_headerOnDisk;
};

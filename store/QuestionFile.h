#pragma once

#include "File.h"
#include "QuestionFileHeader.h"
#include "QuestionFileHost.h"
#include "QuestionRecord.h"
#include "ReviewSchedule.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

// The open data file: its header, one work record and the schedule's current sequence.
// Every change reaches the disk at once; a failure of the file is reported and ends the program.
// The file is locked while it is open, so that no other Quillow or qld writes it meanwhile.
class CQuestionFile : public CFile {
public:
    explicit CQuestionFile(IQuestionFileHost& host);

    // A new file at the application's path, over any file there.
    void CreateNew();
    // The file at the application's path, or the default file when there is none yet or it
    // cannot be opened.
    void Load();
    // For a file that this object has opened itself, locked (CFile::shareExclusive): loads it as
    // Load does, or gives it the header of a new file.
    void LoadOpenFile();
    void StartNewFile();
    void SaveAndClose();
    void WriteHeader();

    // 0, or -1 when the record cannot be read whole. The buffer's number is the slot read.
    int ReadRecord(int number, QuestionRecord& buffer);
    int ReadRecordOrExit(int number, QuestionRecord& buffer);
    int WriteRecord(int number, const QuestionRecord& buffer);
    void AppendRecord();
    int UpdateTexts(int number, std::string_view question, std::string_view answer);
    int RecordCorrectAnswer(int number);
    void InitMemoryRecords();

    // The review schedule.
    void ComputeSequence();
    int NextQuestion(QuestionRecord& destination);

    QuestionFileHeader header;
    QuestionRecord workRecord;
    std::array<std::int32_t, kSequenceSlots> sequence{};
    std::int32_t sequenceIndex = 0;

private:
    void CreateNewFile(unsigned createMode);
    std::string DefaultFilePath() const;
    void OpenDefaultFile();
    void MakeDefaultFile();
    HeaderDefect ReadHeader();
    void LoadHeaderRead();
    void RefuseDefectiveFile();
    void UpgradeFile();
    [[nodiscard]] bool MoveRecordsFromOldLayout(CFile& converted);
    void RepairScheduleState();
    // Ends the program when another program has replaced or changed the file under it.
    void CheckUnchangedAtPath();
    [[noreturn]] void ExitOnWriteFailure(const std::string& path);

    IQuestionFileHost& m_host;
    // The file's first bytes as this object last read or wrote them.
    std::string m_headerOnDisk;
};

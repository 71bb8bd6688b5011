#pragma once

#include "File.h"
#include "QuestionFileHeader.h"
#include "QuestionRecord.h"

#include <cstdint>
#include <string>

// A data file read by hand and never written: the store's Load writes the header and may
// convert an older file, so the commands that only look at a file read it here.
class DeckFile {
public:
    // False, with the reason, when the file cannot be opened for reading.
    bool Open(const std::string& path, std::string& error);

    const QuestionFileHeader& Header() const { return m_header; }
    int HeaderSize() const;
    std::int64_t Length() const { return m_length; }
    // Why the program would refuse the file, or an empty text when it opens it.
    std::string Refusal() const;
    // False when the record is not whole in the file.
    bool ReadRecord(int slot, QuestionRecord& record);

private:
    CFile m_file;
    QuestionFileHeader m_header;
    std::int64_t m_length = 0;
};

// Why the path could not be opened, from errno as the failed open left it.
std::string OpenFailure(const std::string& path);

// "question 3 (record 2)": the question's number as Quillow shows it, and its record's.
std::string QuestionName(int slot);

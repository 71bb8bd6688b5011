#include "DeckFile.h"

#include "Commands.h"

#include <cerrno>
#include <cstring>
#include <filesystem>

bool DeckFile::Open(const std::string& path, std::string& error) {
    if (!m_file.Open(path, CFile::modeRead)) {
        error = OpenFailure(path);
        return false;
    }
    HeaderBytes bytes{};
    m_file.Read(bytes.data(), bytes.size());
    m_header = DecodeHeader(bytes);
    m_length = m_file.GetLength();
    return true;
}

int DeckFile::HeaderSize() const {
    return HeaderSizeOf(m_header);
}

std::string DeckFile::Refusal() const {
    const std::int32_t count = m_header.recordCount;
    switch (FindHeaderDefect(m_header, m_length)) {
    case HeaderDefect::UnknownVersion:
        return Concat("not a data file: version ", std::to_string(m_header.version),
                      " is not 1 to ", std::to_string(kCurrentVersion));
    case HeaderDefect::ShortHeader:
        return Concat("the file is ", Counted(m_length, "byte"), " long, shorter than its ",
                      std::to_string(HeaderSize()), "-byte header");
    case HeaderDefect::RecordCountOutOfRange:
        return Concat("the header counts ", Counted(count, "record"), ", not 0 to ",
                      std::to_string(kMaxQuestions));
    case HeaderDefect::ShortRecords:
        return Concat("the file is ", Counted(m_length, "byte"), " long; its ",
                      Counted(count, "record"), " need ", std::to_string(NeededLength(m_header)));
    case HeaderDefect::None:
        break;
    }
    return {};
}

bool DeckFile::ReadRecord(int slot, QuestionRecord& record) {
    RecordBytes bytes{};
    if (slot < 0 || !m_file.Seek(RecordOffset(slot, HeaderSize())) ||
        m_file.Read(bytes.data(), bytes.size()) != bytes.size())
        return false;
    record = DecodeRecord(bytes);
    return true;
}

std::string OpenFailure(const std::string& path) {
    const int code = errno;
    std::error_code ignored;
    if (std::filesystem::exists(path, ignored) && !std::filesystem::is_regular_file(path, ignored))
        return "cannot open: not a regular file";
    return Concat("cannot open: ", std::strerror(code));
}

std::string QuestionName(int slot) {
    return "question " + std::to_string(slot + 1) + " (record " + std::to_string(slot) + ")";
}

#include "QuestionFile.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace {

// Opens a new file at the path, locked; a file left there by an upgrade that was cut short is
// removed first: the data file's lock says that no other upgrade of it runs.
bool CreateAfresh(CFile& file, const std::string& path) {
    std::remove(path.c_str());
    return file.Open(path, CFile::modeCreateNew | CFile::modeReadWrite | CFile::shareExclusive);
}

// Copies the bytes of source from offset `from` up to `length` to target at the same offset.
bool CopyTail(CFile& source, CFile& target, std::int64_t from, std::int64_t length) {
    if (source.GetLength() < length || length < from || !source.Seek(from) || !target.Seek(from))
        return false;
    std::vector<char> chunk(64 * 1024);
    for (std::int64_t left = length - from; left > 0;) {
        const auto want =
            static_cast<std::size_t>(std::min(left, static_cast<std::int64_t>(chunk.size())));
        const std::size_t got = source.Read(chunk.data(), want);
        if (got == 0 || !target.Write(chunk.data(), got))
            return false;
        left -= static_cast<std::int64_t>(got);
    }
    return true;
}

} // namespace

// An older file is converted into a new file beside it, which takes its place in one rename, so
// that a crash at any moment leaves either the old file whole or the converted one. A file with
// the 32-byte header is also kept as NAME.qld.bak (or the first free NAME.qld.bak.N), with its
// permissions, named so only once it is whole. Only the bytes that the header's records take are
// carried over.
StoreStatus CQuestionFile::UpgradeFile() {
    // A data file reached through a link is converted where it lies, and the link kept.
    std::error_code noTarget;
    const std::string linked = GetFilePath();
    const std::string target = std::filesystem::canonical(linked, noTarget).string();
    const std::string path = noTarget ? linked : target;
    const bool oldLayout = m_header.version < kLongHeaderVersion;
    const std::int64_t length = NeededLength(m_header);
    if (oldLayout) {
        m_header.reservedBytes1.fill(0);
        m_header.reservedShort = 0;
    }
    m_header.stepIndex = 0;
    m_header.rangeFrom = 0;
    m_header.reviewMode = REVIEW_NORMAL;
    m_header.rangeTo = m_header.recordCount > 0 ? m_header.recordCount - 1 : 0;
    m_header.version = kCurrentVersion;

    CFile converted, backup;
    const std::string convertedPath = path + ".upgrade", backupPath = path + ".bak.upgrade";
    if (!CreateAfresh(converted, convertedPath))
        return WriteFailure(convertedPath);
    const HeaderBytes bytes = EncodeHeader(m_header);
    bool done = converted.TakeModeOf(*this) && converted.Write(bytes.data(), bytes.size()) &&
                (oldLayout ? MoveRecordsFromOldLayout(converted)
                           : CopyTail(*this, converted, kHeaderSize, length)) &&
                converted.Flush();
    if (done && oldLayout)
        done = CreateAfresh(backup, backupPath) && backup.TakeModeOf(*this) &&
               CopyTail(*this, backup, 0, length) && backup.Flush() &&
               !backup.MoveToFreeName(path + ".bak").empty();
    if (!done || !IsUnchangedAtPath()) {
        std::remove(convertedPath.c_str());
        std::remove(backupPath.c_str());
        if (StoreStatus unchanged = CheckUnchangedAtPath(); unchanged.Failed())
            return unchanged;
        return WriteFailure(linked);
    }
    // Once renamed, the converted file is the data file, even when the rename's flush fails.
    if (!converted.MoveTo(path)) {
        if (converted.GetFilePath() != path)
            std::remove(convertedPath.c_str());
        return WriteFailure(linked);
    }
    Swap(converted);
    SetFilePath(linked);
    m_headerOnDisk.assign(bytes.begin(), bytes.end());
    return {};
}

// Places the records behind the 32-byte header into their slots of the converted file. A number
// that is out of range or already taken puts its record in its own slot, or in the first free one.
bool CQuestionFile::MoveRecordsFromOldLayout(CFile& converted) {
    const int count = m_header.recordCount;
    std::vector<bool> placed(static_cast<std::size_t>(count), false);
    std::size_t firstFree = 0;
    for (int i = count - 1; i >= 0; --i) {
        RecordBytes bytes{};
        if (!Seek(RecordOffset(i, kOldHeaderSize)) ||
            Read(bytes.data(), bytes.size()) != bytes.size())
            return false;
        m_workRecord = DecodeRecord(bytes);
        int slot = m_workRecord.number;
        if (slot < 0 || slot >= count || placed[static_cast<std::size_t>(slot)]) {
            while (placed[firstFree])
                ++firstFree;
            slot = placed[static_cast<std::size_t>(i)] ? static_cast<int>(firstFree) : i;
            m_workRecord.number = slot;
        }
        placed[static_cast<std::size_t>(slot)] = true;
        const RecordBytes moved = EncodeRecord(m_workRecord);
        if (!converted.Seek(RecordOffset(slot, kHeaderSize)) ||
            !converted.Write(moved.data(), moved.size()))
            return false;
    }
    return true;
}

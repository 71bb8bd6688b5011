#include "QuestionFile.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace {

// How many numbered names a new file beside the data file may try before giving up.
constexpr int kFreeNames = 100;

// Creates a new file at the first of name, name.2, name.3, ... that is free: a file that is
// already there, whoever made it, is never opened. Empty when none could be made.
std::string CreateAtFreeName(CFile& file, const std::string& name, unsigned flags) {
    for (int n = 1; n <= kFreeNames; ++n) {
        const std::string path = n == 1 ? name : name + "." + std::to_string(n);
        if (file.Open(path, flags | CFile::modeCreateNew | CFile::modeReadWrite))
            return path;
        if (errno != EEXIST)
            break;
    }
    return {};
}

// Copies the bytes of source from offset `from` on to target at the same offset.
bool CopyTail(CFile& source, CFile& target, std::int64_t from) {
    const std::int64_t length = source.GetLength();
    if (length < from || !source.Seek(from) || !target.Seek(from))
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
// the 32-byte header is also kept as NAME.qld.bak, with its permissions.
void CQuestionFile::UpgradeFile() {
    // A data file reached through a link is converted where it lies, and the link kept.
    std::error_code noTarget;
    const std::string linked = GetFilePath();
    const std::string target = std::filesystem::canonical(linked, noTarget).string();
    const std::string path = noTarget ? linked : target;
    const bool oldLayout = header.version < kLongHeaderVersion;
    if (oldLayout) {
        header.reservedBytes1.fill(0);
        header.reservedShort = 0;
    }
    header.stepIndex = 0;
    header.rangeFrom = 0;
    header.reviewMode = REVIEW_NORMAL;
    header.rangeTo = header.recordCount > 0 ? header.recordCount - 1 : 0;
    header.version = kCurrentVersion;

    CFile converted;
    const std::string convertedPath =
        CreateAtFreeName(converted, path + ".upgrade", CFile::shareExclusive);
    if (convertedPath.empty())
        ExitOnWriteFailure(path + ".upgrade");
    const HeaderBytes bytes = EncodeHeader(header);
    bool done = converted.TakeModeOf(*this) && converted.Write(bytes.data(), bytes.size()) &&
                (oldLayout ? MoveRecordsFromOldLayout(converted)
                           : CopyTail(*this, converted, kHeaderSize)) &&
                converted.Flush();
    if (done && oldLayout) {
        CFile backup;
        const std::string backupPath = CreateAtFreeName(backup, path + ".bak", 0);
        done = !backupPath.empty() && backup.TakeModeOf(*this) && CopyTail(*this, backup, 0) &&
               backup.Flush();
    }
    if (!done || !IsUnchangedAtPath() || !converted.MoveTo(path)) {
        std::remove(convertedPath.c_str());
        CheckUnchangedAtPath();
        ExitOnWriteFailure(linked);
    }
    Swap(converted);
    SetFilePath(linked);
}

// Places the records behind the 32-byte header into their slots of the converted file. A number
// that is out of range or already taken puts its record in its own slot, or in the first free one.
bool CQuestionFile::MoveRecordsFromOldLayout(CFile& converted) {
    const int count = header.recordCount;
    std::vector<bool> placed(static_cast<std::size_t>(count), false);
    std::size_t firstFree = 0;
    for (int i = count - 1; i >= 0; --i) {
        RecordBytes bytes{};
        if (!Seek(RecordOffset(i, kOldHeaderSize)) ||
            Read(bytes.data(), bytes.size()) != bytes.size())
            return false;
        workRecord = DecodeRecord(bytes);
        int slot = workRecord.number;
        if (slot < 0 || slot >= count || placed[static_cast<std::size_t>(slot)]) {
            while (placed[firstFree])
                ++firstFree;
            slot = placed[static_cast<std::size_t>(i)] ? static_cast<int>(firstFree) : i;
            workRecord.number = slot;
        }
        placed[static_cast<std::size_t>(slot)] = true;
        const RecordBytes moved = EncodeRecord(workRecord);
        if (!converted.Seek(RecordOffset(slot, kHeaderSize)) ||
            !converted.Write(moved.data(), moved.size()))
            return false;
    }
    return true;
}

#include "QuestionFile.h"

#include "Exit.h"
#include "MessageBox.h"
#include "ResourceIds.h"

#include <vector>

namespace {

// Copies the whole file into a new file at backupPath and brings it to the disk.
bool CopyToBackup(CFile& source, CFile& backup, const std::string& backupPath) {
    if (!backup.Open(backupPath, CFile::modeCreate | CFile::modeReadWrite) || !source.Seek(0))
        return false;
    const std::int64_t length = source.GetLength();
    std::vector<char> chunk(64 * 1024);
    std::int64_t copied = 0;
    while (copied < length) {
        const std::size_t got = source.Read(chunk.data(), chunk.size());
        if (got == 0 || !backup.Write(chunk.data(), got))
            return false;
        copied += static_cast<std::int64_t>(got);
    }
    return backup.Flush();
}

} // namespace

// Moves the records of a file with the 32-byte header to their slots behind the 104-byte one.
// The records are read from a backup copy beside the file, so neither an interrupted move nor
// records whose numbers are not in file order can lose one. A number that is out of range or
// already taken puts its record in its own slot, or in the first free one.
void CQuestionFile::MoveRecordsFromOldLayout() {
    const int count = header.recordCount;
    if (count <= 0)
        return;
    const std::string backupPath = GetFilePath() + ".bak";
    CFile backup;
    if (!CopyToBackup(*this, backup, backupPath))
        ExitOnWriteFailure(backupPath);

    std::vector<bool> placed(static_cast<std::size_t>(count), false);
    std::size_t firstFree = 0;
    for (int i = count - 1; i >= 0; --i) {
        RecordBytes bytes{};
        if (!backup.Seek(RecordOffset(i, kOldHeaderSize)) ||
            backup.Read(bytes.data(), bytes.size()) != bytes.size()) {
            AfxMessageBox(IDS_READ_ELEMENT_ERROR, MB_ICONEXCLAMATION);
            ExitProgram(1);
        }
        workRecord = DecodeRecord(bytes);
        int slot = workRecord.number;
        if (slot < 0 || slot >= count || placed[static_cast<std::size_t>(slot)]) {
            while (placed[firstFree])
                ++firstFree;
            slot = placed[static_cast<std::size_t>(i)] ? static_cast<int>(firstFree) : i;
            workRecord.number = slot;
        }
        placed[static_cast<std::size_t>(slot)] = true;
        if (!WriteRecordBytes(slot, workRecord))
            ExitOnWriteFailure(GetFilePath());
    }
    if (!Flush())
        ExitOnWriteFailure(GetFilePath());
}

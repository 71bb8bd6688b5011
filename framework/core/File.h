#pragma once

#include <cstddef>
#include <cstdint>
#include <ctime>
#include <functional>
#include <string>
#include <sys/types.h>

// A file opened by path and used by absolute offsets. Every failure is reported to the caller.
class CFile {
public:
    enum OpenFlags : unsigned {
        modeRead = 0x0000,
        modeReadWrite = 0x0002,
        // Holds an advisory lock on the file for as long as it is open; Open fails while another
        // open of the file holds it.
        shareExclusive = 0x0010,
        modeCreate = 0x1000,
        // Creates a file that must not exist yet: never opens one that is there.
        modeCreateNew = 0x4000,
    };

    CFile() = default;
    CFile(const CFile&) = delete;
    CFile& operator=(const CFile&) = delete;
    virtual ~CFile();

    // modeCreate cuts an existing file to length 0 (once it is locked, with shareExclusive).
    // inUse, when given, tells whether the open failed because another holds the lock; errno
    // tells why any open failed.
    [[nodiscard]] bool Open(const std::string& path, unsigned flags, bool* inUse = nullptr);
    [[nodiscard]] bool Seek(std::int64_t offset);
    // The number of bytes read: fewer than asked at the end of the file or on an error.
    std::size_t Read(void* buffer, std::size_t count);
    [[nodiscard]] bool Write(const void* buffer, std::size_t count);
    // Brings the written bytes to the disk.
    [[nodiscard]] bool Flush();
    // The file's length in bytes, or -1 when it cannot be told.
    std::int64_t GetLength() const;
    void Close();

    // Whether the file at the path is still this one, as this one left it: false once another
    // program has deleted it, renamed another file over it, or written to it in any way.
    bool IsUnchangedAtPath() const;
    // Gives this file the permission bits of another.
    [[nodiscard]] bool TakeModeOf(const CFile& other);
    // Renames this file to the path, over any file there, and brings the rename to the disk.
    // After a failed flush of the rename the file has moved: GetFilePath tells where it is.
    [[nodiscard]] bool MoveTo(const std::string& path);
    // Renames this file to the first of name, name.2, name.3, ... that is free, never over a
    // file, and brings the rename to the disk; the path it has now, or empty on a failure (after
    // a failed flush of the rename it has moved: GetFilePath tells where it is).
    std::string MoveToFreeName(const std::string& name);
    // Exchanges the open files of the two objects.
    void Swap(CFile& other) noexcept;

    bool IsOpen() const { return m_fd >= 0; }
    const std::string& GetFilePath() const { return m_strPath; }
    virtual void SetFilePath(const std::string& path);
    // The file's name as shown to the user: without its folder, with its extension.
    std::string GetFileTitle() const;

private:
    // Takes the file's identity and change time as they are now, as this object's own doing.
    bool RememberState();

    int m_fd = -1;
    std::string m_strPath;
    // What this object knows of its file: where it is and how long it has made it.
    dev_t m_device = 0;
    ino_t m_inode = 0;
    std::int64_t m_position = 0;
    std::int64_t m_length = 0;
    struct timespec m_changeTime {};
};

// Calls make(path) for name, name.2, name.3, ... until it succeeds or fails with an error other
// than EEXIST: the path it succeeded with, or empty.
std::string AtFreeName(const std::string& name,
                       const std::function<bool(const std::string&)>& make);

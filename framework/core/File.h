#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// A file opened by path and used by absolute offsets. Every failure is reported to the caller.
class CFile {
public:
    enum OpenFlags : unsigned {
        modeRead = 0x0000,
        modeReadWrite = 0x0002,
        modeCreate = 0x1000,
    };

    CFile() = default;
    CFile(const CFile&) = delete;
    CFile& operator=(const CFile&) = delete;
    virtual ~CFile();

    // modeCreate cuts an existing file to length 0.
    [[nodiscard]] bool Open(const std::string& path, unsigned flags);
    [[nodiscard]] bool Seek(std::int64_t offset);
    // The number of bytes read: fewer than asked at the end of the file or on an error.
    std::size_t Read(void* buffer, std::size_t count);
    [[nodiscard]] bool Write(const void* buffer, std::size_t count);
    // Brings the written bytes to the disk.
    [[nodiscard]] bool Flush();
    // The file's length in bytes, or -1 when it cannot be told.
    std::int64_t GetLength() const;
    void Close();

    bool IsOpen() const { return m_fd >= 0; }
    const std::string& GetFilePath() const { return m_strPath; }
    virtual void SetFilePath(const std::string& path);
    // The file's name as shown to the user: without its folder, with its extension.
    std::string GetFileTitle() const;

private:
    int m_fd = -1;
    std::string m_strPath;
};

#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

struct zip;

// A package from elsewhere: a zip archive read through libzip. Entries are looked up by name and
// read into memory or handed on in pieces; their names never become paths.
class ZipArchive {
public:
    // What all the entries of one package may unpack to together.
    static constexpr std::uint64_t kLargestUnpacked = std::uint64_t{512} << 20;

    ZipArchive() = default;
    ~ZipArchive();
    ZipArchive(const ZipArchive&) = delete;
    ZipArchive& operator=(const ZipArchive&) = delete;

    // False, with the reason, for a file that is no sound zip archive or whose entries would
    // unpack to more than kLargestUnpacked (told by the archive's directory, before unpacking).
    bool Open(const std::string& path, std::string& error);
    bool Has(std::string_view name) const;
    // The entry's bytes in pieces of at most 64 kB; false, with the reason, when the entry is
    // damaged, longer than its directory says, or when a piece's handler returns false.
    bool Read(std::string_view name, const std::function<bool(std::string_view)>& piece,
              std::string& error) const;
    // The whole entry, which must be at most `largest` bytes.
    bool ReadAll(std::string_view name, std::size_t largest, std::string& bytes,
                 std::string& error) const;

private:
    zip* m_zip = nullptr;
};

#include "ZipArchive.h"

#include "Commands.h"

#include <zip.h>

#include <memory>
#include <vector>

namespace {

std::string Reason(zip_error_t* error) {
    return zip_error_strerror(error);
}

} // namespace

ZipArchive::~ZipArchive() {
    if (m_zip)
        zip_discard(m_zip);
}

bool ZipArchive::Open(const std::string& path, std::string& error) {
    int code = 0;
    m_zip = zip_open(path.c_str(), ZIP_RDONLY | ZIP_CHECKCONS, &code);
    if (!m_zip) {
        zip_error_t reason;
        zip_error_init_with_code(&reason, code);
        error = Concat("not a sound zip archive: ", Reason(&reason));
        zip_error_fini(&reason);
        return false;
    }
    std::uint64_t total = 0;
    const zip_int64_t entries = zip_get_num_entries(m_zip, 0);
    for (zip_int64_t i = 0; i < entries; ++i) {
        zip_stat_t stat;
        if (zip_stat_index(m_zip, static_cast<zip_uint64_t>(i), 0, &stat) != 0 ||
            !(stat.valid & ZIP_STAT_SIZE)) {
            error = Concat("entry ", std::to_string(i + 1), " is damaged");
            return false;
        }
        total += stat.size;
        if (total > kLargestUnpacked) {
            error = Concat("it would unpack to more than ", std::to_string(kLargestUnpacked >> 20),
                           " MB");
            return false;
        }
    }
    return true;
}

bool ZipArchive::Has(std::string_view name) const {
    return zip_name_locate(m_zip, std::string(name).c_str(), 0) >= 0;
}

bool ZipArchive::Read(std::string_view name, const std::function<bool(std::string_view)>& piece,
                      std::string& error) const {
    const std::string entry(name);
    zip_stat_t stat;
    const std::unique_ptr<zip_file_t, decltype(&zip_fclose)> file(
        zip_stat(m_zip, entry.c_str(), 0, &stat) == 0 ? zip_fopen(m_zip, entry.c_str(), 0)
                                                      : nullptr,
        &zip_fclose);
    if (!file) {
        error = Concat(entry, ": ", zip_strerror(m_zip));
        return false;
    }
    std::vector<char> buffer(64 * 1024);
    std::uint64_t total = 0;
    for (;;) {
        const zip_int64_t got = zip_fread(file.get(), buffer.data(), buffer.size());
        if (got < 0) {
            error = Concat(entry, ": ", zip_file_strerror(file.get()));
            return false;
        }
        if (got == 0)
            return true;
        total += static_cast<std::uint64_t>(got);
        if (total > stat.size) {
            error = Concat(entry, ": longer than the archive says");
            return false;
        }
        if (!piece({buffer.data(), static_cast<std::size_t>(got)}))
            return false;
    }
}

bool ZipArchive::ReadAll(std::string_view name, std::size_t largest, std::string& bytes,
                         std::string& error) const {
    bytes.clear();
    return Read(
        name,
        [&](std::string_view piece) {
            if (bytes.size() + piece.size() > largest) {
                error = Concat(name, ": larger than ", std::to_string(largest), " bytes");
                return false;
            }
            bytes += piece;
            return true;
        },
        error);
}

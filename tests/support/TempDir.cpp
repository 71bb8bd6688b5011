#include "TempDir.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <stdlib.h>

TempDir::TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "quillow-test-XXXXXX").string();
    if (!::mkdtemp(pattern.data()))
        throw std::runtime_error("cannot make a temporary folder");
    m_path = pattern + "/";
}

TempDir::~TempDir() {
    std::error_code ignored;
    std::filesystem::permissions(m_path, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ignored);
    std::filesystem::remove_all(m_path, ignored);
}

Bytes ReadFileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteFileBytes(const std::string& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

bool FileExists(const std::string& path) {
    return std::filesystem::exists(path);
}

std::int32_t Int32At(const Bytes& b, std::size_t o) {
    return std::int32_t(std::uint32_t(b.at(o)) | std::uint32_t(b.at(o + 1)) << 8 |
                        std::uint32_t(b.at(o + 2)) << 16 | std::uint32_t(b.at(o + 3)) << 24);
}

void PutInt32At(Bytes& b, std::size_t o, std::int32_t value) {
    auto v = std::uint32_t(value);
    for (int k = 0; k < 4; ++k)
        b.at(o + std::size_t(k)) = std::uint8_t(v >> (8 * k));
}

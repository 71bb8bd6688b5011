#include "SplitDecks.h"

#include <cstdint>
#include <filesystem>

namespace {

bool PutText(std::FILE* file, const std::string& text) {
    const auto size = static_cast<std::uint32_t>(text.size());
    return std::fwrite(&size, sizeof size, 1, file) == 1 &&
           std::fwrite(text.data(), 1, text.size(), file) == text.size();
}

std::string TakeText(std::FILE* file) {
    std::uint32_t size = 0;
    std::string text;
    if (std::fread(&size, sizeof size, 1, file) == 1) {
        text.resize(size);
        text.resize(std::fread(text.data(), 1, size, file));
    }
    return text;
}

} // namespace

CardSpill::CardSpill() : m_file(std::tmpfile()) {}

CardSpill::~CardSpill() {
    if (m_file)
        std::fclose(m_file);
}

bool CardSpill::Put(const TextRow& row) {
    const auto fields = static_cast<std::uint32_t>(row.fields.size());
    if (!m_file || std::fwrite(&row.line, sizeof row.line, 1, m_file) != 1 ||
        std::fwrite(&fields, sizeof fields, 1, m_file) != 1)
        return false;
    for (const std::string& field : row.fields)
        if (!PutText(m_file, field))
            return false;
    ++m_put;
    return true;
}

std::vector<TextRow> CardSpill::Take(std::size_t count) {
    std::vector<TextRow> rows;
    if (m_taken == 0 && m_file)
        std::rewind(m_file);
    for (; rows.size() < count && m_taken < m_put; ++m_taken) {
        TextRow row;
        std::uint32_t fields = 0;
        if (std::fread(&row.line, sizeof row.line, 1, m_file) != 1 ||
            std::fread(&fields, sizeof fields, 1, m_file) != 1) {
            m_taken = m_put;
            break;
        }
        for (std::uint32_t i = 0; i < fields; ++i)
            row.fields.push_back(TakeText(m_file));
        rows.push_back(std::move(row));
    }
    return rows;
}

std::string NextFreeDeck(const std::string& deck, int& next) {
    std::filesystem::path path(deck);
    const std::string stem =
        path.extension() == ".qld" ? path.stem().string() : path.filename().string();
    std::error_code ignored;
    for (;; ++next) {
        path.replace_filename(stem + "-" + std::to_string(next) + ".qld");
        if (!std::filesystem::exists(path, ignored) &&
            !std::filesystem::is_symlink(path, ignored)) {
            ++next;
            return path.string();
        }
    }
}

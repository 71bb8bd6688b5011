#include "StarterDeck.h"

#include "File.h"

#include <array>
#include <cstdio>

namespace {

// Every byte of the source, checked against its length: a read error ends a copy short.
bool CopyBytes(CFile& from, CFile& to) {
    std::array<char, 65536> buffer{};
    std::int64_t copied = 0;
    while (const std::size_t got = from.Read(buffer.data(), buffer.size())) {
        if (!to.Write(buffer.data(), got))
            return false;
        copied += static_cast<std::int64_t>(got);
    }
    return copied == from.GetLength();
}

} // namespace

bool CopyStarterDeck(const std::string& from, const std::string& to) {
    CFile source, target;
    if (from == to || !source.Open(from, CFile::modeRead))
        return false;
    // Never over an existing file: only a file made here is filled, or removed again.
    if (!target.Open(to, CFile::modeReadWrite | CFile::modeCreateNew))
        return false;
    if (CopyBytes(source, target) && target.Flush())
        return true;
    target.Close();
    std::remove(to.c_str());
    return false;
}

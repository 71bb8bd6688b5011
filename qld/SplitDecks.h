#pragma once

#include "DelimitedText.h"

#include <cstdio>
#include <string>
#include <vector>

// The cards beyond the first deck of a split import, kept in a private temporary file, so that
// a package of any size takes the memory of a deck or two.
class CardSpill {
public:
    CardSpill();
    ~CardSpill();
    CardSpill(const CardSpill&) = delete;
    CardSpill& operator=(const CardSpill&) = delete;

    // False when the temporary file cannot be made or written.
    bool Put(const TextRow& row);
    // The next rows in the order put, at most `count`.
    std::vector<TextRow> Take(std::size_t count);
    bool Empty() const { return m_taken == m_put; }

private:
    std::FILE* m_file;
    std::size_t m_put = 0, m_taken = 0;
};

// The first of NAME-2.qld, NAME-3.qld, ... beside the deck NAME.qld that has no file, from
// `next` on; `next` moves past it.
std::string NextFreeDeck(const std::string& deck, int& next);

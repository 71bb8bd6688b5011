#include "DataFileBuilder.h"

#include <cstring>

Bytes MakeDataFile(const DeckSpec& deck) {
    Bytes file(104, 0);
    PutInt32At(file, 0, 200);
    PutInt32At(file, 4, int(deck.cards.size()));
    PutInt32At(file, 8, deck.position);
    PutInt32At(file, 12, deck.popupMinutes);
    PutInt32At(file, 20, deck.optionFlags);
    PutInt32At(file, 64, deck.reviewMode);
    PutInt32At(file, 68, deck.stepIndex);
    PutInt32At(file, 72, deck.rangeFrom);
    PutInt32At(file, 76, deck.rangeTo);
    for (std::size_t i = 0; i < deck.cards.size(); ++i) {
        Bytes record(1052, 0);
        PutInt32At(record, 0, int(i));
        const auto& [question, answer] = deck.cards[i];
        std::memcpy(&record[4], question.data(), std::min<std::size_t>(question.size(), 499));
        std::memcpy(&record[504], answer.data(), std::min<std::size_t>(answer.size(), 499));
        file.insert(file.end(), record.begin(), record.end());
    }
    return file;
}

#include "StoreFixture.h"

#include "DataFileBuilder.h"

#include <cstring>

std::string StoreTest::TaggedText(char letter, int tag) {
    std::string text(1, letter);
    text += std::to_string(tag);
    return text;
}

Bytes StoreTest::RecordBytesFor(int number, int tag, int correctCount) {
    Bytes r(1052, 0);
    PutInt32At(r, 0, number);
    std::string q = TaggedText('Q', tag), a = TaggedText('A', tag);
    std::memcpy(&r[4], q.data(), q.size());
    std::memcpy(&r[504], a.data(), a.size());
    PutInt32At(r, 1008, correctCount);
    return r;
}

Bytes StoreTest::CurrentFile(int records, int position, int reviewMode, int stepIndex,
                             int rangeFrom, int rangeTo) {
    DeckSpec deck{{}, 1, 0, reviewMode, position, stepIndex, rangeFrom, rangeTo};
    for (int i = 0; i < records; ++i)
        deck.cards.emplace_back(TaggedText('Q', i), TaggedText('A', i));
    return MakeDataFile(deck);
}

Bytes StoreTest::OldFile(int version, const std::vector<int>& numbers) {
    Bytes f(32, 0);
    PutInt32At(f, 0, version);
    PutInt32At(f, 4, int(numbers.size()));
    PutInt32At(f, 12, 5);
    PutInt32At(f, 20, 8);
    for (std::size_t i = 0; i < numbers.size(); ++i) {
        Bytes r = RecordBytesFor(numbers[i], int(i));
        f.insert(f.end(), r.begin(), r.end());
    }
    return f;
}

std::string StoreTest::QuestionAt(const Bytes& file, int slot) {
    return reinterpret_cast<const char*>(&file.at(104 + std::size_t(slot) * 1052 + 4));
}

std::string StoreTest::AnswerAt(const Bytes& file, int slot) {
    return reinterpret_cast<const char*>(&file.at(104 + std::size_t(slot) * 1052 + 504));
}

void StoreTest::LoadFile(CQuestionFile& file) {
    ASSERT_EQ(ExitStatusOf([&] { file.Load(); }), -1) << "Load ended the program";
}

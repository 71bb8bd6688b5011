#pragma once

#include "DataFileBuilder.h"
#include "MessageBoxRecorder.h"
#include "QuestionFile.h"
#include "ResourceIds.h"
#include "Strings.h"
#include "TempDir.h"
#include "TestHost.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

// Runs f; true when it wrote to a file and did not flush it before closing it or returning.
bool LeavesUnflushed(const std::function<void()>& f);
// Runs f in a child process that is killed just before its n-th change to a file, the first
// being 1. True when the child was killed, false when f ended before its n-th change.
bool KilledAtChange(int n, const std::function<void()>& f);
// The n-th change to a file from now on fails with EIO, the first being 1; 0: none.
void FailChange(int n);

// A data file in a fresh folder, a recorder for its message boxes, and file bytes built by hand.
class StoreTest : public ::testing::Test {
protected:
    StoreTest() : host(DataPath(), dir.Path()) {}

    std::string DataPath() const { return dir.File("deck.qld"); }
    Bytes DataBytes() const { return ReadFileBytes(DataPath()); }

    // A current-format file whose record i holds the texts "Qi" and "Ai".
    static Bytes CurrentFile(int records, int position = 0, int reviewMode = 1, int stepIndex = 0,
                             int rangeFrom = 0, int rangeTo = 19) {
        DeckSpec deck{{}, 1, 0, reviewMode, position, stepIndex, rangeFrom, rangeTo};
        for (int i = 0; i < records; ++i)
            deck.cards.emplace_back("Q" + std::to_string(i), "A" + std::to_string(i));
        return MakeDataFile(deck);
    }

    // The same records behind the 32-byte header, numbered as given; pop-up period 5, options 8.
    static Bytes OldFile(int version, const std::vector<int>& numbers) {
        Bytes file = CurrentFile(int(numbers.size()));
        file.erase(file.begin() + 32, file.begin() + 104);
        PutInt32At(file, 0, version);
        PutInt32At(file, 12, 5);
        PutInt32At(file, 20, 8);
        for (std::size_t i = 0; i < numbers.size(); ++i)
            PutInt32At(file, 32 + i * 1052, numbers[i]);
        return file;
    }

    static Bytes WithInt32(Bytes file, std::size_t offset, std::int32_t value) {
        PutInt32At(file, offset, value);
        return file;
    }
    // The file as the program saves it now.
    Bytes Saved(Bytes file) const { return WithInt32(std::move(file), 28, host.now); }

    // Loads the file as the quiz window does at start; fails the test if that fails.
    void LoadFile(CQuestionFile& file) { ASSERT_FALSE(ShownFailure(file.Load())) << "Load failed"; }

    TempDir dir;
    TestHost host;
    MessageBoxRecorder boxes;
};

#pragma once

#include "ExitTrap.h"
#include "MessageBoxRecorder.h"
#include "QuestionFile.h"
#include "TempDir.h"
#include "TestHost.h"

#include <gtest/gtest.h>

#include <string>

// A data file in a fresh folder, a recorder for its message boxes, and helpers that build file
// bytes by hand.
class StoreTest : public ::testing::Test {
protected:
    StoreTest() : host(dir.File("deck.qld"), dir.Path()) {}

    std::string DataPath() const { return dir.File("deck.qld"); }
    Bytes DataBytes() const { return ReadFileBytes(DataPath()); }

    // A current-format file: header fields set by offset, then records holding "Qi"/"Ai".
    static Bytes CurrentFile(int records, int position = 0, int reviewMode = 1, int stepIndex = 0,
                             int rangeFrom = 0, int rangeTo = 19);
    // A file with the 32-byte header: record i at 32 + i * 1052 with
    // the given number and the texts "Qi"/"Ai".
    static Bytes OldFile(int version, const std::vector<int>& numbers);
    // One record's bytes with the texts "Q<tag>" and "A<tag>".
    static Bytes RecordBytesFor(int number, int tag, int correctCount = 0);

    // "Q7", "A7": the texts of the record tagged 7.
    static std::string TaggedText(char letter, int tag);
    static std::string QuestionAt(const Bytes& file, int slot);
    static std::string AnswerAt(const Bytes& file, int slot);

    // Loads the file (as the quiz window does at start); fails the test if it ends the program.
    void LoadFile(CQuestionFile& file);

    TempDir dir;
    TestHost host;
    MessageBoxRecorder boxes;
};

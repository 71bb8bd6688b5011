// Any bytes as the data file. The store loads them or ends by refusing the file: never a crash,
// never a sanitizer report, and never a write to a file it refuses. A file it loads is drilled a
// few questions and saved, and must then load again. The qld tool's check runs on the same
// bytes, leaves them as they are, and refuses exactly the files that the store refuses.

#include "Commands.h"
#include "DeckFile.h"
#include "ExitTrap.h"
#include "MessageBox.h"
#include "QuestionFile.h"
#include "ResourceIds.h"
#include "Strings.h"
#include "TempDir.h"
#include "TestHost.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace {

constexpr int kDraws = 8;

void Require(bool holds, const char* what) {
    if (holds)
        return;
    std::fprintf(stderr, "fuzz_data_file: %s\n", what);
    std::abort();
}

struct Outcome {
    bool loaded = false;
    bool exited = false;
    bool leftDataFile = false;
    std::vector<std::string> messages;
};

// Loads the file and, when it loads, asks `draws` questions and saves it.
Outcome LoadAndDrill(const std::string& path, const std::string& folder, int draws) {
    Outcome outcome;
    MessageBoxHandler previous = SetMessageBoxHandler([&](const MessageBoxRequest& request) {
        outcome.messages.push_back(request.text);
        return int{IDOK};
    });
    TestHost host(path, folder);
    try {
        ExitTrap trap;
        CQuestionFile file(host);
        file.Load();
        outcome.loaded = true;
        QuestionRecord record;
        for (int i = 0; i < draws; ++i)
            file.NextQuestion(record);
        file.SaveAndClose();
    } catch (const ProgramExit&) {
        outcome.exited = true;
    }
    SetMessageBoxHandler(std::move(previous));
    outcome.leftDataFile = host.GetDataFilePath() != path;
    return outcome;
}

bool QldRefuses(const std::string& path) {
    DeckFile deck;
    std::string error;
    Require(deck.Open(path, error), "qld cannot open the data file");
    return !deck.Refusal().empty();
}

// The whole `qld check`; its report goes to the standard output.
int QldCheck(const std::string& path) {
    CommandLine line;
    line.operands = {path};
    return RunCheck(line);
}

void EmptyFolder(const std::string& folder) {
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        std::filesystem::remove_all(entry.path());
}

bool HoldsOnly(const std::string& folder, const std::string& file) {
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        if (entry.path() != file)
            return false;
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const TempDir folder;
    EmptyFolder(folder.Path());
    const std::string path = folder.File("deck.qld");
    const Bytes input(data, data + size);
    WriteFileBytes(path, input);

    const bool qldRefuses = QldRefuses(path);
    const int qldStatus = QldCheck(path);
    Require(qldStatus == 0 || qldStatus == 1, "qld check ended with a status other than 0 or 1");
    Require(!qldRefuses || qldStatus == 1, "qld check passes a file that it refuses");
    Require(ReadFileBytes(path) == input, "qld check changed the file");

    const Outcome first = LoadAndDrill(path, folder.Path(), kDraws);
    if (!first.loaded) {
        Require(first.messages == std::vector{FormatString(IDS_DEFECTIVE_HEADER, path)},
                "Load ended otherwise than by refusing the file");
        Require(first.leftDataFile, "the next start would try the refused file again");
        Require(ReadFileBytes(path) == input, "Load wrote to a file that it refused");
        Require(HoldsOnly(folder.Path(), path), "Load made a file beside a file that it refused");
        Require(qldRefuses, "qld check accepts a file that the program refuses");
        return 0;
    }
    Require(!first.leftDataFile, "Load turned to the default data file");
    Require(!first.exited, "the drill ended the program on a file that loaded");
    Require(!qldRefuses, "qld check refuses a file that the program loads");

    const Outcome second = LoadAndDrill(path, folder.Path(), 0);
    Require(second.loaded && !second.exited, "a file saved by the program does not load again");
    Require(!QldRefuses(path), "qld check refuses a file saved by the program");
    return 0;
}

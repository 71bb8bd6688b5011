// Any bytes as the data file. The store loads them or ends by refusing the file: never a crash,
// never a sanitizer report, and never a write to a file it refuses. A file it loads is drilled a
// few questions and saved, and must then load again. The qld tool's check runs on the same
// bytes, leaves them as they are, and refuses exactly the files that the store refuses.

#include "Commands.h"
#include "DeckFile.h"
#include "MessageBoxRecorder.h"
#include "QuestionFile.h"
#include "TempDir.h"
#include "TestHost.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>

namespace fs = std::filesystem;

// The two helpers that the qld tool defines beside its main().
void PrintError(const std::string& file, const std::string& reason) {
    std::fprintf(stderr, "qld: %s: %s\n", file.c_str(), reason.c_str());
}
std::string Counted(long long count, std::string_view noun) {
    return Concat(std::to_string(count), " ", noun, count == 1 ? "" : "s");
}

static void Require(bool holds, const char* what) {
    if (!holds && std::fprintf(stderr, "fuzz_data_file: %s\n", what))
        std::abort();
}

static bool QldRefuses(const std::string& path) {
    DeckFile deck;
    std::string error;
    Require(deck.Open(path, error), "qld cannot open the data file");
    return !deck.Refusal().empty();
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const TempDir folder;
    for (const auto& entry : fs::directory_iterator(folder.Path()))
        fs::remove_all(entry.path());
    const std::string path = folder.File("deck.qld");
    const Bytes input(data, data + size);
    WriteFileBytes(path, input);

    const bool qldRefuses = QldRefuses(path);
    CommandLine check; // the whole `qld check`; its report goes to the standard output
    check.operands = {path};
    const int checked = RunCheck(check);
    Require(((checked == 0 && !qldRefuses) || checked == 1) && ReadFileBytes(path) == input,
            "qld check passes a file that it refuses, or changes the file");

    MessageBoxRecorder boxes;
    TestHost host(path, folder.Path());
    const auto loadAndDrill = [&](int draws) {
        CQuestionFile file(host);
        StoreStatus status = file.Load();
        QuestionRecord record;
        for (int i = 0; i < draws && !status.Failed(); ++i)
            status = file.NextQuestion(record);
        return status.Failed() || file.SaveAndClose().Failed();
    };
    if (loadAndDrill(8)) {
        // Refused: the default file is tried next, and nothing is written.
        Require(boxes.Texts().empty() && host.GetDataFilePath() != path && qldRefuses,
                "the program failed otherwise than by refusing the file, or qld check accepts it");
        Require(ReadFileBytes(path) == input && std::distance(fs::directory_iterator(folder.Path()),
                                                              fs::directory_iterator()) == 1,
                "Load wrote to a file that it refused, or beside it");
        return 0;
    }
    Require(host.GetDataFilePath() == path && !qldRefuses,
            "a file that loads is left for the default file, or refused by qld check");
    Require(!loadAndDrill(0) && !QldRefuses(path),
            "a file saved by the program does not load again, or qld check refuses it");
    return 0;
}

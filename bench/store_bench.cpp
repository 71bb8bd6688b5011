// What the data file's work costs on the disk, measured against the disk's own price of keeping
// one record: a 1052-byte write brought to the disk with fdatasync. The figures go to stdout as
// key=value lines, Google Benchmark's console report to stderr.

#include "File.h"
#include "QuestionFile.h"
#include "QuestionFileHost.h"
#include "ResourceIds.h"
#include "Strings.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <map>
#include <memory>
#include <string>
#include <system_error>
#include <vector>

#include <linux/magic.h>
#include <sys/vfs.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

constexpr int kOldVersion = 100;

// Every question of the range is asked once for each offset of the mode.
constexpr int kAnswersPerPass =
    kMaxQuestions * static_cast<int>(std::count_if(kReviewOffsets[REVIEW_NORMAL].begin(),
                                                   kReviewOffsets[REVIEW_NORMAL].end(),
                                                   [](std::int32_t d) { return d >= 0; }));

// The folder of all measured files, ending in '/'; removed at the end.
std::string g_folder;

void RemoveFolder() {
    if (g_folder.empty())
        return;
    std::error_code ignored;
    fs::remove_all(g_folder, ignored);
    g_folder.clear();
}

[[noreturn]] void Fail(const std::string& what) {
    std::fprintf(stderr, "store_bench: %s\n", what.c_str());
    RemoveFolder();
    std::exit(1);
}

// Under $TMPDIR when it is set, else beside the executable in the build tree: on the disk, as
// the data file would be.
void MakeFolder() {
    const char* tmp = std::getenv("TMPDIR");
    const std::string base = (tmp != nullptr && *tmp != '\0')
                                 ? std::string(tmp)
                                 : fs::read_symlink("/proc/self/exe").parent_path().string();
    std::string name = base + "/store-bench-XXXXXX";
    if (::mkdtemp(name.data()) == nullptr)
        Fail("cannot make a folder under " + base);
    g_folder = name + "/";
    struct statfs fsInfo {};
    const bool tmpfs = ::statfs(g_folder.c_str(), &fsInfo) == 0 && fsInfo.f_type == TMPFS_MAGIC;
    if (tmpfs)
        std::fprintf(stderr, "store_bench: warning: %s is on tmpfs; flushes cost nothing there\n",
                     g_folder.c_str());
    std::printf("store.on_tmpfs=%s\n", tmpfs ? "yes" : "no");
    std::fprintf(stderr, "Measured files in %s\n", g_folder.c_str());
}

// The end of a pass is the one word expected; any other is shown, as it means a failure.
int g_congratulations = 0;
int g_otherMessages = 0;

class BenchHost final : public IQuestionFileHost {
public:
    explicit BenchHost(std::string dataFile) : m_dataFile(std::move(dataFile)) {}

    std::string GetDataFilePath() const override { return m_dataFile; }
    void SetDataFilePath(const std::string& path) override { m_dataFile = path; }
    std::string GetProgramFolder() const override { return g_folder; }
    void Notify(const std::string& message) override {
        if (message == LoadString(IDS_CONGRATULATIONS)) {
            ++g_congratulations;
        } else {
            ++g_otherMessages;
            std::fprintf(stderr, "store_bench: %s\n", message.c_str());
        }
    }

private:
    std::string m_dataFile;
};

// A failed operation ends the run: its figures would mean nothing.
void Check(const StoreStatus& status) {
    if (status.Failed())
        Fail(status.message);
}

QuestionRecord SampleRecord(int number) {
    QuestionRecord record;
    record.number = number;
    SetFieldText(record.question, "Question " + std::to_string(number));
    SetFieldText(record.answer, "Answer " + std::to_string(number));
    return record;
}

void AppendRecords(Bytes& file, int count) {
    for (int i = 0; i < count; ++i) {
        const RecordBytes bytes = EncodeRecord(SampleRecord(i));
        file.insert(file.end(), bytes.begin(), bytes.end());
    }
}

// A current file whose range is 0 to 999 in Normal mode, at its start.
Bytes CurrentFile(int records) {
    QuestionFileHeader header;
    header.version = kCurrentVersion;
    header.recordCount = records;
    header.popupMinutes = 1;
    header.reviewMode = REVIEW_NORMAL;
    header.rangeFrom = 0;
    header.rangeTo = kMaxQuestions - 1;
    const HeaderBytes bytes = EncodeHeader(header);
    Bytes file(bytes.begin(), bytes.end());
    AppendRecords(file, records);
    return file;
}

void PutInt32(Bytes& bytes, std::size_t offset, std::int32_t value) {
    const auto u = static_cast<std::uint32_t>(value);
    for (std::size_t i = 0; i < 4; ++i)
        bytes[offset + i] = static_cast<std::uint8_t>(u >> (8 * i));
}

// A file with the 32-byte header: version, record count and pop-up minutes, the rest 0.
Bytes OldFile(int records) {
    Bytes file(kOldHeaderSize, 0);
    PutInt32(file, 0, kOldVersion);
    PutInt32(file, 4, records);
    PutInt32(file, 12, 1);
    AppendRecords(file, records);
    return file;
}

// Writes the file and brings it to the disk, so that no measured flush pays for it.
void WriteFile(const std::string& path, const Bytes& bytes) {
    CFile file;
    if (!file.Open(path, CFile::modeCreate | CFile::modeReadWrite) ||
        !file.Write(bytes.data(), bytes.size()) || !file.Flush())
        Fail("cannot write " + path);
}

// (a) One record's bytes written over an existing record and brought to the disk.
void BM_WriteAndFlush(benchmark::State& state) {
    const std::string path = g_folder + "write.bin";
    WriteFile(path, Bytes(kHeaderSize + std::size_t{kMaxQuestions} * kRecordSize, 0));
    const RecordBytes bytes = EncodeRecord(SampleRecord(0));
    CFile file;
    if (!file.Open(path, CFile::modeReadWrite))
        Fail("cannot open " + path);
    int slot = 0;
    for (auto _ : state) {
        if (!file.Seek(kHeaderSize + std::int64_t{slot} * kRecordSize) ||
            !file.Write(bytes.data(), bytes.size()) || !file.Flush()) {
            state.SkipWithError("the write failed");
            break;
        }
        slot = (slot + 1) % kMaxQuestions;
    }
    file.Close();
    fs::remove(path);
}

// (b) One answered question in a pass over 1000 questions: the record's update, then the next
// question, with the header written whenever the schedule moves on. The repetitions take turns
// with the other benchmarks' and go on with the same file, so that together they make a pass.
struct AnswerSession {
    explicit AnswerSession(const std::string& path) : host(path), file(host) {
        WriteFile(path, CurrentFile(kMaxQuestions));
        Check(file.Load());
        Check(file.NextQuestion(current));
    }

    BenchHost host;
    CQuestionFile file;
    QuestionRecord current;
    long answers = 0;
    int passes = 0;
};

std::unique_ptr<AnswerSession> g_answers;

void BM_AnsweredQuestion(benchmark::State& state) {
    if (!g_answers)
        g_answers = std::make_unique<AnswerSession>(g_folder + "answers.qld");
    AnswerSession& session = *g_answers;
    const int wrapsBefore = g_congratulations;
    for (auto _ : state) {
        Check(session.file.RecordCorrectAnswer(session.current.number));
        Check(session.file.NextQuestion(session.current));
    }
    session.answers += static_cast<long>(state.iterations());
    session.passes += g_congratulations - wrapsBefore;
}

// (c) Loading a current file: open, header check and the schedule's header write.
void BM_Load(benchmark::State& state) {
    const int records = static_cast<int>(state.range(0));
    const std::string path = g_folder + "load" + std::to_string(records) + ".qld";
    WriteFile(path, CurrentFile(records));
    BenchHost host(path);
    CQuestionFile file(host);
    for (auto _ : state) {
        Check(file.Load());
        state.PauseTiming();
        file.Close();
        state.ResumeTiming();
    }
    fs::remove(path);
}

// (d) Loading a version-100 file of 1000 records: backup copy, records moved behind the long
// header, header write. Each load gets a fresh copy of the old file, already on the disk.
void BM_Upgrade(benchmark::State& state) {
    const Bytes old = OldFile(kMaxQuestions);
    const std::string path = g_folder + "old.qld";
    const std::string backup = path + ".bak";
    BenchHost host(path);
    CQuestionFile file(host);
    for (auto _ : state) {
        state.PauseTiming();
        file.Close();
        fs::remove(backup);
        WriteFile(path, old);
        state.ResumeTiming();
        Check(file.Load());
    }
    if (file.Header().version != kCurrentVersion || !fs::exists(backup))
        state.SkipWithError("the file was not upgraded");
    file.Close();
    fs::remove(backup);
    fs::remove(path);
}

// Fixed iteration counts keep the run's length bounded however slow the disk's flushes get;
// many short repetitions, interleaved, let every benchmark see the same disk.
constexpr int kRepetitions = 16;
constexpr int kFlushesPerRepetition = 100;
static_assert(kAnswersPerPass % kRepetitions == 0);

BENCHMARK(BM_WriteAndFlush)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(kFlushesPerRepetition)
    ->Repetitions(kRepetitions);
BENCHMARK(BM_AnsweredQuestion)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(kAnswersPerPass / kRepetitions)
    ->Repetitions(kRepetitions);
BENCHMARK(BM_Load)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(kFlushesPerRepetition)
    ->Repetitions(kRepetitions)
    ->Arg(1)
    ->Arg(kMaxQuestions);
BENCHMARK(BM_Upgrade)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(4)
    ->Repetitions(kRepetitions);

// The console's report (on stderr), and each repetition's real time per iteration kept by
// benchmark name.
class FigureReporter : public benchmark::ConsoleReporter {
public:
    using ConsoleReporter::ConsoleReporter;

    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.run_type != Run::RT_Iteration)
                continue;
            std::string name = run.run_name.function_name;
            if (!run.run_name.args.empty())
                name += "/" + run.run_name.args;
            if (run.error_occurred) {
                m_failed.push_back(name);
                continue;
            }
            const double ms =
                run.GetAdjustedRealTime() / benchmark::GetTimeUnitMultiplier(run.time_unit) * 1e3;
            m_times[name].push_back(ms);
        }
    }

    // Prints the figures as key=value lines on stdout; false when a benchmark failed.
    bool PrintFigures() const;

protected:
    // The console shows the aggregates of each benchmark, not its many short repetitions.
    void PrintRunData(const Run& run) override {
        if (run.run_type == Run::RT_Aggregate || run.repetitions <= 1)
            ConsoleReporter::PrintRunData(run);
    }

private:
    void PrintFigure(const std::string& key, const std::string& name) const;

    std::map<std::string, std::vector<double>> m_times;
    std::vector<std::string> m_failed;
};

// The median and the middle half of the repetitions of one benchmark, in ms.
void FigureReporter::PrintFigure(const std::string& key, const std::string& name) const {
    const auto found = m_times.find(name);
    if (found == m_times.end() || found->second.empty())
        return;
    std::vector<double> times = found->second;
    std::sort(times.begin(), times.end());
    // Linear between the neighbouring ranks.
    const auto quantile = [&times](double q) {
        const double rank = q * static_cast<double>(times.size() - 1);
        const auto below = static_cast<std::size_t>(rank);
        const std::size_t above = std::min(below + 1, times.size() - 1);
        return times[below] + (rank - static_cast<double>(below)) * (times[above] - times[below]);
    };
    std::printf("store.%s.median_ms=%.4f\n", key.c_str(), quantile(0.5));
    std::printf("store.%s.low_ms=%.4f\n", key.c_str(), quantile(0.25));
    std::printf("store.%s.high_ms=%.4f\n", key.c_str(), quantile(0.75));
}

bool FigureReporter::PrintFigures() const {
    std::printf("store.repetitions=%d\n", kRepetitions);
    PrintFigure("a", "BM_WriteAndFlush");
    PrintFigure("b", "BM_AnsweredQuestion");
    PrintFigure("c1", "BM_Load/1");
    PrintFigure("c1000", "BM_Load/" + std::to_string(kMaxQuestions));
    PrintFigure("d", "BM_Upgrade");
    if (g_answers) {
        std::printf("store.b.answers=%ld\n", g_answers->answers);
        std::printf("store.b.passes=%d\n", g_answers->passes);
    }
    for (const std::string& name : m_failed)
        std::fprintf(stderr, "store_bench: %s failed\n", name.c_str());
    if (g_otherMessages > 0)
        std::fprintf(stderr, "store_bench: %d unexpected message(s), shown above\n",
                     g_otherMessages);
    return m_failed.empty() && g_otherMessages == 0;
}

} // namespace

int main(int argc, char** argv) {
    // The disk's speed drifts over a run; the ratios hold better with the repetitions of all
    // benchmarks interleaved. A later flag on the command line overrides this one.
    std::string interleave = "--benchmark_enable_random_interleaving=true";
    std::vector<char*> args(argv, argv + argc);
    args.insert(args.begin() + (argc > 0 ? 1 : 0), interleave.data());
    args.push_back(nullptr);
    int count = argc + 1;
    benchmark::Initialize(&count, args.data());
    if (benchmark::ReportUnrecognizedArguments(count, args.data()))
        return 1;
    MakeFolder();

    FigureReporter reporter(::isatty(STDERR_FILENO) != 0
                                ? benchmark::ConsoleReporter::OO_ColorTabular
                                : benchmark::ConsoleReporter::OO_Tabular);
    reporter.SetOutputStream(&std::cerr);
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    if (g_answers)
        g_answers->file.Close();
    RemoveFolder();
    return reporter.PrintFigures() ? 0 : 1;
}

#include "Commands.h"
#include "DeckFile.h"
#include "DeckFormat.h"
#include "DialogTemplates.h"
#include "ReviewSchedule.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <ctime>
#include <map>

namespace {

// The modes and options are named as their dialogs name them.
constexpr std::array<int, kReviewModes> kModeControls = {IDC_SCHEDULE_CAREFUL, IDC_SCHEDULE_NORMAL,
                                                         IDC_SCHEDULE_ROUGH, IDC_SCHEDULE_ONCE};

struct OptionControl {
    std::int32_t bit;
    int control;
};
constexpr std::array<OptionControl, 4> kOptionControls = {{
    {OPT_NO_SHOW_AT_START, IDC_OPTION_NO_SHOW_AT_START},
    {OPT_MATCH_CASE, IDC_OPTION_MATCH_CASE},
    {OPT_HIDE_IF_CORRECT, IDC_OPTION_HIDE_IF_CORRECT},
    {OPT_SOUND_ON, IDC_OPTION_SOUND_ON},
}};

// A control's text as plain words: without the mnemonic's '&', spaces single.
std::string ControlWords(int dialog, int control) {
    std::string words;
    for (const ControlTemplate& t : FindDialogTemplate(dialog).controls)
        if (t.id == control)
            for (const char* c = t.text; *c; ++c)
                if (*c != '&' && !(*c == ' ' && words.ends_with(' ')))
                    words += *c;
    return words;
}

std::string Options(std::int32_t flags) {
    std::string names;
    for (const auto& option : kOptionControls)
        if (flags & option.bit)
            names += Concat(names.empty() ? "" : ", ", ControlWords(IDD_OPTION, option.control));
    if (const std::int32_t other = flags & ~0xF) {
        char hex[16];
        std::snprintf(hex, sizeof hex, "0x%X", static_cast<unsigned>(other));
        names += Concat(names.empty() ? "" : ", ", "other bits ", hex);
    }
    return names.empty() ? "none" : names;
}

std::string Range(const QuestionFileHeader& h) {
    std::string range = Concat(std::to_string(std::int64_t{h.rangeFrom} + 1), " to ",
                               std::to_string(std::int64_t{h.rangeTo} + 1));
    return IsValidRange(h) ? range
                           : Concat(range, " (not valid: Quillow opens it as ",
                                    std::to_string(kDefaultRangeFrom + 1), " to ",
                                    std::to_string(kDefaultRangeTo + 1), ")");
}

std::string SavedTime(std::int32_t seconds) {
    const std::time_t time = seconds;
    std::tm utc{};
    char text[32];
    if (!::gmtime_r(&time, &utc) ||
        !std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S UTC", &utc))
        return std::to_string(seconds);
    return text;
}

void PrintField(const char* name, const std::string& value) {
    std::printf("  %-15s%s\n", name, value.c_str());
}

// Questions by their count of correct answers: 0, 1, 2, 3, 4, 5 to 9, 10 or more.
void PrintHistogram(const std::vector<std::int32_t>& counts) {
    struct Bucket {
        const char* label;
        std::int32_t from;
        int questions = 0;
    };
    std::array<Bucket, 7> buckets = {
        {{"0", 0}, {"1", 1}, {"2", 2}, {"3", 3}, {"4", 4}, {"5 to 9", 5}, {"10 or more", 10}}};
    for (const std::int32_t count : counts) {
        auto bucket = std::find_if(buckets.rbegin(), buckets.rend(),
                                   [&](const Bucket& b) { return count >= b.from; });
        ++(bucket == buckets.rend() ? buckets.front() : *bucket).questions;
    }
    constexpr int kBarWidth = 40;
    int most = 1;
    std::size_t shown = 1;
    for (std::size_t i = 0; i < buckets.size(); ++i) {
        most = std::max(most, buckets[i].questions);
        if (buckets[i].questions > 0)
            shown = i + 1;
    }
    std::printf("\n  correct answers  questions\n");
    for (std::size_t i = 0; i < shown; ++i) {
        const int n = buckets[i].questions;
        const int bar = n == 0 ? 0 : std::max(1, n * kBarWidth / most);
        std::printf("  %15s  %9d%s%s\n", buckets[i].label, n, bar ? "  " : "",
                    std::string(static_cast<std::size_t>(bar), '#').c_str());
    }
}

// The decks of another program's file, in the order first met, with the cards each gives.
int PrintOtherDecks(DeckKind kind, const std::string& path) {
    std::vector<std::string> order;
    std::map<std::string, long long> cards;
    const OtherDeckRead read =
        ReadOtherDeck(kind, path, {}, [&](TextRow&& row, const std::string& deck) {
            if (row.fields.size() > 1 && cards[deck]++ == 0)
                order.push_back(deck);
        });
    if (!read.error.empty()) {
        PrintError(path, read.error);
        return 1;
    }
    std::size_t width = 0;
    for (const std::string& deck : order)
        width = std::max(width, deck.size());
    std::printf("%s: %s\n", path.c_str(),
                Counted(static_cast<long long>(order.size()), "deck").c_str());
    for (const std::string& deck : order)
        std::printf("  %-*s  %s\n", static_cast<int>(width), deck.empty() ? "-" : deck.c_str(),
                    Counted(cards[deck], "card").c_str());
    return 0;
}

} // namespace

int RunInfo(const CommandLine& line) {
    const std::string& deck = line.operands[0];
    if (const DeckKind kind = DetectDeckKind(deck); kind != DeckKind::Text)
        return PrintOtherDecks(kind, deck);
    DeckFile file;
    std::string error;
    if (!file.Open(deck, error) || !(error = file.Refusal()).empty()) {
        PrintError(deck, error);
        return 1;
    }
    const QuestionFileHeader& h = file.Header();
    std::vector<std::int32_t> counts;
    for (int i = 0; i < h.recordCount; ++i) {
        QuestionRecord record;
        if (file.ReadRecord(i, record))
            counts.push_back(record.correctCount);
    }

    std::printf("%s\n", deck.c_str());
    const bool scheduleKept = h.version >= kCurrentVersion;
    PrintField("version", Concat(std::to_string(h.version),
                                 scheduleKept ? "" : " (converted when Quillow opens it)"));
    PrintField("records", std::to_string(h.recordCount));
    if (scheduleKept) {
        PrintField("range", Range(h));
        const bool knownMode = IsReviewMode(h.reviewMode);
        PrintField("review mode",
                   knownMode ? ControlWords(IDD_SCHEDULE,
                                            kModeControls[static_cast<std::size_t>(h.reviewMode)])
                             : Concat(std::to_string(h.reviewMode), " (unknown)"));
        PrintField("position", std::to_string(std::int64_t{h.position} + 1));
    }
    PrintField("pop-up period", Counted(h.popupMinutes, "minute"));
    PrintField("options", Options(h.optionFlags));
    PrintField("last saved", SavedTime(h.savedTime));
    if (!counts.empty())
        PrintHistogram(counts);
    return 0;
}

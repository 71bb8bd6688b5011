#include "Commands.h"
#include "DeckFile.h"
#include "DelimitedText.h"
#include "ReviewSchedule.h"

#include <algorithm>
#include <cstdio>

namespace {

// Header fields beyond the values that the program itself writes.
void CheckHeader(const QuestionFileHeader& h, std::vector<std::string>& problems) {
    if (h.popupMinutes < 0 || h.popupMinutes > kLongestPopupMinutes)
        problems.push_back(Concat("pop-up period ", std::to_string(h.popupMinutes), " is not 0 to ",
                                  std::to_string(kLongestPopupMinutes), " minutes"));
    if (h.optionFlags & ~0xF)
        problems.push_back(Concat("option flags ", std::to_string(h.optionFlags),
                                  " have bits beyond the four options"));
    if (h.version < kCurrentVersion)
        return; // no schedule state yet
    const bool rangeValid = IsValidRange(h);
    const bool modeValid = IsReviewMode(h.reviewMode);
    if (!rangeValid)
        problems.push_back(Concat("the range ", std::to_string(std::int64_t{h.rangeFrom} + 1),
                                  " to ", std::to_string(std::int64_t{h.rangeTo} + 1),
                                  " is not valid: it must run forward within 1 to ",
                                  std::to_string(kMaxQuestions)));
    if (!modeValid)
        problems.push_back(Concat("review mode ", std::to_string(h.reviewMode), " is not 0 to ",
                                  std::to_string(kReviewModes - 1)));
    if (rangeValid && modeValid) {
        const std::int64_t last =
            std::int64_t{h.rangeTo} + kReviewSpan[static_cast<std::size_t>(h.reviewMode)];
        if (h.position < h.rangeFrom || h.position > last)
            problems.push_back(Concat(
                "position ", std::to_string(std::int64_t{h.position} + 1), " is outside the pass ",
                std::to_string(std::int64_t{h.rangeFrom} + 1), " to ", std::to_string(last + 1)));
    }
    if (h.stepIndex < 0 || h.stepIndex >= kSequenceSlots)
        problems.push_back(Concat("step index ", std::to_string(h.stepIndex), " is not 0 to ",
                                  std::to_string(kSequenceSlots - 1)));
}

void CheckText(int slot, const char* name, const TextField& field,
               std::vector<std::string>& problems) {
    if (std::find(field.begin(), field.end(), '\0') == field.end())
        problems.push_back(Concat(QuestionName(slot), ": the ", name, " has no NUL end"));
    if (const std::size_t broken = FieldBytes(field).size() - FieldText(field).size())
        problems.push_back(Concat(QuestionName(slot), ": the ", name, " ends in ",
                                  Counted(static_cast<long long>(broken), "byte"),
                                  " of an incomplete character, which Quillow leaves out"));
    if (FindBadByte(FieldText(field)) != std::string_view::npos)
        problems.push_back(Concat(QuestionName(slot), ": the ", name, " is not UTF-8 text"));
}

} // namespace

int RunCheck(const CommandLine& line) {
    const std::string& deck = line.operands[0];
    DeckFile file;
    std::string error;
    if (!file.Open(deck, error)) {
        PrintError(deck, error);
        return 1;
    }
    std::vector<std::string> problems;
    if (std::string refusal = file.Refusal(); !refusal.empty()) {
        problems.push_back(std::move(refusal));
    } else {
        const QuestionFileHeader& h = file.Header();
        CheckHeader(h, problems);
        const std::int64_t needed = NeededLength(h);
        if (file.Length() > needed)
            problems.push_back(Concat("the file is ", Counted(file.Length(), "byte"), " long, ",
                                      std::to_string(file.Length() - needed), " more than its ",
                                      Counted(h.recordCount, "record"), " need"));
        for (int i = 0; i < h.recordCount; ++i) {
            QuestionRecord record;
            if (!file.ReadRecord(i, record)) {
                problems.push_back(Concat(QuestionName(i), ": cannot be read"));
                break;
            }
            if (record.number != i)
                problems.push_back(
                    Concat(QuestionName(i), ": its number is ", std::to_string(record.number)));
            CheckText(i, "question", record.question, problems);
            CheckText(i, "answer", record.answer, problems);
        }
    }
    for (const std::string& problem : problems)
        std::printf("%s: %s\n", deck.c_str(), problem.c_str());
    if (problems.empty())
        std::printf("%s: %s, no problems\n", deck.c_str(),
                    Counted(file.Header().recordCount, "record").c_str());
    return problems.empty() ? 0 : 1;
}

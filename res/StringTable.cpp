#include "StringTable.h"

#include <array>

namespace {

constexpr std::array kStrings = {
    StringEntry{102, "between 1 and %d"},
    StringEntry{104, "Conguratulations!! You have reached the end!\n\nWhy don't you try other "
                     "question ranges or other files.\n\nIf you don't, the same questions will be "
                     "repeated.\n\nThank you for using Quillow!\n\n"},
    StringEntry{105, "Cannot create a QLD file"},
    StringEntry{106, "Defective Header in the QLD file\n\n%s"},
    StringEntry{107, "Read Element Error!"},
    StringEntry{108, "{Push [Edit] button to edit this question and answer.}"},
    StringEntry{110, "The correct answer is..."},
    StringEntry{111, "Do you really want to initialize the memory record of the current question "
                     "range?"},
    StringEntry{112, "File not found.\n\n%s\n\nAfter this message, I'll read a default data file."},
    StringEntry{113, "Cannot write the QLD file\n\n%s"},
    StringEntry{114, "No more questions can be added.\n\nThe limit is 1000 questions."},
    StringEntry{115, "between %d and %d"},
    StringEntry{116, "If you want to go to the question number '%d',\n\nyou have to change the "
                     "current question range first!"},
    StringEntry{117, "The QLD file is open in another Quillow or in qld:\n\n%s\n\nAfter this "
                     "message, I'll read a default data file."},
    StringEntry{118, "The default QLD file is open in another Quillow or in qld:\n\n%s"},
    StringEntry{119, "Another program has replaced, moved or shortened the QLD file:\n\n%s\n\n"
                     "Nothing more is written to it."},
    StringEntry{120, "Quillow V2.0"},
    StringEntry{121, "Cannot open the QLD file\n\n%s\n\n%s\n\nAfter this message, I'll read a "
                     "default data file."},
    StringEntry{122, "Cannot open the default QLD file\n\n%s\n\n%s"},
    StringEntry{123, "Defective Header in the default QLD file\n\n%s\n\nIt is kept as\n\n%s\n\n"
                     "and a new default file takes its place."},
    StringEntry{126, "Quillow Data File (*.qld)|*.qld||"},
    StringEntry{127, "Create a new QLD File"},
    StringEntry{128, "Open a QLD File"},
    StringEntry{130, "A question is waiting"},
    StringEntry{131, "Answer"},
    StringEntry{132, "Later"},
    StringEntry{141, "&Show Quillow"},
    StringEntry{1001, "Hide (Esc)"},
    StringEntry{1003, "Edit (Shift+Enter)"},
    StringEntry{1009, "Answer (Enter)"},
    StringEntry{1032, "Next (F8)"},
    StringEntry{1033, "Go (F7)"},
    StringEntry{1036, "Function (F9)"},
    StringEntry{1037, "Display Panel"},
    StringEntry{57344, "Quillow"},
    StringEntry{61712, "Please enter an integer."},
    StringEntry{61714, "Please enter an integer between %1 and %2."},
    StringEntry{61719, "Please enter a positive integer."},
};

} // namespace

std::span<const StringEntry> StringTable() {
    return kStrings;
}

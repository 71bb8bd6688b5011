#include "StringTable.h"

#include "DialogTemplates.h"
#include "ResourceIds.h"

namespace {

constexpr StringEntry kStrings[] = {
    {IDS_RANGE_ONE_TO, "between 1 and %d"},
    {IDS_CONGRATULATIONS,
     "Conguratulations!! You have reached the end!\n\nWhy don't you try other "
     "question ranges or other files.\n\nIf you don't, the same questions will be "
     "repeated.\n\nThank you for using Quillow!\n\n"},
    {IDS_CANNOT_CREATE, "Cannot create a QLD file"},
    {IDS_DEFECTIVE_HEADER, "Defective Header in the QLD file\n\n%s"},
    {IDS_READ_ELEMENT_ERROR, "Read Element Error!"},
    {IDS_EMPTY_QUESTION, "{Push [Edit] button to edit this question and answer.}"},
    {IDS_CORRECT_ANSWER_CAPTION, "The correct answer is..."},
    {IDS_INIT_MEMORY_RECORDS, "Do you really want to initialize the memory record of the current "
                              "question range?"},
    {IDS_FILE_NOT_FOUND, "File not found.\n\n%s\n\nAfter this message, I'll read a default data "
                         "file."},
    {IDS_CANNOT_WRITE, "Cannot write the QLD file\n\n%s"},
    {IDS_QUESTION_LIMIT, "No more questions can be added.\n\nThe limit is 1000 questions."},
    {IDS_RANGE_FROM_TO, "between %d and %d"},
    {IDS_GO_OUTSIDE_RANGE, "If you want to go to the question number '%d',\n\nyou have to change "
                           "the current question range first!"},
    {IDS_FILE_IN_USE, "The QLD file is open in another Quillow or in qld:\n\n%s\n\nAfter this "
                      "message, I'll read a default data file."},
    {IDS_DEFAULT_FILE_IN_USE, "The default QLD file is open in another Quillow or in qld:\n\n%s"},
    {IDS_FILE_CHANGED, "Another program has replaced, moved or shortened the QLD "
                       "file:\n\n%s\n\nNothing more is written to it."},
    {IDS_VERSION_TITLE, "Quillow V2.0"},
    {IDS_CANNOT_OPEN, "Cannot open the QLD file\n\n%s\n\n%s\n\nAfter this message, I'll read a "
                      "default data file."},
    {IDS_CANNOT_OPEN_DEFAULT, "Cannot open the default QLD file\n\n%s\n\n%s"},
    {IDS_DEFAULT_FILE_SET_ASIDE, "Defective Header in the default QLD file\n\n%s\n\nIt is kept "
                                 "as\n\n%s\n\nand a new default file takes its place."},
    {IDS_QLD_FILTER, "Quillow Data File (*.qld)|*.qld||"},
    {IDS_NEW_FILE_TITLE, "Create a new QLD File"},
    {IDS_OPEN_FILE_TITLE, "Open a QLD File"},
    {IDS_QUESTION_WAITING, "A question is waiting"},
    {IDS_ANSWER_ACTION, "Answer"},
    {IDS_LATER_ACTION, "Later"},
    {IDS_TRAY_SHOW, "&Show Quillow"},
    // The main window's buttons and panel: their tooltips, by their control ids.
    {IDC_HIDE, "Hide (Esc)"},
    {IDC_EDIT, "Edit (Shift+Enter)"},
    {IDC_ANSWER, "Answer (Enter)"},
    {IDC_NEXT, "Next (F8)"},
    {IDC_GO, "Go (F7)"},
    {IDC_FUNCTION, "Function (F9)"},
    {IDC_PANEL, "Display Panel"},
    {IDS_APP_TITLE, "Quillow"},
    {IDS_PARSE_INT, "Please enter an integer."},
    {IDS_PARSE_INT_RANGE, "Please enter an integer between %1 and %2."},
    {IDS_PARSE_UINT, "Please enter a positive integer."},
};

} // namespace

std::span<const StringEntry> StringTable() {
    return kStrings;
}

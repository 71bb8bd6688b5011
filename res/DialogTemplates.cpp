#include "DialogTemplates.h"

#include <array>
#include <stdexcept>

namespace {

using enum ControlKind;

constexpr std::array kQuizControls = {
    ControlTemplate{IDC_ANSWER_BOX, MultiLineEdit, "", 4, 50, 211, 31, CS_BORDER | CS_TABSTOP,
                    "Answer"},
    ControlTemplate{IDC_EDIT, OwnerDrawButton, "Edit", 224, 25, 24, 9, CS_NONE},
    ControlTemplate{IDC_FUNCTION, OwnerDrawButton, "Function", 224, 37, 24, 9, CS_NONE},
    ControlTemplate{IDC_ANSWER, OwnerDrawButton, "Answer", 224, 49, 24, 9, CS_NONE},
    ControlTemplate{IDC_GO, OwnerDrawButton, "Go", 221, 61, 13, 9, CS_NONE},
    ControlTemplate{IDC_NEXT, OwnerDrawButton, ">", 237, 61, 13, 9, CS_NONE},
    ControlTemplate{IDC_HIDE, OwnerDrawButton, "Hide", 224, 72, 24, 9, CS_NONE},
    ControlTemplate{IDC_QUESTION_FIELD, StaticText, "", 4, 5, 211, 37, CS_NONE, "Question"},
    ControlTemplate{IDC_QUESTION_TEXT, StaticText, "", 7, 7, 206, 32, CS_NONE},
    ControlTemplate{-1, SunkenRule, "", 218, 3, 1, 78, CS_NONE},
};

constexpr unsigned kTextBox = CS_VSCROLL | CS_BORDER | CS_TABSTOP;
constexpr std::array kQuestionEditControls = {
    ControlTemplate{IDC_EDIT_QUESTION, MultiLineEdit, "", 11, 29, 198, 35, kTextBox, "Question"},
    ControlTemplate{IDC_EDIT_ANSWER, MultiLineEdit, "", 11, 67, 198, 35, kTextBox, "Answer"},
    ControlTemplate{-1, GroupBox, "Question && Answer", 4, 0, 210, 107, CS_NONE},
    ControlTemplate{IDC_OK, DefPushButton, "Return", 171, 13, 38, 12, CS_TABSTOP},
    ControlTemplate{IDC_EDIT_POSITION, PushLikeButton, "1 of 1000 &G", 11, 13, 55, 12, CS_TABSTOP},
    ControlTemplate{IDC_EDIT_PREVIOUS, PushLikeButton, "&<", 68, 13, 12, 12, CS_TABSTOP},
    ControlTemplate{IDC_EDIT_NEXT, PushLikeButton, "&>", 82, 13, 12, 12, CS_TABSTOP},
    ControlTemplate{IDC_EDIT_NEW, PushLikeButton, "&New", 96, 13, 27, 12, CS_TABSTOP},
};

constexpr std::array kGotoControls = {
    ControlTemplate{IDC_GOTO_NUMBER, Edit, "", 4, 4, 30, 12,
                    CS_BORDER | CS_TABSTOP | CS_NUMBER | CS_RIGHT, "Question number"},
    ControlTemplate{IDC_GOTO_RANGE, StaticText, "between 1 and 1000", 38, 6, 91, 8,
                    CS_CENTER | CS_GROUP},
    ControlTemplate{IDC_OK, PushButton, "", 57, 4, 6, 12, CS_HIDDEN | CS_TABSTOP},
    ControlTemplate{IDC_CANCEL, PushButton, "", 57, 4, 6, 12, CS_HIDDEN | CS_TABSTOP},
};

constexpr std::array kAboutControls = {
    ControlTemplate{-1, GroupBox, "", 4, 2, 155, 44, CS_NONE},
    ControlTemplate{-1, Icon, "128", 12, 12, 20, 20, CS_NONE, "Quillow"},
    ControlTemplate{-1, StaticText, "Quillow V2.0", 40, 12, 110, 10, CS_NONE},
    ControlTemplate{-1, StaticText, "(C) 2026 Brightfen", 40, 26, 110, 10, CS_NONE},
    ControlTemplate{-1, Icon, "129", 12, 58, 20, 20, CS_NONE, "Brightfen"},
    ControlTemplate{-1, StaticText,
                    "Brightfen\nSmall tools for learning by heart\n\nFree software under the GNU "
                    "General Public License, version 3 or later, without any warranty.",
                    40, 58, 115, 70, CS_NONE},
    ControlTemplate{IDC_OK, DefPushButton, "OK", 60, 137, 45, 12, CS_TABSTOP},
};

constexpr std::array kScheduleControls = {
    ControlTemplate{-1, GroupBox, "Question Range", 4, 0, 126, 45, CS_NONE},
    ControlTemplate{IDC_SCHEDULE_FROM, PushLikeButton, "From :    1", 9, 12, 55, 12, CS_TABSTOP},
    ControlTemplate{IDC_SCHEDULE_TO, PushLikeButton, "To:    1", 67, 12, 55, 12, CS_TABSTOP},
    ControlTemplate{IDC_SCHEDULE_INIT_RECORDS, CheckBox, "Start with initializing records", 9, 29,
                    115, 13, CS_TABSTOP},
    ControlTemplate{-1, GroupBox, "Review Mode", 4, 50, 126, 60, CS_NONE},
    ControlTemplate{IDC_SCHEDULE_CAREFUL, RadioButton, "Careful  (6 times)", 10, 61, 114, 8,
                    CS_GROUP | CS_TABSTOP},
    ControlTemplate{IDC_SCHEDULE_NORMAL, RadioButton, "Normal  (4 times)", 10, 73, 99, 8, CS_NONE},
    ControlTemplate{IDC_SCHEDULE_ROUGH, RadioButton, "Rough  (2 times)", 10, 85, 83, 8, CS_NONE},
    ControlTemplate{IDC_SCHEDULE_ONCE, RadioButton, "No review (once)", 10, 97, 82, 8, CS_NONE},
    ControlTemplate{IDC_OK, DefPushButton, "OK", 136, 5, 42, 12, CS_GROUP | CS_TABSTOP},
    ControlTemplate{IDC_CANCEL, PushButton, "Cancel", 136, 20, 42, 12, CS_TABSTOP},
};

constexpr std::array kOptionControls = {
    ControlTemplate{IDC_OK, DefPushButton, "OK", 125, 5, 42, 12, CS_TABSTOP},
    ControlTemplate{IDC_CANCEL, PushButton, "Cancel", 125, 20, 42, 12, CS_TABSTOP},
    ControlTemplate{-1, GroupBox, "Pop-up Period", 4, 0, 113, 31, CS_NONE},
    ControlTemplate{IDC_OPTION_PERIOD, Edit, "", 12, 13, 26, 12,
                    CS_BORDER | CS_TABSTOP | CS_NUMBER | CS_RIGHT, "Pop-up period in minutes"},
    ControlTemplate{IDC_OPTION_SPIN, UpDown, "Spin1", 37, 13, 8, 11, CS_NONE,
                    "Pop-up period up or down"},
    ControlTemplate{-1, StaticText, "(unit: 1minute)", 54, 14, 59, 13, CS_NONE},
    ControlTemplate{-1, GroupBox, "Etc", 4, 36, 163, 60, CS_NONE},
    ControlTemplate{IDC_OPTION_NO_SHOW_AT_START, CheckBox,
                    "Don't &appear immediately after execution", 13, 45, 152, 12, CS_TABSTOP},
    ControlTemplate{IDC_OPTION_HIDE_IF_CORRECT, CheckBox, "&Hide automatically, if correct", 13, 57,
                    130, 12, CS_TABSTOP},
    ControlTemplate{IDC_OPTION_SOUND_ON, CheckBox, "&Sound on", 13, 69, 130, 12, CS_TABSTOP},
    ControlTemplate{IDC_OPTION_MATCH_CASE, CheckBox, "Match &case", 13, 81, 130, 12, CS_TABSTOP},
};

constexpr unsigned kOwnWindow = DS_CAPTION | DS_SYSMENU | DS_MODALFRAME | DS_APPWINDOW;
constexpr std::array kTemplates = {
    DialogTemplate{IDD_ABOUT, "About Quillow...", 10, 163, 155,
                   DS_CAPTION | DS_SYSMENU | DS_MODALFRAME, kAboutControls},
    DialogTemplate{IDD_QUIZ, "", 12, 253, 85, kOwnWindow, kQuizControls},
    DialogTemplate{IDD_QUESTION_EDIT, "Edit", 12, 218, 111, kOwnWindow, kQuestionEditControls},
    DialogTemplate{IDD_OPTION, "Option", 12, 171, 100, kOwnWindow, kOptionControls},
    DialogTemplate{IDD_SCHEDULE, "Memory Schedule", 10, 182, 114,
                   DS_CAPTION | DS_SYSMENU | DS_MODALFRAME, kScheduleControls},
    DialogTemplate{IDD_GOTO, "Go to ...", 12, 137, 20,
                   DS_CAPTION | DS_MODALFRAME | DS_TOOLWINDOW | DS_APPWINDOW, kGotoControls},
};

} // namespace

const DialogTemplate& FindDialogTemplate(int id) {
    for (const auto& t : kTemplates)
        if (t.id == id)
            return t;
    throw std::logic_error("no dialog template " + std::to_string(id));
}

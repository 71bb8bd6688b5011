#include "DialogTemplates.h"

#include <array>
#include <stdexcept>

namespace {

using enum ControlKind;

constexpr std::array kQuizControls = {
    ControlTemplate{IDC_ANSWER_BOX, MultiLineEdit, "", 4, 50, 211, 31,
                    CS_AUTOVSCROLL | CS_BORDER | CS_TABSTOP},
    ControlTemplate{IDC_EDIT, OwnerDrawButton, "Edit", 224, 25, 24, 9, CS_NONE},
    ControlTemplate{IDC_FUNCTION, OwnerDrawButton, "Function", 224, 37, 24, 9, CS_NONE},
    ControlTemplate{IDC_ANSWER, OwnerDrawButton, "Answer", 224, 49, 24, 9, CS_NONE},
    ControlTemplate{IDC_GO, OwnerDrawButton, "Go", 221, 61, 13, 9, CS_NONE},
    ControlTemplate{IDC_NEXT, OwnerDrawButton, ">", 237, 61, 13, 9, CS_NONE},
    ControlTemplate{IDC_HIDE, OwnerDrawButton, "Hide", 224, 72, 24, 9, CS_NONE},
    ControlTemplate{IDC_QUESTION_FIELD, StaticText, "", 4, 5, 211, 37, CS_NONE},
    ControlTemplate{IDC_QUESTION_TEXT, StaticText, "", 7, 7, 206, 32, CS_NONE},
    ControlTemplate{-1, SunkenRule, "", 218, 3, 1, 78, CS_NONE},
};

constexpr unsigned kTextBox = CS_VSCROLL | CS_BORDER | CS_TABSTOP;
constexpr std::array kQuestionEditControls = {
    ControlTemplate{IDC_EDIT_QUESTION, MultiLineEdit, "", 11, 29, 198, 35, kTextBox},
    ControlTemplate{IDC_EDIT_ANSWER, MultiLineEdit, "", 11, 67, 198, 35, kTextBox},
    ControlTemplate{-1, GroupBox, "Question && Answer", 4, 0, 210, 107, CS_NONE},
    ControlTemplate{IDC_OK, DefPushButton, "Return", 171, 13, 38, 12, CS_TABSTOP},
    ControlTemplate{IDC_EDIT_POSITION, PushLikeButton, "1 of 1000 &G", 11, 13, 55, 12, CS_TABSTOP},
    ControlTemplate{IDC_EDIT_PREVIOUS, PushLikeButton, "&<", 68, 13, 12, 12, CS_TABSTOP},
    ControlTemplate{IDC_EDIT_NEXT, PushLikeButton, "&>", 82, 13, 12, 12, CS_TABSTOP},
    ControlTemplate{IDC_EDIT_NEW, PushLikeButton, "&New", 96, 13, 27, 12, CS_TABSTOP},
};

constexpr std::array kGotoControls = {
    ControlTemplate{IDC_GOTO_NUMBER, Edit, "", 4, 4, 30, 12,
                    CS_BORDER | CS_TABSTOP | CS_NUMBER | CS_RIGHT | CS_AUTOHSCROLL},
    ControlTemplate{IDC_GOTO_RANGE, StaticText, "between 1 and 1000", 38, 6, 91, 8,
                    CS_CENTER | CS_GROUP},
    ControlTemplate{IDC_OK, PushButton, "", 57, 4, 6, 12, CS_HIDDEN | CS_TABSTOP},
    ControlTemplate{IDC_CANCEL, PushButton, "", 57, 4, 6, 12, CS_HIDDEN | CS_TABSTOP},
};

constexpr std::array kAboutControls = {
    ControlTemplate{-1, GroupBox, "", 4, 2, 155, 44, CS_NONE},
    ControlTemplate{-1, Icon, "128", 12, 12, 20, 20, CS_NONE},
    ControlTemplate{-1, StaticText, "Quillow V2.0", 40, 12, 110, 10, CS_NONE},
    ControlTemplate{-1, StaticText, "(C) 2026 Brightfen", 40, 26, 110, 10, CS_NONE},
    ControlTemplate{-1, Icon, "129", 12, 58, 20, 20, CS_NONE},
    ControlTemplate{-1, StaticText,
                    "Brightfen\nSmall tools for learning by heart\n\nquillow@brightfen.example\n"
                    "Questions, bug reports and ideas are welcome.",
                    40, 58, 115, 70, CS_NONE},
    ControlTemplate{IDC_OK, DefPushButton, "OK", 60, 137, 45, 12, CS_TABSTOP},
};

constexpr unsigned kOwnWindow = DS_CAPTION | DS_SYSMENU | DS_MODALFRAME | DS_APPWINDOW;
constexpr std::array kTemplates = {
    DialogTemplate{IDD_ABOUT, "About Quillow...", 10, 163, 155,
                   DS_CAPTION | DS_SYSMENU | DS_MODALFRAME, kAboutControls},
    DialogTemplate{IDD_QUIZ, "", 12, 253, 85, kOwnWindow, kQuizControls},
    DialogTemplate{IDD_QUESTION_EDIT, "Edit", 12, 218, 111, kOwnWindow, kQuestionEditControls},
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

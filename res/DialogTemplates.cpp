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

constexpr std::array kTemplates = {
    DialogTemplate{IDD_QUIZ, "", 12, 253, 85,
                   DS_CAPTION | DS_SYSMENU | DS_MODALFRAME | DS_APPWINDOW, kQuizControls},
};

} // namespace

const DialogTemplate& FindDialogTemplate(int id) {
    for (const auto& t : kTemplates)
        if (t.id == id)
            return t;
    throw std::logic_error("no dialog template " + std::to_string(id));
}

#pragma once

#include <span>

// Dialog templates: every control with its id, kind, text, place (in dialog units) and style,
// in tab order.

enum class ControlKind {
    PushButton,
    DefPushButton,
    OwnerDrawButton,
    // A flat button that sends its command and never stays pressed.
    PushLikeButton,
    Edit,
    MultiLineEdit,
    StaticText,
    SunkenRule,
    GroupBox,
    // An icon resource; the text is its id.
    Icon,
    CheckBox,
    // A group of radio buttons starts at the one with CS_GROUP and runs to the next group.
    RadioButton,
    // Arrow buttons that step the number in the control before it.
    UpDown,
};

enum ControlStyle : unsigned {
    CS_NONE = 0,
    CS_TABSTOP = 1u << 0,
    CS_GROUP = 1u << 1,
    CS_HIDDEN = 1u << 2,
    CS_BORDER = 1u << 3,
    CS_VSCROLL = 1u << 4,
    CS_NUMBER = 1u << 5,
    CS_RIGHT = 1u << 6,
    CS_CENTER = 1u << 7,
};

enum DialogStyle : unsigned {
    DS_CAPTION = 1u << 0,
    DS_SYSMENU = 1u << 1,
    DS_MODALFRAME = 1u << 2,
    DS_TOOLWINDOW = 1u << 3,
    DS_APPWINDOW = 1u << 4,
};

struct ControlTemplate {
    int id;
    ControlKind kind;
    const char* text;
    int x, y, cx, cy;
    unsigned style;
    // What a screen reader calls a control whose text does not say what it is.
    const char* accessibleName = nullptr;
};

struct DialogTemplate {
    int id;
    const char* caption;
    int fontSize;
    int cx, cy;
    unsigned style;
    std::span<const ControlTemplate> controls;
};

// Dialog units to pixels.
inline constexpr int kPixelsPerDialogUnit = 2;

// The template of that id; there is one for every dialog of the program.
const DialogTemplate& FindDialogTemplate(int id);

enum : int {
    IDD_ABOUT = 100,
    IDD_QUIZ = 102,
    IDD_QUESTION_EDIT = 103,
    IDD_OPTION = 104,
    IDD_SCHEDULE = 133,
    IDD_GOTO = 134,
};

// Icon resources.
enum : int {
    IDI_PROGRAM = 128,
    IDI_MAKER = 129,
    IDI_TRAY = 140,
};

// Controls of the quiz window.
enum : int {
    IDC_HIDE = 1001,
    IDC_EDIT = 1003,
    IDC_ANSWER_BOX = 1005,
    IDC_ANSWER = 1009,
    IDC_QUESTION_TEXT = 1013,
    IDC_QUESTION_FIELD = 1014,
    IDC_NEXT = 1032,
    IDC_GO = 1033,
    IDC_FUNCTION = 1036,
    IDC_PANEL = 1037,
};

// Controls of the question editor.
enum : int {
    IDC_EDIT_QUESTION = 1000,
    IDC_EDIT_ANSWER = 1001,
    IDC_EDIT_POSITION = 1030,
    IDC_EDIT_PREVIOUS = 1031,
    IDC_EDIT_NEXT = 1032,
    IDC_EDIT_NEW = 1033,
};

// Controls of the go-to dialog.
enum : int {
    IDC_GOTO_NUMBER = 1000,
    IDC_GOTO_RANGE = 1028,
};

// Controls of the memory schedule dialog.
enum : int {
    IDC_SCHEDULE_CAREFUL = 1038,
    IDC_SCHEDULE_NORMAL = 1039,
    IDC_SCHEDULE_ROUGH = 1040,
    IDC_SCHEDULE_ONCE = 1041,
    IDC_SCHEDULE_FROM = 1042,
    IDC_SCHEDULE_TO = 1043,
    IDC_SCHEDULE_INIT_RECORDS = 1101,
};

// Controls of the options dialog.
enum : int {
    IDC_OPTION_SPIN = 1007,
    IDC_OPTION_PERIOD = 1008,
    IDC_OPTION_NO_SHOW_AT_START = 1009,
    IDC_OPTION_HIDE_IF_CORRECT = 1011,
    IDC_OPTION_SOUND_ON = 1012,
    IDC_OPTION_MATCH_CASE = 1035,
};

// The dialogs' own buttons.
enum : int {
    IDC_OK = 1,
    IDC_CANCEL = 2,
};

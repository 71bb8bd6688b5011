#pragma once

#include "UserMessage.h"

// The answer box's key command to its window; the command code travels as wParam.
enum : unsigned { WM_ANSWERKEY = WM_USER + 1 };

enum AnswerKeyCommand : int {
    KEYCMD_ANSWER = 0,
    KEYCMD_EDIT = 1,
    KEYCMD_FUNCTION = 2,
    KEYCMD_NEXT = 4,
    KEYCMD_GO = 5,
};

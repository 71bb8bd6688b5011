#pragma once

#include <string_view>

// Whether a typed answer matches the stored one. Both are compared in canonical form, so an
// accented letter matches its letter with a combining accent; no space separator counts (the
// plain space, the no-break space, the ideographic space, ...); unless case matters, case is
// ignored in every script by full case folding (ß matches ss). Tabs and line breaks count; a
// CR LF line end is the same as a LF.
bool AnswersMatch(std::string_view typed, std::string_view stored, bool matchCase);

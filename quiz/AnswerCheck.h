#pragma once

#include <string_view>

// Whether a typed answer matches the stored one: every space removed from both, and unless
// case matters the letters A-Z folded to a-z. Tabs and line breaks count; a CR LF line end is
// the same as a LF.
bool AnswersMatch(std::string_view typed, std::string_view stored, bool matchCase);

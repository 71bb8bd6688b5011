#include "MessageBox.h"

#include "ResourceIds.h"
#include "Seam.h"
#include "Strings.h"

#include <cstdio>

namespace {

// Without a window system: the text goes to the error stream, and the answer is the one that
// changes nothing.
int AnswerOnErrorStream(const MessageBoxRequest& request) {
    std::fprintf(stderr, "%s: %s\n", request.caption.c_str(), request.text.c_str());
    switch (request.type & MB_TYPEMASK) {
    case MB_YESNO:
        return IDNO;
    case MB_OKCANCEL:
        return IDCANCEL;
    default:
        return IDOK;
    }
}

using MessageBoxSeam = Seam<struct MessageBoxTag, int(const MessageBoxRequest&)>;

} // namespace

MessageBoxHandler SetMessageBoxHandler(MessageBoxHandler handler) {
    return MessageBoxSeam::Set(std::move(handler));
}

int ShowMessageBox(const std::string& text, const std::string& caption, unsigned type) {
    const MessageBoxRequest request{text, caption, type};
    const auto& handler = MessageBoxSeam::Get();
    return handler ? handler(request) : AnswerOnErrorStream(request);
}

int AfxMessageBox(const std::string& text, unsigned type) {
    if ((type & MB_ICONMASK) == 0 && (type & MB_TYPEMASK) == MB_OK)
        type |= MB_ICONEXCLAMATION;
    return ShowMessageBox(text, LoadString(IDS_APP_TITLE), type);
}

int AfxMessageBox(unsigned idPrompt, unsigned type) {
    return AfxMessageBox(LoadString(idPrompt), type);
}

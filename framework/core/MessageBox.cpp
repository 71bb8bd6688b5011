#include "MessageBox.h"

#include "ResourceIds.h"
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

MessageBoxHandler& CurrentHandler() {
    static MessageBoxHandler handler = AnswerOnErrorStream;
    return handler;
}

} // namespace

MessageBoxHandler SetMessageBoxHandler(MessageBoxHandler handler) {
    auto previous = std::move(CurrentHandler());
    CurrentHandler() = handler ? std::move(handler) : AnswerOnErrorStream;
    return previous;
}

int ShowMessageBox(const std::string& text, const std::string& caption, unsigned type) {
    return CurrentHandler()(MessageBoxRequest{text, caption, type});
}

int AfxMessageBox(const std::string& text, unsigned type) {
    if ((type & MB_ICONMASK) == 0 && (type & MB_TYPEMASK) == MB_OK)
        type |= MB_ICONEXCLAMATION;
    return ShowMessageBox(text, LoadString(IDS_APP_TITLE), type);
}

int AfxMessageBox(unsigned idPrompt, unsigned type) {
    return AfxMessageBox(LoadString(idPrompt), type);
}

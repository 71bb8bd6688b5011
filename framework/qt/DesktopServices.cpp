#include "DesktopServices.h"

#include "QtText.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QLibrary>
#include <QUrl>

namespace {

DesktopHandler& SoundHandler() {
    static DesktopHandler handler;
    return handler;
}

DesktopHandler& ViewerHandler() {
    static DesktopHandler handler;
    return handler;
}

using PlayFunction = void (*)(const char* path);

// The sound player lives in a library of its own beside the program.
PlayFunction SoundPlayer() {
    static const PlayFunction play = [] {
        QLibrary library(QCoreApplication::applicationDirPath() + QStringLiteral("/quillow_sound"));
        return reinterpret_cast<PlayFunction>(library.resolve("QuillowPlaySound"));
    }();
    return play;
}

} // namespace

DesktopHandler SetSoundHandler(DesktopHandler handler) {
    auto previous = std::move(SoundHandler());
    SoundHandler() = std::move(handler);
    return previous;
}

DesktopHandler SetViewerHandler(DesktopHandler handler) {
    auto previous = std::move(ViewerHandler());
    ViewerHandler() = std::move(handler);
    return previous;
}

void PlaySoundFile(const std::string& path) {
    if (SoundHandler()) {
        SoundHandler()(path);
        return;
    }
    if (PlayFunction play = SoundPlayer())
        play(path.c_str());
}

void OpenInTextViewer(const std::string& path) {
    if (ViewerHandler()) {
        ViewerHandler()(path);
        return;
    }
    QDesktopServices::openUrl(QUrl::fromLocalFile(ToQString(path)));
}

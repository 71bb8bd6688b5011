#include "DesktopServices.h"

#include "QtText.h"
#include "Seam.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QLibrary>
#include <QUrl>

namespace {

using SoundSeam = Seam<struct SoundTag, void(const std::string& path)>;
using ViewerSeam = Seam<struct ViewerTag, void(const std::string& path)>;

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
    return SoundSeam::Set(std::move(handler));
}

DesktopHandler SetViewerHandler(DesktopHandler handler) {
    return ViewerSeam::Set(std::move(handler));
}

void PlaySoundFile(const std::string& path) {
    if (const auto& handler = SoundSeam::Get()) {
        handler(path);
        return;
    }
    if (PlayFunction play = SoundPlayer())
        play(path.c_str());
}

void OpenInTextViewer(const std::string& path) {
    if (const auto& handler = ViewerSeam::Get()) {
        handler(path);
        return;
    }
    QDesktopServices::openUrl(QUrl::fromLocalFile(ToQString(path)));
}

#include "DesktopServices.h"

#include "ProgramFolder.h"
#include "Seam.h"

#include <QDesktopServices>
#include <QUrl>

#include <dlfcn.h>
#include <fcntl.h>
#include <string>
#include <unistd.h>

namespace {

using SoundSeam = Seam<struct SoundTag, void(const std::string& path)>;
using ViewerSeam = Seam<struct ViewerTag, void(const std::string& path)>;

using PlayFunction = void (*)(const char* path);

// The sound player lives in a library of its own beside the program, loaded by the folder's
// bytes: a folder whose name is not UTF-8 has no QString of its own.
PlayFunction SoundPlayer() {
    static const PlayFunction play = [] {
        void* library = ::dlopen((ProgramFolder() + "quillow_sound.so").c_str(), RTLD_NOW);
        return library ? reinterpret_cast<PlayFunction>(::dlsym(library, "QuillowPlaySound"))
                       : nullptr;
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
    // The player is handed the file as this process's descriptor, a name that is UTF-8 whatever
    // the path's bytes; it stays open for the next sounds.
    static std::string openedPath;
    static int sound = -1;
    PlayFunction play = SoundPlayer();
    if (!play)
        return;
    if (path != openedPath) {
        if (sound >= 0)
            ::close(sound);
        sound = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
        openedPath = path;
    }
    if (sound >= 0)
        play(("/proc/self/fd/" + std::to_string(sound)).c_str());
}

void OpenInTextViewer(const std::string& path) {
    if (const auto& handler = ViewerSeam::Get()) {
        handler(path);
        return;
    }
    // The URL keeps the path's bytes, percent-encoded, for the viewer to decode.
    QDesktopServices::openUrl(QUrl::fromEncoded(
        "file://" + QByteArray::fromStdString(path).toPercentEncoding("/"), QUrl::StrictMode));
}

#pragma once

#include <functional>
#include <string>

// Plays a sound file without waiting for it; a missing file or a machine without sound is
// silent. The sound library is loaded on the first call, so a program that plays nothing pays
// nothing for it.
void PlaySoundFile(const std::string& path);

// Opens the file in the desktop's viewer for its type; the path is passed as data, never to a
// shell. A failure is not reported.
void OpenInTextViewer(const std::string& path);

// Tests record what would be played or opened instead.
using DesktopHandler = std::function<void(const std::string& path)>;
DesktopHandler SetSoundHandler(DesktopHandler handler);
DesktopHandler SetViewerHandler(DesktopHandler handler);

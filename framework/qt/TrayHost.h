#pragma once

#include <functional>

class QObject;

// Calls `ready` once a tray icon can be made without harm: at once on X11 (Qt watches for a tray
// there itself); on Wayland, where only a StatusNotifierItem host can hold the icon and Qt asks
// for one just once per run, when the host's watcher is on the session bus, now or later. While
// `context` lives.
void WhenTrayHostReady(QObject* context, std::function<void()> ready);

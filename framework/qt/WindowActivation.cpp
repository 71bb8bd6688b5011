#include "WindowActivation.h"

#include <QGuiApplication>
#include <QWidget>

bool IsWaylandSession() {
    return QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

void ActivateWindow(QWidget& window, const QByteArray& activationToken) {
    window.raise();
    // Qt's Wayland shell takes a token from this variable when it activates a window.
    const bool withToken = IsWaylandSession() && !activationToken.isEmpty();
    if (withToken)
        qputenv("XDG_ACTIVATION_TOKEN", activationToken);
    window.activateWindow();
    if (withToken)
        qunsetenv("XDG_ACTIVATION_TOKEN");
}

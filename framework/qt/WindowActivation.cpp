#include "WindowActivation.h"

#include "GtkShellPresent.h"
#include "X11Display.h"

#include <QGuiApplication>
#include <QWidget>
#include <QWindow>
#include <qpa/qplatformnativeinterface.h>

#include <algorithm>

namespace {

bool IsX11Session() {
    return QGuiApplication::platformName() == QLatin1String("xcb");
}

// The launcher's user-interaction time: the "_TIME" suffix of its X11 startup id, 0 when none.
xcb_timestamp_t LauncherTime(const QByteArray& startupId) {
    const qsizetype at = startupId.lastIndexOf("_TIME");
    bool ok = false;
    const uint time = at < 0 ? 0 : startupId.mid(at + 5).toUInt(&ok);
    return ok ? time : 0;
}

} // namespace

bool IsWaylandSession() {
    return QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

void EndLauncherStartup(const QByteArray& startupId) {
    const auto [connection, root] = CurrentX11Display();
    if (!connection || !root || startupId.isEmpty())
        return;
    const xcb_atom_t begin = InternAtom(connection, "_NET_STARTUP_INFO_BEGIN");
    const xcb_atom_t more = InternAtom(connection, "_NET_STARTUP_INFO");
    if (begin == XCB_ATOM_NONE || more == XCB_ATOM_NONE)
        return;
    QByteArray id = startupId;
    id.replace('\\', "\\\\").replace('"', "\\\"");
    const QByteArray message = "remove: ID=\"" + id + '"';
    // Sent to the root window in pieces of 20 bytes, the first of another type, the last ending
    // in the nul that is the QByteArray's own.
    xcb_client_message_event_t event{};
    event.response_type = XCB_CLIENT_MESSAGE;
    event.format = 8;
    event.window = root;
    for (qsizetype sent = 0; sent <= message.size(); sent += 20) {
        event.type = sent == 0 ? begin : more;
        const qsizetype piece = qMin<qsizetype>(20, message.size() + 1 - sent);
        std::fill(std::begin(event.data.data8), std::end(event.data.data8), 0);
        std::copy_n(message.constData() + sent, piece, event.data.data8);
        xcb_send_event(connection, false, root, XCB_EVENT_MASK_PROPERTY_CHANGE,
                       reinterpret_cast<const char*>(&event));
    }
    xcb_flush(connection);
}

void ActivateWindow(QWidget& window, const QByteArray& activationToken) {
    window.raise();
    if (IsX11Session() && !activationToken.isEmpty()) {
        // The activation request carries the program's time: the launcher's makes the window
        // manager grant the focus as it would to the launcher.
        using SetTime = void (*)(QScreen*, xcb_timestamp_t);
        const auto setAppTime = reinterpret_cast<SetTime>(reinterpret_cast<void (*)()>(
            QGuiApplication::platformNativeInterface()->nativeResourceFunctionForScreen(
                "setapptime")));
        if (const xcb_timestamp_t time = LauncherTime(activationToken); time && setAppTime)
            setAppTime(window.screen(), time);
        window.activateWindow();
        EndLauncherStartup(activationToken);
        return;
    }
    // GNOME Shell hands a time, not a token, with the click on a notification (GNOME 43: always
    // 0, which mutter takes for "now").
    if (IsWaylandSession() && activationToken.startsWith("_TIME") && window.windowHandle() &&
        PresentAtTime(*window.windowHandle(), LauncherTime(activationToken)))
        return;
    // Qt's Wayland shell takes a token from this variable when it activates a window.
    const bool withToken = IsWaylandSession() && !activationToken.isEmpty();
    if (withToken)
        qputenv("XDG_ACTIVATION_TOKEN", activationToken);
    window.activateWindow();
    if (withToken)
        qunsetenv("XDG_ACTIVATION_TOKEN");
}

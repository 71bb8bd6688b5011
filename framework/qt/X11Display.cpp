#include "X11Display.h"

#include <QGuiApplication>
#include <qpa/qplatformnativeinterface.h>

#include <cstdlib>
#include <cstring>

X11Display CurrentX11Display() {
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        return {};
    QPlatformNativeInterface* native = QGuiApplication::platformNativeInterface();
    return {static_cast<xcb_connection_t*>(native->nativeResourceForIntegration("connection")),
            static_cast<xcb_window_t>(
                reinterpret_cast<quintptr>(native->nativeResourceForIntegration("rootwindow")))};
}

xcb_atom_t InternAtom(xcb_connection_t* connection, const char* name) {
    const xcb_intern_atom_cookie_t cookie =
        xcb_intern_atom(connection, false, static_cast<uint16_t>(std::strlen(name)), name);
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(connection, cookie, nullptr);
    const xcb_atom_t atom = reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
    std::free(reply);
    return atom;
}

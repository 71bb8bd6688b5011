#pragma once

#include <xcb/xcb.h>

// The X display that Qt's xcb platform plugin holds: its connection and root window, both null
// on any other platform.
struct X11Display {
    xcb_connection_t* connection = nullptr;
    xcb_window_t root = XCB_WINDOW_NONE;
};

X11Display CurrentX11Display();

// The atom of this name, XCB_ATOM_NONE when the server does not answer.
xcb_atom_t InternAtom(xcb_connection_t* connection, const char* name);

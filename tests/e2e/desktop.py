# The desktop's side of a session, on the bus of DBUS_SESSION_BUS_ADDRESS: a stand-in
# notification server and screen saver, in a headless mutter session (not with --x11) the seat's
# keyboard (mutter's remote-desktop API), and on request a stand-in tray (a
# StatusNotifierWatcher whose host is there, as KDE's panel is) or GNOME Shell's own
# notification service, which calls a clicked notification's action on the application's bus
# object with the time that GNOME Shell 43 hands, "_TIME0".
#
# Reports each notification and registered icon as a JSON line on standard output. Lines on
# standard input: "keys KEYSYM..." types the keys, then reports "pressed"; "invoke ID TOKEN"
# invokes a notification's default action with this activation token; "lock 1" and "lock 0" lock
# and unlock the session; "tray" starts the tray; "click SERVICE TOKEN" clicks an icon with this
# token, as KDE's panel does; "shell" starts GNOME Shell's service; "activate APP ACTION" clicks
# APP's notification.
import json
import sys
import time

import dbus
import dbus.service
from dbus.mainloop.glib import DBusGMainLoop
from gi.repository import GLib

NOTIFICATIONS = "org.freedesktop.Notifications"
SCREEN_SAVER = "org.freedesktop.ScreenSaver"
REMOTE_DESKTOP = "org.gnome.Mutter.RemoteDesktop"
WATCHER = "org.kde.StatusNotifierWatcher"


def report(**call):
    print(json.dumps(call), flush=True)


class Notifications(dbus.service.Object):
    @dbus.service.method(NOTIFICATIONS, out_signature="as")
    def GetCapabilities(self):
        return ["actions"]

    @dbus.service.method(NOTIFICATIONS, in_signature="susssasa{sv}i", out_signature="u")
    def Notify(self, _app, _replaces, _icon, _summary, _body, actions, _hints, _timeout):
        report(call="Notify", actions=actions)
        return 1

    @dbus.service.signal(NOTIFICATIONS, signature="us")
    def ActivationToken(self, number, token):
        pass

    @dbus.service.signal(NOTIFICATIONS, signature="us")
    def ActionInvoked(self, number, action):
        pass


class ScreenSaver(dbus.service.Object):
    locked = False

    @dbus.service.method(SCREEN_SAVER, out_signature="b")
    def GetActive(self):
        return self.locked


class ShellNotifications(dbus.service.Object):
    @dbus.service.method("org.gtk.Notifications", in_signature="ssa{sv}")
    def AddNotification(self, app, _id, notification):
        report(call="AddNotification", app=app, default=notification["default-action"],
               buttons=[(b["label"], b["action"]) for b in notification["buttons"]])

    @dbus.service.method("org.gtk.Notifications", in_signature="ss")
    def RemoveNotification(self, _app, _id):
        pass


class Tray(dbus.service.Object):
    @dbus.service.method(WATCHER, in_signature="s")
    def RegisterStatusNotifierItem(self, service):  # Qt's: the bus name of its item
        report(call="Icon", service=service)

    # Qt reads a property of the watcher only where its description lists it.
    @dbus.service.method(dbus.INTROSPECTABLE_IFACE, out_signature="s")
    def Introspect(self):
        return """<node><interface name="%s">
 <method name="RegisterStatusNotifierItem"><arg type="s" direction="in"/></method>
 <property name="IsStatusNotifierHostRegistered" type="b" access="read"/>
</interface></node>""" % WATCHER

    @dbus.service.method(dbus.PROPERTIES_IFACE, in_signature="ss", out_signature="v")
    def Get(self, _interface, _name):
        return True


def seat_keyboard(bus):
    # Types keysyms as the seat's keyboard, through mutter's remote-desktop API.
    while not bus.name_has_owner(REMOTE_DESKTOP):
        time.sleep(0.05)  # mutter puts its services on the bus after its socket
    desktop = bus.get_object(REMOTE_DESKTOP, "/org/gnome/Mutter/RemoteDesktop")
    keyboard = dbus.Interface(bus.get_object(REMOTE_DESKTOP, desktop.CreateSession(
        dbus_interface=REMOTE_DESKTOP)), REMOTE_DESKTOP + ".Session")
    keyboard.Start()

    def press(*keysyms):
        for keysym in keysyms:
            keyboard.NotifyKeyboardKeysym(dbus.UInt32(int(keysym)), True)
            keyboard.NotifyKeyboardKeysym(dbus.UInt32(int(keysym)), False)
    press(0xffe1)  # the seat gets its keyboard with the first key (Shift)
    return press


def main():
    DBusGMainLoop(set_as_default=True)
    bus = dbus.SessionBus()
    notifications = Notifications(bus, "/org/freedesktop/Notifications")
    screen_saver = ScreenSaver(bus, "/org/freedesktop/ScreenSaver")
    names = [dbus.service.BusName(name, bus, do_not_queue=True)
             for name in (NOTIFICATIONS, SCREEN_SAVER)]
    press = None if "--x11" in sys.argv else seat_keyboard(bus)

    def command(channel, _condition):
        words = channel.readline().split()
        if words[0] == "keys":
            press(*words[1:])
            report(call="pressed")
        elif words[0] == "invoke":
            notifications.ActivationToken(int(words[1]), words[2])
            notifications.ActionInvoked(int(words[1]), "default")
        elif words[0] == "lock":
            screen_saver.locked = words[1] == "1"
        elif words[0] == "tray":
            names.extend([Tray(bus, "/StatusNotifierWatcher"), dbus.service.BusName(WATCHER, bus)])
        elif words[0] == "shell":
            names.extend([ShellNotifications(bus, "/org/gtk/Notifications"),
                          dbus.service.BusName("org.gtk.Notifications", bus)])
        elif words[0] == "activate":
            bus.get_object(words[1], "/" + words[1].replace(".", "/")).ActivateAction(
                words[2], dbus.Array([], "v"), {"desktop-startup-id": dbus.String("_TIME0", variant_level=1)},
                dbus_interface="org.freedesktop.Application", ignore_reply=True)
        elif words[0] == "click":
            icon = dbus.Interface(bus.get_object(words[1], "/StatusNotifierItem"),
                                  "org.kde.StatusNotifierItem")
            icon.ProvideXdgActivationToken(words[2])
            icon.Activate(0, 0, ignore_reply=True)
        return True

    GLib.io_add_watch(GLib.IOChannel.unix_new(sys.stdin.fileno()), GLib.IO_IN, command)
    report(call="ready")
    GLib.MainLoop().run()


main()

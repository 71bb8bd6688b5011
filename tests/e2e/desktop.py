"""The desktop's side of a headless mutter session, on the session bus named by
DBUS_SESSION_BUS_ADDRESS: a stand-in notification server (org.freedesktop.Notifications), the
seat's keyboard, plugged in and typed on through mutter's remote-desktop API, and on request a
stand-in tray.

Each call the server receives is one JSON line on standard output. Lines on standard input:
`invoke ID TOKEN` invokes the default action of that notification, handing over the activation
token first, as a desktop's server does; `keys KEYSYM...` presses and releases each key in turn
and answers {"call": "typed"}; `tray` puts a tray on the bus (a StatusNotifierWatcher with its
host, as KDE's panel or GNOME's AppIndicator extension do), which reports the icons that register
and those whose program left the bus; `click SERVICE PATH TOKEN` clicks such an icon,
handing it the activation token first."""
import json
import sys

import dbus
import dbus.service
from dbus.mainloop.glib import DBusGMainLoop
from gi.repository import GLib

NAME = "org.freedesktop.Notifications"
PATH = "/org/freedesktop/Notifications"
REMOTE_DESKTOP = "org.gnome.Mutter.RemoteDesktop"
SHIFT = 0xffe1


def report(**call):
    print(json.dumps(call), flush=True)


class Server(dbus.service.Object):
    def __init__(self, bus):
        super().__init__(bus, PATH)
        self.next_id = 1

    @dbus.service.method(NAME, out_signature="as")
    def GetCapabilities(self):
        return ["actions", "body", "body-markup"]

    @dbus.service.method(NAME, in_signature="susssasa{sv}i", out_signature="u")
    def Notify(self, app_name, replaces_id, app_icon, summary, body, actions, hints, timeout):
        number = replaces_id or self.next_id
        self.next_id = max(self.next_id, number + 1)
        report(call="Notify", id=number, summary=str(summary), body=str(body),
               actions=[str(a) for a in actions])
        return number

    @dbus.service.method(NAME, in_signature="u")
    def CloseNotification(self, number):
        report(call="CloseNotification", id=int(number))
        self.NotificationClosed(number, 3)

    @dbus.service.method(NAME, out_signature="ssss")
    def GetServerInformation(self):
        return "stand-in", "quillow-e2e", "1", "1.2"

    @dbus.service.signal(NAME, signature="uu")
    def NotificationClosed(self, number, reason):
        pass

    @dbus.service.signal(NAME, signature="us")
    def ActionInvoked(self, number, action):
        pass

    @dbus.service.signal(NAME, signature="us")
    def ActivationToken(self, number, token):
        pass


WATCHER = "org.kde.StatusNotifierWatcher"
PROPERTIES = "org.freedesktop.DBus.Properties"


class Tray(dbus.service.Object):
    def __init__(self, bus):
        super().__init__(bus, "/StatusNotifierWatcher")
        self.items = []
        bus.add_signal_receiver(self.owner_changed, "NameOwnerChanged",
                                "org.freedesktop.DBus", "org.freedesktop.DBus")

    def owner_changed(self, name, _old, new):
        if not new and any(service == name for service, _ in self.items):
            report(call="IconGone", service=str(name))

    @dbus.service.method(WATCHER, in_signature="s", sender_keyword="sender")
    def RegisterStatusNotifierItem(self, service, sender=None):
        # Either a bus name (the item at /StatusNotifierItem) or an object path of the sender.
        if service.startswith("/"):
            service, path = sender, service
        else:
            path = "/StatusNotifierItem"
        self.items.append((str(service), str(path)))
        report(call="RegisterStatusNotifierItem", service=str(service), path=str(path))
        self.StatusNotifierItemRegistered(service + path)

    @dbus.service.method(WATCHER, in_signature="s")
    def RegisterStatusNotifierHost(self, service):
        pass

    @dbus.service.signal(WATCHER, signature="s")
    def StatusNotifierItemRegistered(self, item):
        pass

    def properties(self):
        return {"IsStatusNotifierHostRegistered": True, "ProtocolVersion": dbus.Int32(0),
                "RegisteredStatusNotifierItems": dbus.Array(
                    [service + path for service, path in self.items], signature="s")}

    # Qt reads the watcher's properties only where its description lists them.
    @dbus.service.method("org.freedesktop.DBus.Introspectable", out_signature="s")
    def Introspect(self):
        return """<node>
 <interface name="%s">
  <method name="RegisterStatusNotifierItem"><arg type="s" direction="in"/></method>
  <method name="RegisterStatusNotifierHost"><arg type="s" direction="in"/></method>
  <property name="RegisteredStatusNotifierItems" type="as" access="read"/>
  <property name="IsStatusNotifierHostRegistered" type="b" access="read"/>
  <property name="ProtocolVersion" type="i" access="read"/>
  <signal name="StatusNotifierItemRegistered"><arg type="s"/></signal>
 </interface>
 <interface name="%s">
  <method name="Get"><arg type="s" direction="in"/><arg type="s" direction="in"/>
   <arg type="v" direction="out"/></method>
  <method name="GetAll"><arg type="s" direction="in"/><arg type="a{sv}" direction="out"/></method>
 </interface>
</node>""" % (WATCHER, PROPERTIES)

    @dbus.service.method(PROPERTIES, in_signature="ss", out_signature="v")
    def Get(self, _interface, name):
        return self.properties()[name]

    @dbus.service.method(PROPERTIES, in_signature="s", out_signature="a{sv}")
    def GetAll(self, _interface):
        return self.properties()


def keyboard(bus):
    """A remote-desktop session of the compositor, whose keyboard the seat then has."""
    desktop = bus.get_object(REMOTE_DESKTOP, "/org/gnome/Mutter/RemoteDesktop")
    session = bus.get_object(REMOTE_DESKTOP, desktop.CreateSession(dbus_interface=REMOTE_DESKTOP))
    session.Start(dbus_interface=REMOTE_DESKTOP + ".Session")
    # The seat gets its keyboard with the first key.
    for pressed in (True, False):
        session.NotifyKeyboardKeysym(dbus.UInt32(SHIFT), pressed,
                                     dbus_interface=REMOTE_DESKTOP + ".Session")
    return session


def main():
    DBusGMainLoop(set_as_default=True)
    bus = dbus.SessionBus()
    name = dbus.service.BusName(NAME, bus, do_not_queue=True)
    server = Server(bus)
    keys = keyboard(bus)
    loop = GLib.MainLoop()
    tray = []

    def command(channel, _condition):
        line = channel.readline()
        if not line:
            loop.quit()
            return False
        words = line.split()
        if len(words) == 3 and words[0] == "invoke":
            number = dbus.UInt32(int(words[1]))
            server.ActivationToken(number, words[2])
            server.ActionInvoked(number, "default")
            server.NotificationClosed(number, 2)
        elif words[:1] == ["keys"]:
            for keysym in words[1:]:
                for pressed in (True, False):
                    keys.NotifyKeyboardKeysym(dbus.UInt32(int(keysym)), pressed,
                                              dbus_interface=REMOTE_DESKTOP + ".Session")
            report(call="typed")
        elif words == ["tray"]:
            tray.append((dbus.service.BusName(WATCHER, bus, do_not_queue=True), Tray(bus)))
        elif len(words) == 4 and words[0] == "click":
            # As KDE's panel does: the activation token first, then the click.
            icon = bus.get_object(words[1], words[2])
            icon.ProvideXdgActivationToken(words[3], dbus_interface="org.kde.StatusNotifierItem",
                                           reply_handler=lambda: None,
                                           error_handler=lambda error: None)
            icon.Activate(dbus.Int32(0), dbus.Int32(0), dbus_interface="org.kde.StatusNotifierItem",
                          reply_handler=lambda: None, error_handler=lambda error: None)
        return True

    GLib.io_add_watch(GLib.IOChannel.unix_new(sys.stdin.fileno()), GLib.IO_IN | GLib.IO_HUP,
                      command)
    report(call="ready")
    loop.run()
    del name


if __name__ == "__main__":
    main()

#!/usr/bin/python3
# A keyboard through mutter's RemoteDesktop for the GNOME session tests. Mutter ties a
# remote-desktop session to the connection that created it, and its seat has a keyboard only while
# the session runs: so one session, created and started on this connection, lives as long as this
# helper. Each line "key" on stdin presses and releases KEY_A and answers "ok"; EOF ends it.
import sys

from gi.repository import Gio, GLib

KEY_A = 30
bus = Gio.bus_get_sync(Gio.BusType.SESSION, None)


def call(path, interface, method, args=None, reply=None):
    return bus.call_sync("org.gnome.Mutter.RemoteDesktop", path, interface, method, args,
                         GLib.VariantType(reply) if reply else None, Gio.DBusCallFlags.NONE, 10000, None)


session = call("/org/gnome/Mutter/RemoteDesktop", "org.gnome.Mutter.RemoteDesktop", "CreateSession",
               reply="(o)")[0]
SESSION = "org.gnome.Mutter.RemoteDesktop.Session"
call(session, SESSION, "Start")
print("ok", flush=True)
for line in sys.stdin:
    if line.strip() == "key":
        for pressed in (True, False):
            call(session, SESSION, "NotifyKeyboardKeycode", GLib.Variant("(ub)", (KEY_A, pressed)))
    print("ok", flush=True)
call(session, SESSION, "Stop")

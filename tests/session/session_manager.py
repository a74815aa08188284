#!/usr/bin/python3
# A stand-in org.gnome.SessionManager for the GNOME session tests (mutter without gnome-session):
# inhibitors by cookie and flags, the two signals, the InhibitedActions property, and a Setenv
# that mutter calls. Prints one line per IsInhibited answer, so a test can wait for the question.
# Mutter 43 reads InhibitedActions itself and holds its idle watches back while idle is inhibited;
# with --hide-actions the property stays 0, as for a mutter that does not, so that only the
# watcher's own question to the manager keeps the saver away.
import signal
import sys

from gi.repository import Gio, GLib

XML = """<node><interface name="org.gnome.SessionManager">
  <method name="Setenv"><arg type="s" direction="in"/><arg type="s" direction="in"/></method>
  <method name="IsInhibited"><arg type="u" direction="in"/><arg type="b" direction="out"/></method>
  <method name="Inhibit"><arg type="s" direction="in"/><arg type="u" direction="in"/>
    <arg type="s" direction="in"/><arg type="u" direction="in"/><arg type="u" direction="out"/></method>
  <method name="Uninhibit"><arg type="u" direction="in"/></method>
  <signal name="InhibitorAdded"><arg type="o"/></signal>
  <signal name="InhibitorRemoved"><arg type="o"/></signal>
  <property name="InhibitedActions" type="u" access="read"/>
</interface></node>"""
PATH = "/org/gnome/SessionManager"
inhibitors = {}  # cookie -> flags
next_cookie = [1]


HIDE = "--hide-actions" in sys.argv[1:]


def actions():
    return 0 if HIDE else inhibited_flags()


def inhibited_flags():
    flags = 0
    for f in inhibitors.values():
        flags |= f
    return flags


def emit(connection, name, cookie):
    connection.emit_signal(None, PATH, "org.gnome.SessionManager", name,
                           GLib.Variant("(o)", (f"{PATH}/Inhibitor{cookie}",)))
    if not HIDE:
        connection.emit_signal(None, PATH, "org.freedesktop.DBus.Properties", "PropertiesChanged",
                               GLib.Variant("(sa{sv}as)", ("org.gnome.SessionManager",
                                                           {"InhibitedActions": GLib.Variant("u", actions())}, [])))


def on_call(connection, sender, path, interface, method, params, invocation):
    if method == "IsInhibited":
        answer = (inhibited_flags() & params[0]) != 0
        print(f"IsInhibited {params[0]} {str(answer).lower()}", flush=True)
        invocation.return_value(GLib.Variant("(b)", (answer,)))
    elif method == "Inhibit":
        cookie = next_cookie[0]
        next_cookie[0] += 1
        inhibitors[cookie] = params[3]
        invocation.return_value(GLib.Variant("(u)", (cookie,)))
        emit(connection, "InhibitorAdded", cookie)
    elif method == "Uninhibit":
        if inhibitors.pop(params[0], None) is None:
            invocation.return_dbus_error("org.gnome.SessionManager.Error.NotFound", "no such inhibitor")
            return
        invocation.return_value(None)
        emit(connection, "InhibitorRemoved", params[0])
    else:  # Setenv
        invocation.return_value(None)


def main():
    loop = GLib.MainLoop()
    connection = Gio.bus_get_sync(Gio.BusType.SESSION, None)
    info = Gio.DBusNodeInfo.new_for_xml(XML).interfaces[0]
    connection.register_object(PATH, info, on_call, lambda *a: GLib.Variant("u", actions()), None)
    owned = Gio.bus_own_name_on_connection(connection, "org.gnome.SessionManager",
                                           Gio.BusNameOwnerFlags.DO_NOT_QUEUE,
                                           lambda *a: print("ready", flush=True),
                                           lambda *a: (print("name lost", file=sys.stderr), loop.quit()))
    for s in (signal.SIGTERM, signal.SIGINT):
        GLib.unix_signal_add(GLib.PRIORITY_DEFAULT, s, loop.quit)
    loop.run()
    Gio.bus_unown_name(owned)


main()

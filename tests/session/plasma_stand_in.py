#!/usr/bin/python3
# A stand-in for Plasma's inhibitions on the session bus, as the real 5.27 and 6.3 services answer
# (for where they cannot run): the screen locker's org.freedesktop.ScreenSaver, which hands each
# Inhibit to PowerDevil's policy agent as ChangeScreenSettings (4), and the agent (AddInhibition,
# ReleaseInhibition, HasInhibition, ListInhibitions, InhibitionsChanged). Like the real agent it
# sends a(ss) where its introspection data says a{ss}. Options:
#   --delay    count an inhibition 5 s after it is added, as PowerDevil does
# Lines on stdin: "lock" / "unlock" switch the locker's GetActive and send ActiveChanged.
# Prints "ready" once it owns both names.
import signal
import sys

from gi.repository import Gio, GLib

AGENT = "org.kde.Solid.PowerManagement.PolicyAgent"
AGENT_PATH = "/org/kde/Solid/PowerManagement/PolicyAgent"
XML = f"""<node><interface name="{AGENT}">
  <method name="AddInhibition"><arg type="u" direction="in"/><arg type="s" direction="in"/>
    <arg type="s" direction="in"/><arg type="u" direction="out"/></method>
  <method name="ReleaseInhibition"><arg type="u" direction="in"/></method>
  <method name="HasInhibition"><arg type="u" direction="in"/><arg type="b" direction="out"/></method>
  <method name="ListInhibitions"><arg type="a(ss)" direction="out"/></method>
  <signal name="InhibitionsChanged"><arg type="a(ss)"/><arg type="as"/></signal>
</interface><interface name="org.freedesktop.ScreenSaver">
  <method name="Inhibit"><arg type="s" direction="in"/><arg type="s" direction="in"/>
    <arg type="u" direction="out"/></method>
  <method name="UnInhibit"><arg type="u" direction="in"/></method>
  <method name="GetActive"><arg type="b" direction="out"/></method>
  <signal name="ActiveChanged"><arg type="b"/></signal>
</interface></node>"""
CHANGE_SCREEN_SETTINGS = 4
COUNTED_AFTER_MS = 5000 if "--delay" in sys.argv[1:] else 0
inhibitions = {}  # cookie -> (policies, application, reason), once counted
cookies = 0
locked = [False]


def changed(connection, added, removed):
    connection.emit_signal(None, AGENT_PATH, AGENT, "InhibitionsChanged", GLib.Variant("(a(ss)as)", (added, removed)))


def add(connection, policies, application, reason):
    global cookies
    cookies += 1
    cookie = cookies

    def count():
        inhibitions[cookie] = (policies, application, reason)
        changed(connection, [(application, reason)], [])
        return GLib.SOURCE_REMOVE

    if COUNTED_AFTER_MS:
        GLib.timeout_add(COUNTED_AFTER_MS, count)
    else:
        count()
    return GLib.Variant("(u)", (cookie,))


def release(connection, cookie):
    entry = inhibitions.pop(cookie, None)
    if entry is not None:
        changed(connection, [], [entry[1]])


def on_call(connection, _sender, _path, _interface, method, params, invocation):
    params = params.unpack()
    if method in ("AddInhibition", "Inhibit"):
        args = params if method == "AddInhibition" else (CHANGE_SCREEN_SETTINGS, *params)
        invocation.return_value(add(connection, *args))
        return
    if method == "HasInhibition":
        reply = GLib.Variant("(b)", (any(p & params[0] for p, _, _ in inhibitions.values()),))
    elif method == "ListInhibitions":
        reply = GLib.Variant("(a(ss))", ([(a, r) for _, a, r in inhibitions.values()],))
    elif method == "GetActive":
        reply = GLib.Variant("(b)", (locked[0],))
    else:  # ReleaseInhibition, UnInhibit
        release(connection, params[0])
        reply = None
    invocation.return_value(reply)


def main():
    loop = GLib.MainLoop()
    connection = Gio.bus_get_sync(Gio.BusType.SESSION, None)
    node = Gio.DBusNodeInfo.new_for_xml(XML)
    connection.register_object(AGENT_PATH, node.interfaces[0], on_call, None, None)
    for path in ("/ScreenSaver", "/org/freedesktop/ScreenSaver"):
        connection.register_object(path, node.interfaces[1], on_call, None, None)
    pending = {AGENT, "org.freedesktop.ScreenSaver"}

    def acquired(_connection, name):
        pending.discard(name)
        if not pending:
            print("ready", flush=True)

    for name in list(pending):
        Gio.bus_own_name_on_connection(connection, name, Gio.BusNameOwnerFlags.DO_NOT_QUEUE, acquired,
                                       lambda *a: loop.quit())
    def command(channel, _condition):
        line = channel.readline()
        if not line:
            return GLib.SOURCE_REMOVE
        locked[0] = line.strip() == "lock"
        for path in ("/ScreenSaver", "/org/freedesktop/ScreenSaver"):
            connection.emit_signal(None, path, "org.freedesktop.ScreenSaver", "ActiveChanged",
                                   GLib.Variant("(b)", (locked[0],)))
        return GLib.SOURCE_CONTINUE

    GLib.io_add_watch(GLib.IOChannel.unix_new(sys.stdin.fileno()), GLib.IO_IN | GLib.IO_HUP, command)
    for s in (signal.SIGTERM, signal.SIGINT):
        GLib.unix_signal_add(GLib.PRIORITY_DEFAULT, s, loop.quit)
    loop.run()


main()

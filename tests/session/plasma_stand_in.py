#!/usr/bin/python3
# A stand-in for Plasma 5.27's inhibitions on the session bus, after the interfaces' introspection
# data (Plasma does not run headless here): the screen locker's org.freedesktop.ScreenSaver, which
# hands each Inhibit to PowerDevil's policy agent as ChangeScreenSettings (4), and the agent
# (AddInhibition, ReleaseInhibition, HasInhibition, ListInhibitions, InhibitionsChanged).
# Prints "ready" once it owns both names.
import signal

from gi.repository import Gio, GLib

AGENT = "org.kde.Solid.PowerManagement.PolicyAgent"
AGENT_PATH = "/org/kde/Solid/PowerManagement/PolicyAgent"
XML = f"""<node><interface name="{AGENT}">
  <method name="AddInhibition"><arg type="u" direction="in"/><arg type="s" direction="in"/>
    <arg type="s" direction="in"/><arg type="u" direction="out"/></method>
  <method name="ReleaseInhibition"><arg type="u" direction="in"/></method>
  <method name="HasInhibition"><arg type="u" direction="in"/><arg type="b" direction="out"/></method>
  <method name="ListInhibitions"><arg type="a{{ss}}" direction="out"/></method>
  <signal name="InhibitionsChanged"><arg type="a{{ss}}"/><arg type="as"/></signal>
</interface><interface name="org.freedesktop.ScreenSaver">
  <method name="Inhibit"><arg type="s" direction="in"/><arg type="s" direction="in"/>
    <arg type="u" direction="out"/></method>
  <method name="UnInhibit"><arg type="u" direction="in"/></method>
</interface></node>"""
CHANGE_SCREEN_SETTINGS = 4
inhibitions = {}  # cookie -> (policies, application, reason)


def changed(connection, added, removed):
    connection.emit_signal(None, AGENT_PATH, AGENT, "InhibitionsChanged", GLib.Variant("(a{ss}as)", (added, removed)))


def add(connection, policies, application, reason):
    cookie = max(inhibitions, default=0) + 1
    inhibitions[cookie] = (policies, application, reason)
    changed(connection, {application: reason}, [])
    return GLib.Variant("(u)", (cookie,))


def release(connection, cookie):
    entry = inhibitions.pop(cookie, None)
    if entry is not None:
        changed(connection, {}, [entry[1]])


def on_call(connection, _sender, _path, _interface, method, params, invocation):
    params = params.unpack()
    if method in ("AddInhibition", "Inhibit"):
        args = params if method == "AddInhibition" else (CHANGE_SCREEN_SETTINGS, *params)
        invocation.return_value(add(connection, *args))
        return
    if method == "HasInhibition":
        reply = GLib.Variant("(b)", (any(p & params[0] for p, _, _ in inhibitions.values()),))
    elif method == "ListInhibitions":
        reply = GLib.Variant("(a{ss})", ({a: r for _, a, r in inhibitions.values()},))
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
    for s in (signal.SIGTERM, signal.SIGINT):
        GLib.unix_signal_add(GLib.PRIORITY_DEFAULT, s, loop.quit)
    loop.run()


main()

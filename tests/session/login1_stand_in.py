#!/usr/bin/python3
# A stand-in org.freedesktop.login1 on a private system bus (no logind runs here), for the
# session tests: one session "c1" of the user running it, inhibitor locks as logind hands them out
# (Inhibit returns the write end of a pipe; the lock ends when every copy of it is closed), and
# what GNOME Shell asks of logind and, with --display-manager, of GDM (without a display manager
# the shell builds no lock screen). Prints "ready" once its names are owned, then one line per
# event a test may wait for: "inhibit WHAT MODE WHO", "released WHAT MODE WHO", "lock", "unlock",
# "locked-hint true|false". With --no-changed-signals, BlockInhibited/DelayInhibited change
# without PropertiesChanged, as real logind does. With --mute SOCKET it is no logind but a server
# (a system bus, or an X server) that accepts connections on SOCKET ("@NAME": abstract) and never
# answers them.
import os
import pwd
import signal
import socket
import sys

from gi.repository import Gio, GLib

ROOT = "/org/freedesktop/login1"
SESSION_ID = "c1"
SESSION = f"{ROOT}/session/{SESSION_ID}"
UID = os.getuid()
USER = f"{ROOT}/user/_{UID}"
SEAT = f"{ROOT}/seat/seat0"
# logind's order of the "what" list.
WHATS = ["shutdown", "sleep", "idle", "handle-power-key", "handle-suspend-key", "handle-hibernate-key",
         "handle-lid-switch", "handle-reboot-key"]
CAN = ["CanPowerOff", "CanReboot", "CanSuspend", "CanHibernate", "CanHybridSleep", "CanSuspendThenHibernate",
       "CanRebootToBootLoaderMenu", "CanRebootToFirmwareSetup"]

MANAGER_METHODS = f"""
  {"".join(f'<method name="{m}"><arg type="s" direction="out"/></method>' for m in CAN)}
  <method name="GetSession"><arg type="s" direction="in"/><arg type="o" direction="out"/></method>
  <method name="GetSessionByPID"><arg type="u" direction="in"/><arg type="o" direction="out"/></method>
  <method name="GetUser"><arg type="u" direction="in"/><arg type="o" direction="out"/></method>
  <method name="ListSessions"><arg type="a(susso)" direction="out"/></method>
  <method name="Inhibit"><arg type="s" direction="in"/><arg type="s" direction="in"/>
    <arg type="s" direction="in"/><arg type="s" direction="in"/><arg type="h" direction="out"/></method>
  <method name="ListInhibitors"><arg type="a(ssssuu)" direction="out"/></method>
  <method name="LockSession"><arg type="s" direction="in"/></method>
  <method name="UnlockSession"><arg type="s" direction="in"/></method>
  <method name="LockSessions"/>
  <method name="UnlockSessions"/>
  <signal name="PrepareForSleep"><arg type="b"/></signal>
  <signal name="PrepareForShutdown"><arg type="b"/></signal>"""

SESSION_METHODS = """
  <method name="SetLockedHint"><arg type="b" direction="in"/></method>
  <method name="SetIdleHint"><arg type="b" direction="in"/></method>
  <method name="Lock"/>
  <method name="Unlock"/>
  <method name="Activate"/>
  <signal name="Lock"/>
  <signal name="Unlock"/>"""

GDM_METHODS = """
  <method name="RegisterSession"><arg type="a{sv}" direction="in"/></method>
  <method name="RegisterDisplay"><arg type="a{ss}" direction="in"/></method>"""

NO_CHANGED_SIGNALS = "--no-changed-signals" in sys.argv[1:]
DISPLAY_MANAGER = "--display-manager" in sys.argv[1:]

inhibitors = {}  # read end of the pipe -> (what, who, why, mode, uid, pid)
session = {"LockedHint": False, "IdleHint": False}
connection = None


def say(line):
    print(line, flush=True)


def inhibited(mode):
    held = {w for what, _, _, m, _, _ in inhibitors.values() if m == mode for w in what.split(":")}
    return ":".join(w for w in WHATS if w in held)


def changed(path, interface, values):
    connection.emit_signal(None, path, "org.freedesktop.DBus.Properties", "PropertiesChanged",
                           GLib.Variant("(sa{sv}as)", (interface, values, [])))


def inhibitors_changed(before):
    if NO_CHANGED_SIGNALS:
        return
    values = {}
    for name, mode in (("BlockInhibited", "block"), ("DelayInhibited", "delay")):
        if inhibited(mode) != before[name]:
            values[name] = GLib.Variant("s", inhibited(mode))
    if values:
        changed(ROOT, "org.freedesktop.login1.Manager", values)


def snapshot():
    return {name: value for name, (_, value) in manager_properties().items()}


def caller(sender, method):
    return connection.call_sync("org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus", method,
                                GLib.Variant("(s)", (sender,)), GLib.VariantType("(u)"),
                                Gio.DBusCallFlags.NONE, -1, None)[0]


def on_released(fd, _condition):
    entry = inhibitors.get(fd)
    if entry is None:
        return False
    # Anything written into the pipe is not ours to read; only the end of it counts.
    try:
        if os.read(fd, 4096):
            return True
    except OSError:
        pass
    before = snapshot()
    del inhibitors[fd]
    os.close(fd)
    say(f"released {entry[0]} {entry[3]} {entry[1]}")
    inhibitors_changed(before)
    return False


def inhibit(sender, params, invocation):
    what, who, why, mode = params
    whats = what.split(":")
    if not what or any(w not in WHATS for w in whats) or mode not in ("block", "delay") or \
            (mode == "delay" and any(w not in ("sleep", "shutdown") for w in whats)):
        invocation.return_dbus_error("org.freedesktop.DBus.Error.InvalidArgs", f"invalid inhibitor {what} {mode}")
        return
    before = snapshot()
    read_end, write_end = os.pipe()
    inhibitors[read_end] = (what, who, why, mode, caller(sender, "GetConnectionUnixUser"),
                            caller(sender, "GetConnectionUnixProcessID"))
    GLib.unix_fd_add_full(GLib.PRIORITY_DEFAULT, read_end, GLib.IOCondition.IN | GLib.IOCondition.HUP,
                          on_released)
    fds = Gio.UnixFDList.new()
    fds.append(write_end)
    os.close(write_end)
    invocation.return_value_with_unix_fd_list(GLib.Variant("(h)", (0,)), fds)
    say(f"inhibit {what} {mode} {who}")
    inhibitors_changed(before)


def lock(locked):
    connection.emit_signal(None, SESSION, "org.freedesktop.login1.Session", "Lock" if locked else "Unlock", None)
    say("lock" if locked else "unlock")


def on_manager(_conn, sender, _path, _interface, method, params, invocation):
    params = params.unpack()
    if method in CAN:
        invocation.return_value(GLib.Variant("(s)", ("na",)))
    elif method in ("GetSession", "GetSessionByPID"):
        if method == "GetSession" and params[0] not in (SESSION_ID, "self", "auto"):
            invocation.return_dbus_error("org.freedesktop.login1.NoSuchSession", f"no session {params[0]}")
        else:
            invocation.return_value(GLib.Variant("(o)", (SESSION,)))
    elif method == "GetUser":
        if params[0] != UID:
            invocation.return_dbus_error("org.freedesktop.login1.NoSuchUser", f"no user {params[0]}")
        else:
            invocation.return_value(GLib.Variant("(o)", (USER,)))
    elif method == "ListSessions":
        invocation.return_value(GLib.Variant("(a(susso))", ([(SESSION_ID, UID, user_name(), "seat0", SESSION)],)))
    elif method == "Inhibit":
        inhibit(sender, params, invocation)
    elif method == "ListInhibitors":
        invocation.return_value(GLib.Variant("(a(ssssuu))", (list(inhibitors.values()),)))
    elif method in ("LockSession", "UnlockSession") and params[0] not in (SESSION_ID, "self", "auto"):
        invocation.return_dbus_error("org.freedesktop.login1.NoSuchSession", f"no session {params[0]}")
    else:  # Lock/UnlockSession(s)
        invocation.return_value(None)
        lock(method.startswith("Lock"))


def on_session(_conn, _sender, _path, _interface, method, params, invocation):
    invocation.return_value(None)
    if method == "SetLockedHint":
        session["LockedHint"] = params[0]
        say(f"locked-hint {str(params[0]).lower()}")
        changed(SESSION, "org.freedesktop.login1.Session", {"LockedHint": GLib.Variant("b", params[0])})
    elif method == "SetIdleHint":
        session["IdleHint"] = params[0]
    elif method in ("Lock", "Unlock"):
        lock(method == "Lock")


def user_name():
    try:
        return pwd.getpwuid(UID).pw_name
    except KeyError:
        return str(UID)


# Each interface's properties, name -> (type, value): read for every Get, and for the XML.
def manager_properties():
    return {"BlockInhibited": ("s", inhibited("block")), "DelayInhibited": ("s", inhibited("delay")),
            "IdleHint": ("b", False), "PreparingForSleep": ("b", False), "PreparingForShutdown": ("b", False)}


def session_properties():
    return {"Id": ("s", SESSION_ID), "User": ("(uo)", (UID, USER)), "Name": ("s", user_name()),
            "Type": ("s", "wayland"), "Class": ("s", "user"), "Active": ("b", True), "Remote": ("b", False),
            "State": ("s", "active"), "Seat": ("(so)", ("seat0", SEAT)), "LockedHint": ("b", session["LockedHint"]),
            "IdleHint": ("b", session["IdleHint"])}


def user_properties():
    return {"UID": ("u", UID), "Name": ("s", user_name()), "State": ("s", "active"),
            "Display": ("(so)", (SESSION_ID, SESSION)), "Sessions": ("a(so)", [(SESSION_ID, SESSION)])}


def gdm_properties():
    return {"Version": ("s", "43.0")}


def on_gdm(_conn, _sender, _path, _interface, _method, _params, invocation):
    invocation.return_value(None)


def register(path, name, methods, properties, on_call):
    xml = "".join(f'<property name="{n}" type="{t}" access="read"/>' for n, (t, _) in properties().items())
    info = Gio.DBusNodeInfo.new_for_xml(f'<node><interface name="{name}">{methods}{xml}</interface></node>')
    connection.register_object(path, info.interfaces[0], on_call,
                               lambda _c, _s, _p, _i, prop: GLib.Variant(*properties()[prop]), None)


def mute(path):
    listener = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
    listener.bind("\0" + path[1:] if path.startswith("@") else path)
    listener.listen(16)
    say("ready")
    held = []
    while True:
        held.append(listener.accept()[0])


def main():
    global connection
    if "--mute" in sys.argv[1:]:
        mute(sys.argv[sys.argv.index("--mute") + 1])
        return
    loop = GLib.MainLoop()
    connection = Gio.bus_get_sync(Gio.BusType.SYSTEM, None)
    register(ROOT, "org.freedesktop.login1.Manager", MANAGER_METHODS, manager_properties, on_manager)
    for path in (SESSION, f"{ROOT}/session/self", f"{ROOT}/session/auto"):
        register(path, "org.freedesktop.login1.Session", SESSION_METHODS, session_properties, on_session)
    for path in (USER, f"{ROOT}/user/self"):
        register(path, "org.freedesktop.login1.User", "", user_properties, None)
    names = ["org.freedesktop.login1"]
    if DISPLAY_MANAGER:
        register("/org/gnome/DisplayManager/Manager", "org.gnome.DisplayManager.Manager", GDM_METHODS, gdm_properties,
                 on_gdm)
        names.append("org.gnome.DisplayManager")
    pending = set(names)

    def acquired(_conn, name):
        pending.discard(name)
        if not pending:
            say("ready")

    def lost(_conn, name):
        print(f"could not own {name}", file=sys.stderr)
        loop.quit()

    owned = [Gio.bus_own_name_on_connection(connection, name, Gio.BusNameOwnerFlags.DO_NOT_QUEUE, acquired, lost)
             for name in names]
    for s in (signal.SIGTERM, signal.SIGINT):
        GLib.unix_signal_add(GLib.PRIORITY_DEFAULT, s, loop.quit)
    loop.run()
    for o in owned:
        Gio.bus_unown_name(o)


main()

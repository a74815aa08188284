// The X server's idle time as an idle source.
//
// Features and limits:
// - One XSync alarm on the system counter IDLETIME, re-armed after each firing (the test types are
//   in x11_idle_logic.h). The server wakes us; there is no timer. Clients that reset the server's
//   saver (XResetScreenSaver, `xdg-screensaver reset`) set IDLETIME back to 0 themselves.
// - Saver suspensions (XScreenSaverSuspend(True): SDL, mpv) change nothing a client can watch:
//   IDLETIME keeps counting, MIT-SCREEN-SAVER sends no event and QueryInfo's state stays Off. The
//   X-Resource extension lists each client's resources by type, and the X.Org server (Xorg, Xvfb,
//   Xwayland) files a suspension as a resource of type "SaverSuspend". So when the idle alarm
//   fires we ask each client (one request each, once per idle stretch); under a suspension we wait
//   for IDLETIME to drop, which the server does when the last suspension ends, and count a whole
//   idle stretch from there. Without X-Resource suspensions go unseen (name() says so).
// - The server's saver switched off after the watcher started (`xset s off`, as xdg-screensaver
//   suspend does outside a desktop) is an inhibition the watcher asks about (inhibitions()): one
//   request for the timeout when the session is idle, re-asked while it stays idle and inhibited.
// - Changes no server setting: it creates one alarm, interns one atom and reads.
// - The server going away: libX11 (1.7 and later) lets the display's I/O error exit handler return
//   instead of exiting the process; the handler marks the source gone and the calls Xlib makes on
//   that display afterwards return at once, so dispatch() reports Gone without a longjmp.
// - Xlib's error handlers are process-wide: ours act on this source's display only and hand any
//   other display's errors to the handlers that were there before.
#include <X11/Xlib.h>
#include <X11/extensions/XRes.h>
#include <X11/extensions/sync.h>
// X.h's None (0) would rename IdleEvent::None; X ids use NO_ID below.
#undef None

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>

#include "idle/idle_source.h"
#include "idle/x11_idle_logic.h"

namespace smokedrift::idle {
namespace {

constexpr XID NO_ID = 0;

struct X11IdleState {
    Display* display = nullptr;
    int syncEventBase = 0;
    XSyncCounter idleTime = NO_ID;
    XSyncAlarm alarm = NO_ID;
    Atom suspensionType = NO_ID;  // none without X-Resource
    std::uint32_t milliseconds = 0;
    bool gone = false;
    bool failed = false;  // a request on this display was refused
    X11IdleLogic logic;
};

// The one display our handlers speak for, and the handlers they stand in front of.
X11IdleState* watched = nullptr;
XErrorHandler previousErrorHandler = nullptr;
XIOErrorHandler previousIOErrorHandler = nullptr;

int onError(Display* display, XErrorEvent* error) {
    if (watched != nullptr && display == watched->display) {
        // A client gone between the list of clients and the question about its resources is
        // expected; the caller treats any refusal as "nothing there".
        watched->failed = true;
        return 0;
    }
    return previousErrorHandler != nullptr ? previousErrorHandler(display, error) : 0;
}

int onIOError(Display* display) {
    // Xlib's default handler prints a message and exits; returning lets the display's exit
    // handler below run, and the watcher prints its own line when the source reports Gone.
    if (watched != nullptr && display == watched->display) return 0;
    return previousIOErrorHandler != nullptr ? previousIOErrorHandler(display) : 0;
}

void onIOErrorExit(Display*, void* state) { static_cast<X11IdleState*>(state)->gone = true; }

XSyncCounter findIdleTime(Display* display) {
    int count = 0;
    XSyncSystemCounter* counters = XSyncListSystemCounters(display, &count);
    XSyncCounter found = NO_ID;
    for (int i = 0; i < count; ++i) {
        if (std::strcmp(counters[i].name, "IDLETIME") == 0) found = counters[i].counter;
    }
    if (counters != nullptr) XSyncFreeSystemCounterList(counters);
    return found;
}

bool hasResourceExtension(Display* display) {
    int eventBase = 0, errorBase = 0, major = 0, minor = 0;
    return XResQueryExtension(display, &eventBase, &errorBase) && XResQueryVersion(display, &major, &minor);
}

void arm(X11IdleState& s, X11IdleLogic::Alarm alarm) {
    XSyncAlarmAttributes a{};
    a.trigger.counter = s.idleTime;
    a.trigger.value_type = XSyncAbsolute;
    const X11IdleLogic::Test t = X11IdleLogic::test(alarm, s.milliseconds);
    XSyncIntsToValue(&a.trigger.wait_value, static_cast<unsigned>(t.value & 0xffffffff),
                     static_cast<int>(t.value >> 32));
    a.trigger.test_type = t.rising ? XSyncPositiveComparison : XSyncNegativeComparison;
    // Delta 0: a comparison alarm fires once and goes inactive until changed again.
    XSyncIntToValue(&a.delta, 0);
    a.events = True;
    const unsigned long mask =
        XSyncCACounter | XSyncCAValueType | XSyncCAValue | XSyncCATestType | XSyncCADelta | XSyncCAEvents;
    if (s.alarm == NO_ID) {
        s.alarm = XSyncCreateAlarm(s.display, mask, &a);
    } else {
        XSyncChangeAlarm(s.display, s.alarm, mask, &a);
    }
    XFlush(s.display);
}

bool suspensionHeld(X11IdleState& s) {
    if (s.suspensionType == NO_ID) return false;
    int count = 0;
    XResClient* clients = nullptr;
    XResQueryClients(s.display, &count, &clients);
    bool held = false;
    for (int i = 0; i < count && !held && !s.gone; ++i) {
        int types = 0;
        XResType* list = nullptr;
        XResQueryClientResources(s.display, clients[i].resource_base, &types, &list);
        for (int j = 0; j < types; ++j) {
            if (list[j].resource_type == s.suspensionType && list[j].count > 0) held = true;
        }
        if (list != nullptr) XFree(list);
    }
    if (clients != nullptr) XFree(clients);
    s.failed = false;
    return held;
}

int saverTimeout(Display* display) {
    int timeout = 0, interval = 0, blanking = 0, exposures = 0;
    XGetScreenSaver(display, &timeout, &interval, &blanking, &exposures);
    return timeout;
}

class SaverSwitchedOff final : public InhibitionCheck {
public:
    explicit SaverSwitchedOff(X11IdleState& s) : s_(s), switch_(saverTimeout(s.display)) {}

    Holding check() override {
        Holding h;
        if (s_.gone || !switch_.inhibits(saverTimeout(s_.display)) || s_.gone) return h;
        h.held = true;
        h.holders = "the X server's saver switched off (xset s off, as xdg-screensaver suspend does)";
        h.recheckMs = RECHECK_MS;
        return h;
    }
    void list(std::vector<Inhibitor>& out) override {
        if (check().held) out.push_back({"the X server's saver", "xset s off", "as xdg-screensaver suspend does", 0});
    }

private:
    X11IdleState& s_;
    ServerSaverSwitch switch_;
};

class X11IdleSource final : public IdleSource {
public:
    explicit X11IdleSource(X11IdleState state) : s_(state) {
        watched = &s_;
        previousErrorHandler = XSetErrorHandler(onError);
        previousIOErrorHandler = XSetIOErrorHandler(onIOError);
        XSetIOErrorExitHandler(s_.display, onIOErrorExit, &s_);
    }

    ~X11IdleSource() override {
        if (!s_.gone && s_.alarm != NO_ID) XSyncDestroyAlarm(s_.display, s_.alarm);
        // After an I/O error Xlib sends nothing more; closing only frees the display.
        XCloseDisplay(s_.display);
        XSetErrorHandler(previousErrorHandler);
        XSetIOErrorHandler(previousIOErrorHandler);
        watched = nullptr;
    }

    const char* name() const override {
        // Without X-Resource, players' saver suspensions go unseen: say so.
        return s_.suspensionType != NO_ID ? "X11 XSync IDLETIME with X-Resource"
                                          : "X11 XSync IDLETIME without X-Resource, blind to saver suspensions";
    }

    bool start(std::uint32_t milliseconds) override {
        s_.milliseconds = milliseconds;
        switchedOff_.emplace(s_);
        arm(s_, s_.logic.start());
        XSync(s_.display, False);
        if (s_.failed || s_.gone) {
            std::fprintf(stderr, "X11: the server refused an alarm on its idle time\n");
            return false;
        }
        return true;
    }

    int fd() const override { return ConnectionNumber(s_.display); }

    // What Xlib queued while a request waited for its reply (the saver switch's XGetScreenSaver
    // while idle and inhibited may read the alarm that says the user is back), and a server gone.
    bool pending() override { return s_.gone || XQLength(s_.display) > 0; }

    IdleEvent dispatch() override {
        // XPending reads what arrived; an I/O error inside it or any later call lands in
        // onIOErrorExit.
        while (!s_.gone && XPending(s_.display) > 0) {
            XEvent event;
            XNextEvent(s_.display, &event);
            if (event.type != s_.syncEventBase + XSyncAlarmNotify) continue;
            const auto& fired = reinterpret_cast<const XSyncAlarmNotifyEvent&>(event);
            if (fired.alarm != s_.alarm || fired.state == XSyncAlarmDestroyed) continue;
            const bool suspended = s_.logic.asksSuspension() && suspensionHeld(s_);
            const X11IdleLogic::Step step = s_.logic.fired(suspended);
            arm(s_, step.next);
            // The server may have gone during the questions: no Idle for a session that ended.
            if (step.event != IdleEvent::None) return s_.gone ? IdleEvent::Gone : step.event;
        }
        return s_.gone ? IdleEvent::Gone : IdleEvent::None;
    }

    InhibitionCheck* inhibitions() override { return switchedOff_ ? &*switchedOff_ : nullptr; }

private:
    X11IdleState s_;
    std::optional<SaverSwitchedOff> switchedOff_;
};

}  // namespace

std::unique_ptr<IdleSource> openX11IdleSource(const SessionEnvironment& session) {
    if (session.x11Display.empty() || watched != nullptr) return nullptr;
    Display* display = XOpenDisplay(session.x11Display.c_str());
    if (display == nullptr) return nullptr;
    X11IdleState s;
    s.display = display;
    int errorBase = 0, major = 0, minor = 0;
    if (XSyncQueryExtension(display, &s.syncEventBase, &errorBase) && XSyncInitialize(display, &major, &minor)) {
        s.idleTime = findIdleTime(display);
    }
    if (s.idleTime == NO_ID) {
        XCloseDisplay(display);
        return nullptr;
    }
    // The name the X.Org server gives the resource XScreenSaverSuspend creates.
    if (hasResourceExtension(display)) s.suspensionType = XInternAtom(display, "SaverSuspend", False);
    return std::make_unique<X11IdleSource>(s);
}

}  // namespace smokedrift::idle

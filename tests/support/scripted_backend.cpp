// The scripted window system: surfaces that are only handles, a script of events and a clock
// that moves only when the test says, under the product's Win32 emulation.
#include <algorithm>
#include <cstring>

#include "platform/win32/window_backend.h"
#include "scripted_state.h"

namespace smokedrift::scripted {

namespace {

constexpr std::uintptr_t DESKTOP = 0x1;
constexpr std::uintptr_t CONTEXT = 0x6C0001;
const HWND DIALOG = reinterpret_cast<HWND>(0xD1A);

bool alive(HWND window) {
    const auto& s = state().surfaces;
    return std::find(s.begin(), s.end(), window) != s.end();
}

// Events arrive only when the application waits for them, as the script says: the actions up to
// the next message run and the message is posted; an elapse moves the clock on, to its end or to
// the timeout if that comes first. With nothing left to deliver, nothing ever will be: the run ends.
void waitEvents(int timeoutMs) {
    ScriptedState& s = state();
    while (!s.script.empty()) {
        ScriptStep& step = s.script.front();
        if (step.kind == ScriptStep::Kind::Elapse) {
            if (!step.started) {
                step.started = true;
                step.until = s.clock + step.milliseconds;
            }
            const std::uint64_t left = step.until - s.clock;
            const bool sooner = timeoutMs >= 0 && static_cast<std::uint64_t>(timeoutMs) < left;
            s.clock += sooner ? static_cast<std::uint64_t>(timeoutMs) : left;
            if (s.clock >= step.until) s.script.pop_front();
            return;
        }
        ScriptStep taken = std::move(step);
        s.script.pop_front();
        if (taken.kind == ScriptStep::Kind::Action) {
            taken.action();
            // What the action posted or sent is handled before the run may end.
            if (s.script.empty()) return;
            continue;
        }
        const HWND target = taken.msg.hwnd != nullptr ? taken.msg.hwnd : s.lastCreated;
        record("delivered", taken.msg.message, taken.msg.wParam);
        platform::post(target, taken.msg.message, taken.msg.wParam, taken.msg.lParam);
        return;
    }
    s.scriptRanOut = true;
    PostQuitMessage(0);
}

// Nothing has arrived that the application did not wait for.
void pumpEvents() {}

bool connect() { return true; }
int exitCode(int quitCode) { return quitCode; }

HWND createSurface(platform::SurfaceRequest& r) {
    record("createSurface", r.exStyle, r.style, u(r.parent), static_cast<std::uintptr_t>(r.role));
    record("createSurface.rect", static_cast<std::uintptr_t>(r.x), static_cast<std::uintptr_t>(r.y),
           static_cast<std::uintptr_t>(r.width), static_cast<std::uintptr_t>(r.height));
    ScriptedState& s = state();
    if (r.parent != nullptr && s.foreign.count(u(r.parent)) == 0) return nullptr;
    const HWND window = reinterpret_cast<HWND>(s.nextHandle++);
    s.surfaces.push_back(window);
    s.lastCreated = window;
    return window;
}

void showSurface(HWND window) { record("showSurface", u(window)); }

void destroySurface(HWND window) {
    auto& s = state().surfaces;
    s.erase(std::remove(s.begin(), s.end(), window), s.end());
}

int clipBox(HWND window, RECT* rect) {
    if (window != reinterpret_cast<HWND>(DESKTOP) && state().windowsHidden) return NULLREGION;
    *rect = state().screen;
    return SIMPLEREGION;
}

HWND desktop() { return reinterpret_cast<HWND>(DESKTOP); }

bool otherWindow(HWND window, platform::OtherWindow* info) {
    const auto it = state().foreign.find(u(window));
    if (it == state().foreign.end()) return false;
    *info = platform::OtherWindow{nullptr, it->second.width, it->second.height};
    return true;
}

HWND findOtherWindow(LPCSTR className, LPCSTR title) {
    for (const auto& [handle, w] : state().foreign) {
        if (w.className == className && w.title == title) return reinterpret_cast<HWND>(handle);
    }
    return nullptr;
}

bool postToOther(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (state().foreign.count(u(window)) == 0) return false;
    MSG m = {};
    m.hwnd = window;
    m.message = message;
    m.wParam = wParam;
    m.lParam = lParam;
    state().posted.push_back(m);
    return true;
}

HWND foreground() {
    record("foreground");
    return state().foreground;
}

bool setForeground(HWND window) {
    record("setForeground", u(window));
    state().foreground = window;
    return true;
}

UINT registerMessage(LPCSTR name) {
    record("registerMessage", std::strcmp(name, "QueryCancelAutoPlay") == 0 ? 1 : 0);
    return 0xC123;
}

void hideCursor(bool hidden) {
    record("hideCursor", hidden ? 1 : 0);
    state().cursorHidden = hidden;
}

bool cursorPos(POINT* point) {
    *point = state().cursor;
    return true;
}

int choosePixelFormat(const PIXELFORMATDESCRIPTOR& want) {
    record("choosePixelFormat", want.dwFlags, want.cAlphaBits, want.cDepthBits);
    return state().chosenFormat;
}

int describePixelFormat(int format, PIXELFORMATDESCRIPTOR* descriptor) {
    const auto& formats = state().pixelFormats;
    if (format >= 1 && static_cast<std::size_t>(format) <= formats.size()) {
        *descriptor = formats[static_cast<std::size_t>(format) - 1];
    }
    return static_cast<int>(formats.size());
}

bool setPixelFormat(HWND window, int format) {
    record("setPixelFormat", u(window), static_cast<std::uintptr_t>(format));
    return true;
}

HGLRC createContext(HWND window) {
    record("createContext", u(window));
    return reinterpret_cast<HGLRC>(CONTEXT);
}

bool makeCurrent(HWND window, HGLRC context) {
    record("makeCurrent", u(window), u(context));
    return true;
}

bool deleteContext(HGLRC context) {
    record("deleteContext", u(context));
    return true;
}

bool swapBuffers(HWND window) {
    record("swapBuffers", u(window));
    return true;
}

// No extensions in the scripted world: callers must cope with a missing entry point.
PROC procAddress(LPCSTR name) {
    record("procAddress", u(name));
    return nullptr;
}

bool fontBitmaps(DWORD first, DWORD count, DWORD listBase) {
    record("fontBitmaps", first, count, listBase);
    return true;
}

INT_PTR dialogBox(WORD templateId, HWND owner, DLGPROC dialogProc, LPARAM) {
    record("dialogBox", templateId, u(owner));
    ScriptedState& s = state();
    if (s.dialogTemplateMissing) return -1;
    s.dialogEnded = false;
    dialogProc(DIALOG, WM_INITDIALOG, 0, 0);
    for (WORD button : s.dialogButtons) {
        dialogProc(DIALOG, WM_COMMAND, button, 0);
        if (s.dialogEnded) return s.dialogResult;
    }
    return -1;
}

bool endDialog(HWND dialog, INT_PTR result) {
    record("endDialog", u(dialog), static_cast<std::uintptr_t>(result));
    state().dialogEnded = true;
    state().dialogResult = result;
    return true;
}

const platform::WindowBackend table = SMOKEDRIFT_BACKEND_TABLE("scripted");

ScriptStep step(ScriptStep::Kind kind) {
    ScriptStep s;
    s.kind = kind;
    return s;
}

}  // namespace

void resetBackend() { platform::useBackend(table); }

void deliver(UINT message, WPARAM wParam, LPARAM lParam, HWND window) {
    ScriptStep s = step(ScriptStep::Kind::Deliver);
    s.msg.hwnd = window;
    s.msg.message = message;
    s.msg.wParam = wParam;
    s.msg.lParam = lParam;
    state().script.push_back(s);
}

void then(std::function<void()> action) {
    ScriptStep s = step(ScriptStep::Kind::Action);
    s.action = std::move(action);
    state().script.push_back(s);
}

void elapse(DWORD milliseconds) {
    ScriptStep s = step(ScriptStep::Kind::Elapse);
    s.milliseconds = milliseconds;
    state().script.push_back(s);
}

std::uint64_t now() { return state().clock; }
bool scriptRanOut() { return state().scriptRanOut; }
void setCursorPos(LONG x, LONG y) { state().cursor = {x, y}; }
void setForegroundWindow(HWND window) { state().foreground = window; }
void setScreen(RECT screen) { state().screen = screen; }
void setWindowsHidden(bool hidden) { state().windowsHidden = hidden; }
void pressDialogButtons(std::vector<WORD> buttons) { state().dialogButtons = std::move(buttons); }
void setDialogTemplateMissing() { state().dialogTemplateMissing = true; }

void setPixelFormats(std::vector<PIXELFORMATDESCRIPTOR> formats, int chosen) {
    state().pixelFormats = std::move(formats);
    state().chosenFormat = chosen;
}

void addForeignWindow(HWND window, LONG width, LONG height, const char* className, const char* title) {
    state().foreign[u(window)] = ForeignWindow{className, title, width, height};
}

void removeForeignWindow(HWND window) { state().foreign.erase(u(window)); }

std::vector<MSG> postedTo(HWND window) {
    std::vector<MSG> out;
    for (const MSG& m : state().posted) {
        if (m.hwnd == window) out.push_back(m);
    }
    return out;
}

HWND lastCreatedWindow() { return state().lastCreated; }
bool windowAlive(HWND window) { return alive(window); }
bool cursorHidden() { return state().cursorHidden; }

}  // namespace smokedrift::scripted

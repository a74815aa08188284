// Scripted windows, message queue, cursor and dialog.
#include <cstring>

#include "platform/fake_state.h"

namespace smokedrift::fake {

FakeWindow* findWindow(HWND handle) {
    const auto it = state().windows.find(u(handle));
    return (it != state().windows.end() && it->second.alive) ? &it->second : nullptr;
}

namespace {

MSG makeMsg(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    MSG m = {};
    m.hwnd = window;
    m.message = message;
    m.wParam = wParam;
    m.lParam = lParam;
    return m;
}

LRESULT callProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    FakeWindow* w = findWindow(window);
    if (w == nullptr || w->proc == nullptr) return 0;
    if (window == state().lastCreated) state().receivedBySaver.push_back(message);
    return w->proc(window, message, wParam, lParam);
}

bool matches(const MSG& m, HWND window, UINT low, UINT high) {
    if (window != nullptr && m.hwnd != window) return false;
    if (low == 0 && high == 0) return true;
    return m.message >= low && m.message <= high;
}

}  // namespace

void deliver(UINT message, WPARAM wParam, LPARAM lParam, HWND window) {
    ScriptStep step;
    step.deliver = true;
    step.msg = makeMsg(window, message, wParam, lParam);
    state().script.push_back(step);
}

void then(std::function<void()> action) {
    ScriptStep step;
    step.action = std::move(action);
    state().script.push_back(step);
}

bool scriptRanOut() { return state().scriptRanOut; }
void setCursorPos(LONG x, LONG y) { state().cursor = {x, y}; }
void setForegroundWindow(HWND window) { state().foreground = window; }
void setScreen(RECT screen) { state().screen = screen; }
void setWindowsHidden(bool hidden) { state().windowsHidden = hidden; }
void pressDialogButtons(std::vector<WORD> buttons) { state().dialogButtons = std::move(buttons); }
void setDialogTemplateMissing() { state().dialogTemplateMissing = true; }

void addForeignWindow(HWND window, LONG width, LONG height, const char* className, const char* title) {
    FakeWindow w;
    w.handle = window;
    w.width = width;
    w.height = height;
    w.className = className;
    w.title = title;
    state().windows[u(window)] = w;
}

void removeForeignWindow(HWND window) { state().windows.erase(u(window)); }

std::vector<MSG> postedTo(HWND window) {
    std::vector<MSG> out;
    for (const MSG& m : state().posted) {
        if (m.hwnd == window) out.push_back(m);
    }
    return out;
}

std::vector<UINT> receivedBySaver() { return state().receivedBySaver; }
HWND lastCreatedWindow() { return state().lastCreated; }
bool windowAlive(HWND window) { return findWindow(window) != nullptr; }
bool cursorHidden() { return state().cursorHidden; }

}  // namespace smokedrift::fake

using namespace smokedrift::fake;

HICON WINAPI LoadIconA(HINSTANCE, LPCSTR name) {
    record("LoadIconA", reinterpret_cast<std::uintptr_t>(name));
    return reinterpret_cast<HICON>(0x100);
}

HGDIOBJ WINAPI GetStockObject(int object) { return reinterpret_cast<HGDIOBJ>(0x200 + object); }

ATOM WINAPI RegisterClassA(const WNDCLASSA* windowClass) {
    record("RegisterClassA", windowClass->style, u(windowClass->hIcon), u(windowClass->hbrBackground));
    state().classes[windowClass->lpszClassName] = windowClass->lpfnWndProc;
    return 1;
}

HWND WINAPI CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR title, DWORD style, int x, int y, int width,
                            int height, HWND parent, HMENU, HINSTANCE, LPVOID) {
    record("CreateWindowExA", exStyle, style, u(parent));
    record("CreateWindowExA.rect", static_cast<std::uintptr_t>(x), static_cast<std::uintptr_t>(y),
           static_cast<std::uintptr_t>(width), static_cast<std::uintptr_t>(height));
    const auto cls = state().classes.find(className);
    if (cls == state().classes.end()) return nullptr;
    FakeWindow w;
    w.handle = reinterpret_cast<HWND>(state().nextHandle++);
    w.parent = parent;
    w.proc = cls->second;
    w.className = className;
    w.title = title;
    w.width = width;
    w.height = height;
    state().windows[u(w.handle)] = w;
    state().lastCreated = w.handle;
    if (callProc(w.handle, WM_CREATE, 0, 0) == -1) {
        state().windows[u(w.handle)].alive = false;
        return nullptr;
    }
    if (style & WS_VISIBLE) callProc(w.handle, WM_SHOWWINDOW, TRUE, 0);
    return w.handle;
}

HWND WINAPI GetDesktopWindow() { return reinterpret_cast<HWND>(0x1); }

BOOL WINAPI IsWindow(HWND window) { return findWindow(window) != nullptr; }

HWND WINAPI GetParent(HWND window) {
    FakeWindow* w = findWindow(window);
    return w != nullptr ? w->parent : nullptr;
}

BOOL WINAPI GetClientRect(HWND window, LPRECT rect) {
    FakeWindow* w = findWindow(window);
    if (w == nullptr) return FALSE;
    *rect = RECT{0, 0, w->width, w->height};
    return TRUE;
}

HWND WINAPI FindWindowA(LPCSTR className, LPCSTR title) {
    for (auto& [handle, w] : state().windows) {
        if (w.alive && w.className == className && w.title == title) return w.handle;
    }
    return nullptr;
}

HWND WINAPI GetForegroundWindow() {
    record("GetForegroundWindow");
    return state().foreground;
}

BOOL WINAPI SetForegroundWindow(HWND window) {
    record("SetForegroundWindow", u(window));
    state().foreground = window;
    return TRUE;
}

UINT WINAPI RegisterWindowMessageA(LPCSTR name) {
    record("RegisterWindowMessageA", std::strcmp(name, "QueryCancelAutoPlay") == 0 ? 1 : 0);
    return 0xC123;
}

BOOL WINAPI GetMessageA(LPMSG msg, HWND, UINT, UINT) {
    FakeState& s = state();
    for (;;) {
        if (s.quitPosted) {
            *msg = MSG{};
            msg->message = WM_QUIT;
            msg->wParam = static_cast<WPARAM>(s.quitCode);
            return FALSE;
        }
        if (!s.queue.empty()) {
            *msg = s.queue.front();
            s.queue.pop_front();
            return TRUE;
        }
        if (s.script.empty()) {
            s.scriptRanOut = true;
            *msg = MSG{};
            msg->message = WM_QUIT;
            return FALSE;
        }
        // Actions run together with the message scripted after them, ahead of anything they post.
        while (!s.script.empty()) {
            ScriptStep step = std::move(s.script.front());
            s.script.pop_front();
            if (step.action) step.action();
            if (step.deliver) {
                *msg = step.msg;
                if (msg->hwnd == nullptr) msg->hwnd = s.lastCreated;
                return TRUE;
            }
        }
    }
}

BOOL WINAPI PeekMessageA(LPMSG msg, HWND window, UINT low, UINT high, UINT flags) {
    record("PeekMessageA", u(window), low, high, flags);
    auto& q = state().queue;
    for (auto it = q.begin(); it != q.end(); ++it) {
        if (!matches(*it, window, low, high)) continue;
        *msg = *it;
        if (flags & PM_REMOVE) q.erase(it);
        return TRUE;
    }
    return FALSE;
}

BOOL WINAPI TranslateMessage(const MSG*) { return FALSE; }

LRESULT WINAPI DispatchMessageA(const MSG* msg) { return callProc(msg->hwnd, msg->message, msg->wParam, msg->lParam); }

LRESULT WINAPI SendMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    record("SendMessageA", u(window), message, wParam, static_cast<std::uintptr_t>(lParam));
    return callProc(window, message, wParam, lParam);
}

BOOL WINAPI PostMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    FakeWindow* w = findWindow(window);
    if (w == nullptr) return FALSE;
    const MSG m = makeMsg(window, message, wParam, lParam);
    state().posted.push_back(m);
    // A window of another process gets it in its own queue, not ours.
    if (w->proc != nullptr) state().queue.push_back(m);
    return TRUE;
}

void WINAPI PostQuitMessage(int exitCode) {
    record("PostQuitMessage", static_cast<std::uintptr_t>(exitCode));
    state().quitPosted = true;
    state().quitCode = exitCode;
}

LRESULT WINAPI DefWindowProcA(HWND window, UINT message, WPARAM wParam, LPARAM) {
    record("DefWindowProcA", u(window), message, wParam);
    if (message == WM_CLOSE && findWindow(window) != nullptr) {
        callProc(window, WM_DESTROY, 0, 0);
        state().windows[u(window)].alive = false;
        // Whatever was still queued for the window dies with it.
        std::erase_if(state().queue, [&](const MSG& m) { return m.hwnd == window; });
    }
    return 0;
}

HCURSOR WINAPI SetCursor(HCURSOR cursor) {
    record("SetCursor", u(cursor));
    state().cursorHidden = cursor == nullptr;
    return nullptr;
}

BOOL WINAPI GetCursorPos(LPPOINT point) {
    *point = state().cursor;
    return TRUE;
}

UINT_PTR WINAPI SetTimer(HWND window, UINT_PTR id, UINT elapse, TIMERPROC) {
    record("SetTimer", u(window), id, elapse);
    return id;
}

BOOL WINAPI KillTimer(HWND window, UINT_PTR id) {
    record("KillTimer", u(window), id);
    return TRUE;
}

INT_PTR WINAPI DialogBoxParamA(HINSTANCE, LPCSTR templateName, HWND owner, DLGPROC dialogProc, LPARAM) {
    record("DialogBoxParamA", reinterpret_cast<std::uintptr_t>(templateName), u(owner));
    FakeState& s = state();
    if (s.dialogTemplateMissing) return -1;
    const HWND dialog = reinterpret_cast<HWND>(0xD1A);
    s.dialogEnded = false;
    dialogProc(dialog, WM_INITDIALOG, 0, 0);
    for (WORD button : s.dialogButtons) {
        dialogProc(dialog, WM_COMMAND, button, 0);
        if (s.dialogEnded) return s.dialogResult;
    }
    return -1;
}

BOOL WINAPI EndDialog(HWND dialog, INT_PTR result) {
    record("EndDialog", u(dialog), static_cast<std::uintptr_t>(result));
    state().dialogEnded = true;
    state().dialogResult = result;
    return TRUE;
}

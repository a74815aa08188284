#include "platform/win32/message_queue.h"

#include <cstdio>
#include <cstring>

namespace smokedrift::platform {

MSG makeMsg(HWND window, UINT message, WPARAM wParam, LPARAM lParam, std::uint64_t now) {
    MSG m = {};
    m.hwnd = window;
    m.message = message;
    m.wParam = wParam;
    m.lParam = lParam;
    m.time = static_cast<DWORD>(now);
    return m;
}

bool MessageQueue::post(const MSG& msg) {
    if (count == QUEUE_SIZE) return false;
    items[(head + count) % QUEUE_SIZE] = msg;
    ++count;
    return true;
}

bool MessageQueue::pop(MSG* msg) {
    if (count == 0) return false;
    *msg = items[head];
    head = (head + 1) % QUEUE_SIZE;
    --count;
    return true;
}

bool MessageQueue::peek(MSG* msg, HWND window, UINT low, UINT high, bool remove) {
    for (int i = 0; i < count; ++i) {
        const MSG& m = items[(head + i) % QUEUE_SIZE];
        if (window != nullptr && m.hwnd != window) continue;
        if (!(low == 0 && high == 0) && (m.message < low || m.message > high)) continue;
        *msg = m;
        if (remove) removeAt(i);
        return true;
    }
    return false;
}

void MessageQueue::dropFor(HWND window) {
    for (int i = count - 1; i >= 0; --i) {
        if (items[(head + i) % QUEUE_SIZE].hwnd == window) removeAt(i);
    }
}

bool MessageQueue::takeQuit(MSG* msg) {
    if (!quitPosted) return false;
    quitPosted = false;
    *msg = MSG{};
    msg->message = WM_QUIT;
    msg->wParam = static_cast<WPARAM>(quitCode);
    return true;
}

// Keeps the order of the rest.
void MessageQueue::removeAt(int index) {
    for (int i = index; i + 1 < count; ++i) items[(head + i) % QUEUE_SIZE] = items[(head + i + 1) % QUEUE_SIZE];
    --count;
}

ATOM ClassTable::add(const WNDCLASSA& windowClass) {
    if (windowClass.lpfnWndProc == nullptr) return 0;
    Entry* slot = nullptr;
    for (Entry& e : entries) {
        if (e.proc != nullptr && std::strcmp(e.name, windowClass.lpszClassName) == 0) slot = &e;
    }
    for (Entry& e : entries) {
        if (slot == nullptr && e.proc == nullptr) slot = &e;
    }
    if (slot == nullptr) return 0;
    std::snprintf(slot->name, sizeof(slot->name), "%s", windowClass.lpszClassName);
    slot->proc = windowClass.lpfnWndProc;
    return static_cast<ATOM>(1 + (slot - entries));
}

WNDPROC ClassTable::find(LPCSTR name) const {
    for (const Entry& e : entries) {
        if (e.proc != nullptr && std::strcmp(e.name, name) == 0) return e.proc;
    }
    return nullptr;
}

UINT_PTR TimerTable::set(HWND window, UINT_PTR id, UINT elapse, std::uint64_t now) {
    Timer* slot = nullptr;
    for (Timer& t : timers) {
        if (t.window == window && t.id == id) slot = &t;
    }
    for (Timer& t : timers) {
        if (slot == nullptr && t.window == nullptr) slot = &t;
    }
    if (slot == nullptr) return 0;
    // Windows does not tick faster than about every 10 ms; neither do we.
    const UINT interval = elapse < 10 ? 10 : elapse;
    *slot = Timer{window, id, interval, now + interval};
    return id;
}

bool TimerTable::kill(HWND window, UINT_PTR id) {
    for (Timer& t : timers) {
        if (t.window == window && t.id == id) {
            t = Timer{};
            return true;
        }
    }
    return false;
}

void TimerTable::dropFor(HWND window) {
    for (Timer& t : timers) {
        if (t.window == window) t = Timer{};
    }
}

bool TimerTable::take(MSG* msg, std::uint64_t now, int& waitMs) {
    Timer* next = nullptr;
    for (Timer& t : timers) {
        if (t.window != nullptr && (next == nullptr || t.due < next->due)) next = &t;
    }
    waitMs = -1;
    if (next == nullptr) return false;
    if (next->due > now) {
        waitMs = static_cast<int>(next->due - now);
        return false;
    }
    next->due = now + next->interval;
    *msg = makeMsg(next->window, WM_TIMER, next->id, 0, now);
    return true;
}

}  // namespace smokedrift::platform

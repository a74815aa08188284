#pragma once
// The window classes, message queue and timers a Win32 thread has: fixed tables, nothing
// allocated while the saver runs. Times are the window system's clock, in milliseconds.
#include <cstdint>

#include "platform/win32/win32_api.h"

namespace smokedrift::platform {

constexpr int QUEUE_SIZE = 256;
constexpr int MAX_TIMERS = 8;
constexpr int MAX_CLASSES = 4;

// The window classes registered, by name.
struct ClassTable {
    struct Entry {
        char name[64] = {};
        WNDPROC proc = nullptr;
    };
    Entry entries[MAX_CLASSES] = {};

    // RegisterClassA: the class's atom, 0 when the table is full or the class has no procedure.
    ATOM add(const WNDCLASSA& windowClass);
    // The procedure of the class of that name, or null.
    WNDPROC find(LPCSTR name) const;
};

struct MessageQueue {
    MSG items[QUEUE_SIZE] = {};
    int head = 0;
    int count = 0;
    bool quitPosted = false;
    int quitCode = 0;

    // False when the queue is full (Windows drops what does not fit too).
    bool post(const MSG& msg);
    // The oldest message, removed; false when there is none.
    bool pop(MSG* msg);
    // The oldest message for `window` (null: any) in [low, high] (0, 0: any), removed if `remove`.
    bool peek(MSG* msg, HWND window, UINT low, UINT high, bool remove);
    // Messages still queued for a window that is going away.
    void dropFor(HWND window);
    // The quit message, once: true and `msg` filled when PostQuitMessage was called.
    bool takeQuit(MSG* msg);

private:
    void removeAt(int index);
};

struct Timer {
    HWND window = nullptr;
    UINT_PTR id = 0;
    UINT interval = 0;
    std::uint64_t due = 0;
};

struct TimerTable {
    Timer timers[MAX_TIMERS] = {};

    UINT_PTR set(HWND window, UINT_PTR id, UINT elapse, std::uint64_t now);
    bool kill(HWND window, UINT_PTR id);
    void dropFor(HWND window);
    // Fills `msg` with the WM_TIMER of the timer due first if it is due now; otherwise leaves in
    // `waitMs` how long until it is (-1: no timer).
    bool take(MSG* msg, std::uint64_t now, int& waitMs);
};

MSG makeMsg(HWND window, UINT message, WPARAM wParam, LPARAM lParam, std::uint64_t now);

}  // namespace smokedrift::platform

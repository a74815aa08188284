#pragma once
// State of the Win32 emulation, shared by its two files: one struct, fixed-size tables.
#include "platform/win32/message_queue.h"
#include "platform/win32/window_backend.h"

namespace smokedrift::platform {

constexpr int WINDOW_TABLE_SIZE = 8;

struct Win32Window {
    HWND handle = nullptr;  // null: a free slot
    HWND parent = nullptr;  // null: a top-level window
    WNDPROC proc = nullptr;
    int width = 0;
    int height = 0;
    bool paintPending = false;  // a WM_PAINT is queued
};

struct Win32State {
    const WindowBackend* backend = nullptr;
    ClassTable classes;
    Win32Window windows[WINDOW_TABLE_SIZE];
    MessageQueue queue;
    TimerTable timers;
    bool cursorHidden = false;
};

Win32State& state();
// The backend, connected; null (after its one line on stderr) when there is no window system.
const WindowBackend* connected();
Win32Window* findWindow(HWND window);

}  // namespace smokedrift::platform

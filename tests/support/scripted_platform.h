#pragma once
// The scripted window system and process for host tests: under the product's own Win32
// emulation (its queue, timers and dispatch), a test sets the world up (messages to deliver, time
// to let pass, cursor, registry, optional libraries, platform family), runs a mode and reads what
// the backend and the process were asked to do.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/win32/win32_api.h"

namespace smokedrift::scripted {

struct Call {
    std::string name;
    std::uintptr_t a = 0;
    std::uintptr_t b = 0;
    std::uintptr_t c = 0;
    std::uintptr_t d = 0;
};

// Everything back to a Windows NT desktop with nothing scripted, under a fresh Win32 emulation.
void reset();

// The script, taken whenever the emulation reads events. A null window means the saver window
// created last.
void deliver(UINT message, WPARAM wParam = 0, LPARAM lParam = 0, HWND window = nullptr);
// Runs when the script reaches it, just before the message scripted next is delivered.
void then(std::function<void()> action);
// Lets `milliseconds` pass with nothing else arriving: the timers tick meanwhile.
void elapse(DWORD milliseconds);
// True once the emulation waited with nothing left to deliver (the loop then ends as if by
// PostQuitMessage(0)).
bool scriptRanOut();

// Environment.
void setPlatformId(DWORD platformId);
void failVersionQuery();
// The clock, in milliseconds: GetTickCount, the timers and message times.
void setTickCount(DWORD ticks);
void advanceTicks(DWORD milliseconds);
std::uint64_t now();
void setCursorPos(LONG x, LONG y);
void setForegroundWindow(HWND window);
void setScreen(RECT screen);
// Whether the saver's windows can be seen (their device contexts clip to nothing when not).
void setWindowsHidden(bool hidden);
// A window of another process (preview parents, owners, a saver already running).
void addForeignWindow(HWND window, LONG width, LONG height, const char* className = "", const char* title = "");
void removeForeignWindow(HWND window);
void setRegistryValue(bool keyExists, bool queryOk, DWORD value);
// Optional libraries: "PASSWORD.CPL", "MPR.DLL" (loaded on demand), "IMM32.DLL" (already loaded).
void setLibrary(const std::string& name, bool present, bool hasExport);
// Test doubles behind the optional exports.
void setPasswordVerifier(std::function<BOOL(HWND)> verifier);
void setImeContext(HIMC detached);
// Buttons the configuration dialog gets pressed, in order; and whether its template exists.
void pressDialogButtons(std::vector<WORD> buttons);
void setDialogTemplateMissing();
// What the system's unhandled-exception filter decides once the top-level filter passes.
void setSystemExceptionVerdict(LONG verdict);
// The pixel formats, and the one the window system would choose.
void setPixelFormats(std::vector<PIXELFORMATDESCRIPTOR> formats, int chosen);

// Observation: the backend's calls by their names in platform/win32/window_backend.h, the process's by
// their Win32 names, and "delivered" (message, wParam) for each scripted message as it arrives.
const std::vector<Call>& calls();
std::vector<Call> callsNamed(const std::string& name);
std::size_t count(const std::string& name);
// Messages posted to windows of other processes.
std::vector<MSG> postedTo(HWND window);
HWND lastCreatedWindow();
bool windowAlive(HWND window);
bool cursorHidden();
LPTOP_LEVEL_EXCEPTION_FILTER topLevelFilter();

}  // namespace smokedrift::scripted

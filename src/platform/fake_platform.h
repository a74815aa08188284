#pragma once
// The scripted platform for host tests: a test sets the world up (messages to deliver, cursor,
// ticks, registry, optional libraries, platform family), runs a mode and reads what happened.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/win32_api.h"

namespace smokedrift::fake {

struct Call {
    std::string name;
    std::uintptr_t a = 0;
    std::uintptr_t b = 0;
    std::uintptr_t c = 0;
    std::uintptr_t d = 0;
};

// Everything back to a Windows NT desktop with nothing scripted.
void reset();

// Script, consumed by GetMessageA once the posted queue is empty. A null window means the saver
// window created last.
void deliver(UINT message, WPARAM wParam = 0, LPARAM lParam = 0, HWND window = nullptr);
// Runs when GetMessageA reaches it, just before the message scripted next (ahead of what it posts).
void then(std::function<void()> action);
// True once GetMessageA found nothing left to deliver (the loop then ends as if by WM_QUIT).
bool scriptRanOut();

// Environment.
void setPlatformId(DWORD platformId);
void failVersionQuery();
void setTickCount(DWORD ticks);
void advanceTicks(DWORD milliseconds);
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
void setPixelFormats(std::vector<PIXELFORMATDESCRIPTOR> formats, int chosen);

// Observation.
const std::vector<Call>& calls();
std::vector<Call> callsNamed(const std::string& name);
std::size_t count(const std::string& name);
std::vector<MSG> postedTo(HWND window);
// Messages the saver window's procedure received, in order.
std::vector<UINT> receivedBySaver();
HWND lastCreatedWindow();
bool windowAlive(HWND window);
bool cursorHidden();
LPTOP_LEVEL_EXCEPTION_FILTER topLevelFilter();

}  // namespace smokedrift::fake

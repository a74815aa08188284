#pragma once
// The screen-saver host: process entry, mode switch, saver window, close rules, password hooks.
#include "host/mode_switch.h"
#include "platform/win32/win32_api.h"

namespace smokedrift {

// Exit code of a mode that could not run (bad switch, bad window, no class or window).
constexpr int MODE_FAILED = -1;

// Never returns: runs the mode of the request and ends the process with its code. Windows's
// WinMain reads the request from its command line; the POSIX entry hands the one it parsed.
[[noreturn]] void runHost(const HostRequest& request);

// The command tail of a full command line: program name (quoted or not) and blanks skipped.
LPCSTR commandTail(LPCSTR commandLine);

// The mode of the request, run: its exit code.
int dispatchMode(HINSTANCE instance, const HostRequest& request);
int runSaver(HWND parent);
int showConfigureDialog(HWND owner);
int changePassword(HWND parent);

LRESULT CALLBACK saverWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT defaultSaverProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Hooks the saver application supplies.
LRESULT saverProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK configureDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
BOOL registerDialogClasses(HINSTANCE instance);
// A mode cannot run (an unknown switch, no window to draw into); `reason` says why in a few words.
void modeFailed(const char* reason);

}  // namespace smokedrift

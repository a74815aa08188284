#pragma once
// The screen-saver host: process entry, mode switch, saver window, close rules, password hooks.
#include "platform/win32/win32_api.h"

namespace smokedrift {

// Exit code of a mode that could not run (bad switch, bad window, no class or window).
constexpr int MODE_FAILED = -1;

// Never returns: reads the command tail, runs the mode and ends the process with its code.
[[noreturn]] void hostStartup();

// The command tail of a full command line: program name (quoted or not) and blanks skipped.
LPCSTR commandTail(LPCSTR commandLine);

int dispatchMode(HINSTANCE instance, HINSTANCE previous, LPCSTR commandTail, int showCommand);
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

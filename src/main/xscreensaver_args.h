#pragma once
// The Linux command line as the host reads it: xscreensaver's ways of naming a window become the
// preview tail, everything else is passed through. Pure string work, so it can be tested alone.
#include <string>
#include <vector>

namespace smokedrift {

// An X window id written in decimal or as 0x hex; 0 when it is neither or does not fit 32 bits.
unsigned long parseWindowId(const char* text);

// xscreensaver's -root/--root (the window in `xscreensaverWindow`, i.e. $XSCREENSAVER_WINDOW, or
// else `rootWindow`), -window-id/--window-id ID, and $XSCREENSAVER_WINDOW with nothing but the
// flags xscreensaver gives every hack (--fps, --delay N, --window), as the tail "/p ID". False
// when the arguments name no window that way.
bool xscreensaverTail(const std::vector<std::string>& args, const char* xscreensaverWindow, unsigned long rootWindow,
                      std::string& tail);

// True when the arguments are xscreensaver's flags for every hack and nothing else (none at all
// included): then $XSCREENSAVER_WINDOW, if set, names the window to draw into.
bool readsXscreensaverWindow(const std::vector<std::string>& args);

// A hack started with only those flags and no window named (`--window`, or `--fps` typed at a
// shell) draws in a window of its own.
bool wantsOwnWindow(const std::vector<std::string>& args, const char* xscreensaverWindow);

// The whole command line the host reads: the program name, then the tail (the xscreensaver tail,
// or the arguments joined by blanks).
std::string hostCommandLine(const std::vector<std::string>& args, const char* xscreensaverWindow,
                            unsigned long rootWindow);

}  // namespace smokedrift

#pragma once
// xscreensaver's ways of naming the window a hack draws into. Pure string work, so it can be
// tested alone.
#include <string>
#include <vector>

namespace smokedrift {

// An X window id written in decimal or as 0x hex; 0 when it is neither or does not fit 32 bits.
unsigned long parseWindowId(const char* text);

// The window xscreensaver's arguments name for the preview to draw into.
struct NamedWindow {
    bool named = false;    // false: they name none that way
    bool desktop = false;  // -root with no window in $XSCREENSAVER_WINDOW: the desktop's, looked up later
    unsigned long id = 0;  // otherwise the window; 0 when its id could not be read
};

// xscreensaver's -root/--root (the window in `xscreensaverWindow`, i.e. $XSCREENSAVER_WINDOW, or
// else the desktop), -window-id/--window-id ID, and $XSCREENSAVER_WINDOW with nothing but the
// flags xscreensaver gives every hack (--fps, --delay N, --window).
NamedWindow namedWindow(const std::vector<std::string>& args, const char* xscreensaverWindow);

// True when the arguments are xscreensaver's flags for every hack and nothing else (none at all
// included): then $XSCREENSAVER_WINDOW, if set, names the window to draw into.
bool readsXscreensaverWindow(const std::vector<std::string>& args);

// A hack started with only those flags and no window named (`--window`, or `--fps` typed at a
// shell) draws in a window of its own.
bool wantsOwnWindow(const std::vector<std::string>& args, const char* xscreensaverWindow);

}  // namespace smokedrift

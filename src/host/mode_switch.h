#pragma once
// The grammar of the screen-saver switch in a command tail, read once for both its readers: the
// host, which runs the mode, and the Linux entry, which picks the window system for it. Pure text
// work: no window is looked at here.
#include <cstdint>

namespace smokedrift {

enum class HostMode {
    Dialog,    // no switch: the settings dialog, owned by nobody
    Settings,  // /c, or /c:HWND for its owner
    Saver,     // /s: full screen
    Preview,   // /p HWND or /l HWND: into that window
    Password,  // /a [HWND]: change the saver password (Windows 95 family only)
    Unknown,   // any other letter
};

struct HostRequest {
    HostMode mode = HostMode::Dialog;
    // The window of the switch (preview parent, dialog owner, password parent); 0 for none, and
    // for one past 32 bits, which would name another window if read round.
    std::uint32_t window = 0;
    // Preview: where its id stands (after the letter and blanks); it was given when this is a digit.
    const char* id = nullptr;
};

// `tail` is the command line without the program name. Blanks, '-' and '/' before the letter are
// skipped; the letter is read in any case.
HostRequest readHostSwitch(const char* tail);

// A window handle written in decimal: the digits at the start of `text`, 0 past 32 bits.
std::uint32_t readWindowNumber(const char* text);

}  // namespace smokedrift

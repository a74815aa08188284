#pragma once
// The grammar of the screen-saver switch in a command tail, written once: Windows reads its
// command line with it, the Linux entry the words of its argv. Either hands the host the typed
// request. Pure text work: no window is looked at here.
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
    // Preview: whether its id was given (a digit after the letter and blanks).
    bool idGiven = false;
    // The switch and the preview's id as they were written, for the lines that name them: up to
    // the first blank, at most MAX_WORD characters.
    static constexpr int MAX_WORD = 40;
    char word[MAX_WORD + 1] = {};
    char id[MAX_WORD + 1] = {};
};

// `tail` is the command line without the program name. Blanks, '-' and '/' before the letter are
// skipped; the letter is read in any case.
HostRequest readHostSwitch(const char* tail);

// A preview into `window`, named by a window system rather than typed: what the tail "/p WINDOW"
// reads as.
HostRequest previewOf(std::uint64_t window);

// A window handle written in decimal: the digits at the start of `text`, 0 past 32 bits.
std::uint32_t readWindowNumber(const char* text);

}  // namespace smokedrift

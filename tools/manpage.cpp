// Writes the manual page smokedrift(6) to standard output. The prose is written here; the
// options, their defaults and ranges and the texture types come from the program's own tables and
// constants, so the page lists what the program takes. The one argument is the folder the install
// puts xscreensaver's description in, which only the install knows.
// usage: smokedrift_manpage XSCREENSAVER_CONFIG_DIR
#include <cstdarg>
#include <cstdio>
#include <string>

#include "app/feedback_cycle.h"
#include "app/scene_options.h"
#include "app/scene_switches.h"
#include "main/command_line.h"
#include "main/hack_options.h"
#include "offscreen/render_mode.h"
#include "offscreen/texture_writer.h"
#include "textures/texture.h"
#include "textures/texture_type_names.h"

#ifndef SMOKEDRIFT_VERSION
#define SMOKEDRIFT_VERSION "0"
#endif

using namespace smokedrift;

namespace {

// roff reads a leading dot or quote as a request, and a backslash as an escape.
std::string roff(const char* text) {
    std::string out;
    for (const char* p = text; *p != '\0'; ++p) {
        if (*p == '\\') {
            out += "\\e";
        } else if (*p == '-') {
            out += "\\-";
        } else {
            out += *p;
        }
    }
    return out;
}

// A hack option as the page writes it: "\-\-window\-id".
std::string hack(HackOptionIndex option) { return roff((std::string("--") + hackOptions[option].word).c_str()); }

std::string out;

void page(const char* text) { out += text; }

// printf into the page.
[[gnu::format(printf, 1, 2)]] void put(const char* format, ...) {
    char line[512];
    va_list args;
    va_start(args, format);
    std::vsnprintf(line, sizeof(line), format, args);
    va_end(args);
    out += line;
}

// Text lines kept under 80 bytes, broken at blanks (a roff text line may break anywhere between
// words); requests are left as they are.
void emitWrapped() {
    std::size_t start = 0;
    while (start < out.size()) {
        std::size_t end = out.find('\n', start);
        if (end == std::string::npos) end = out.size();
        std::string line = out.substr(start, end - start);
        while (line.size() > 78 && line[0] != '.') {
            const std::size_t cut = line.rfind(' ', 78);
            if (cut == std::string::npos || cut == 0) break;
            std::printf("%s\n", line.substr(0, cut).c_str());
            line = line.substr(cut + 1);
        }
        std::printf("%s\n", line.c_str());
        start = end + 1;
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s XSCREENSAVER_CONFIG_DIR DBUS_INTERFACES_DIR\n", argv[0]);
        return 2;
    }
    const std::string configDir = roff(argv[1]);
    const std::string interfaceDir = roff(argv[2]);
    put(".TH SMOKEDRIFT 6 \"2026-12-08\" \"smokedrift %s\" \"Screen savers\"\n", SMOKEDRIFT_VERSION);
    page(R"(.SH NAME
smokedrift \- screen saver of drifting, glowing smoke between two letterbox bands
.SH SYNOPSIS
.B smokedrift
.RB [ /s | /p
.IR id ]
.RI [ options ]
.br
)");
    put(".B smokedrift\n.RB [ %s | %s\n.IR id | \\fB%s\\fR ]\n.RB [ %s ]\n.RB [ %s\n.IR microseconds ]\n"
        ".RI [ options ]\n.br\n",
        hack(HACK_ROOT).c_str(), hack(HACK_WINDOW_ID).c_str(), hack(HACK_WINDOW).c_str(), hack(HACK_FPS).c_str(),
        hack(HACK_DELAY).c_str());
    page(R"(.B smokedrift \-\-idle
.I seconds
.RB [ \-\-verbose ]
.RI [ options ]
.br
.B smokedrift \-\-status
.RB [ \-\-json ]
|
.B \-\-activate
|
.B \-\-pause
.I time
|
.B \-\-resume
|
.B \-\-watch
.RB [ \-\-json ]
.br
.B smokedrift /c
.br
.B smokedrift \-\-render
.I file.png
.RB [ \-\-size
.IR W x H ]
.RB [ \-\-frames
.IR n ]
.RB [ \-\-seed
.IR s ]
.RI [ options ]
.br
.B smokedrift \-\-texture
.I type
.B \-\-out
.I file.png
.RB [ \-\-size
.IR W x H ]
.RB [ \-\-seed
.IR s ]
.br
.B smokedrift \-\-texture\-types | \-\-help | \-\-version
.SH DESCRIPTION
Twenty\-five large smoke clouds, generated when the saver starts, drift about the middle of the
screen, swell, shrink, turn and change colour and opacity, leaving fading trails between two black
letterbox bands whose height slowly breathes.
A three\-dimensional fly\-through with stars and particles, fog, a background texture and a
feedback effect that captures the picture and breaks it into flying tiles can be switched on.
It draws with OpenGL 1.1.
.PP
The saver reads nothing but its command line and environment (the watcher also reads the
desktop's blank and lock times), and writes nothing.
Options may be given in any order.
.SH MODES
.TP
.B /s
Full screen on every output of a Wayland session, or on every X screen of the display.
Moving the mouse more than four pixels (or onto another output), a key, a mouse button, the wheel
or a touch ends it.
.TP
.BI \-\-idle " seconds"
Watch the session and run
.B /s
with the options given once nobody has touched it for
.I seconds
)");
    put("(%ld to %ld), and again after the next idle stretch.\n", MIN_IDLE_SECONDS, MAX_IDLE_SECONDS);
    page(R"(The session decides what idle is: Wayland's ext\-idle\-notify, else KDE's idle protocol, else
GNOME's idle monitor on the session bus, else the X server's idle time; so a video player that
holds the screen on keeps the saver from starting.
The saver only replaces the picture before the desktop's own blanking and lock, which it never
delays.
At start the watcher reads their times (GNOME's settings, Plasma's screen locker and screen
energy saving, the X server's saver and DPMS) and, when one comes no later than
.IR seconds ,
names it in one line with where to change it: the saver would not be seen.
One watcher per session: a second says so and exits with 0.
SIGTERM, SIGINT and SIGHUP end the watcher and its saver with 0; the end of the session ends it
with 255.
.B \-\-verbose
prints the idle source chosen, the desktop's timers it read and each event on standard error.
The systemd user unit
.B smokedrift\-idle.service
runs it with 180 seconds, two minutes before GNOME's and Plasma's default blank or lock:
.B systemctl \-\-user enable \-\-now smokedrift\-idle.service
.TP
.B \-\-status \fR[\fB\-\-json\fR]
Ask the running watcher, over its interface on the session bus
.RB ( org.example.smokedrift.Watcher ),
why the saver waits: its state (waiting, idle, held off, saver running, paused), its idle
source and how long the session has been idle, each inhibition that holds the saver off with its
holder, its path (the
.B org.freedesktop.ScreenSaver
service, logind, Plasma's power management, the X server's saver switched off) and its reason and
time, a desktop blank or lock that comes first, and when the saver starts.
.B \-\-json
prints the same as one JSON object.
.TP
.B \-\-activate
Start the saver now; input ends it as always.
.TP
.BI \-\-pause " time"
Keep the saver off for
.IR time :
.BR 1h ,
.BR 30m ,
.B 90s
or plain seconds, at most 168 hours.
The pause ends by itself, with
.BR \-\-resume ,
and with the watcher.
.TP
.B \-\-resume
End the pause.
.TP
.B \-\-watch \fR[\fB\-\-json\fR]
Print a line at each change of the watcher's state until interrupted;
.B \-\-json
prints one JSON object a line, with the
.BR text ,
.BR alt ,
.B class
and
.B tooltip
fields of waybar's custom modules.
.PP
These commands exit with 1 and one line on standard error when no watcher runs in the session
(or, for
.BR \-\-watch ,
when it ends).
.TP
.BI /p " id"
A preview inside the X window
.I id
(decimal); it ignores input and ends when that window goes.
.B /l
.I id
is the same.
)");
    put(".TP\n.B %s\nDraw into the window\n.B XSCREENSAVER_WINDOW\nnames, or else into the root window.\n",
        hack(HACK_ROOT).c_str());
    put(".TP\n.BI %s \" id\"\nDraw into the X window\n.I id\n(decimal or 0x hexadecimal, 32 bits).\n",
        hack(HACK_WINDOW_ID).c_str());
    put(".TP\n.B %s\nDraw in a %dx%d window of its own; closing it ends the run.\n", hack(HACK_WINDOW).c_str(),
        OWN_WINDOW_WIDTH, OWN_WINDOW_HEIGHT);
    page(R"(.TP
.B /c
The settings dialog; there are no settings of its own beyond the command line.
.TP
.BI \-\-render " file.png"
Draw the scene headless through EGL and write the last frame as an RGB PNG.
)");
    const RenderOptions render;
    put("The animation runs on a simulated clock of %d frames a second, so the same arguments always give\n"
        "the same file.\n",
        SIMULATED_FRAMES_PER_SECOND);
    page(R"(.I W
and
.I H
are the width and height in pixels, as in 640x360.
Defaults:
)");
    put(".B \\-\\-size %dx%d \\-\\-frames %d \\-\\-seed %u.\n", render.width, render.height, render.frames,
        render.seed);
    put("With the feedback effect on, the picture is captured %d frames before the end.\n", FEEDBACK_SHOW_FRAMES);
    page(R"(A file that exists is replaced whole or not at all,
and only where the user could open it for writing
(a link the kernel will not follow for the user is refused);
a device or pipe is written through.
.TP
.BI \-\-texture " type"
Write one procedural texture type as an RGBA PNG
.RB ( \-\-out ),
)");
    const TextureOptions texture;
    put("at most %d pixels\n.RB ( \\-\\-size ,\ndefault %dx%d).\n", MAX_PIXELS, texture.width, texture.height);
    put(".I type\nis one of");
    for (const TextureTypeName& t : textureTypeNames) put(" %s", roff(t.name).c_str());
    put(" (any case), or a code 0 to %d.\n", HIGHEST_TEXTURE_TYPE);
    page(R"(.TP
.B \-\-texture\-types
The texture types that have an image, one a line.
.SH OPTIONS
For every mode that draws the scene; without them it is the shipped scene.
)");
    for (const SceneSwitch& s : sceneSwitches) {
        if (s.flag == nullptr) continue;
        put(".TP\n.B \\-\\-%s\n%s.\n", roff(s.name).c_str(), roff(s.meaning).c_str());
    }
    for (const SceneValueOption& o : sceneValueOptions) {
        put(".TP\n.BI %s \" %s\"\n%s.\n", roff(o.name).c_str(), o.value,
            roff(describeSceneValueOption(o).c_str()).c_str());
    }
    put(".PP\n%s.\n", roff(flyThroughRule).c_str());
    put(".PP\nWith the feedback effect on, the saver captures the picture every %.0f seconds "
        "and shows it for %.0f.\n",
        FEEDBACK_PERIOD, FEEDBACK_SHOW);
    const HackOption& delay = hackOptions[HACK_DELAY];
    put(".PP\nIn the saver modes also:\n.TP\n.B %s\nThe frame rate and the CPU load in "
        "the lower\\-left corner.\n.TP\n.BI %s \" microseconds\"\nAt least this long "
        "between two frames, up to %ld; %ld draws once per display refresh. Without it, once per "
        "refresh, at most 60 frames a second, or 30 where OpenGL draws in software.\n"
        ".TP\n.B \\-\\-verbose\nSay on standard error at which render scale the saver draws, and why.\n",
        hack(HACK_FPS).c_str(), hack(HACK_DELAY).c_str(), delay.high, delay.fallback);
    page(R"(.TP
.B \-\-wayland
Run
.B /s
on Wayland, or fail.
.TP
.B \-\-x11
Run on X11 even in a Wayland session (XWayland).
.PP
By default
.B /s
covers the outputs of the Wayland session when
.B WAYLAND_DISPLAY
names a compositor that answers, and runs on X11 otherwise; the settings dialog, the previews,
.B \-\-window
and
.B \-\-root
are X11's.
On Wayland each output gets a process of its own, on the overlay layer where the compositor has
the layer shell (sway, Hyprland, KDE), a full\-screen window elsewhere (GNOME).
The saver is not a screen locker.
.SH ENVIRONMENT
.TP
.B DISPLAY
The X display the saver modes draw on.
.TP
.B XSCREENSAVER_WINDOW
The window xscreensaver gives a hack to draw into (decimal or 0x hexadecimal).
.TP
.B WAYLAND_DISPLAY
The Wayland compositor
.B /s
covers the outputs of.
.TP
.B SMOKEDRIFT_FRAME_HISTORY
On Wayland,
.B copy
keeps each frame in a buffer of the saver's own, as it does where the driver does not tell whether
a swap keeps the last frame;
.B direct
trusts the driver to keep it.
For comparing the two on a driver that misbehaves.
.TP
.B SMOKEDRIFT_SCENE_OUTPUTS
On Wayland, how many outputs get the scene, below the 16 they get at most; the others are covered
black.
For trying the black cover without a context per output.
.SH EXIT STATUS
.TP
.B 0
The saver or preview ended, or Cancel in the settings dialog.
.TP
.B 1
OK in the settings dialog; no watcher answered
.BR \-\-status ,
.BR \-\-activate ,
.BR \-\-pause ,
.B \-\-resume
or
.BR \-\-watch .
.TP
)");
    put(".B %d\n", HEADLESS_REFUSED);
    page(R"(Bad
.BR \-\-render ,
.B \-\-texture
or watcher command arguments (such as a
.B \-\-pause
time), or the file could not be made or written; one line on standard error says why.
.TP
)");
    put(".B %d\n", SAVER_REFUSED);
    page(R"(An unknown switch or option, a value out of its range, a window that does not exist, no display
or no OpenGL; one line on standard error says why.
.SH FILES
None are read or written by the saver modes.
)");
    out += ".I " + configDir + "/smokedrift.xml\n";
    page(R"(describes the options to xscreensaver's settings program.
)");
    out += ".I " + interfaceDir + "/org.example.smokedrift.Watcher.xml\n";
    page(R"(describes the watcher's interface on the session bus.
.SH EXAMPLES
In
.IR ~/.xscreensaver ,
among the
.B programs:
.PP
.RS
.EX
GL: smokedrift \-\-root \-\-3d \-\-stars \en\e
.EE
.RE
.PP
With swayidle (sway, Hyprland or any compositor with the idle protocol), after five idle minutes:
.PP
.RS
.EX
swayidle \-w timeout 300 \(aqsmokedrift /s\(aq
.EE
.RE
.PP
The same with a locker five minutes later (without
.BR \-w ,
which would wait for the saver before the second timeout):
.PP
.RS
.EX
swayidle timeout 300 \(aqsmokedrift /s\(aq \e
         timeout 600 \(aqpkill \-x smokedrift; swaylock \-f\(aq \e
         before\-sleep \(aqswaylock \-f\(aq
.EE
.RE
.PP
A picture of the scene with the fly\-through:
.PP
.RS
.EX
smokedrift \-\-render out.png \-\-size 640x360 \-\-3d \-\-stars \-\-particles
.EE
.RE
.SH SEE ALSO
.BR xscreensaver (1),
.BR xscreensaver\-settings (1),
.BR swayidle (1),
.BR systemctl (1)
)");
    emitWrapped();
    return 0;
}

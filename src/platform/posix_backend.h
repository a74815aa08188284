#pragma once
// What a POSIX entry hands to the backends before the host starts.

namespace smokedrift {

// The command line GetCommandLineA returns: program name, a blank, then the tail.
void setCommandLine(const char* commandLine);

// Which window system this run draws on: chosen once, before the first window.
enum class WindowSystem { X11, Wayland };
void useWindowSystem(WindowSystem system);
WindowSystem windowSystem();

// True when a Wayland compositor answers at $WAYLAND_DISPLAY. With `report`, a failure is told in
// one line on stderr.
bool waylandReachable(bool report);

// True when the X display opens. A failure is told in one line on stderr: a mode that needs X
// ends on it, with nothing more to say about the windows it could not reach.
bool x11Reachable();

// The screen saver on Wayland covers every output with a process of its own: this call returns
// -1 in each such process (which then runs the host for its output) and, in the process that
// watches them, the run's exit code once it is over.
int runOnEveryOutput();
// In a process of the run past the number of outputs that get the scene: the host runs without
// it, its window black (each scene costs an OpenGL context).
bool coversBlack();

}  // namespace smokedrift

// Process services on POSIX: command line, clock, sleep, exit, signals, and the optional Windows
// facilities (registry, libraries) that do not exist here and say so.
#include <fcntl.h>
#include <poll.h>
#include <sched.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <ctime>

#include "platform/posix_backend.h"
#include "platform/x11_state.h"

namespace smokedrift {

void setCommandLine(const char* commandLine) {
    std::snprintf(x11::state().commandLine, sizeof(x11::state().commandLine), "%s", commandLine);
}

namespace x11 {

namespace {

volatile std::sig_atomic_t stopRequested = 0;

void onStopSignal(int) {
    stopRequested = 1;
    const int fd = state().signalPipe[1];
    if (fd >= 0) {
        const char byte = 1;
        [[maybe_unused]] const ssize_t n = write(fd, &byte, 1);
    }
}

// A window that disappears under us (a preview whose parent died) must not end the process.
int ignoreXError(Display*, XErrorEvent*) { return 0; }

// The display is gone (the server died or dropped us): nothing can be drawn or closed any more.
// One line and out at once, as a mode without a display ends; exit() would run the GL driver's
// exit handlers against the dead connection.
int displayLost(Display*) {
    static const char line[] = "X11: lost the connection to the display\n";
    [[maybe_unused]] const ssize_t n = write(2, line, sizeof(line) - 1);
    _exit(255);
}

void installStopHandlers() {
    X11State& s = state();
    if (pipe(s.signalPipe) == 0) {
        for (int fd : s.signalPipe) fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) | O_NONBLOCK);
    }
    struct sigaction action = {};
    action.sa_handler = &onStopSignal;
    sigemptyset(&action.sa_mask);
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);
}

}  // namespace

X11State& state() {
    static X11State s;
    return s;
}

Display* display() {
    X11State& s = state();
    if (s.display != nullptr || s.openFailed) return s.display;
    s.display = XOpenDisplay(nullptr);
    if (s.display == nullptr) {
        s.openFailed = true;
        std::fprintf(stderr, "X11: cannot open display \"%s\"\n", XDisplayName(nullptr));
        return nullptr;
    }
    XSetErrorHandler(&ignoreXError);
    XSetIOErrorHandler(&displayLost);
    s.screen = DefaultScreen(s.display);
    s.root = RootWindow(s.display, s.screen);
    s.wmProtocols = XInternAtom(s.display, "WM_PROTOCOLS", False);
    s.wmDeleteWindow = XInternAtom(s.display, "WM_DELETE_WINDOW", False);
    installStopHandlers();
    return s.display;
}

bool takeStopRequest() {
    if (stopRequested == 0) return false;
    stopRequested = 0;
    char drain[16];
    while (read(state().signalPipe[0], drain, sizeof(drain)) > 0) {
    }
    return true;
}

std::uint64_t nowMilliseconds() {
    timespec ts = {};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<std::uint64_t>(ts.tv_sec) * 1000u + static_cast<std::uint64_t>(ts.tv_nsec) / 1000000u;
}

void waitForInput(int timeoutMs) {
    X11State& s = state();
    if (s.display != nullptr) XFlush(s.display);
    if (s.display != nullptr && XPending(s.display) > 0) return;
    pollfd fds[2] = {};
    int count = 0;
    if (s.display != nullptr) fds[count++] = pollfd{ConnectionNumber(s.display), POLLIN, 0};
    if (s.signalPipe[0] >= 0) fds[count++] = pollfd{s.signalPipe[0], POLLIN, 0};
    poll(fds, static_cast<nfds_t>(count), timeoutMs);
}

}  // namespace x11
}  // namespace smokedrift

using smokedrift::x11::state;

LPSTR WINAPI GetCommandLineA() { return state().commandLine; }
LPSTR WINAPI CharNextA(LPCSTR text) { return const_cast<LPSTR>(*text != '\0' ? text + 1 : text); }

void WINAPI GetStartupInfoA(LPSTARTUPINFOA info) {
    *info = STARTUPINFOA{};
    info->cb = sizeof(STARTUPINFOA);
}

HMODULE WINAPI GetModuleHandleA(LPCSTR name) {
    // The program itself has a handle; no Windows library is ever loaded here.
    return name == nullptr ? reinterpret_cast<HMODULE>(0x400000) : nullptr;
}

void WINAPI ExitProcess(UINT exitCode) {
    std::fflush(nullptr);
    _exit(static_cast<int>(exitCode));
}

BOOL WINAPI GetVersionExA(LPOSVERSIONINFOA info) {
    if (info->dwOSVersionInfoSize < sizeof(OSVERSIONINFOA)) return FALSE;
    // The NT family: the saver does not check passwords itself here.
    info->dwMajorVersion = 10;
    info->dwMinorVersion = 0;
    info->dwBuildNumber = 0;
    info->dwPlatformId = VER_PLATFORM_WIN32_NT;
    info->szCSDVersion[0] = '\0';
    return TRUE;
}

void WINAPI Sleep(DWORD milliseconds) {
    if (milliseconds == 0) {
        sched_yield();
        return;
    }
    timespec ts = {static_cast<time_t>(milliseconds / 1000), static_cast<long>(milliseconds % 1000) * 1000000L};
    nanosleep(&ts, nullptr);
}

DWORD WINAPI GetTickCount() { return static_cast<DWORD>(smokedrift::x11::nowMilliseconds()); }

BOOL WINAPI SystemParametersInfoA(UINT, UINT, LPVOID, UINT) { return FALSE; }
HMODULE WINAPI LoadLibraryA(LPCSTR) { return nullptr; }
FARPROC WINAPI GetProcAddress(HMODULE, LPCSTR) { return nullptr; }
BOOL WINAPI FreeLibrary(HMODULE) { return FALSE; }
// No structured exceptions on this platform: nothing to filter.
LPTOP_LEVEL_EXCEPTION_FILTER WINAPI SetUnhandledExceptionFilter(LPTOP_LEVEL_EXCEPTION_FILTER) { return nullptr; }
LONG WINAPI UnhandledExceptionFilter(EXCEPTION_POINTERS*) { return EXCEPTION_CONTINUE_SEARCH; }

LSTATUS WINAPI RegOpenKeyA(HKEY, LPCSTR, PHKEY result) {
    *result = nullptr;
    return ERROR_FILE_NOT_FOUND;
}
LSTATUS WINAPI RegQueryValueExA(HKEY, LPCSTR, LPDWORD, LPDWORD, LPBYTE, LPDWORD) { return ERROR_FILE_NOT_FOUND; }
LSTATUS WINAPI RegCloseKey(HKEY) { return ERROR_SUCCESS; }

HICON WINAPI LoadIconA(HINSTANCE, LPCSTR) { return nullptr; }
HGDIOBJ WINAPI GetStockObject(int object) { return reinterpret_cast<HGDIOBJ>(static_cast<std::uintptr_t>(object) + 1); }

// Process services on POSIX, whichever window system draws: command line, clock, sleep, exit,
// stop signals, and the optional Windows facilities (registry, libraries) that do not exist here
// and say so.
#include "platform/posix_process.h"

#include <fcntl.h>
#include <sched.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <ctime>

#include "platform/posix_backend.h"
#include "platform/win32_api.h"

namespace smokedrift {

namespace {

char commandLineText[4096] = "smokedrift";
int stopPipe[2] = {-1, -1};
volatile std::sig_atomic_t stopRequested = 0;

void onStopSignal(int) {
    stopRequested = 1;
    if (stopPipe[1] >= 0) {
        const char byte = 1;
        [[maybe_unused]] const ssize_t n = write(stopPipe[1], &byte, 1);
    }
}

}  // namespace

void setCommandLine(const char* commandLine) {
    std::snprintf(commandLineText, sizeof(commandLineText), "%s", commandLine);
}

namespace posix {

std::uint64_t nowMilliseconds() {
    timespec ts = {};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<std::uint64_t>(ts.tv_sec) * 1000u + static_cast<std::uint64_t>(ts.tv_nsec) / 1000000u;
}

void installStopHandlers() {
    if (stopPipe[0] >= 0) return;
    if (pipe(stopPipe) == 0) {
        for (int fd : stopPipe) fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) | O_NONBLOCK | O_CLOEXEC);
        for (int fd : stopPipe) fcntl(fd, F_SETFD, FD_CLOEXEC);
    }
    struct sigaction action = {};
    action.sa_handler = &onStopSignal;
    sigemptyset(&action.sa_mask);
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);
}

bool takeStopRequest() {
    if (stopRequested == 0) return false;
    stopRequested = 0;
    char drain[16];
    while (stopPipe[0] >= 0 && read(stopPipe[0], drain, sizeof(drain)) > 0) {
    }
    return true;
}

int stopFd() { return stopPipe[0]; }

void forgetStopHandlers() {
    for (int& fd : stopPipe) {
        if (fd >= 0) close(fd);
        fd = -1;
    }
    stopRequested = 0;
    signal(SIGTERM, SIG_DFL);
    signal(SIGINT, SIG_DFL);
}

}  // namespace posix
}  // namespace smokedrift

LPSTR WINAPI GetCommandLineA() { return smokedrift::commandLineText; }
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

DWORD WINAPI GetTickCount() { return static_cast<DWORD>(smokedrift::posix::nowMilliseconds()); }

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

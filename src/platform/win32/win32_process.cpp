// The Win32 process services on POSIX: sleep, exit, and the optional Windows
// facilities (registry, libraries, exception filters) that do not exist here and say so.
#include <sched.h>
#include <unistd.h>

#include <cstdio>
#include <ctime>

#include "platform/win32/posix_process.h"
#include "platform/win32/win32_api.h"

LPSTR WINAPI CharNextA(LPCSTR text) { return const_cast<LPSTR>(*text != '\0' ? text + 1 : text); }

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

// The scripted process: clock, registry, optional libraries, exception filters.
#include <cstring>
#include <stdexcept>

#include "scripted_state.h"

namespace smokedrift::scripted {

namespace {

constexpr std::uintptr_t LIBRARY_BASE = 0x70000;
constexpr std::uintptr_t DESKTOP_KEY = 0x5000;

const char* const LIBRARY_NAMES[] = {"PASSWORD.CPL", "MPR.DLL", "IMM32.DLL"};
const char* const EXPORT_NAMES[] = {"VerifyScreenSavePwd", "PwdChangePasswordA", "ImmAssociateContext"};

int libraryIndex(LPCSTR name) {
    for (int i = 0; i < 3; ++i) {
        if (std::strcmp(name, LIBRARY_NAMES[i]) == 0) return i;
    }
    return -1;
}

HMODULE moduleFor(int index) { return reinterpret_cast<HMODULE>(LIBRARY_BASE + static_cast<std::uintptr_t>(index)); }

BOOL WINAPI verifyDouble(HWND window) {
    record("VerifyScreenSavePwd", u(window));
    return state().verifier ? state().verifier(window) : TRUE;
}

DWORD WINAPI changeDouble(LPCSTR provider, HWND parent, DWORD a, LPVOID b) {
    record("PwdChangePasswordA", std::strcmp(provider, "SCRSAVE") == 0 ? 1 : 0, u(parent), a, u(b));
    return 0;
}

HIMC WINAPI associateDouble(HWND window, HIMC context) {
    record("ImmAssociateContext", u(window), u(context));
    return context == nullptr ? state().imeContext : nullptr;
}

template <typename Fn>
FARPROC asFarProc(Fn fn) {
    return reinterpret_cast<FARPROC>(reinterpret_cast<void (*)()>(fn));
}

}  // namespace

ScriptedState& state() {
    static ScriptedState s;
    return s;
}

void record(const char* name, std::uintptr_t a, std::uintptr_t b, std::uintptr_t c, std::uintptr_t d) {
    state().calls.push_back(Call{name, a, b, c, d});
}

void reset() {
    state() = ScriptedState{};
    resetBackend();
}
void setPlatformId(DWORD platformId) { state().platformId = platformId; }
void setSystemExceptionVerdict(LONG verdict) { state().systemExceptionVerdict = verdict; }
LPTOP_LEVEL_EXCEPTION_FILTER topLevelFilter() { return state().topLevelFilter; }
void failVersionQuery() { state().versionFails = true; }
void setTickCount(DWORD ticks) { state().clock = ticks; }
void advanceTicks(DWORD milliseconds) { state().clock += milliseconds; }
void setRegistryValue(bool keyExists, bool queryOk, DWORD value) {
    state().keyExists = keyExists;
    state().queryOk = queryOk;
    state().registryValue = value;
}
void setLibrary(const std::string& name, bool present, bool hasExport) {
    state().libraries[name] = {present, hasExport};
}
void setPasswordVerifier(std::function<BOOL(HWND)> verifier) { state().verifier = std::move(verifier); }
void setImeContext(HIMC detached) { state().imeContext = detached; }

const std::vector<Call>& calls() { return state().calls; }

std::vector<Call> callsNamed(const std::string& name) {
    std::vector<Call> out;
    for (const Call& c : state().calls) {
        if (c.name == name) out.push_back(c);
    }
    return out;
}

std::size_t count(const std::string& name) { return callsNamed(name).size(); }

}  // namespace smokedrift::scripted

using smokedrift::scripted::record;
using smokedrift::scripted::state;
using smokedrift::scripted::u;

LPSTR WINAPI CharNextA(LPCSTR text) { return const_cast<LPSTR>(*text != '\0' ? text + 1 : text); }

HMODULE WINAPI GetModuleHandleA(LPCSTR name) {
    if (name == nullptr) return reinterpret_cast<HMODULE>(0x400000);
    const int index = smokedrift::scripted::libraryIndex(name);
    // Only IMM32 counts as already loaded; the others are loaded on demand.
    if (index != 2) return nullptr;
    const auto it = state().libraries.find(name);
    return (it != state().libraries.end() && it->second.present) ? smokedrift::scripted::moduleFor(index) : nullptr;
}

void WINAPI ExitProcess(UINT exitCode) {
    record("ExitProcess", exitCode);
    throw std::runtime_error("ExitProcess");
}

BOOL WINAPI GetVersionExA(LPOSVERSIONINFOA info) {
    record("GetVersionExA", info->dwOSVersionInfoSize);
    if (state().versionFails || info->dwOSVersionInfoSize != 148) return FALSE;
    info->dwMajorVersion = state().platformId == VER_PLATFORM_WIN32_WINDOWS ? 4 : 10;
    info->dwPlatformId = state().platformId;
    return TRUE;
}

void WINAPI Sleep(DWORD milliseconds) { record("Sleep", milliseconds); }
DWORD WINAPI GetTickCount() { return static_cast<DWORD>(state().clock); }

BOOL WINAPI SystemParametersInfoA(UINT action, UINT param, LPVOID, UINT winIni) {
    record("SystemParametersInfoA", action, param, winIni);
    return TRUE;
}

HMODULE WINAPI LoadLibraryA(LPCSTR name) {
    const int index = smokedrift::scripted::libraryIndex(name);
    const auto it = state().libraries.find(name);
    const bool present = index >= 0 && it != state().libraries.end() && it->second.present;
    const HMODULE module = present ? smokedrift::scripted::moduleFor(index) : nullptr;
    record("LoadLibraryA", u(module));
    return module;
}

FARPROC WINAPI GetProcAddress(HMODULE module, LPCSTR name) {
    const std::uintptr_t index = u(module) - smokedrift::scripted::LIBRARY_BASE;
    if (index > 2 || std::strcmp(name, smokedrift::scripted::EXPORT_NAMES[index]) != 0) return nullptr;
    if (!state().libraries[smokedrift::scripted::LIBRARY_NAMES[index]].hasExport) return nullptr;
    using smokedrift::scripted::asFarProc;
    if (index == 0) return asFarProc(&smokedrift::scripted::verifyDouble);
    if (index == 1) return asFarProc(&smokedrift::scripted::changeDouble);
    return asFarProc(&smokedrift::scripted::associateDouble);
}

BOOL WINAPI FreeLibrary(HMODULE module) {
    record("FreeLibrary", u(module));
    return TRUE;
}

LPTOP_LEVEL_EXCEPTION_FILTER WINAPI SetUnhandledExceptionFilter(LPTOP_LEVEL_EXCEPTION_FILTER filter) {
    const LPTOP_LEVEL_EXCEPTION_FILTER previous = state().topLevelFilter;
    state().topLevelFilter = filter;
    return previous;
}

// As on Windows: the installed top-level filter is asked first; when it passes, the system's own
// verdict. A filter that keeps calling back in is cut off after a few rounds instead of
// overflowing the test's stack.
LONG WINAPI UnhandledExceptionFilter(EXCEPTION_POINTERS* info) {
    auto& s = state();
    record("UnhandledExceptionFilter", static_cast<std::uintptr_t>(s.filterNesting));
    if (s.filterNesting >= 8) return EXCEPTION_CONTINUE_SEARCH;
    LONG verdict = EXCEPTION_CONTINUE_SEARCH;
    if (s.topLevelFilter != nullptr) {
        ++s.filterNesting;
        verdict = s.topLevelFilter(info);
        --s.filterNesting;
    }
    return verdict != EXCEPTION_CONTINUE_SEARCH ? verdict : s.systemExceptionVerdict;
}

LSTATUS WINAPI RegOpenKeyA(HKEY key, LPCSTR subKey, PHKEY result) {
    const bool desktop = key == HKEY_CURRENT_USER && std::strcmp(subKey, "Control Panel\\Desktop") == 0;
    record("RegOpenKeyA", desktop ? 1 : 0);
    if (!desktop || !state().keyExists) return ERROR_FILE_NOT_FOUND;
    *result = reinterpret_cast<HKEY>(smokedrift::scripted::DESKTOP_KEY);
    return ERROR_SUCCESS;
}

LSTATUS WINAPI RegQueryValueExA(HKEY, LPCSTR name, LPDWORD, LPDWORD, LPBYTE data, LPDWORD size) {
    record("RegQueryValueExA", *size);
    if (!state().queryOk || std::strcmp(name, "ScreenSaveUsePassword") != 0 || *size < 4) return ERROR_FILE_NOT_FOUND;
    std::memcpy(data, &state().registryValue, 4);
    *size = 4;
    return ERROR_SUCCESS;
}

LSTATUS WINAPI RegCloseKey(HKEY key) {
    record("RegCloseKey", u(key));
    return ERROR_SUCCESS;
}

HICON WINAPI LoadIconA(HINSTANCE, LPCSTR name) {
    record("LoadIconA", reinterpret_cast<std::uintptr_t>(name));
    return reinterpret_cast<HICON>(0x100);
}

HGDIOBJ WINAPI GetStockObject(int object) { return reinterpret_cast<HGDIOBJ>(0x200 + object); }

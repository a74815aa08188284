#pragma once
// State of the scripted backend, shared by its files.
#include <deque>
#include <map>
#include <string>

#include "platform/fake_platform.h"

namespace smokedrift::fake {

struct FakeWindow {
    HWND handle = nullptr;
    HWND parent = nullptr;
    WNDPROC proc = nullptr;  // null for windows of other processes
    std::string className;
    std::string title;
    LONG width = 0;
    LONG height = 0;
    bool alive = true;
};

struct ScriptStep {
    std::function<void()> action;
    bool deliver = false;
    MSG msg = {};
};

struct Library {
    bool present = false;
    bool hasExport = false;
};

struct FakeState {
    std::string commandLine = "smokedrift.scr";
    DWORD platformId = VER_PLATFORM_WIN32_NT;
    bool versionFails = false;
    DWORD ticks = 1000;
    POINT cursor = {0, 0};
    bool cursorHidden = false;
    HWND foreground = nullptr;
    RECT screen = {0, 0, 1024, 768};
    bool windowsHidden = false;
    std::map<std::uintptr_t, FakeWindow> windows;
    std::uintptr_t nextHandle = 0x10000;
    std::map<std::string, WNDPROC> classes;
    HWND lastCreated = nullptr;
    std::deque<MSG> queue;
    std::deque<ScriptStep> script;
    bool scriptRanOut = false;
    bool quitPosted = false;
    int quitCode = 0;
    bool keyExists = false;
    bool queryOk = false;
    DWORD registryValue = 0;
    std::map<std::string, Library> libraries;
    std::function<BOOL(HWND)> verifier;
    HIMC imeContext = nullptr;
    std::vector<WORD> dialogButtons;
    bool dialogTemplateMissing = false;
    bool dialogEnded = false;
    INT_PTR dialogResult = 0;
    std::vector<PIXELFORMATDESCRIPTOR> pixelFormats;
    int chosenFormat = 0;
    LPTOP_LEVEL_EXCEPTION_FILTER topLevelFilter = nullptr;
    LONG systemExceptionVerdict = EXCEPTION_EXECUTE_HANDLER;  // no debugger: the process ends
    int filterNesting = 0;
    std::vector<Call> calls;
    std::vector<MSG> posted;
    std::vector<UINT> receivedBySaver;
};

FakeState& state();
void record(const char* name, std::uintptr_t a = 0, std::uintptr_t b = 0, std::uintptr_t c = 0, std::uintptr_t d = 0);
FakeWindow* findWindow(HWND handle);

inline std::uintptr_t u(const void* p) { return reinterpret_cast<std::uintptr_t>(p); }

}  // namespace smokedrift::fake

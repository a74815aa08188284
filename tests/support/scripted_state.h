#pragma once
// State of the scripted backend and process, shared by their files.
#include <deque>
#include <map>
#include <string>

#include "scripted_platform.h"

namespace smokedrift::scripted {

struct ForeignWindow {
    std::string className;
    std::string title;
    LONG width = 0;
    LONG height = 0;
};

struct ScriptStep {
    enum class Kind { Action, Deliver, Elapse };
    Kind kind = Kind::Action;
    std::function<void()> action;
    MSG msg = {};
    DWORD milliseconds = 0;
    bool started = false;  // an Elapse under way
    std::uint64_t until = 0;
};

struct Library {
    bool present = false;
    bool hasExport = false;
};

struct ScriptedState {
    DWORD platformId = VER_PLATFORM_WIN32_NT;
    bool versionFails = false;
    std::uint64_t clock = 1000;
    POINT cursor = {0, 0};
    bool cursorHidden = false;
    HWND foreground = nullptr;
    RECT screen = {0, 0, 1024, 768};
    bool windowsHidden = false;
    std::map<std::uintptr_t, ForeignWindow> foreign;
    std::vector<HWND> surfaces;  // of our windows, alive
    std::uintptr_t nextHandle = 0x10000;
    HWND lastCreated = nullptr;
    std::deque<ScriptStep> script;
    bool scriptRanOut = false;
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
};

ScriptedState& state();
void record(const char* name, std::uintptr_t a = 0, std::uintptr_t b = 0, std::uintptr_t c = 0, std::uintptr_t d = 0);
void resetBackend();

inline std::uintptr_t u(const void* p) { return reinterpret_cast<std::uintptr_t>(p); }

}  // namespace smokedrift::scripted

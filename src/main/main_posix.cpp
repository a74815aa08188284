// The Linux entry: what only a Linux user types is handled here; the rest goes to the host.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "base/child_process.h"
#include "host/saver_host.h"
#include "idle/idle_mode.h"
#include "main/command_line.h"
#include "main/control_client.h"
#include "main/hack_options.h"
#include "main/help_text.h"
#include "offscreen/render_mode.h"
#include "offscreen/texture_writer.h"
#include "outputs/output_processes.h"
#include "platform/win32/win32_api.h"
#include "platform/window_systems.h"
#include "saver/configure_dialog_resources.h"
#include "saver/saver_options.h"
#include "textures/texture_type_names.h"

namespace {

// xscreensaver's --window: a top-level window of a fixed size for the preview to draw into.
// Closing it destroys the preview with it, which ends the run with 0.
HWND createOwnWindow() {
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "SmokedriftWindow";
    if (RegisterClassA(&windowClass) == 0) return nullptr;
    return CreateWindowExA(0, windowClass.lpszClassName, "smokedrift",
                           WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_VISIBLE, 0, 0, smokedrift::OWN_WINDOW_WIDTH,
                           smokedrift::OWN_WINDOW_HEIGHT, nullptr, nullptr, windowClass.hInstance, nullptr);
}

}  // namespace

int main(int argc, char** argv) {
    using smokedrift::LinuxMode;
    if (!smokedrift::fillClosedStandardStreams()) return 255;
    smokedrift::takeProgramName(argc > 0 ? argv[0] : nullptr);
    std::vector<std::string> args(argv + 1, argv + argc);
    // The session as the run found it; every part of the run goes by this one reading.
    const smokedrift::SessionEnvironment session = smokedrift::readSessionEnvironment();
    const smokedrift::LinuxCommand command =
        smokedrift::readCommandLine(args, session.xscreensaverWindow.c_str(), smokedrift::windowSystemSwitches());
    if (command.refusedCode != 0) {
        std::fprintf(stderr, "smokedrift: %s\n", command.error.c_str());
        return command.refusedCode;
    }
    switch (command.mode) {
    case LinuxMode::Help: smokedrift::printHelp(); return 0;
    case LinuxMode::Version: smokedrift::printVersion(); return 0;
    case LinuxMode::TextureTypes:
        for (const smokedrift::TextureTypeName& t : smokedrift::textureTypeNames)
            if (t.drawn) std::printf("%s\n", t.name);
        return 0;
    case LinuxMode::Texture: return smokedrift::runTextureWriter(args);
    case LinuxMode::Render: return smokedrift::runRenderMode(args);
    case LinuxMode::Idle:
        return smokedrift::idle::runIdleMode({command.idleSeconds, command.idleVerbose, command.idleSaverOptions},
                                             session);
    case LinuxMode::Control: return smokedrift::runControl(command.control);
    case LinuxMode::Saver: break;
    }
    smokedrift::setSaverOptions(command.saverOptions);
    // The saver keeps no files; Mesa's on-disk shader cache would be the one thing a run writes.
    // A user's own setting of the variable wins.
    setenv("MESA_SHADER_CACHE_DISABLE", "true", 0);
    smokedrift::SaverRequest request = command.request;
    const smokedrift::BackendRow* backend =
        smokedrift::chooseBackend(command.windowSystem, request.role, request.onDesktop, session);
    if (backend == nullptr) return smokedrift::SAVER_REFUSED;
    const smokedrift::outputs::OutputRun run =
        backend->processPerOutput ? smokedrift::outputs::runOnEveryOutput(session) : smokedrift::outputs::OutputRun{};
    if (run.ended >= 0) return run.ended;
    if (run.black) {
        smokedrift::SaverOptions black = command.saverOptions;
        black.sceneless = true;
        smokedrift::setSaverOptions(black);
    }
    // Without a display the one line saying so is the whole story: the host would go on to say
    // that it found no window to draw into (-root, /p N). A row that draws /s only answered when chosen.
    if (!backend->fullScreenOnly && smokedrift::needsDisplay(request.host) && !backend->probe(true)) {
        return smokedrift::SAVER_REFUSED;
    }
    if (request.ownWindow) {
        const HWND own = createOwnWindow();
        if (own == nullptr) return 255;
        request.host = smokedrift::previewOf(reinterpret_cast<std::uintptr_t>(own));
    } else if (request.onDesktop) {
        request.host = smokedrift::previewOf(reinterpret_cast<std::uintptr_t>(GetDesktopWindow()));
    }
    smokedrift::useDialogResources(smokedrift::configureDialogResources());
    smokedrift::runHost(request.host);
}

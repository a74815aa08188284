#include <gtest/gtest.h>

#include "main/command_line.h"
#include "main/hack_options.h"

using namespace smokedrift;

namespace {

// The product's rows, in their order: the session's Wayland first, X11 the last resort.
constexpr const char* WINDOW_SYSTEMS[] = {"--wayland", "--x11"};
constexpr auto WAYLAND = static_cast<WindowSystem>(0);
constexpr auto X11 = static_cast<WindowSystem>(1);

LinuxCommand readLine(const std::vector<std::string>& args, const char* xscreensaverWindow) {
    return readCommandLine(args, xscreensaverWindow, WINDOW_SYSTEMS);
}

struct Case {
    std::vector<std::string> args;
    const char* xscreensaverWindow;
    LinuxMode mode;
    int refusedCode;
    const char* errorPart;  // "" when accepted
};

}  // namespace

TEST(CommandLine, TheModeIsFoundWhereverItsOptionStandsAndUnknownOptionsAreRefused) {
    const Case cases[] = {
        {{"--size", "320x180", "--render", "out.png"}, nullptr, LinuxMode::Render, 0, ""},
        {{"--seed", "7", "--texture", "FOG", "--out", "f.png"}, nullptr, LinuxMode::Texture, 0, ""},
        {{"--frames", "2", "--help"}, nullptr, LinuxMode::Help, 0, ""},
        {{"/s", "--version"}, nullptr, LinuxMode::Version, 0, ""},
        {{"--texture-types"}, nullptr, LinuxMode::TextureTypes, 0, ""},
        {{"/s"}, nullptr, LinuxMode::Saver, 0, ""},
        {{"-root", "--fps", "--delay", "20000"}, "0x400001", LinuxMode::Saver, 0, ""},
        {{"--window-id", "0x400001"}, nullptr, LinuxMode::Saver, 0, ""},
        {{"--render", "a.png", "--texture", "FOG"}, nullptr, LinuxMode::Render, 2, "cannot be combined"},
        {{"--texture-types", "x"}, nullptr, LinuxMode::TextureTypes, 2, "nothing else"},
        {{"--size", "320x180", "/s"}, nullptr, LinuxMode::Saver, 255, "unknown option '--size'"},
        {{"--loud"}, nullptr, LinuxMode::Saver, 255, "unknown option '--loud'"},
        {{"/s", "--verbose", "--render-scale", "auto"}, nullptr, LinuxMode::Saver, 0, ""},
        {{"/s", "--render-scale", "5"}, nullptr, LinuxMode::Saver, 255, "--render-scale '5': expected auto or"},
        {{"-window-id", "garbage"}, nullptr, LinuxMode::Saver, 255, "'garbage': not a window id"},
        {{"-window-id", "4294967296"}, nullptr, LinuxMode::Saver, 255, "not a window id"},
        {{"-window-id"}, nullptr, LinuxMode::Saver, 255, "needs a window id"},
        {{"-root"}, "0x12zz", LinuxMode::Saver, 255, "XSCREENSAVER_WINDOW '0x12zz'"},
        {{"--fps"}, "12 ", LinuxMode::Saver, 255, "XSCREENSAVER_WINDOW"},
        {{"/s"}, "0x12zz", LinuxMode::Saver, 0, ""},  // the saver's own modes never read it
        {{"/s", "--delay", "-5"}, nullptr, LinuxMode::Saver, 255, "--delay '-5': expected microseconds"},
        {{"/s", "-delay", "1e99"}, nullptr, LinuxMode::Saver, 255, "expected microseconds"},
        {{"/s", "--delay"}, nullptr, LinuxMode::Saver, 255, "expected microseconds"},
        {{"/s", "--sprites", "0"}, nullptr, LinuxMode::Saver, 255, "--sprites '0'"},
        {{"--3d", "/s", "--sprites", "5"}, nullptr, LinuxMode::Saver, 0, ""},
        {{"--x11", "/s", "--wayland"}, nullptr, LinuxMode::Saver, 255, "--x11 and --wayland cannot be combined"},
        {{"--wayland", "/s", "--wayland"}, nullptr, LinuxMode::Saver, 0, ""},
        {{"--wayland", "/s", "--x11"}, nullptr, LinuxMode::Saver, 255, "--x11 and --wayland cannot be combined"},
        {{"--3d", "--idle", "300", "--verbose"}, nullptr, LinuxMode::Idle, 0, ""},
        {{"--idle", "86400", "--fps", "--delay", "0", "--x11"}, nullptr, LinuxMode::Idle, 0, ""},
        {{"--idle", "0"}, nullptr, LinuxMode::Idle, 255, "--idle '0': expected seconds from 1 to 86400"},
        {{"--idle", "86401"}, nullptr, LinuxMode::Idle, 255, "expected seconds from 1 to 86400"},
        {{"--idle", "--3d"}, nullptr, LinuxMode::Idle, 255, "--idle '--3d': expected seconds"},
        {{"--idle", "5", "--idle", "5"}, nullptr, LinuxMode::Idle, 255, "--idle given twice"},
        {{"--idle", "5", "/p", "12"}, nullptr, LinuxMode::Idle, 255, "scene options only, not '/p'"},
        {{"--idle", "5", "--sprites", "99"}, nullptr, LinuxMode::Idle, 255, "--sprites '99'"},
        {{"--idle", "5", "--render", "a.png"}, nullptr, LinuxMode::Idle, 255, "cannot be combined"},
        {{"--json", "--status"}, nullptr, LinuxMode::Control, 0, ""},
        {{"--pause", "90s"}, nullptr, LinuxMode::Control, 0, ""},
        {{"--pause", "0"}, nullptr, LinuxMode::Control, 2, "--pause '0': expected a duration"},
        {{"--pause"}, nullptr, LinuxMode::Control, 2, "--pause: expected a duration"},
        {{"--pause", "--status"}, nullptr, LinuxMode::Control, 2, "--pause '--status'"},
        {{"--status", "--watch"}, nullptr, LinuxMode::Control, 2, "--status and --watch cannot be combined"},
        {{"--activate", "--json"}, nullptr, LinuxMode::Control, 2, "--activate takes no --json"},
        {{"--resume", "/s"}, nullptr, LinuxMode::Control, 2, "'/s' has no place here"},
        {{"--idle", "5", "--status"}, nullptr, LinuxMode::Control, 2, "'--idle' has no place here"},
    };
    for (const Case& c : cases) {
        std::string line;
        for (const auto& a : c.args) line += a + " ";
        const LinuxCommand got = readLine(c.args, c.xscreensaverWindow);
        EXPECT_EQ(got.mode, c.mode) << line;
        EXPECT_EQ(got.refusedCode, c.refusedCode) << line;
        EXPECT_NE(got.error.find(c.errorPart), std::string::npos) << line << ": " << got.error;
        EXPECT_EQ(got.error.empty(), c.refusedCode == 0) << line;
    }
}

// Every word of xscreensaver's table, with one dash or two and a value at each end of its range,
// is the saver's; a number past the range is refused with the range.
TEST(CommandLine, TheSaverTakesEveryHackOptionOfTheTable) {
    for (const HackOption& o : hackOptions) {
        for (const std::string dashes : {"-", "--"}) {
            const std::string word = dashes + o.word;
            std::vector<std::vector<std::string>> lines;
            if (o.value == HackValue::None) lines = {{word}};
            if (o.value == HackValue::WindowId) lines = {{word, "0x400001"}};
            if (o.value == HackValue::Microseconds) {
                lines = {{word, std::to_string(o.low)}, {word, std::to_string(o.high)}};
                const LinuxCommand past = readLine({word, std::to_string(o.high + 1)}, nullptr);
                EXPECT_NE(past.error.find(" from " + std::to_string(o.low) + " to " + std::to_string(o.high)),
                          std::string::npos)
                    << past.error;
            }
            // -root draws on the desktop, -window-id into its window, every hack's flags alone in a
            // window of their own.
            const bool ownWindow = o.everyHack;
            for (const auto& line : lines) {
                const LinuxCommand got = readLine(line, nullptr);
                EXPECT_EQ(got.refusedCode, 0) << word << ": " << got.error;
                EXPECT_EQ(got.request.host.mode, HostMode::Preview) << word << " goes to the host";
                EXPECT_EQ(got.request.ownWindow, ownWindow) << word;
                EXPECT_EQ(got.request.onDesktop, o.value == HackValue::None && !ownWindow) << word;
                EXPECT_EQ(got.request.host.window, o.value == HackValue::WindowId ? 0x400001u : 0u) << word;
            }
        }
    }
    EXPECT_EQ(readLine({"---fps"}, nullptr).refusedCode, SAVER_REFUSED);
}

TEST(CommandLine, TheSaverKeepsItsSceneOptionsAndHandsTheRestToTheHost) {
    const LinuxCommand got = readLine({"--sprites", "5", "/s", "--3d", "--delay", "33333"}, nullptr);
    EXPECT_EQ(got.saverOptions.scene.sprites, 5);
    EXPECT_NE(got.saverOptions.scene.switches, 0u);
    EXPECT_EQ(got.saverOptions.delayMicroseconds, 33333);
    EXPECT_EQ(got.request.host.mode, HostMode::Saver);
    EXPECT_EQ(got.request.role, platform::SurfaceRole::FullScreen);
}

TEST(CommandLine, AWindowSystemIsChosenOnlyWhenAskedForAndNeverReachesTheHost) {
    EXPECT_EQ(readLine({"/s"}, nullptr).windowSystem, WindowSystem::Session);
    const LinuxCommand wayland = readLine({"--wayland", "/s"}, nullptr);
    EXPECT_EQ(wayland.windowSystem, WAYLAND);
    EXPECT_EQ(wayland.request.host.mode, HostMode::Saver);  // "--wayland /s" would read as /w
    EXPECT_EQ(readLine({"/c", "--x11"}, nullptr).windowSystem, X11);
}

TEST(CommandLine, TheWatcherHandsItsSaverOptionsOnAsGiven) {
    const LinuxCommand got = readLine({"--sprites", "5", "--idle", "60", "--verbose", "--3d", "--fps"}, nullptr);
    EXPECT_EQ(got.mode, LinuxMode::Idle);
    EXPECT_EQ(got.idleSeconds, 60);
    EXPECT_TRUE(got.idleVerbose);
    EXPECT_EQ(got.idleSaverOptions, (std::vector<std::string>{"--sprites", "5", "--3d", "--fps"}));
}

// The host's reading of its switch, which the entry decides the window system and the display by.
TEST(CommandLine, TheHostsSwitchIsReadAsTheHostReadsIt) {
    using M = HostMode;
    const struct {
        const char* tail;
        HostMode mode;
        std::uint32_t window;
        bool needsDisplay;
    } cases[] = {
        {"/s", M::Saver, 0, true},        {"-S", M::Saver, 0, true},
        {" //s 5", M::Saver, 0, true},    {"", M::Dialog, 0, true},
        {"/", M::Dialog, 0, true},        {"/c", M::Settings, 0, true},
        {"/c:12", M::Settings, 12, true}, {"/c 12", M::Settings, 0, true},
        {"/p 0", M::Preview, 0, true},    {"-L  42", M::Preview, 42, true},
        {"/p12ab", M::Preview, 12, true}, {"/p 4294967297", M::Preview, 0, true},
        {"/p", M::Preview, 0, false},     {"/p x", M::Preview, 0, false},
        {"-a 3", M::Password, 3, false},  {"/x", M::Unknown, 0, false},
        {"\ts", M::Unknown, 0, false},    {"/p 4294967295", M::Preview, 4294967295u, true},
    };
    for (const auto& c : cases) {
        const HostRequest got = readHostSwitch(c.tail);
        EXPECT_EQ(got.mode, c.mode) << c.tail;
        EXPECT_EQ(got.window, c.window) << c.tail;
        EXPECT_EQ(needsDisplay(got), c.needsDisplay) << c.tail;
    }
}

// The role is decided from the words once: the window system is chosen by it and the host makes
// the window it says.
TEST(CommandLine, TheSurfacesRoleIsDecidedOnceFromTheWords) {
    using R = platform::SurfaceRole;
    const struct {
        std::vector<std::string> args;
        const char* xscreensaverWindow;
        R role;
        bool ownWindow, onDesktop;
    } cases[] = {
        {{"/s", "--fps"}, nullptr, R::FullScreen, false, false}, {{"-p", "12"}, nullptr, R::Preview, false, false},
        {{"-root"}, "0x2a", R::Preview, false, false},           {{"-root"}, nullptr, R::Preview, false, true},
        {{"--window"}, nullptr, R::Window, true, false},         {{"/c"}, nullptr, R::Window, false, false},
        {{"--fps", "/s"}, nullptr, R::Window, false, false},
    };
    for (const auto& c : cases) {
        const SaverRequest got = readLine(c.args, c.xscreensaverWindow).request;
        EXPECT_EQ(got.role, c.role) << c.args[0];
        EXPECT_EQ(got.ownWindow, c.ownWindow) << c.args[0];
        EXPECT_EQ(got.onDesktop, c.onDesktop) << c.args[0];
    }
}

TEST(CommandLine, TheWatcherCommandsCarryTheirRequest) {
    const LinuxCommand pause = readLine({"--pause", "30m"}, nullptr);
    EXPECT_EQ(pause.control.command, ControlCommand::Pause);
    EXPECT_EQ(pause.control.seconds, 1800);
    const LinuxCommand watch = readLine({"--watch", "--json"}, nullptr);
    EXPECT_EQ(watch.control.command, ControlCommand::Watch);
    EXPECT_TRUE(watch.control.json);
}

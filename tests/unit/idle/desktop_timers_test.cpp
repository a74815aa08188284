// The desktop's timers against the watcher's idle time: from each desktop's values (GNOME's
// settings, Plasma's files, the X server's), which timer comes first and the line said at start.
#include <gtest/gtest.h>

#include <initializer_list>
#include <ostream>
#include <string>
#include <vector>

#include "idle/desktop_timers.h"

namespace smokedrift::idle {
namespace {

// A file cascade, lowest priority first.
KdeConfig kde(std::initializer_list<const char*> files) {
    KdeConfig config;
    for (const char* text : files) config.read(text);
    return config;
}

struct Case {
    const char* name;
    std::vector<DesktopTimer> timers;
    long watcher;
    const char* line;  // nullptr: nothing comes first
};

void PrintTo(const Case& c, std::ostream* os) { *os << c.name; }

class DesktopTimersTest : public testing::TestWithParam<Case> {};

TEST_P(DesktopTimersTest, FirstTimerAndItsLine) {
    const Case& c = GetParam();
    const auto first = firstBefore(c.timers, c.watcher);
    if (c.line == nullptr) {
        EXPECT_FALSE(first) << warningLine(*first, c.watcher);
    } else {
        ASSERT_TRUE(first);
        EXPECT_EQ(warningLine(*first, c.watcher), c.line);
    }
}

const char* const plasmaPower =
    "[AC]\nicon=battery-charging\n[AC][DPMSControl]\nidleTime=120\n[Battery][DPMSControl]\nidleTime=60\n";

INSTANTIATE_TEST_SUITE_P(
    Desktops, DesktopTimersTest,
    testing::Values(
        Case{"GnomeDefaultsAtTheirOwnTime", gnomeTimers({300, true, 0}), 300,
             "GNOME blanks the screen after 300 s (org.gnome.desktop.session idle-delay), no later than --idle 300: "
             "the saver will not be seen; change it in Settings > Power > Screen Blank, or give the watcher less "
             "time"},
        Case{"GnomeDefaultsAfterTheUnit", gnomeTimers({300, true, 0}), 180, nullptr},
        // No blank, so no lock either, whatever lock-delay says.
        Case{"GnomeNeverIdle", gnomeTimers({0, true, 0}), 300, nullptr},
        Case{"PlasmaWithoutFiles", plasmaTimers(kde({}), kde({})), 300,
             "KDE Plasma locks the screen after 300 s (kscreenlockerrc [Daemon] Autolock, Timeout), no later than "
             "--idle 300: the saver will not be seen; change it in System Settings > Workspace Behavior > Screen "
             "Locking, or give the watcher less time"},
        // Mains power's profile, not the battery's.
        Case{"PlasmaScreenOffOnMains", plasmaTimers(kde({"[Daemon]\nAutolock=false\n"}), kde({plasmaPower})), 180,
             "KDE Plasma switches the screen off after 120 s (powermanagementprofilesrc [AC][DPMSControl] idleTime), "
             "no later than --idle 180: the saver will not be seen; change it in System Settings > Power Management > "
             "Energy Saving > Screen Energy Saving, or give the watcher less time"},
        // A profile without screen energy saving switches nothing off.
        Case{"PlasmaProfilesWithoutScreenOff",
             plasmaTimers(kde({"[Daemon]\nTimeout=10\n"}), kde({"[AC]\nicon=battery-charging\n"})), 300, nullptr},
        // The system's immutable value holds against the user's file; a translated key is not it.
        Case{"PlasmaImmutableSystemTimeout",
             plasmaTimers(kde({"[Daemon][$i]\nTimeout=2\n", "[Daemon]\nTimeout=30\nAutolock[de]=false\n"}), kde({})),
             180,
             "KDE Plasma locks the screen after 120 s (kscreenlockerrc [Daemon] Autolock, Timeout), no later than "
             "--idle 180: the saver will not be seen; change it in System Settings > Workspace Behavior > Screen "
             "Locking, or give the watcher less time"},
        Case{"PlasmaUserTimeout", plasmaTimers(kde({"[Daemon]\nTimeout=2\n", "[Daemon]\nTimeout=30\n"}), kde({})), 180,
             nullptr},
        // Plasma 6: PowerDevil's own file; after a migration the stale Plasma 5 group says nothing.
        Case{"Plasma6ScreenOffAfterMigration",
             plasmaTimers(kde({"[Daemon]\nAutolock=false\n"}),
                          kde({plasmaPower, "[Migration]\nMigratedProfilesToPlasma6=powerdevilrc\n"}),
                          kde({"[AC][Display]\nTurnOffDisplayIdleTimeoutSec=240\n"})),
             300,
             "KDE Plasma switches the screen off after 240 s (powerdevilrc [AC][Display] TurnOffDisplayWhenIdle, "
             "TurnOffDisplayIdleTimeoutSec), no later than --idle 300: the saver will not be seen; change it in "
             "System Settings > Power Management > On AC Power, or give the watcher less time"},
        // A fresh Plasma 6 account: the screen off at 600 s, dimming (still seen) at 300 s.
        Case{"Plasma6Defaults",
             plasmaTimers(kde({"[Daemon]\nAutolock=false\n"}),
                          kde({"[Migration]\nMigratedProfilesToPlasma6=powerdevilrc\n"}), kde({})),
             600,
             "KDE Plasma switches the screen off after 600 s (powerdevilrc [AC][Display] TurnOffDisplayWhenIdle, "
             "TurnOffDisplayIdleTimeoutSec), no later than --idle 600: the saver will not be seen; change it in "
             "System Settings > Power Management > On AC Power, or give the watcher less time"},
        Case{"Plasma6NoScreenOff",
             plasmaTimers(kde({"[Daemon]\nAutolock=false\n"}), kde({}),
                          kde({"[AC][Display]\nTurnOffDisplayWhenIdle=false\n[AC][SuspendAndShutdown]\n"
                               "AutoSuspendAction=0\n"}),
                          6),
             3000, nullptr},
        // Plasma 6 stores the locker's minutes as a double.
        Case{"Plasma6FractionalLockMinutes", plasmaTimers(kde({"[Daemon]\nTimeout=2.5\n"}), kde({}), kde({}), 6), 180,
             "KDE Plasma locks the screen after 150 s (kscreenlockerrc [Daemon] Autolock, Timeout), no later than "
             "--idle 180: the saver will not be seen; change it in System Settings > Workspace Behavior > Screen "
             "Locking, or give the watcher less time"},
        Case{"X11SaverFirst", x11Timers({3, false, false, 0, 0, 0}), 5,
             "the X server starts its screen saver after 3 s (xset s), no later than --idle 5: the saver will not be "
             "seen; change it with xset s SECONDS (or xset s off), or give the watcher less time"},
        Case{"X11DpmsOffFirst", x11Timers({600, true, true, 0, 0, 120}), 300,
             "the X server switches the monitor off after 120 s (DPMS off), no later than --idle 300: the saver will "
             "not be seen; change it with xset dpms STANDBY SUSPEND OFF (or xset -dpms), or give the watcher less "
             "time"},
        Case{"X11DpmsDisabled", x11Timers({0, true, false, 60, 60, 60}), 300, nullptr}));

}  // namespace
}  // namespace smokedrift::idle

#pragma once
// GNOME Shell opens its Activities overview at login and keeps it open until asked; a full-screen
// window that appears while it is open shows only as a thumbnail inside it. So the GNOME source
// closes it just before the watcher starts the saver (and at no other time: the overview is the
// user's).
#include <systemd/sd-bus.h>

namespace smokedrift::idle {

// Asks the shell behind the unique name `shell` to close the overview (org.gnome.Shell's
// OverviewActive set to false), without waiting for the answer: a shell that refuses, or a bare
// mutter without the property, leaves things as they are (and a broken bus shows at the next read).
void closeGnomeOverview(sd_bus* bus, const char* shell);

}  // namespace smokedrift::idle

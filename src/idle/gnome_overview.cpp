#include "idle/gnome_overview.h"

namespace smokedrift::idle {

void closeGnomeOverview(sd_bus* bus, const char* shell) {
    sd_bus_message* m = nullptr;
    int r =
        sd_bus_message_new_method_call(bus, &m, shell, "/org/gnome/Shell", "org.freedesktop.DBus.Properties", "Set");
    if (r >= 0) r = sd_bus_message_append(m, "ssv", "org.gnome.Shell", "OverviewActive", "b", 0);
    // Sent now (sd-bus writes at once into an empty queue), so the shell has it before the saver's
    // window can appear.
    if (r >= 0) sd_bus_call_async(bus, nullptr, m, nullptr, nullptr, 0);
    sd_bus_message_unref(m);
}

}  // namespace smokedrift::idle

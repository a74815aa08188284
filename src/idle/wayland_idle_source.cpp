// Placeholder until this source is written: the session never offers it.
#include "idle/idle_sources.h"

namespace smokedrift::idle {

std::unique_ptr<IdleSource> openWaylandIdleSource() { return nullptr; }

}  // namespace smokedrift::idle

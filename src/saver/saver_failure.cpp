// How a mode that cannot run says why.
#include <cstdio>

#include "host/saver_host.h"

namespace smokedrift {

void modeFailed([[maybe_unused]] const char* reason) {
#if !defined(_WIN32)
    // Typed at a shell, the exit code alone says nothing; a Windows saver answers the system
    // through its exit code only, as the screen-saver contract has it.
    std::fprintf(stderr, "smokedrift: %s\n", reason);
#endif
}

}  // namespace smokedrift

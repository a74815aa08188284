#pragma once
// The saver's dialog templates on POSIX, for the entry to hand down to the backends at start.
#include <span>

#include "platform/win32/posix_resources.h"

namespace smokedrift {

std::span<const DialogResource> configureDialogResources();

}  // namespace smokedrift

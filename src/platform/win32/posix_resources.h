#pragma once
// Dialog templates on POSIX. On Windows they sit in the program's resource section and the host
// opens them by number; here the application hands them down at start and the backend looks them
// up by the same number.
#include <span>

#include "platform/win32/win32_api.h"

namespace smokedrift {

constexpr int MAX_DIALOG_LINES = 4;

// A template as the X11 dialog shows it: the caption, lines of static text, then OK and Cancel.
struct DialogResource {
    WORD id;
    const char* caption;
    int lineCount;
    const char* lines[MAX_DIALOG_LINES];
};

// The templates from now on, as the POSIX entry hands them down before the host starts. They
// stay where they are: static data.
void useDialogResources(std::span<const DialogResource> dialogs);
// The template with that id, or null when there is none.
const DialogResource* findDialogResource(WORD id);

}  // namespace smokedrift

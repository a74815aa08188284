// The dialog templates the application handed down, found by number as Windows finds a resource.
#include "platform/win32/posix_resources.h"

namespace smokedrift {

namespace {
std::span<const DialogResource> templates;
}

void useDialogResources(std::span<const DialogResource> dialogs) { templates = dialogs; }

const DialogResource* findDialogResource(WORD id) {
    for (const DialogResource& dialog : templates) {
        if (dialog.id == id) return &dialog;
    }
    return nullptr;
}

}  // namespace smokedrift

// The saver's dialog templates on POSIX, from the identifiers and words res/smokedrift.rc puts
// into the .scr on Windows.
#include "dialog_text.h"
#include "platform/posix_resources.h"
#include "resource.h"
#include "version.h"

namespace smokedrift {

namespace {

constexpr DialogResource DIALOGS[] = {
    {IDD_CONFIGURE, SMOKEDRIFT_DIALOG_CAPTION, 2, {SMOKEDRIFT_TITLE, SMOKEDRIFT_NO_OPTIONS_TEXT}},
};

}  // namespace

const DialogResource* findDialogResource(WORD id) {
    for (const DialogResource& dialog : DIALOGS) {
        if (dialog.id == id) return &dialog;
    }
    return nullptr;
}

}  // namespace smokedrift

// The saver's dialog templates on POSIX, from the identifiers and words res/smokedrift.rc puts
// into the .scr on Windows.
#include "saver/configure_dialog_resources.h"

#include "dialog_text.h"
#include "resource.h"
#include "version.h"

namespace smokedrift {

namespace {

constexpr DialogResource DIALOGS[] = {
    {IDD_CONFIGURE, SMOKEDRIFT_DIALOG_CAPTION, 2, {SMOKEDRIFT_TITLE, SMOKEDRIFT_NO_OPTIONS_TEXT}},
};

}  // namespace

std::span<const DialogResource> configureDialogResources() { return DIALOGS; }

}  // namespace smokedrift

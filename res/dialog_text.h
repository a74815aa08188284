#pragma once
// The configuration dialog's words, written once: the resource script and the POSIX build of the
// same template both take them from here.
#define SMOKEDRIFT_DIALOG_CAPTION "smokedrift"
#define SMOKEDRIFT_NO_OPTIONS_TEXT "This screen saver has no options."

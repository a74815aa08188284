// The configuration mode's hooks: the saver has no settings, so the dialog only confirms.
#include "host/saver_host.h"

namespace smokedrift {

INT_PTR CALLBACK configureDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    if (message != WM_COMMAND) return FALSE;
    switch (LOWORD(wParam)) {
    case IDOK: EndDialog(dialog, 1); return TRUE;
    case IDCANCEL: EndDialog(dialog, 0); return TRUE;
    default: return FALSE;
    }
}

BOOL registerDialogClasses(HINSTANCE) { return TRUE; }

}  // namespace smokedrift

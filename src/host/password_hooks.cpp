// The optional password libraries, the password-change and configuration modes.
#include "host/host_state.h"
#include "host/saver_host.h"

namespace smokedrift {

HostState hostState;

void resetHostState() { hostState = HostState{}; }

void setSaverRunning(UINT on) {
    if (!hostState.win9xPlatform) return;
    UINT previous = 0;
    SystemParametersInfoA(SPI_SETSCREENSAVERRUNNING, on, &previous, 0);
}

void unloadPasswordHook() {
    if (!hostState.win9xPlatform) return;
    if (hostState.passwordLibrary == nullptr) return;
    FreeLibrary(hostState.passwordLibrary);
    hostState.passwordLibrary = nullptr;
    if (hostState.verifyPasswordFn != nullptr) {
        hostState.verifyPasswordFn = nullptr;
        setSaverRunning(0);
    }
}

void loadPasswordHook() {
    if (!hostState.win9xPlatform) return;
    if (hostState.passwordLibrary != nullptr) unloadPasswordHook();
    HKEY desktop = nullptr;
    if (RegOpenKeyA(HKEY_CURRENT_USER, "Control Panel\\Desktop", &desktop) != ERROR_SUCCESS) return;
    DWORD usePassword = 0;
    DWORD size = sizeof(usePassword);
    const LSTATUS status = RegQueryValueExA(desktop, "ScreenSaveUsePassword", nullptr, nullptr,
                                            reinterpret_cast<LPBYTE>(&usePassword), &size);
    if (status == ERROR_SUCCESS && usePassword != 0) {
        hostState.passwordLibrary = LoadLibraryA("PASSWORD.CPL");
        if (hostState.passwordLibrary != nullptr) {
            hostState.verifyPasswordFn = exportOf<VerifyPasswordFn>(hostState.passwordLibrary, "VerifyScreenSavePwd");
            if (hostState.verifyPasswordFn != nullptr) {
                setSaverRunning(1);
            } else {
                unloadPasswordHook();
            }
        }
    }
    RegCloseKey(desktop);
}

int changePassword(HWND parent) {
    const HMODULE library = LoadLibraryA("MPR.DLL");
    if (library != nullptr) {
        const auto change = exportOf<ChangePasswordFn>(library, "PwdChangePasswordA");
        if (change != nullptr) change("SCRSAVE", parent, 0, nullptr);
        FreeLibrary(library);
    }
    return 0;
}

int showConfigureDialog(HWND owner) {
    if (registerDialogClasses(hostState.instanceHandle) == 0) return 0;
    return static_cast<int>(DialogBoxParamA(hostState.instanceHandle, MAKEINTRESOURCEA(CONFIGURE_DIALOG_ID), owner,
                                            &configureDialogProc, 0));
}

}  // namespace smokedrift

; The Windows installer of smokedrift. cmake/windows_installer.cmake runs makensis on it with
; VERSION, SCR (the built .scr), LICENSE, ICON and OUTFILE defined.
;
; The saver goes into the system folder, where the screen-saver settings list it; the uninstaller
; lives in its own folder under Program Files. A silent install (/S) leaves the current screen
; saver alone unless /SETSAVER is given; interactively the choice is a checked component.

; The .scr is 64-bit only, so the installer is too: a 64-bit process sees the real System32 as
; $SYSDIR and the 64-bit registry, with no file-system or registry redirection to switch off.
Target amd64-unicode

!include LogicLib.nsh
!include FileFunc.nsh
!include Sections.nsh
!include MUI2.nsh

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\smokedrift"
!define DESKTOP_KEY "Control Panel\Desktop"
!define SAVER "$SYSDIR\smokedrift.scr"
!define PUBLISHER "the smokedrift authors"

Name "smokedrift ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\smokedrift"
RequestExecutionLevel admin
ManifestDPIAware true
SetCompressor /SOLID lzma
BrandingText "smokedrift ${VERSION}"

VIProductVersion "${VERSION}.0"
VIFileVersion "${VERSION}.0"
VIAddVersionKey "ProductName" "smokedrift"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "FileDescription" "smokedrift screen saver setup"
VIAddVersionKey "CompanyName" "${PUBLISHER}"
VIAddVersionKey "LegalCopyright" "Copyright (c) 2026 ${PUBLISHER}, MIT License"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_COMPONENTSPAGE_NODESC

!insertmacro MUI_PAGE_LICENSE "${LICENSE}"
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

Section "smokedrift screen saver" SEC_SAVER
  SectionIn RO
  SetOutPath "$SYSDIR"
  File "/oname=smokedrift.scr" "${SCR}"

  SetOutPath "$INSTDIR"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "smokedrift screen saver"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "${SAVER}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

; The saver it replaces is kept beside the uninstall entries, so the uninstaller can put it back
; and nothing else needs removing. A reinstall while smokedrift is already the saver keeps what
; the first install remembered.
Section "Make smokedrift the current screen saver" SEC_SETSAVER
  ReadRegStr $0 HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
  ${If} $0 != "${SAVER}"
    ClearErrors
    ReadRegStr $0 HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
    ${If} ${Errors}
      DeleteRegValue HKLM "${UNINSTALL_KEY}" "PreviousScreenSaver"
    ${Else}
      WriteRegStr HKLM "${UNINSTALL_KEY}" "PreviousScreenSaver" $0
    ${EndIf}
  ${EndIf}
  WriteRegStr HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE" "${SAVER}"
SectionEnd

Function .onInit
  ${If} ${Silent}
    ${GetParameters} $0
    ClearErrors
    ${GetOptions} $0 "/SETSAVER" $1
    ${If} ${Errors}
      !insertmacro UnselectSection ${SEC_SETSAVER}
    ${EndIf}
  ${EndIf}
FunctionEnd

Section "Uninstall"
  ; Only a setting that still names smokedrift is changed: a saver picked since then stays. With
  ; nothing remembered there was no saver before, and none is left pointing at a removed file.
  ReadRegStr $0 HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
  ${If} $0 == "${SAVER}"
    ClearErrors
    ReadRegStr $1 HKLM "${UNINSTALL_KEY}" "PreviousScreenSaver"
    ${If} ${Errors}
      DeleteRegValue HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
    ${Else}
      WriteRegStr HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE" $1
    ${EndIf}
  ${EndIf}

  ; A saver running now keeps its file until the next restart.
  Delete /REBOOTOK "${SAVER}"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
SectionEnd

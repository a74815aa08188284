; The Windows installer of smokedrift. cmake/windows_installer.cmake runs makensis on it with
; VERSION, SCR (the built .scr), LICENSE, ICON and OUTFILE defined.
;
; The saver goes into the system folder, where the screen-saver settings list it; the uninstaller
; and the licence live in their own folder under Program Files. A silent install (/S) leaves the
; current screen saver alone unless /SETSAVER is given; interactively the choice is a checked
; component, and the last page offers to open the screen-saver settings. The MIT licence asks
; nothing of a user, so there is no page to accept it: it is named and installed beside the
; uninstaller.

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
; The files' times are not stored, so the installer's bytes depend on their contents alone.
SetDateSave off
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
!define MUI_COMPONENTSPAGE_TEXT_TOP "smokedrift is free software under the MIT licence; setup puts the licence in LICENSE.txt beside the uninstaller."
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_TEXT "Open the screen-saver settings"
!define MUI_FINISHPAGE_RUN_FUNCTION OpenScreenSaverSettings
; Removing touches two places: the confirmation names both, not only the uninstaller's folder.
!define MUI_UNCONFIRMPAGE_TEXT_TOP "smokedrift will be removed: the screen saver smokedrift.scr from the system folder, and the uninstaller and licence from the folder below. If smokedrift is the current screen saver, the one it replaced comes back."
!define MUI_UNCONFIRMPAGE_TEXT_LOCATION "Uninstaller and licence in:"

!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

Section "smokedrift screen saver" SEC_SAVER
  SectionIn RO
  SetOutPath "$SYSDIR"
  File "/oname=smokedrift.scr" "${SCR}"

  SetOutPath "$INSTDIR"
  File "/oname=LICENSE.txt" "${LICENSE}"
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
  ; Installed programs shows the size (KiB) from here: the saver and the uninstaller's folder.
  ${GetSize} "$SYSDIR" "/M=smokedrift.scr /S=0K /G=0" $0 $1 $2
  ${GetSize} "$INSTDIR" "/S=0K" $1 $2 $3
  IntOp $0 $0 + $1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

; Windows takes the screen-saver setting in any case and in the 8.3 short form too, so a setting
; names smokedrift when its short form is smokedrift's (compared without case, as NSIS compares).
; A path whose file is gone has no short form: then the paths as they are. $R0: the setting;
; sets $R1 to 1 when it names smokedrift, else to 0.
!macro NAMES_SMOKEDRIFT_FUNCTION PREFIX
  Function ${PREFIX}NamesSmokedrift
    Push $R2
    Push $R3
    GetFullPathName /SHORT $R2 $R0
    GetFullPathName /SHORT $R3 "${SAVER}"
    ${If} $R2 == ""
    ${OrIf} $R3 == ""
      StrCpy $R2 $R0
      StrCpy $R3 "${SAVER}"
    ${EndIf}
    StrCpy $R1 0
    ${If} $R0 != ""
    ${AndIf} $R2 == $R3
      StrCpy $R1 1
    ${EndIf}
    Pop $R3
    Pop $R2
  FunctionEnd
!macroend
!insertmacro NAMES_SMOKEDRIFT_FUNCTION ""
!insertmacro NAMES_SMOKEDRIFT_FUNCTION "un."

; The saver it replaces is kept beside the uninstall entries, so the uninstaller can put it back
; and nothing else needs removing. A reinstall while smokedrift is already the saver keeps what
; the first install remembered.
Section "Make smokedrift the current screen saver" SEC_SETSAVER
  ReadRegStr $R0 HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
  Call NamesSmokedrift
  ${If} $R1 == 0
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

; The installer runs as administrator; the settings it opens are those of the account it runs as,
; which is the user's own when they confirmed the elevation themselves.
Function OpenScreenSaverSettings
  Exec '"$SYSDIR\control.exe" desk.cpl,,@screensaver'
FunctionEnd

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

; Run without _?=, the uninstaller works from a copy of itself in $TEMP\~nsuN.tmp, which Windows
; keeps while it runs and NSIS leaves behind. A hidden command shell deletes the copy and then its
; folder once this process has ended, trying once a second (ping's wait) for a minute at most.
Function un.onUninstSuccess
  ${GetFileName} $EXEDIR $0
  StrCpy $0 $0 4
  ${If} $0 == "~nsu"
  ${AndIf} $EXEDIR != $INSTDIR
    SetOutPath $TEMP
    ExecShell "" "$SYSDIR\cmd.exe" '/d /c for /l %i in (1,1,60) do (del /f /q "$EXEPATH" 2>nul & rmdir "$EXEDIR" 2>nul & if exist "$EXEDIR\" (ping -n 2 127.0.0.1 >nul) else exit)' SW_HIDE
  ${EndIf}
FunctionEnd

Section "Uninstall"
  ; Only a setting that still names smokedrift is changed: a saver picked since then stays. With
  ; nothing remembered there was no saver before, and none is left pointing at a removed file.
  ReadRegStr $R0 HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
  Call un.NamesSmokedrift
  ${If} $R1 == 1
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
  Delete "$INSTDIR\LICENSE.txt"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
SectionEnd

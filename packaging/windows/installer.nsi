; The Windows installer of ZUBA-TRILO, built by `make windows` with Debian's
; NSIS (makensis) from the files of the zip:
;   makensis -DVERSION=X.Y.Z -DSTAGE=DIR -DICON=ICO -DSIZE_KB=N -DOUTFILE=SETUP.EXE installer.nsi
; It installs into Program Files, adds a Start menu shortcut with the game's
; icon and registers the uninstaller in Windows' list of installed apps.
; Both run silently with /S. The player's settings (%APPDATA%\zuba-trilo)
; are never touched.
; A 64-bit installer, as the game is: it needs no 32-bit Windows layer (nor
; Wine's) to run.
Target amd64-unicode
!include "MUI2.nsh"

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\ZUBA-TRILO"

Name "ZUBA-TRILO ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\ZUBA-TRILO"
RequestExecutionLevel admin
SetCompressor /SOLID lzma
!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
VIProductVersion "${VERSION}.0"
VIAddVersionKey "ProductName" "ZUBA-TRILO"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "FileDescription" "ZUBA-TRILO ${VERSION} installer"
VIAddVersionKey "LegalCopyright" "Copyright the ZUBA-TRILO developers; MIT License"

!insertmacro MUI_PAGE_LICENSE "${STAGE}/LICENSE.txt"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN "$INSTDIR\zuba-trilo.exe"
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

; The files of the zip, one list for installing and removing.
!macro FILES DO
  !insertmacro ${DO} "zuba-trilo.exe"
  !insertmacro ${DO} "zuba-trilo-replay.exe"
  !insertmacro ${DO} "SDL.dll"
  !insertmacro ${DO} "SDL2.dll"
  !insertmacro ${DO} "LICENSE.txt"
  !insertmacro ${DO} "README.txt"
  !insertmacro ${DO} "SDL2-LICENSE.txt"
  !insertmacro ${DO} "sdl12-compat-LICENSE.txt"
!macroend
!macro INSTALL_FILE NAME
  File "${STAGE}/${NAME}"
!macroend
!macro REMOVE_FILE NAME
  Delete "$INSTDIR\${NAME}"
!macroend

; For all users: the shortcut goes into the common Start menu.
Function .onInit
  SetShellVarContext all
FunctionEnd

Function un.onInit
  SetShellVarContext all
FunctionEnd

Section "ZUBA-TRILO"
  SetOutPath "$INSTDIR"
  !insertmacro FILES INSTALL_FILE
  WriteUninstaller "$INSTDIR\uninstall.exe"
  CreateShortcut "$SMPROGRAMS\ZUBA-TRILO.lnk" "$INSTDIR\zuba-trilo.exe" "" "$INSTDIR\zuba-trilo.exe" 0
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "ZUBA-TRILO"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "The ZUBA-TRILO developers"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\zuba-trilo.exe,0"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" ${SIZE_KB}
SectionEnd

; Removes what the installer put there and nothing else: a folder the player
; chose that holds other files stays, with those files.
Section "Uninstall"
  Delete "$SMPROGRAMS\ZUBA-TRILO.lnk"
  !insertmacro FILES REMOVE_FILE
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd

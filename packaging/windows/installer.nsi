; The Windows installer of ZUBA-TRILO, built by `make windows` with Debian's
; NSIS (makensis) from the files of the zip:
;   makensis -DVERSION=X.Y.Z -DSTAGE=DIR -DICON=ICO -DSIZE_KB=N -DOUTFILE=SETUP.EXE installer.nsi
; By default it installs for the player alone, without administrator rights
; and so without a UAC prompt: into %LOCALAPPDATA%\Programs\ZUBA-TRILO, with
; a Start menu shortcut and an entry in the installed apps of that user.
; /AllUsers, from a Command Prompt run as administrator, installs into
; Program Files for everyone instead. Both run silently with /S, and the
; uninstaller removes whichever it belongs to. The player's settings and
; screenshots (%APPDATA%\zuba-trilo) are never touched.
; A 64-bit installer, as the game is: it needs no 32-bit Windows layer (nor
; Wine's) to run.
Target amd64-unicode
!include "MUI2.nsh"
!include "LogicLib.nsh"
!include "FileFunc.nsh"

; NSIS's MultiUser: per-user by default; the installer asks for no more
; rights than the player has. Its choice of folder and of Start menu is
; used; the command line is read below, so that a silent install that
; cannot have what it asked for says so without a dialog waiting for a click.
!define MULTIUSER_EXECUTIONLEVEL Standard
!define MULTIUSER_INSTALLMODE_INSTDIR "ZUBA-TRILO"
!define MULTIUSER_USE_PROGRAMFILES64
!define MULTIUSER_NOUNINSTALL
!include "MultiUser.nsh"

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\ZUBA-TRILO"

Name "ZUBA-TRILO ${VERSION}"
OutFile "${OUTFILE}"
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

;   /AllUsers      for everyone, into Program Files (administrator rights)
;   /CurrentUser   for this player alone (the default)
; Without the rights /AllUsers asks for, the installer ends with Windows'
; code for "the requested operation requires elevation", 740.
Function .onInit
  UserInfo::GetAccountType
  Pop $MultiUser.Privileges
  Call MultiUser.InstallMode.CurrentUser
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/AllUsers" $1
  ${IfNot} ${Errors}
    ${If} $MultiUser.Privileges == "Admin"
    ${OrIf} $MultiUser.Privileges == "Power"
      Call MultiUser.InstallMode.AllUsers
    ${Else}
      MessageBox MB_OK|MB_ICONSTOP "Installing for all users needs administrator rights: run the installer as administrator, or leave out /AllUsers to install for yourself alone." /SD IDOK
      SetErrorLevel 740
      Quit
    ${EndIf}
  ${EndIf}
FunctionEnd

; The uninstaller belongs to the install it sits in: for all users when the
; machine's list of installed apps names its folder, else for this player.
Function un.onInit
  UserInfo::GetAccountType
  Pop $MultiUser.Privileges
  ReadRegStr $0 HKLM "${UNINSTALL_KEY}" "InstallLocation"
  ${If} $0 == $INSTDIR
    ${If} $MultiUser.Privileges != "Admin"
    ${AndIf} $MultiUser.Privileges != "Power"
      MessageBox MB_OK|MB_ICONSTOP "ZUBA-TRILO was installed for all users: removing it needs administrator rights." /SD IDOK
      SetErrorLevel 740
      Quit
    ${EndIf}
    SetShellVarContext all
  ${Else}
    SetShellVarContext current
  ${EndIf}
FunctionEnd

Section "ZUBA-TRILO"
  SetOutPath "$INSTDIR"
  !insertmacro FILES INSTALL_FILE
  WriteUninstaller "$INSTDIR\uninstall.exe"
  CreateShortcut "$SMPROGRAMS\ZUBA-TRILO.lnk" "$INSTDIR\zuba-trilo.exe" "" "$INSTDIR\zuba-trilo.exe" 0
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayName" "ZUBA-TRILO"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "Publisher" "The ZUBA-TRILO developers"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\zuba-trilo.exe,0"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoRepair" 1
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "EstimatedSize" ${SIZE_KB}
SectionEnd

; Removes what the installer put there and nothing else: a folder the player
; chose that holds other files stays, with those files.
Section "Uninstall"
  Delete "$SMPROGRAMS\ZUBA-TRILO.lnk"
  !insertmacro FILES REMOVE_FILE
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  DeleteRegKey SHCTX "${UNINSTALL_KEY}"
SectionEnd

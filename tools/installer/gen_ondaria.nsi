; Installer of the Ondaria plugin for Winamp, in French.
;   makensis -DDIST=<folder with gen_ondaria.dll and gen_ondaria\> -DOUTFILE=<setup.exe> gen_ondaria.nsi
; Silent: gen_ondaria-2b-setup.exe /S /D=C:\Program Files\Winamp
Unicode true
!include "MUI2.nsh"
!include "LogicLib.nsh"

!define PRODUCT "Ondaria 2b"
!define VERSION "2b"
!define PUBLISHER "Ondaria"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\gen_ondaria"
!define UNINSTALLER "gen_ondaria-uninstall.exe"

Name "${PRODUCT}"
OutFile "${OUTFILE}"
RequestExecutionLevel admin
; The folder Winamp's own installer recorded, else its usual place.
InstallDir "$PROGRAMFILES\Winamp"
InstallDirRegKey HKCU "Software\Winamp" ""
ShowInstDetails show

!define MUI_ABORTWARNING
!insertmacro MUI_PAGE_WELCOME
!define MUI_PAGE_CUSTOMFUNCTION_LEAVE CheckHostFolder
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "French"

; A folder without winamp.exe is most likely the wrong one; the user may still go on.
Function CheckHostFolder
  ${IfNot} ${FileExists} "$INSTDIR\winamp.exe"
    MessageBox MB_YESNO|MB_ICONEXCLAMATION "Le dossier choisi ne contient pas winamp.exe.$\r$\nInstaller le plugin dans ce dossier quand même ?" /SD IDYES IDYES go
    Abort
    go:
  ${EndIf}
FunctionEnd

; Winamp keeps the plugin open while it runs: nothing is copied until the DLL can be replaced.
Function WaitForHostToClose
  retry:
  ${If} ${FileExists} "$INSTDIR\Plugins\gen_ondaria.dll"
    ClearErrors
    FileOpen $0 "$INSTDIR\Plugins\gen_ondaria.dll" a
    ${If} ${Errors}
      MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "Le plugin est en cours d'utilisation : fermez Winamp, puis choisissez Réessayer." /SD IDCANCEL IDRETRY retry
      SetErrorLevel 2
      Abort "Installation annulée : Winamp est ouvert."
    ${EndIf}
    FileClose $0
  ${EndIf}
FunctionEnd

Section "Ondaria" Main
  SectionIn RO
  ClearErrors
  CreateDirectory "$INSTDIR\Plugins\gen_ondaria"
  ${If} ${Errors}
    MessageBox MB_OK|MB_ICONSTOP "Impossible de créer le dossier $INSTDIR\Plugins\gen_ondaria." /SD IDOK
    SetErrorLevel 2
    Abort "Installation impossible dans ce dossier."
  ${EndIf}
  Call WaitForHostToClose

  ; The uninstaller first: a folder where it cannot be written gets nothing else.
  ClearErrors
  WriteUninstaller "$INSTDIR\Plugins\${UNINSTALLER}"
  ${If} ${Errors}
    MessageBox MB_OK|MB_ICONSTOP "Impossible d'écrire dans $INSTDIR\Plugins." /SD IDOK
    SetErrorLevel 2
    Abort "Installation impossible dans ce dossier."
  ${EndIf}

  SetOutPath "$INSTDIR\Plugins"
  SetOverwrite on
  File "${DIST}\gen_ondaria.dll"

  ; A user's list, settings and readme are never replaced.
  SetOutPath "$INSTDIR\Plugins\gen_ondaria"
  SetOverwrite off
  File "/oname=Ondaria.rtv" "${DIST}\gen_ondaria\Ondaria.rtv.depart"
  File "${DIST}\gen_ondaria\readme.txt"

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT} (plugin pour Winamp)"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Plugins\${UNINSTALLER}"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Plugins\${UNINSTALLER}" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section "Uninstall"
  ; The uninstaller lies in Plugins: $INSTDIR is that folder here.
  ClearErrors
  Delete "$INSTDIR\gen_ondaria.dll"
  ${If} ${Errors}
    MessageBox MB_OK|MB_ICONSTOP "Le plugin est en cours d'utilisation : fermez Winamp et recommencez." /SD IDOK
    SetErrorLevel 2
    Abort
  ${EndIf}
  Delete "$INSTDIR\${UNINSTALLER}"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
  MessageBox MB_OK|MB_ICONINFORMATION "Le plugin est désinstallé. Vos listes et vos réglages restent dans $INSTDIR\gen_ondaria." /SD IDOK
SectionEnd

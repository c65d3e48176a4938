; The Windows installer: tessaly.exe and tessaly-cli.exe into Program Files,
; a Start-menu shortcut, an uninstaller and an entry in Add/Remove Programs.
; Made by the build (the target "installer"), which defines VERSION, WINDOW,
; CLI, ICON, README, LICENCE and OUTFILE.
Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel admin

!include "x64.nsh"

Name "Tessaly ${VERSION}"
OutFile "${OUTFILE}"
Icon "${ICON}"
UninstallIcon "${ICON}"
InstallDir "$PROGRAMFILES64\Tessaly"
InstallDirRegKey HKLM "Software\Tessaly" "InstallDir"
ShowInstDetails show

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Tessaly"

Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

; Files in use cannot be replaced or removed: not while the window is open.
!macro RefuseWhileRunning
  FindWindow $0 "TessalyWindow"
  StrCmp $0 0 +3
    MessageBox MB_ICONSTOP|MB_OK "Tessaly is running. Close it, then try again." /SD IDOK
    Abort
!macroend

; For every user: the shortcut in the common Start menu.
Function .onInit
  SetRegView 64
  SetShellVarContext all
  !insertmacro RefuseWhileRunning
FunctionEnd

Function un.onInit
  SetRegView 64
  SetShellVarContext all
  !insertmacro RefuseWhileRunning
FunctionEnd

Section "Tessaly"
  SetOutPath "$INSTDIR"
  File "/oname=tessaly.exe" "${WINDOW}"
  File "/oname=tessaly-cli.exe" "${CLI}"
  File "/oname=README.md" "${README}"
  File "/oname=LICENSE.txt" "${LICENCE}"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  CreateShortcut "$SMPROGRAMS\Tessaly.lnk" "$INSTDIR\tessaly.exe"
  WriteRegStr HKLM "Software\Tessaly" "InstallDir" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "Tessaly"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "The Tessaly developers"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\tessaly.exe,0"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  ; The size in KiB, as Add/Remove Programs shows it.
  SectionGetSize 0 $0
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Section "Uninstall"
  Delete "$SMPROGRAMS\Tessaly.lnk"
  Delete "$INSTDIR\tessaly.exe"
  Delete "$INSTDIR\tessaly-cli.exe"
  Delete "$INSTDIR\README.md"
  Delete "$INSTDIR\LICENSE.txt"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
  DeleteRegKey HKLM "Software\Tessaly"
SectionEnd

; Quennel's installer: for the current user, without administrator rights, into a folder the user can
; write (the personal-information file lives beside the program). Built by scripts/package (makensis with
; warnings as errors); EXE is the program to install, OUTFILE the installer to write.
;
; Silent use: Quennel-1.0-setup.exe /S [/NOSIGNIN] [/D=folder]  (/NOSIGNIN: not started at sign-in)
;             Uninstall.exe /S  (the personal information is always kept)

; The program is 64-bit, and so is its installer.
Target amd64-unicode
ManifestDPIAware true
RequestExecutionLevel user
SetCompressor /SOLID lzma
; The installer stores no file times (the installed files get the time of their install): two builds of one
; source give the same bytes.
SetDateSave off

; Release steps (scripts/package): FINISH_UNINSTALLER, when defined, is a command run on the uninstaller
; as it is made, "%1" its file (signing it, keeping a copy); FINISH_INSTALLER, on the installer.
!ifdef FINISH_UNINSTALLER
  !uninstfinalize '${FINISH_UNINSTALLER}'
!endif
!ifdef FINISH_INSTALLER
  !finalize '${FINISH_INSTALLER}'
!endif

!ifndef EXE
  !error "EXE (the quennel.exe to install) is not defined"
!endif
!ifndef OUTFILE
  !define OUTFILE "Quennel-1.0-setup.exe"
!endif

!define APP "Quennel"
!define VERSION "1.0"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Quennel"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"

!include "MUI2.nsh"
!include "LogicLib.nsh"
!include "FileFunc.nsh"
!include "Sections.nsh"

Name "${APP} ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\${APP}"
BrandingText "${APP} ${VERSION}"

VIProductVersion "1.0.0.0"
VIAddVersionKey "ProductName" "${APP}"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "FileDescription" "${APP} ${VERSION} Setup"
VIAddVersionKey "LegalCopyright" ""

!define MUI_ICON "../resources/quennel.ico"
!define MUI_UNICON "../resources/quennel.ico"
!define MUI_ABORTWARNING
!define MUI_COMPONENTSPAGE_NODESC
!define MUI_FINISHPAGE_RUN "$INSTDIR\quennel.exe"
!define MUI_FINISHPAGE_RUN_TEXT "Start ${APP} now"

!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_COMPONENTS
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "English"

; The folder must take a file: the program keeps its personal information beside itself.
Function CheckWritable
  ClearErrors
  CreateDirectory "$INSTDIR"
  FileOpen $0 "$INSTDIR\quennel-setup.tmp" w
  ${If} ${Errors}
    MessageBox MB_OK|MB_ICONSTOP "${APP} cannot be installed in$\r$\n$INSTDIR$\r$\nbecause you cannot write to that folder. ${APP} keeps your personal information beside the program, so it needs a folder you can write, such as$\r$\n$LOCALAPPDATA\Programs\${APP}." /SD IDOK
    SetErrorLevel 2
    Quit
  ${EndIf}
  FileClose $0
  Delete "$INSTDIR\quennel-setup.tmp"
FunctionEnd

Section "${APP}" SecProgram
  SectionIn RO
  Call CheckWritable
  SetOutPath "$INSTDIR"
  ; A running copy is asked to end first, as its exit command would, and waited for.
  ${If} ${FileExists} "$INSTDIR\quennel.exe"
    ExecWait '"$INSTDIR\quennel.exe" /close'
  ${EndIf}
  ; Only the program is written: an existing personal-information file stays as it is.
  File "/oname=quennel.exe" "${EXE}"
  WriteUninstaller "$INSTDIR\Uninstall.exe"
  CreateShortCut "$SMPROGRAMS\${APP}.lnk" "$INSTDIR\quennel.exe" "" "$INSTDIR\quennel.exe" 0
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${APP}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\quennel.exe,0"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

; Started at sign-in it goes straight to the notification area, without its card. Written on every install,
; so an update also rewrites an earlier entry that lacked the switch.
Section "Start ${APP} when I sign in" SecSignIn
  WriteRegStr HKCU "${RUN_KEY}" "${APP}" '"$INSTDIR\quennel.exe" /tray'
SectionEnd

; Without the sign-in option an earlier install's start at sign-in is taken away.
Section "-signin off"
  ${IfNot} ${SectionIsSelected} ${SecSignIn}
    DeleteRegValue HKCU "${RUN_KEY}" "${APP}"
  ${EndIf}
SectionEnd

Function .onInit
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/NOSIGNIN" $1
  ${IfNot} ${Errors}
    !insertmacro UnselectSection ${SecSignIn}
  ${EndIf}
FunctionEnd

Section "un.${APP}" UnSecProgram
  SectionIn RO
  ${If} ${FileExists} "$INSTDIR\quennel.exe"
    ExecWait '"$INSTDIR\quennel.exe" /close'
  ${EndIf}
  Delete "$INSTDIR\quennel.exe"
  Delete "$SMPROGRAMS\${APP}.lnk"
  DeleteRegValue HKCU "${RUN_KEY}" "${APP}"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
  Delete "$INSTDIR\Uninstall.exe"
SectionEnd

; Unticked unless the user ticks it, and never in a silent uninstall.
Section /o "un.Also delete my personal information" UnSecInfo
  ${IfNot} ${Silent}
    Delete "$INSTDIR\quennel.UPF"
  ${EndIf}
SectionEnd

Section "-un.folder"
  RMDir "$INSTDIR" ; only when nothing is left in it
SectionEnd

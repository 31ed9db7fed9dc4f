; The per-user setup programs of Quintrel, the 64-bit one and the 32-bit one; scripts/release.sh builds
; each with
;   makensis -DVERSION=<x.y> -DBITS=<64|32> -DSTAGE=<folder with Quintrel.exe and README.txt> -DOUTFILE=<setup.exe>
; They need no administrator rights: the program goes to the user's own program folder, the
; shortcuts start it in a log folder in Documents, and the uninstall entry lives in HKCU. Both
; builds install into the same folder under the same entry, so either replaces the other.
; "/S" installs silently with the default choices; "/STARTUP" adds the sign-in shortcut.
!if ${BITS} == 64
  ; Windows itself refuses to start a 64-bit program on 32-bit Windows, before any of this runs.
  Target amd64-unicode
  !define BUILD_TEXT "64-bit"
!else if ${BITS} == 32
  Target x86-unicode
  !define BUILD_TEXT "32-bit"
!else
  !error "BITS must be 64 or 32"
!endif
!include "FileFunc.nsh"
!include "LogicLib.nsh"
!include "Sections.nsh"
!include "WinVer.nsh"

!define APP "Quintrel"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${APP}"
; The program writes its traffic logs in its current directory: the shortcuts make it this folder.
!define LOG_FOLDER "$DOCUMENTS\${APP}"
; A running meter is ended by its own Exit command (IDM_EXIT in res/resource.h), posted to its main
; window, so that it writes its logs, saves its settings and takes its tray icon away.
!define WM_COMMAND 0x0111
!define IDM_EXIT 537
!define METER_END_MS 15000
; OpenProcess rights: SYNCHRONIZE with the limited query of Vista on, or with the full query and
; memory read that the older way to a process's file name needs.
!define OPEN_TO_WAIT_AND_NAME 0x101000
!define OPEN_TO_WAIT_AND_NAME_BEFORE_VISTA 0x100410

Name "${APP} ${VERSION} (${BUILD_TEXT})"
OutFile "${OUTFILE}"
RequestExecutionLevel user
ManifestSupportedOS all
XPStyle on
SetCompressor /SOLID lzma
InstallDir "$LOCALAPPDATA\Programs\${APP}"
ShowInstDetails show
ShowUninstDetails show

VIProductVersion "${VERSION}.0.0"
VIFileVersion "${VERSION}.0.0"
VIAddVersionKey "ProductName" "${APP}"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "FileDescription" "${APP} ${VERSION} setup (${BUILD_TEXT})"
VIAddVersionKey "LegalCopyright" "The ${APP} developers"

Page components
Page directory "" "" CheckFolderOnLeave
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

!if ${BITS} == 64
  ComponentText "Quintrel is a small network traffic meter; this is its 64-bit build. Its traffic logs go \
to Documents\${APP}."
!else
  ComponentText "Quintrel is a small network traffic meter; this is its 32-bit build, for 32-bit Windows. \
Its traffic logs go to Documents\${APP}."
!endif
UninstallText "This removes ${APP} and its shortcuts. Your traffic logs in $DOCUMENTS\${APP} and your \
settings in $APPDATA\${APP} are kept; delete those folders yourself if you no longer want them."

Var MeterWasRunning
Var MeterProgram

Section "${APP}" SecProgram
  SectionIn RO
  Call CheckFolder
  Call EndRunningMeters
  SetOutPath "$INSTDIR"
  ClearErrors
  File "${STAGE}\Quintrel.exe"
  ${If} ${Errors}
    MessageBox MB_OK|MB_ICONSTOP "$INSTDIR\Quintrel.exe cannot be replaced: a program still uses it. \
Nothing was changed; end that program and run the setup again." /SD IDOK
    Abort "Nothing was changed: $INSTDIR\Quintrel.exe is in use."
  ${EndIf}
  File "${STAGE}\README.txt"
  WriteUninstaller "$INSTDIR\Uninstall.exe"

  CreateDirectory "${LOG_FOLDER}"
  SetOutPath "${LOG_FOLDER}" ; a shortcut's working folder is the current output folder
  CreateShortCut "$SMPROGRAMS\${APP}.lnk" "$INSTDIR\Quintrel.exe" "" "$INSTDIR\Quintrel.exe" 0 \
    SW_SHOWNORMAL "" "Network traffic meter; its logs go to Documents\${APP}"
  CreateShortCut "$SMPROGRAMS\${APP} traffic logs.lnk" "${LOG_FOLDER}" "" "" 0 SW_SHOWNORMAL "" \
    "The traffic logs of ${APP}"

  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${APP}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "The ${APP} developers"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Comments" "${BUILD_TEXT} build"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Quintrel.exe,0"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Section /o "Start ${APP} when I sign in" SecStartup
  SetOutPath "${LOG_FOLDER}"
  CreateShortCut "$SMSTARTUP\${APP}.lnk" "$INSTDIR\Quintrel.exe" "" "$INSTDIR\Quintrel.exe" 0 \
    SW_SHOWNORMAL "" "Network traffic meter; its logs go to Documents\${APP}"
SectionEnd

; Installing again without the sign-in choice takes an earlier sign-in shortcut away.
Section "-Sign-in shortcut only when chosen"
  ${IfNot} ${SectionIsSelected} ${SecStartup}
    Delete "$SMSTARTUP\${APP}.lnk"
  ${EndIf}
SectionEnd

; A meter the setup ended runs again, the new program, started as its shortcuts start it.
Section "-Start the meter again"
  ${If} $MeterWasRunning == 1
    SetOutPath "${LOG_FOLDER}"
    Exec '"$INSTDIR\Quintrel.exe"'
    DetailPrint "Started ${APP} again."
  ${EndIf}
SectionEnd

Function .onInit
  SetShellVarContext current
  ${IfNot} ${AtLeastWinXP}
    MessageBox MB_OK|MB_ICONSTOP "${APP} needs Windows XP or later. Nothing was installed." /SD IDOK
    Abort
  ${EndIf}
  Call CheckRequestedFolder
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/STARTUP" $1
  ${IfNot} ${Errors}
    !insertmacro SelectSection ${SecStartup}
  ${ElseIf} ${FileExists} "$SMSTARTUP\${APP}.lnk"
  ${AndIfNot} ${Silent}
    ; An upgrade offers the sign-in choice made last time.
    !insertmacro SelectSection ${SecStartup}
  ${EndIf}
FunctionEnd

; NSIS puts its default folder in place of a "/D=" folder that cannot be one (a relative path, one
; under a file, on a missing drive); the user asked for that folder, so the setup says so and stops.
Function CheckRequestedFolder
  System::Call 'kernel32::GetCommandLineW() w .r0'
  StrLen $1 $0
  ${Do}
    IntOp $1 $1 - 1
    ${If} $1 < 0
      Return ; none asked for
    ${EndIf}
    StrCpy $2 $0 4 $1
  ${LoopUntil} $2 S== " /D="
  IntOp $1 $1 + 4
  StrCpy $2 $0 "" $1
  ${Do} ; NSIS takes the trailing backslashes away
    StrCpy $3 $2 1 -1
    ${If} $3 != "\"
      ${ExitDo}
    ${EndIf}
    StrCpy $2 $2 -1
  ${Loop}
  ${If} $2 != $INSTDIR
    MessageBox MB_OK|MB_ICONSTOP "${APP} cannot be installed in $\"$2$\": that is not a full path to a \
folder. Nothing was installed." /SD IDOK
    Abort
  ${EndIf}
FunctionEnd

; The outermost folder of $INSTDIR that is not there yet, in $2; $INSTDIR itself when all are there.
Function OutermostMissingFolder
  StrCpy $2 "$INSTDIR"
  ${Do}
    ${GetParent} "$2" $3
    ${If} $3 == ""
    ${OrIf} ${FileExists} "$3\*.*"
      ${ExitDo}
    ${EndIf}
    StrCpy $2 $3
  ${Loop}
FunctionEnd

; Whether a file can be made in $INSTDIR ($0 is "ok" then), leaving everything as it was: the
; folders made for the trial are removed again.
Function TryFolder
  Call OutermostMissingFolder
  StrCpy $4 ""
  ${IfNot} ${FileExists} "$INSTDIR\*.*"
    CreateDirectory "$INSTDIR"
    StrCpy $4 "made"
  ${EndIf}
  StrCpy $0 ""
  ClearErrors
  FileOpen $1 "$INSTDIR\${APP}-setup.trial" w
  ${IfNot} ${Errors}
    FileClose $1
    Delete "$INSTDIR\${APP}-setup.trial"
    StrCpy $0 "ok"
  ${EndIf}
  ${If} $4 == ""
  ${OrIfNot} ${FileExists} "$2\*.*"
    Return
  ${EndIf}
  ; RMDir takes only empty folders: nothing found in them is ever removed.
  StrCpy $3 "$INSTDIR"
  ${Do}
    RMDir "$3"
    ${If} $3 == $2
      ${ExitDo}
    ${EndIf}
    ${GetParent} "$3" $3
  ${LoopUntil} $3 == ""
FunctionEnd

!define FOLDER_MESSAGE "${APP} cannot be installed in $INSTDIR: no file can be written there. \
Choose a folder of your own."

; On the folder page: a folder that cannot be written keeps the page open.
Function CheckFolderOnLeave
  Call TryFolder
  ${If} $0 != "ok"
    MessageBox MB_OK|MB_ICONSTOP "${FOLDER_MESSAGE}"
    Abort
  ${EndIf}
FunctionEnd

; Before anything is installed (and silently, where no page was shown): such a folder ends the setup.
Function CheckFolder
  Call TryFolder
  ${If} $0 != "ok"
    MessageBox MB_OK|MB_ICONSTOP "${FOLDER_MESSAGE} Nothing was installed." /SD IDOK
    Abort "Nothing was installed: $INSTDIR cannot be written."
  ${EndIf}
FunctionEnd

; The meter's functions, for the installer and (with the prefix "un.") the uninstaller.
!macro METER_FUNCTIONS UN
; The process of the window in $0 when it is a meter's main window (an untitled dialog) and the
; meter is the program of $INSTDIR: $1 is then a handle to wait on, else 0. The title is read as
; GetWindowText reads another program's, without a message that a hung program would never answer.
Function ${UN}MeterProcessOfWindow
  StrCpy $1 0
  System::Call 'user32::GetWindowTextW(p r0, w .r2, i 2) i .r3'
  ${If} $3 != 0
    Return
  ${EndIf}
  System::Call 'user32::GetWindowThreadProcessId(p r0, *i .r2) i'
  System::Call 'kernel32::OpenProcess(i ${OPEN_TO_WAIT_AND_NAME}, i 0, i r2) p .r1'
  ${If} $1 == 0
    System::Call 'kernel32::OpenProcess(i ${OPEN_TO_WAIT_AND_NAME_BEFORE_VISTA}, i 0, i r2) p .r1'
  ${EndIf}
  ${If} $1 == 0
    Return
  ${EndIf}
  StrCpy $3 ""
  System::Call 'kernel32::QueryFullProcessImageNameW(p r1, i 0, w .r3, *i ${NSIS_MAX_STRLEN}) i'
  ${If} $3 == ""
    System::Call 'psapi::GetModuleFileNameExW(p r1, p 0, w .r3, i ${NSIS_MAX_STRLEN}) i'
  ${EndIf}
  ${If} $3 != $MeterProgram ; StrCmp ignores case, as Windows does in file names
    System::Call 'kernel32::CloseHandle(p r1) i'
    StrCpy $1 0
  ${EndIf}
FunctionEnd

; Ends every meter running from $INSTDIR the way it ends itself; $MeterWasRunning is 1 when one ran.
; One that does not end in time: the user may end it and retry, else nothing is changed.
Function ${UN}EndRunningMeters
  StrCpy $MeterWasRunning 0
  StrCpy $MeterProgram ""
  System::Call 'kernel32::GetLongPathNameW(w "$INSTDIR\Quintrel.exe", w .r0, i ${NSIS_MAX_STRLEN}) i .r1'
  ${If} $1 == 0
  ${OrIf} $0 == ""
    Return ; no program there, so none of it runs
  ${EndIf}
  StrCpy $MeterProgram $0
  StrCpy $0 0
  ${Do}
    FindWindow $0 "#32770" "" "" $0
    ${If} $0 == 0
      ${ExitDo}
    ${EndIf}
    Call ${UN}MeterProcessOfWindow
    ${If} $1 != 0
      StrCpy $MeterWasRunning 1
      DetailPrint "Ending the running ${APP}..."
      System::Call 'user32::PostMessageW(p r0, i ${WM_COMMAND}, p ${IDM_EXIT}, p 0) i'
      System::Call 'kernel32::WaitForSingleObject(p r1, i ${METER_END_MS}) i .r2'
      System::Call 'kernel32::CloseHandle(p r1) i'
      ${If} $2 != 0
        MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "${APP} is running and does not end. End it \
(right-click its window or tray icon, Exit), then choose Retry." /SD IDCANCEL IDRETRY retry
        Abort "Nothing was changed: ${APP} is still running."
      retry:
      ${EndIf}
      StrCpy $0 0 ; the windows have changed: look again from the first
    ${EndIf}
  ${Loop}
FunctionEnd
!macroend
!insertmacro METER_FUNCTIONS ""
!insertmacro METER_FUNCTIONS "un."

Function un.onInit
  SetShellVarContext current
FunctionEnd

Section "Uninstall"
  Call un.EndRunningMeters
  Delete "$INSTDIR\Quintrel.exe"
  Delete "$INSTDIR\README.txt"
  Delete "$INSTDIR\Uninstall.exe"
  RMDir "$INSTDIR"
  Delete "$SMPROGRAMS\${APP}.lnk"
  Delete "$SMPROGRAMS\${APP} traffic logs.lnk"
  Delete "$SMSTARTUP\${APP}.lnk"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
  DetailPrint "Kept your traffic logs in $DOCUMENTS\${APP} and your settings in $APPDATA\${APP}."
SectionEnd

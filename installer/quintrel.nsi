; The per-user setup program of Quintrel; scripts/release.sh builds it with
;   makensis -DVERSION=<x.y> -DSTAGE=<folder with Quintrel.exe and README.txt> -DOUTFILE=<setup.exe>
; It needs no administrator rights: the program goes to the user's own program folder, the
; shortcuts start it in a log folder in Documents, and the uninstall entry lives in HKCU.
; "/S" installs silently with the default choices; "/STARTUP" adds the sign-in shortcut.
Unicode true
!include "FileFunc.nsh"
!include "LogicLib.nsh"
!include "Sections.nsh"

!define APP "Quintrel"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${APP}"
; The program writes its traffic logs in its current directory: the shortcuts make it this folder.
!define LOG_FOLDER "$DOCUMENTS\${APP}"

Name "${APP} ${VERSION}"
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
VIAddVersionKey "FileDescription" "${APP} ${VERSION} setup"
VIAddVersionKey "LegalCopyright" "The ${APP} developers"

Page components
Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

ComponentText "Quintrel is a small network traffic meter. Its traffic logs go to Documents\${APP}."
UninstallText "This removes ${APP} and its shortcuts. Your traffic logs in $DOCUMENTS\${APP} and your \
settings in $APPDATA\${APP} are kept; delete those folders yourself if you no longer want them."

Section "${APP}" SecProgram
  SectionIn RO
  SetOutPath "$INSTDIR"
  File "${STAGE}\Quintrel.exe"
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

Function .onInit
  SetShellVarContext current
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/STARTUP" $1
  ${IfNot} ${Errors}
    !insertmacro SelectSection ${SecStartup}
  ${EndIf}
FunctionEnd

Function un.onInit
  SetShellVarContext current
FunctionEnd

Section "Uninstall"
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

; The Windows installer of Snoetjesmal: installs for the current user alone (no
; administrator rights), adds a Start-menu shortcut and registers an uninstaller with
; Windows. Silent with /S. Made by cmake/windows-package.sh, which passes:
;   VERSION                the program's version as it shows it, "1.1"
;   PRODUCT_VERSION        the full version, "1.1.0"
;   SETTINGS_ORGANISATION  the program's settings: the registry key
;   SETTINGS_APPLICATION     HKCU\Software\SETTINGS_ORGANISATION\SETTINGS_APPLICATION
;   SETTINGS_VALUE           and its value that holds the remembered file name
;   STAGE                  the folder that holds the program as it is installed
;   FILES                  an include file that lists, for the uninstaller, every file and
;                          folder of STAGE
;   ICON                   the program's .ico
;   OUTFILE                where the installer is written
;
; Installing over an earlier installation first removes that version's files with its own
; uninstaller, keeping the remembered file name. Neither installing nor uninstalling starts
; while Snoetjesmal runs from the folder: the user is asked to close it, and a silent run ends
; with exit code 2 without having changed anything.

Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel user

!include "MUI2.nsh"
!include "LogicLib.nsh"

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Snoetjesmal"
!define ORGANISATION_KEY "Software\${SETTINGS_ORGANISATION}"
!define SETTINGS_KEY "${ORGANISATION_KEY}\${SETTINGS_APPLICATION}"

Name "Snoetjesmal ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\Snoetjesmal"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "Quorvelin Software"

VIProductVersion "${PRODUCT_VERSION}.0"
VIAddVersionKey /LANG=1043 "ProductName" "Snoetjesmal"
VIAddVersionKey /LANG=1043 "CompanyName" "Quorvelin Software"
VIAddVersionKey /LANG=1043 "FileDescription" "Installatie van Snoetjesmal"
VIAddVersionKey /LANG=1043 "FileVersion" "${PRODUCT_VERSION}"
VIAddVersionKey /LANG=1043 "ProductVersion" "${PRODUCT_VERSION}"
VIAddVersionKey /LANG=1043 "LegalCopyright" "Quorvelin Software"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_FINISHPAGE_RUN "$INSTDIR\Snoetjesmal.exe"

!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "Dutch"

; The uninstaller runs as a copy of itself in a folder of its own under %TEMP%, which
; Windows would only remove at a restart, and for an administrator alone. A moment after
; this copy has ended, that folder goes too.
Function un.removeOwnCopy
    StrCpy $0 "$EXEDIR" 4 -9
    ${If} $0 == "~nsu"
        ; Not from inside the folder it removes.
        SetOutPath "$TEMP"
        Exec '"$SYSDIR\cmd.exe" /c ping -n 3 127.0.0.1 >nul & rmdir /s /q "$EXEDIR"'
    ${EndIf}
FunctionEnd

; Waits until no program of the folder in $R9 runs: Windows lets no one open a running
; program's file for writing. The user closes it and retries, or gives up; giving up, and
; any silent run that meets it, ends here with exit code 2, before anything has changed.
!macro CLOSE_RUNNING un
Function ${un}closeRunning
retry:
    StrCpy $R0 ""
    ${If} ${FileExists} "$R9\Snoetjesmal.exe"
        ClearErrors
        FileOpen $R1 "$R9\Snoetjesmal.exe" a
        ${If} ${Errors}
            StrCpy $R0 "open"
        ${Else}
            FileClose $R1
        ${EndIf}
    ${EndIf}
    ${If} ${FileExists} "$R9\snoetjesmal-render.exe"
        ClearErrors
        FileOpen $R1 "$R9\snoetjesmal-render.exe" a
        ${If} ${Errors}
            StrCpy $R0 "open"
        ${Else}
            FileClose $R1
        ${EndIf}
    ${EndIf}
    ${If} $R0 != ""
        MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION \
            "Snoetjesmal is nog geopend. Sluit Snoetjesmal en probeer het dan opnieuw." \
            /SD IDCANCEL IDRETRY retry
        !if "${un}" == "un."
            Call un.removeOwnCopy
        !endif
        SetErrorLevel 2
        Quit
    ${EndIf}
FunctionEnd
!macroend
!insertmacro CLOSE_RUNNING ""
!insertmacro CLOSE_RUNNING "un."

; Removes an earlier installation in the folder $R9 with that version's own uninstaller, which
; knows its files; the remembered file name, which every uninstaller removes, is put back.
Function removeEarlier
    ${IfNot} ${FileExists} "$R9\Uninstall.exe"
        Return
    ${EndIf}
    ClearErrors
    ReadRegStr $R2 HKCU "${SETTINGS_KEY}" "${SETTINGS_VALUE}"
    ${If} ${Errors}
        StrCpy $R3 "none"
    ${Else}
        StrCpy $R3 "kept"
    ${EndIf}
    ; Run in place (_?=) it waits until it is done, and it cannot remove itself.
    ExecWait '"$R9\Uninstall.exe" /S _?=$R9'
    Delete "$R9\Uninstall.exe"
    RMDir "$R9"
    ${If} $R3 == "kept"
        WriteRegStr HKCU "${SETTINGS_KEY}" "${SETTINGS_VALUE}" $R2
    ${EndIf}
FunctionEnd

Section "Snoetjesmal" SecProgram
    SetShellVarContext current
    ; The registered installation, and whatever was installed in the chosen folder.
    ReadRegStr $R8 HKCU "${UNINSTALL_KEY}" "InstallLocation"
    StrCpy $R9 "$INSTDIR"
    Call closeRunning
    ${If} $R8 != ""
    ${AndIf} $R8 != "$INSTDIR"
        StrCpy $R9 $R8
        Call closeRunning
        Call removeEarlier
    ${EndIf}
    StrCpy $R9 "$INSTDIR"
    Call removeEarlier

    SetOutPath "$INSTDIR"
    File /r "${STAGE}\*.*"
    WriteUninstaller "$INSTDIR\Uninstall.exe"

    CreateShortcut "$SMPROGRAMS\Snoetjesmal.lnk" "$INSTDIR\Snoetjesmal.exe" "" \
        "$INSTDIR\Snoetjesmal.exe" 0

    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "Snoetjesmal"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "Quorvelin Software"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "URLInfoAbout" "https://www.quorvelin.nl/"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Snoetjesmal.exe,0"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
    WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
    ; The size Windows shows in its list of programs, in KiB: the files this section installs.
    SectionGetSize ${SecProgram} $0
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Section "Uninstall"
    SetShellVarContext current
    StrCpy $R9 "$INSTDIR"
    Call un.closeRunning
    ; Only what the installer put there: a folder the user chose may hold other files, and
    ; then it stays, with them.
    !include "${FILES}"
    Delete "$INSTDIR\Uninstall.exe"
    RMDir "$INSTDIR"

    Delete "$SMPROGRAMS\Snoetjesmal.lnk"
    DeleteRegKey HKCU "${UNINSTALL_KEY}"
    ; The remembered file name goes with the program.
    DeleteRegKey HKCU "${SETTINGS_KEY}"
    DeleteRegKey /ifempty HKCU "${ORGANISATION_KEY}"

    Call un.removeOwnCopy
SectionEnd

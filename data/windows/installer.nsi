; The Windows installer of Snoetjesmal: installs for the current user alone (no
; administrator rights), adds a Start-menu shortcut and registers an uninstaller with
; Windows. Silent with /S. Made by cmake/windows-package.sh, which passes:
;   VERSION                the program's version as it shows it, "1.1"
;   PRODUCT_VERSION        the full version, "1.1.0"
;   SETTINGS_ORGANISATION  the program's settings: the registry key
;   SETTINGS_APPLICATION     HKCU\Software\SETTINGS_ORGANISATION\SETTINGS_APPLICATION
;   SETTINGS_VALUE           and its value that holds the remembered file name
;   STAGE                  the folder that holds the program as it is installed
;   FILES                  an include file that lists every file and folder of STAGE, as
;                          PACKAGE_FILE and PACKAGE_FOLDER lines (folders deepest first)
;   ICON                   the program's .ico
;   OUTFILE                where the installer is written
;
; Installing over an earlier installation first removes that version's files with its own
; uninstaller, keeping the remembered file name. Only an installation of ours is removed: one
; whose Uninstall.exe is ours by its version information, not by its name. A folder that holds
; another program's Uninstall.exe, or files of the names ours have that no installation of
; ours put there, is refused: the user is asked to choose another folder, and a silent run
; (/D=) ends with exit code 3, having run, removed or overwritten nothing. Neither installing
; nor uninstalling starts while Snoetjesmal runs from the folder: the user is asked to close
; it, and a silent run ends with exit code 2 without having changed anything.

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

!define MUI_PAGE_CUSTOMFUNCTION_LEAVE leaveDirectoryPage
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

; In isOurUninstaller: $6 stays "ours" only while the value NAME in the block of strings $3
; of the version information $2 is TEXT, to the letter.
!macro VERSION_STRING_IS name text
    ${If} $6 == "ours"
        System::Call 'version::VerQueryValueW(p r2, w "$3\${name}", *p .r4, *i .r5) i .r1'
        ${If} $1 <> 0
            System::Call 'kernel32::lstrcpynW(w .r1, p r4, i ${NSIS_MAX_STRLEN}) p'
        ${Else}
            StrCpy $1 ""
        ${EndIf}
        ${If} $1 S!= "${text}"
            StrCpy $6 ""
        ${EndIf}
    ${EndIf}
!macroend

; Whether the program $R0 is an installer or uninstaller of ours, as every one has been since
; the first: its version information says so (the VIAddVersionKey lines above). Another
; program's Uninstall.exe is told apart by this, never by its name. Leaves "ours" or "" in $R0.
Function isOurUninstaller
    Push $1
    Push $2
    Push $3
    Push $4
    Push $5
    Push $6
    StrCpy $6 ""
    System::Call 'version::GetFileVersionInfoSizeW(w R0, *i 0) i .r1'
    ${If} $1 > 0
        System::Alloc $1
        Pop $2
        System::Call 'version::GetFileVersionInfoW(w R0, i 0, i r1, p r2) i .r3'
        ; The block of strings is named after the first language and code page it lists.
        ${If} $3 <> 0
            System::Call 'version::VerQueryValueW(p r2, w "\VarFileInfo\Translation", *p .r4, *i .r5) i .r3'
        ${EndIf}
        ${If} $3 <> 0
        ${AndIf} $5 >= 4
            System::Call '*$4(&i2 .r4, &i2 .r5)'
            IntFmt $4 "%04x" $4
            IntFmt $5 "%04x" $5
            StrCpy $3 "\StringFileInfo\$4$5"
            StrCpy $6 "ours"
            !insertmacro VERSION_STRING_IS CompanyName "Quorvelin Software"
            !insertmacro VERSION_STRING_IS ProductName "Snoetjesmal"
            !insertmacro VERSION_STRING_IS FileDescription "Installatie van Snoetjesmal"
        ${EndIf}
        System::Free $2
    ${EndIf}
    StrCpy $R0 $6
    Pop $6
    Pop $5
    Pop $4
    Pop $3
    Pop $2
    Pop $1
FunctionEnd

; Whether the chosen folder $INSTDIR may be installed into. An Uninstall.exe in it must be
; ours; without one, it must be the folder registered under our own key, or hold nothing that
; installing would overwrite. Leaves in $R7 why not, or "".
Function checkFolder
    Push $R0
    Push $R1
    StrCpy $R7 ""
    ReadRegStr $R1 HKCU "${UNINSTALL_KEY}" "InstallLocation"
    ${If} ${FileExists} "$INSTDIR\Uninstall.exe"
        StrCpy $R0 "$INSTDIR\Uninstall.exe"
        Call isOurUninstaller
        ${If} $R0 != "ours"
            StrCpy $R7 "In de map $INSTDIR staat het Uninstall.exe van een ander programma."
            StrCpy $R7 "$R7$\r$\n$\r$\nKies een andere map voor Snoetjesmal. Er is niets veranderd."
        ${EndIf}
    ${ElseIf} $R1 != "$INSTDIR"
        ; No installation of ours: every file that installing would overwrite is another's.
        !macro PACKAGE_FILE name
            ${If} $R7 == ""
            ${AndIf} ${FileExists} "$INSTDIR\${name}"
                StrCpy $R7 "In de map $INSTDIR staat al een bestand ${name}"
                StrCpy $R7 "$R7 dat niet door de installatie van Snoetjesmal is geplaatst."
                StrCpy $R7 "$R7$\r$\n$\r$\nKies een andere map voor Snoetjesmal. Er is niets veranderd."
            ${EndIf}
        !macroend
        !macro PACKAGE_FOLDER name
        !macroend
        !include "${FILES}"
        !macroundef PACKAGE_FILE
        !macroundef PACKAGE_FOLDER
    ${EndIf}
    Pop $R1
    Pop $R0
FunctionEnd

; The user stays on the page of the folder until it is one that may be installed into.
Function leaveDirectoryPage
    Call checkFolder
    ${If} $R7 != ""
        MessageBox MB_OK|MB_ICONSTOP $R7
        Abort
    ${EndIf}
FunctionEnd

; Removes an earlier installation of ours in the folder $R9 with that version's own
; uninstaller, which knows its files; the remembered file name, which every uninstaller
; removes, is put back. An Uninstall.exe that is not ours is neither run nor removed.
Function removeEarlier
    ${IfNot} ${FileExists} "$R9\Uninstall.exe"
        Return
    ${EndIf}
    StrCpy $R0 "$R9\Uninstall.exe"
    Call isOurUninstaller
    ${If} $R0 != "ours"
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
    ; A silent run has had no page that checked the folder.
    Call checkFolder
    ${If} $R7 != ""
        MessageBox MB_OK|MB_ICONSTOP $R7 /SD IDOK
        SetErrorLevel 3
        Quit
    ${EndIf}
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
    !macro PACKAGE_FILE name
        Delete "$INSTDIR\${name}"
    !macroend
    !macro PACKAGE_FOLDER name
        RMDir "$INSTDIR\${name}"
    !macroend
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

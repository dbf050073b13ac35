; The Windows installer of Snoetjesmal: installs for the current user alone (no
; administrator rights), adds a Start-menu shortcut and registers an uninstaller with
; Windows. Silent with /S. Made by cmake/windows-package.sh, which passes:
;   VERSION  the program's version, "1.1"
;   STAGE    the folder that holds the program as it is installed
;   FILES    an include file that lists, for the uninstaller, every file and folder of STAGE
;   ICON     the program's .ico
;   OUTFILE  where the installer is written

Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel user

!include "MUI2.nsh"
!include "LogicLib.nsh"

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Snoetjesmal"
!define SETTINGS_KEY "Software\QuorvelinSoftware\Snoetjesmal"

Name "Snoetjesmal ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\Snoetjesmal"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "Quorvelin Software"

VIProductVersion "${VERSION}.0.0"
VIAddVersionKey /LANG=1043 "ProductName" "Snoetjesmal"
VIAddVersionKey /LANG=1043 "CompanyName" "Quorvelin Software"
VIAddVersionKey /LANG=1043 "FileDescription" "Installatie van Snoetjesmal"
VIAddVersionKey /LANG=1043 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1043 "ProductVersion" "${VERSION}"
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

Section "Snoetjesmal"
    SetShellVarContext current
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
SectionEnd

Section "Uninstall"
    SetShellVarContext current
    ; Only what the installer put there: a folder the user chose may hold other files.
    !include "${FILES}"
    Delete "$INSTDIR\Uninstall.exe"
    RMDir "$INSTDIR"

    Delete "$SMPROGRAMS\Snoetjesmal.lnk"
    DeleteRegKey HKCU "${UNINSTALL_KEY}"
    ; The remembered file name goes with the program.
    DeleteRegKey HKCU "${SETTINGS_KEY}"
    DeleteRegKey /ifempty HKCU "Software\QuorvelinSoftware"

    ; The uninstaller runs as a copy of itself in a folder of its own under %TEMP%, which
    ; Windows would only remove at a restart, and for an administrator alone. A moment after
    ; this copy has ended, that folder goes too.
    StrCpy $0 "$EXEDIR" 4 -9
    ${If} $0 == "~nsu"
        Exec '"$SYSDIR\cmd.exe" /c ping -n 3 127.0.0.1 >nul & rmdir /s /q "$EXEDIR"'
    ${EndIf}
SectionEnd

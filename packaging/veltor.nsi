; The Windows setup, in Russian. makensis -INPUTCHARSET UTF8 -DVERSION=… -DPUBLISHER=… -DICON=…
; -DFILES=… -DOUTFILE=… veltor.nsi, where FILES is the list that setup-files.cmake writes of
; the package folder: the uninstaller removes exactly those files, and folders only once empty.
Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel admin

!include MUI2.nsh
!include "${FILES}"

!define KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Вельтор"
; "Open with" for text files; no file type changes hands.
!define APP_KEY "Software\Classes\Applications\veltor.exe"
!define CLOSE_FIRST "Вельтор сейчас запущен. Закройте его и повторите попытку."

Name "Вельтор"
BrandingText "Вельтор ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\Вельтор"
InstallDirRegKey HKLM "${KEY}" InstallLocation
!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "Russian"

; An older version goes first, by its own uninstaller, wherever it lies.
Function .onInit
    SetShellVarContext all
    ReadRegStr $0 HKLM "${KEY}" InstallLocation
    StrCmp $0 "" done
    IfFileExists "$0\uninstall.exe" 0 done
    ExecWait '"$0\uninstall.exe" /S _?=$0' $1
    StrCmp $1 0 +3
        MessageBox MB_ICONSTOP "${CLOSE_FIRST}" /SD IDOK
        Abort
    Delete "$0\uninstall.exe"
    RMDir "$0"
done:
FunctionEnd

Section
    !insertmacro InstallFiles
    WriteUninstaller "$INSTDIR\uninstall.exe"
    CreateShortcut "$SMPROGRAMS\Вельтор.lnk" "$INSTDIR\veltor.exe"
    WriteRegStr HKLM "${APP_KEY}" FriendlyAppName "Вельтор"
    WriteRegStr HKLM "${APP_KEY}\shell\open\command" "" '"$INSTDIR\veltor.exe" "%1"'
    WriteRegStr HKLM "${APP_KEY}\SupportedTypes" ".txt" ""
    WriteRegStr HKLM "${KEY}" DisplayName "Вельтор"
    WriteRegStr HKLM "${KEY}" DisplayVersion "${VERSION}"
    WriteRegStr HKLM "${KEY}" Publisher "${PUBLISHER}"
    WriteRegStr HKLM "${KEY}" DisplayIcon "$INSTDIR\veltor.exe,0"
    WriteRegStr HKLM "${KEY}" InstallLocation "$INSTDIR"
    WriteRegStr HKLM "${KEY}" UninstallString '"$INSTDIR\uninstall.exe"'
    WriteRegStr HKLM "${KEY}" QuietUninstallString '"$INSTDIR\uninstall.exe" /S'
    WriteRegDWORD HKLM "${KEY}" NoModify 1
    WriteRegDWORD HKLM "${KEY}" NoRepair 1
    SectionGetSize 0 $0
    WriteRegDWORD HKLM "${KEY}" EstimatedSize $0
SectionEnd

Function un.onInit
    SetShellVarContext all
FunctionEnd

; A running program keeps its files: then nothing is removed. The uninstaller itself goes
; last, which tells that all the rest is done.
Section Uninstall
    Delete "$INSTDIR\veltor.exe"
    IfFileExists "$INSTDIR\veltor.exe" 0 +3
        MessageBox MB_ICONSTOP "${CLOSE_FIRST}" /SD IDOK
        Abort
    Delete "$SMPROGRAMS\Вельтор.lnk"
    DeleteRegKey HKLM "${APP_KEY}"
    DeleteRegKey HKLM "${KEY}"
    !insertmacro RemoveFiles
    Delete "$INSTDIR\uninstall.exe"
    RMDir "$INSTDIR"
SectionEnd

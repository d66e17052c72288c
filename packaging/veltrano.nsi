; Veltrano's installer. Installs for the current user only, into the user's own programs folder:
; no administrator rights are asked for, and Settings.def beside the program stays writable.
;
; Built by scripts/dist.py (`make dist`), which defines:
;   VERSION  the product version, major.minor, from the file VERSION
;   PROGRAM  the 64-bit veltrano.exe to install
;   PANEL_BITMAP  the picture beside the last page (the clock, 164 x 314)
;   CLOCK_ICON  the clock's icon as an .ico, installed beside the program
;   OUTFILE  the installer to write
;
; It is a 64-bit installer for the 64-bit program; 32-bit Windows (XP included) takes the
; portable x86 zip, which needs no installing.

Unicode true
Target amd64-unicode
RequestExecutionLevel user
; The installer's pages are plain dialogs laid out in dialog units, so unlike the clock they can
; take the screen's DPI as it is and stay sharp.
ManifestDPIAware true
SetCompressor /SOLID lzma

!ifndef VERSION | PROGRAM | PANEL_BITMAP | CLOCK_ICON | OUTFILE
    !error "define VERSION, PROGRAM, PANEL_BITMAP, CLOCK_ICON and OUTFILE (see scripts/dist.py)"
!endif

!define PRODUCT "Veltrano"
!define EXE "veltrano.exe"
!define UNINSTALLER "uninstall.exe"
!define SHORTCUT "$SMPROGRAMS\${PRODUCT}.lnk"
!define SETTINGS "Settings.def"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${PRODUCT}"
; Where the clock's option "开机自动运行" registers it.
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
!define ICON "..\res\assets\icon_128.ico"
; The id the clock claims for its process at start-up (src/app/app_identity.h). Under it Windows
; finds the name and icon to show for the clock's notifications, in its balloons and settings.
!define APP_ID_KEY "Software\Classes\AppUserModelId\Veltrano.Clock"
!define APP_ICON "veltrano.ico"

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\${PRODUCT}"
; A reinstall goes where the last install went.
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"

!include "MUI2.nsh"
!include "FileFunc.nsh"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_WELCOMEFINISHPAGE_BITMAP "${PANEL_BITMAP}"
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_TEXT "启动 ${PRODUCT}"
!define MUI_FINISHPAGE_RUN_FUNCTION StartClock

!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "SimpChinese"

; A running clock holds its exe open, so it could be neither replaced nor removed: ask the user to
; end it. A silent run gives up instead.
!macro ClockMustNotRun un
    Function ${un}ClockMustNotRun
        IfFileExists "$INSTDIR\${EXE}" 0 done
    retry:
        ClearErrors
        ; Opening a running program for writing fails; appending changes nothing.
        FileOpen $0 "$INSTDIR\${EXE}" a
        IfErrors 0 closed
        MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION \
            "${PRODUCT} 正在运行。请右键单击时钟，选择“退出”，然后单击“重试”。" \
            /SD IDCANCEL IDRETRY retry
        Abort
    closed:
        FileClose $0
    done:
    FunctionEnd
!macroend
!insertmacro ClockMustNotRun ""
!insertmacro ClockMustNotRun "un."

Function StartClock
    ; The clock keeps Settings.def in the folder it is started from.
    SetOutPath "$INSTDIR"
    Exec '"$INSTDIR\${EXE}"'
FunctionEnd

Section
    Call ClockMustNotRun
    SetOutPath "$INSTDIR"
    File "/oname=${EXE}" "${PROGRAM}"
    File "/oname=${APP_ICON}" "${CLOCK_ICON}"
    WriteUninstaller "$INSTDIR\${UNINSTALLER}"
    ; A shortcut's working folder is the output path: the clock finds Settings.def there.
    CreateShortCut "${SHORTCUT}" "$INSTDIR\${EXE}"

    ; The entry in the system's list of installed programs, for this user only.
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" '"$INSTDIR\${EXE}",0'
    WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\${UNINSTALLER}"'
    WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\${UNINSTALLER}" /S'
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
    ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0

    ; IconUri is the full path of an image file (a plain path, not a file: URI), not an icon
    ; inside a program as DisplayIcon is ("veltrano.exe",0). So the clock's icon lies beside the
    ; program as an .ico file, in every size the clock draws it.
    WriteRegStr HKCU "${APP_ID_KEY}" "DisplayName" "${PRODUCT}"
    WriteRegStr HKCU "${APP_ID_KEY}" "IconUri" "$INSTDIR\${APP_ICON}"
SectionEnd

Section "Uninstall"
    Call un.ClockMustNotRun
    Delete "$INSTDIR\${EXE}"
    Delete "$INSTDIR\${APP_ICON}"
    Delete "$INSTDIR\${UNINSTALLER}"
    Delete "${SHORTCUT}"
    DeleteRegValue HKCU "${RUN_KEY}" "${PRODUCT}"
    DeleteRegKey HKCU "${APP_ID_KEY}"

    ; Settings.def holds the user's alarms and look. It is kept unless the user asks otherwise (a
    ; silent uninstall keeps it), so a reinstall into the same folder finds them again.
    IfFileExists "$INSTDIR\${SETTINGS}" 0 settings_done
    MessageBox MB_YESNO|MB_ICONQUESTION|MB_DEFBUTTON2 \
        "是否同时删除设置文件 ${SETTINGS}（闹铃、外观等设置）？$\n$\n选择“否”将保留它，重新安装后这些设置仍在。" \
        /SD IDNO IDNO settings_done
    Delete "$INSTDIR\${SETTINGS}"
settings_done:
    ; Left behind only if a save was cut short.
    Delete "$INSTDIR\${SETTINGS}.*.tmp"
    RMDir "$INSTDIR"
    ; Last, so that the entry is gone only when all the rest is.
    DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd

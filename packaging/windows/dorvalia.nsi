; Dorvalia's Windows installer, in Spanish. scripts/windows makes it with
;   makensis -INPUTCHARSET UTF8 -DVERSION=... -DOUTDIR=... -DLISTS=... dorvalia.nsi
; where LISTS holds the generated lists of files (install-*.nsh, uninstall-*.nsh), so that the
; uninstaller removes exactly what the installer put there.
;
; Two components: the student's program, always, and the teacher's program, which an
; installation for students leaves out (the installation type «Alumno», the first and the one a
; silent installation takes): on a student's computer it could show the published key's answers.
; The programs and their documents go to Program Files, where the start window finds the
; introduction beside the program (the shortcuts start there), with COPYING (the GPL) and
; LICENCIAS.txt (each part the installer carries: its version, licence and Debian source
; package). The sample lesson goes to the public Documents folder, where every student may write
; the lesson's register.
; A 64-bit installer for 64-bit programs: it runs where they run, Wine's wine64 included.
Target amd64-unicode
!include "MUI2.nsh"

Name "Dorvalia ${VERSION}"
OutFile "${OUTDIR}\Dorvalia-${VERSION}-instalador.exe"
InstallDir "$PROGRAMFILES64\Dorvalia"
RequestExecutionLevel admin
SetCompressor /SOLID lzma
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Dorvalia"
!define MENU "$SMPROGRAMS\Dorvalia"

!define MUI_ICON "${NSISDIR}\Contrib\Graphics\Icons\modern-install.ico"
!define MUI_UNICON "${NSISDIR}\Contrib\Graphics\Icons\modern-uninstall.ico"
!define MUI_FINISHPAGE_RUN "$INSTDIR\dorvalia.exe"
!insertmacro MUI_PAGE_WELCOME
; The GPL asks nothing of whoever only installs and uses the program: the page shows it, and
; goes on with "Siguiente" rather than an "Acepto".
!define MUI_LICENSEPAGE_TEXT_TOP "Dorvalia es software libre, bajo la Licencia Pública General de GNU, versión 3 o posterior."
!define MUI_LICENSEPAGE_TEXT_BOTTOM "Puede usar, copiar, modificar y redistribuir Dorvalia según esta licencia; no hace falta aceptarla para instalarlo ni para usarlo. Las licencias de las demás partes que trae el programa están en LICENCIAS.txt, en su carpeta."
!define MUI_LICENSEPAGE_BUTTON "$(^NextBtn)"
!insertmacro MUI_PAGE_LICENSE "${OUTDIR}\stage\COPYING"
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "Spanish"

InstType "Alumno"
InstType "Docente"

Function .onInit
    SetShellVarContext all
    SetRegView 64
FunctionEnd

Function un.onInit
    SetShellVarContext all
    SetRegView 64
FunctionEnd

Section "Dorvalia (programa del alumno)"
    SectionIn RO
    !include "${LISTS}\install-program.nsh"
    !include "${LISTS}\install-lesson.nsh"
    WriteUninstaller "$INSTDIR\Desinstalar.exe"

    ; A shortcut starts its program in the current output folder: the program's own.
    SetOutPath "$INSTDIR"
    CreateDirectory "${MENU}"
    CreateShortcut "${MENU}\Dorvalia.lnk" "$INSTDIR\dorvalia.exe"
    CreateShortcut "${MENU}\Lecciones de ejemplo.lnk" "$DOCUMENTS\Dorvalia"
    CreateShortcut "${MENU}\Desinstalar Dorvalia.lnk" "$INSTDIR\Desinstalar.exe"

    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "Dorvalia"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\dorvalia.exe"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Desinstalar.exe"'
    WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Desinstalar.exe" /S'
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section /o "Dorvalia Docente (programa del docente)"
    SectionIn 2
    !include "${LISTS}\install-teacher.nsh"
    SetOutPath "$INSTDIR"
    CreateDirectory "${MENU}"
    CreateShortcut "${MENU}\Dorvalia Docente.lnk" "$INSTDIR\dorvalia-docente.exe"
SectionEnd

Section "Uninstall"
    Delete "${MENU}\Dorvalia.lnk"
    Delete "${MENU}\Dorvalia Docente.lnk"
    Delete "${MENU}\Lecciones de ejemplo.lnk"
    Delete "${MENU}\Desinstalar Dorvalia.lnk"
    RMDir "${MENU}"
    !include "${LISTS}\uninstall-program.nsh"
    !include "${LISTS}\uninstall-teacher.nsh"
    !include "${LISTS}\uninstall-lesson.nsh"
    ; Registers the students wrote stay, and so does their folder.
    RMDir "$DOCUMENTS\Dorvalia"
    Delete "$INSTDIR\Desinstalar.exe"
    RMDir "$INSTDIR"
    DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd

; The Windows installer. A 32-bit stub, so that it starts on every Windows and
; can itself refuse the ones too old for the program: on 64-bit x64 Windows it
; installs the 64-bit program, elsewhere the 32-bit one (which ARM64 Windows
; also runs). Made by cmake/windows-packages.cmake, which defines
;   VERSION, OUTFILE, EXE64, EXE32, FILES (the other files' macros),
;   LICENSE, ICON and SIGN (run on the installer and the uninstaller).
Unicode true
ManifestDPIAware true
RequestExecutionLevel admin
SetCompressor /SOLID lzma

!define NAME "Qimbar birliklari"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${NAME}"

Name "${NAME}"
OutFile "${OUTFILE}"
BrandingText "${NAME} ${VERSION}"
!finalize '"${SIGN}" "%1"' = 0
!uninstfinalize '"${SIGN}" "%1"' = 0

!include MUI2.nsh
!include LogicLib.nsh
!include WinVer.nsh
!include x64.nsh
!include FileFunc.nsh
!include "${FILES}"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
; Where NSIS's Uzbek words are wrong or garbled, the program's own.
!define MUI_WELCOMEPAGE_TITLE "${NAME} o'rnatish dasturi"
!insertmacro MUI_PAGE_WELCOME
!define MUI_LICENSEPAGE_TEXT_BOTTOM "Shartlarga rozi bo'lsangiz, $\"Qabul qilaman$\" tugmasini bosing. Dasturni o'rnatish uchun shartlarni qabul qilish kerak."
!insertmacro MUI_PAGE_LICENSE "${LICENSE}"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN "$INSTDIR\qimbar.exe"
!define MUI_FINISHPAGE_RUN_TEXT "${NAME}ni ishga tushirish"
!define MUI_FINISHPAGE_BUTTON "Tayyor"
!insertmacro MUI_PAGE_FINISH
!define MUI_UNCONFIRMPAGE_TEXT_TOP "${NAME} kompyuteringizdan o'chiriladi."
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
; The program speaks Uzbek, and so do the installer's pages.
!insertmacro MUI_LANGUAGE "Uzbek"
DetailsButtonText "&Batafsil..."

; The program needs Windows 7 SP1 or later: on anything older the installer
; says so, in Uzbek, before it shows or installs anything, and stops.
!macro QimbarNeedsWindows7
  ${If} ${AtMostWinVista}
    !insertmacro QimbarRefuses
  ${ElseIf} ${IsWin7}
  ${AndIf} ${AtMostServicePack} 0
    !insertmacro QimbarRefuses
  ${EndIf}
!macroend
!macro QimbarRefuses
  MessageBox MB_OK|MB_ICONSTOP "Qimbar birliklari uchun Windows 7 SP1 yoki undan yangi Windows kerak. Bu kompyuterga o'rnatib bo'lmaydi." /SD IDOK
  Quit
!macroend

; The 32-bit program does its arithmetic in SSE2, as the 64-bit one does, so
; that every result is the same to the last digit. A processor older than
; SSE2 (before the Pentium 4 and the Athlon 64) would stop it at its first
; sum, so it is refused here (PF_XMMI64_INSTRUCTIONS_AVAILABLE is 10).
!macro QimbarNeedsSse2
  ${If} ${IsNativeIA32}
    System::Call 'kernel32::IsProcessorFeaturePresent(i 10) i .r0'
    ${If} $0 = 0
      MessageBox MB_OK|MB_ICONSTOP "Qimbar birliklari uchun SSE2 buyruqlarini bajaradigan protsessor kerak. Bu kompyuterga o'rnatib bo'lmaydi." /SD IDOK
      Quit
    ${EndIf}
  ${EndIf}
!macroend

; 64-bit Windows keeps the 64-bit program where it has always been, in the
; 64-bit Program Files and registry.
!macro QimbarViews
  ${If} ${IsNativeAMD64}
    SetRegView 64
  ${EndIf}
!macroend

Function .onInit
  !insertmacro QimbarNeedsWindows7
  !insertmacro QimbarNeedsSse2
  !insertmacro QimbarViews
  SetShellVarContext all
  ${If} $INSTDIR == ""
    ${If} ${IsNativeAMD64}
      StrCpy $INSTDIR "$PROGRAMFILES64\${NAME}"
    ${Else}
      StrCpy $INSTDIR "$PROGRAMFILES\${NAME}"
    ${EndIf}
  ${EndIf}
FunctionEnd

Section
  ; An earlier version goes first, by its own uninstaller.
  ReadRegStr $0 HKLM "${UNINSTALL_KEY}" "UninstallString"
  StrCpy $1 $0 1
  ${If} $1 == '"'
    StrCpy $0 $0 -1 1
  ${EndIf}
  ${If} $0 != ""
  ${AndIf} ${FileExists} "$0"
    ${GetParent} "$0" $1
    ExecWait '"$0" /S _?=$1'
    Delete "$0"
    RMDir "$1"
  ${EndIf}

  SetOutPath "$INSTDIR"
  ${If} ${IsNativeAMD64}
    File "/oname=qimbar.exe" "${EXE64}"
  ${Else}
    File "/oname=qimbar.exe" "${EXE32}"
  ${EndIf}
  !insertmacro QimbarInstallFiles
  WriteUninstaller "$INSTDIR\Uninstall.exe"
  CreateShortCut "$SMPROGRAMS\${NAME}.lnk" "$INSTDIR\qimbar.exe"

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${NAME}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\qimbar.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "Qimbar jamoasi"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Function un.onInit
  !insertmacro QimbarViews
  SetShellVarContext all
FunctionEnd

Section "Uninstall"
  Delete "$SMPROGRAMS\${NAME}.lnk"
  Delete "$INSTDIR\qimbar.exe"
  !insertmacro QimbarRemoveFiles
  Delete "$INSTDIR\Uninstall.exe"
  RMDir "$INSTDIR"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd

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
; Every word the pages and NSIS's messages show is the program's own, here:
; NSIS's Uzbek is misspelt, stilted and in places garbled (cp1251 read as
; Latin-1). tests/app/win32/check_installer_words.sh fails on any NSIS string
; the installer or the uninstaller would still carry. Buttons are named in
; quotes as they read; ' is only the letter's apostrophe, never a quote.
!define MUI_WELCOMEPAGE_TITLE "${NAME}ni o'rnatish dasturiga xush kelibsiz"
!define MUI_WELCOMEPAGE_TEXT "Bu dastur ${NAME}ni kompyuteringizga o'rnatadi.$\r$\n$\r$\n$_CLICK"
!insertmacro MUI_PAGE_WELCOME
!define MUI_PAGE_HEADER_TEXT "Litsenziya"
!define MUI_PAGE_HEADER_SUBTEXT "${NAME}ni o'rnatishdan oldin litsenziya shartlarini o'qib chiqing."
!define MUI_LICENSEPAGE_TEXT_TOP "Matnning davomini o'qish uchun $\"Page Down$\" tugmasini bosing."
!define MUI_LICENSEPAGE_TEXT_BOTTOM "Shartlarga rozi bo'lsangiz, $\"Qabul qilaman$\" tugmasini bosing. ${NAME}ni o'rnatish uchun shartlarni qabul qilish kerak."
!insertmacro MUI_PAGE_LICENSE "${LICENSE}"
!define MUI_PAGE_HEADER_TEXT "Papkani tanlash"
!define MUI_PAGE_HEADER_SUBTEXT "${NAME} qaysi papkaga o'rnatilishini tanlang."
!define MUI_DIRECTORYPAGE_TEXT_TOP "${NAME} shu papkaga o'rnatiladi. Boshqa papkaga o'rnatish uchun $\"Tanlash$\" tugmasini bosing va papkani tanlang. $_CLICK"
!define MUI_DIRECTORYPAGE_TEXT_DESTINATION "O'rnatiladigan papka"
!insertmacro MUI_PAGE_DIRECTORY
!define MUI_PAGE_HEADER_TEXT "O'rnatilmoqda"
!define MUI_PAGE_HEADER_SUBTEXT "Iltimos, kuting: ${NAME} o'rnatilmoqda."
!define MUI_INSTFILESPAGE_FINISHHEADER_TEXT "O'rnatish tugadi"
!define MUI_INSTFILESPAGE_FINISHHEADER_SUBTEXT "${NAME} kompyuteringizga o'rnatildi."
!define MUI_INSTFILESPAGE_ABORTHEADER_TEXT "O'rnatish to'xtatildi"
!define MUI_INSTFILESPAGE_ABORTHEADER_SUBTEXT "${NAME} o'rnatilmadi. O'rnatish dasturini qaytadan ishga tushirib ko'ring."
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_TITLE "${NAME} o'rnatildi"
!define MUI_FINISHPAGE_TEXT "${NAME} kompyuteringizga o'rnatildi. Uni $\"Start$\" menyusidan ochishingiz mumkin.$\r$\n$\r$\nO'rnatish dasturini yopish uchun $\"Tayyor$\" tugmasini bosing."
!define MUI_FINISHPAGE_TEXT_REBOOT "${NAME}ni o'rnatishni tugatish uchun kompyuterni qayta ishga tushirish kerak. Hozir qayta ishga tushirilsinmi?"
!define MUI_FINISHPAGE_TEXT_REBOOTNOW "&Ha, kompyuter hozir qayta ishga tushirilsin"
!define MUI_FINISHPAGE_TEXT_REBOOTLATER "&Yo'q, keyinroq o'zim qayta ishga tushiraman"
!define MUI_FINISHPAGE_RUN "$INSTDIR\qimbar.exe"
!define MUI_FINISHPAGE_RUN_TEXT "${NAME}ni &ishga tushirish"
!define MUI_FINISHPAGE_BUTTON "&Tayyor"
!insertmacro MUI_PAGE_FINISH
!define MUI_PAGE_HEADER_TEXT "${NAME}ni o'chirish"
!define MUI_PAGE_HEADER_SUBTEXT "${NAME} kompyuteringizdan o'chiriladi."
!define MUI_UNCONFIRMPAGE_TEXT_TOP "${NAME} shu papkadan o'chiriladi. $_CLICK"
!define MUI_UNCONFIRMPAGE_TEXT_LOCATION "Papka:"
!insertmacro MUI_UNPAGE_CONFIRM
!define MUI_PAGE_HEADER_TEXT "O'chirilmoqda"
!define MUI_PAGE_HEADER_SUBTEXT "Iltimos, kuting: ${NAME} o'chirilmoqda."
!define MUI_INSTFILESPAGE_FINISHHEADER_TEXT "O'chirish tugadi"
!define MUI_INSTFILESPAGE_FINISHHEADER_SUBTEXT "${NAME} o'chirildi. Oynani yopish uchun $\"Yopish$\" tugmasini bosing."
; MUI leaves the abort header defined after its page (it unsets another name).
!define /redef MUI_INSTFILESPAGE_ABORTHEADER_TEXT "O'chirish to'xtatildi"
!define /redef MUI_INSTFILESPAGE_ABORTHEADER_SUBTEXT "${NAME} to'liq o'chirilmadi. O'chirish dasturini qaytadan ishga tushirib ko'ring."
!insertmacro MUI_UNPAGE_INSTFILES
; The program speaks Uzbek, and so do the installer's pages.
!insertmacro MUI_LANGUAGE "Uzbek"
; The words NSIS itself puts on the pages, in the captions, the details list
; and its messages. A size reads "1.9 MB".
Caption "${NAME}ni o'rnatish"
UninstallCaption "${NAME}ni o'chirish"
LangString ^NextBtn ${LANG_UZBEK} "&Keyingi >"
LangString ^BackBtn ${LANG_UZBEK} "< O&rqaga"
LangString ^CancelBtn ${LANG_UZBEK} "Bekor qilish"
LangString ^AgreeBtn ${LANG_UZBEK} "&Qabul qilaman"
LangString ^InstallBtn ${LANG_UZBEK} "&O'rnatish"
LangString ^UninstallBtn ${LANG_UZBEK} "&O'chirish"
LangString ^CloseBtn ${LANG_UZBEK} "&Yopish"
LangString ^BrowseBtn ${LANG_UZBEK} "&Tanlash..."
DetailsButtonText "&Batafsil..."
LangString ^ClickNext ${LANG_UZBEK} "Davom etish uchun $\"Keyingi$\" tugmasini bosing."
LangString ^ClickInstall ${LANG_UZBEK} "O'rnatishni boshlash uchun $\"O'rnatish$\" tugmasini bosing."
LangString ^ClickUninstall ${LANG_UZBEK} "O'chirishni boshlash uchun $\"O'chirish$\" tugmasini bosing."
LangString ^DirBrowseText ${LANG_UZBEK} "${NAME}ni o'rnatish uchun papkani tanlang:"
LangString ^SpaceRequired ${LANG_UZBEK} "Kerakli joy: "
LangString ^SpaceAvailable ${LANG_UZBEK} "Bo'sh joy: "
LangString ^Byte ${LANG_UZBEK} "B"
LangString ^Kilo ${LANG_UZBEK} " K"
LangString ^Mega ${LANG_UZBEK} " M"
LangString ^Giga ${LANG_UZBEK} " G"
LangString ^Completed ${LANG_UZBEK} "Tayyor"
LangString ^CopyDetails ${LANG_UZBEK} "Ro'yxatdan nusxa olish"
; Only a components page shows it; NSIS keeps it all the same.
LangString ^Custom ${LANG_UZBEK} "O'zingiz tanlaysiz"
; The details list: each line names what was done, then the file or folder.
LangString ^OutputFolder ${LANG_UZBEK} "Papka: "
LangString ^Extract ${LANG_UZBEK} "Nusxalash: "
LangString ^Skipped ${LANG_UZBEK} "O'tkazib yuborildi: "
LangString ^Exec ${LANG_UZBEK} "Ishga tushirish: "
LangString ^CreateShortcut ${LANG_UZBEK} "Yorliq yaratish: "
LangString ^CreatedUninstaller ${LANG_UZBEK} "O'chirish dasturi yaratildi: "
LangString ^Delete ${LANG_UZBEK} "Faylni o'chirish: "
LangString ^DeleteOnReboot ${LANG_UZBEK} "Kompyuter qayta ishga tushganda o'chiriladi: "
LangString ^RemoveFolder ${LANG_UZBEK} "Papkani o'chirish: "
LangString ^CantWrite ${LANG_UZBEK} "Yozib bo'lmadi: "
LangString ^ErrorWriting ${LANG_UZBEK} "Faylga yozib bo'lmadi: "
LangString ^ErrorCreating ${LANG_UZBEK} "Yaratib bo'lmadi: "
LangString ^ErrorCreatingShortcut ${LANG_UZBEK} "Yorliq yaratib bo'lmadi: "
LangString ^CouldNotLoad ${LANG_UZBEK} "Ochib bo'lmadi: "
LangString ^SymbolNotFound ${LANG_UZBEK} "Funksiya topilmadi: "
LangString ^NoOLE ${LANG_UZBEK} "OLE ishlamadi: "
; Windows names the message boxes' buttons in its own language, so they are
; told by their place: Abort, Retry, Ignore; Retry, Cancel.
LangString ^FileError ${LANG_UZBEK} "Faylga yozib bo'lmadi:$\r$\n$\r$\n$0$\r$\n$\r$\n${NAME} ochiq bo'lsa, uni yoping va qaytadan urinish uchun ikkinchi tugmani bosing. Birinchi tugma o'rnatishni to'xtatadi, uchinchisi esa bu faylni o'tkazib yuboradi."
LangString ^FileError_NoIgnore ${LANG_UZBEK} "Faylga yozib bo'lmadi:$\r$\n$\r$\n$0$\r$\n$\r$\n${NAME} ochiq bo'lsa, uni yoping va qaytadan urinish uchun birinchi tugmani bosing. Ikkinchi tugma o'rnatishni to'xtatadi."
LangString ^ErrorDecompressing ${LANG_UZBEK} "Bu fayl buzilgan, uni ochib bo'lmadi. ${NAME}ning o'rnatish faylini qaytadan yuklab oling."
LangString ^InvalidOpcode ${LANG_UZBEK} "Bu fayl buzilgan. ${NAME}ning o'rnatish faylini qaytadan yuklab oling."

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
  MessageBox MB_OK|MB_ICONSTOP "Bu kompyuterdagi Windows juda eski: ${NAME} uchun Windows 7 SP1 yoki undan yangisi kerak. Windowsni yangilang, so'ng o'rnatish dasturini qaytadan ishga tushiring." /SD IDOK
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
      MessageBox MB_OK|MB_ICONSTOP "Bu kompyuterning protsessori juda eski: ${NAME} uchun SSE2 buyruqlarini bajaradigan protsessor kerak. ${NAME}ni yangiroq kompyuterga o'rnating." /SD IDOK
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

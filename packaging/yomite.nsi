; The Windows installer, built by makensis in the Windows build (the target
; "installer", from scripts/package win32). The build passes VERSION, VERSION4,
; OUTFILE and the paths of the files it ships (YOMITE_EXE, YOMISEAL_EXE,
; LICENSE_TXT, README_TXT, ICON).
;
; It installs for the current user by default, without an administrator, into
; %LOCALAPPDATA%\Programs\Yomite; /AllUsers (or the choice on the first page)
; installs into Program Files for every user, asking for an administrator.
; "Open with Yomite" is offered for .txt and .zip through OpenWithProgids and
; Applications\yomite.exe, never as the default; .ymx, the locked texts, is a
; file type of its own. The uninstaller removes every file and key it made and
; keeps the user's settings (%APPDATA%\Yomite) unless asked, or given
; /RemoveSettings.

; A 64-bit installer for the 64-bit programs (Wine without its 32-bit half runs it too).
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel user
ManifestDPIAware true

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh
!include x64.nsh
!include nsDialogs.nsh

!define PRODUCT "Yomite"
!define PUBLISHER "the Yomite authors"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Yomite"
!define APPLICATION_KEY "Software\Classes\Applications\yomite.exe"
!define TEXT_PROGID "Yomite.txt"
!define ZIP_PROGID "Yomite.zip"
!define LOCKED_PROGID "Yomite.ymx"
; The copy the installer made keeps its settings in %APPDATA%\Yomite.
!define INSTALLED_MARKER "installed.txt"

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
Icon "${ICON}"
UninstallIcon "${ICON}"
BrandingText "${PRODUCT} ${VERSION}"
ShowInstDetails nevershow
ShowUninstDetails nevershow

VIProductVersion "${VERSION4}"
VIFileVersion "${VERSION4}"
VIAddVersionKey /LANG=0 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=0 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "FileDescription" "${PRODUCT} ${VERSION} Setup"
VIAddVersionKey /LANG=0 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=0 "LegalCopyright" "Copyright (c) 2026 ${PUBLISHER} (MIT License)"

Var AllUsers        ; 1: for every user (Program Files, HKLM)
Var RemoveSettings  ; 1: the uninstaller removes %APPDATA%\Yomite too
Var DirectoryGiven  ; 1: /D= named the folder
Var ModePage
Var ModeCurrent
Var ModeAll

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_FINISHPAGE_RUN "$INSTDIR\yomite.exe"

Page custom ModePageShow ModePageLeave
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "Japanese"
!insertmacro MUI_LANGUAGE "English"

LangString ModeTitle ${LANG_JAPANESE} "インストールの種類"
LangString ModeTitle ${LANG_ENGLISH} "Installation type"
LangString ModeText ${LANG_JAPANESE} "Yomite を誰のためにインストールしますか。"
LangString ModeText ${LANG_ENGLISH} "Who is Yomite for?"
LangString ModeCurrentLabel ${LANG_JAPANESE} "このユーザーだけ (管理者の権限は要りません)"
LangString ModeCurrentLabel ${LANG_ENGLISH} "Only me (no administrator needed)"
LangString ModeAllLabel ${LANG_JAPANESE} "このコンピューターのすべてのユーザー (管理者の権限が要ります)"
LangString ModeAllLabel ${LANG_ENGLISH} "Everyone on this computer (needs an administrator)"
LangString Needs64Bit ${LANG_JAPANESE} "Yomite は 64 ビット版の Windows で動きます。"
LangString Needs64Bit ${LANG_ENGLISH} "Yomite runs on 64-bit Windows."
LangString NeedsAdmin ${LANG_JAPANESE} "すべてのユーザーのためのインストールには管理者の権限が要ります。"
LangString NeedsAdmin ${LANG_ENGLISH} "Installing for everyone needs an administrator."
LangString AskRemoveSettings ${LANG_JAPANESE} "設定ファイル (YOMITE.INI: 設定、最近のファイル、しおり) も削除しますか。"
LangString AskRemoveSettings ${LANG_ENGLISH} "Remove your settings too (YOMITE.INI: settings, recent files, marks)?"
LangString OpenWith ${LANG_JAPANESE} "Yomite で開く"
LangString OpenWith ${LANG_ENGLISH} "Open with Yomite"
LangString LockedType ${LANG_JAPANESE} "Yomite ロックテキスト"
LangString LockedType ${LANG_ENGLISH} "Yomite locked text"

; --- the mode: for this user or for every user ------------------------------

; Shell folders, the registry's HKCU or HKLM (SHCTX) and the 64-bit view for
; the mode in $AllUsers.
!macro SetMode
  ${If} $AllUsers == 1
    SetShellVarContext all
  ${Else}
    SetShellVarContext current
  ${EndIf}
  SetRegView 64
!macroend

; Whether this process may write for every user.
!macro IsAdmin result
  UserInfo::GetAccountType
  Pop ${result}
!macroend

; An installer or uninstaller for every user that runs without an
; administrator starts itself again, asking for one, and ends.
!macro ElevateForAllUsers
  ${If} $AllUsers == 1
    !insertmacro IsAdmin $0
    ${If} $0 != "Admin"
      ${GetParameters} $1
      ExecShell "runas" "$EXEPATH" "$1 /AllUsers"
      ${If} ${Errors}
        MessageBox MB_ICONSTOP "$(NeedsAdmin)" /SD IDOK
      ${EndIf}
      Quit
    ${EndIf}
  ${EndIf}
!macroend

Function .onInit
  ${IfNot} ${RunningX64}
    MessageBox MB_ICONSTOP "$(Needs64Bit)" /SD IDOK
    Abort
  ${EndIf}
  ${If} $INSTDIR != ""
    StrCpy $DirectoryGiven 1  ; /D= on the command line
  ${EndIf}
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/AllUsers" $1
  ${IfNot} ${Errors}
    StrCpy $AllUsers 1
  ${EndIf}
  ; A silent installation decides now; the first page may still change it.
  ${If} ${Silent}
    !insertmacro ElevateForAllUsers
  ${EndIf}
  Call ChooseDirectory
FunctionEnd

Function ChooseDirectory
  !insertmacro SetMode
  ${If} $DirectoryGiven == 1
    Return
  ${EndIf}
  ${If} $AllUsers == 1
    StrCpy $INSTDIR "$PROGRAMFILES64\${PRODUCT}"
  ${Else}
    StrCpy $INSTDIR "$LOCALAPPDATA\Programs\${PRODUCT}"
  ${EndIf}
FunctionEnd

Function ModePageShow
  !insertmacro MUI_HEADER_TEXT "$(ModeTitle)" "$(ModeText)"
  nsDialogs::Create 1018
  Pop $ModePage
  ${NSD_CreateRadioButton} 0 10u 100% 12u "$(ModeCurrentLabel)"
  Pop $ModeCurrent
  ${NSD_CreateRadioButton} 0 30u 100% 12u "$(ModeAllLabel)"
  Pop $ModeAll
  ${If} $AllUsers == 1
    ${NSD_Check} $ModeAll
  ${Else}
    ${NSD_Check} $ModeCurrent
  ${EndIf}
  nsDialogs::Show
FunctionEnd

Function ModePageLeave
  ${NSD_GetState} $ModeAll $0
  ${If} $0 == ${BST_CHECKED}
    StrCpy $AllUsers 1
  ${Else}
    StrCpy $AllUsers 0
  ${EndIf}
  !insertmacro ElevateForAllUsers
  Call ChooseDirectory
FunctionEnd

; --- what is installed ------------------------------------------------------

; A file type whose "open" runs the installed viewer on the file.
!macro WriteProgId progid description icon
  WriteRegStr SHCTX "Software\Classes\${progid}" "" "${description}"
  WriteRegStr SHCTX "Software\Classes\${progid}" "FriendlyTypeName" "${description}"
  WriteRegStr SHCTX "Software\Classes\${progid}\DefaultIcon" "" '${icon}'
  WriteRegStr SHCTX "Software\Classes\${progid}\shell\open" "FriendlyAppName" "${PRODUCT}"
  WriteRegStr SHCTX "Software\Classes\${progid}\shell\open\command" "" '"$INSTDIR\yomite.exe" "%1"'
!macroend

!macro OfferFor extension progid
  WriteRegStr SHCTX "Software\Classes\${extension}\OpenWithProgids" "${progid}" ""
  WriteRegStr SHCTX "${APPLICATION_KEY}\SupportedTypes" "${extension}" ""
!macroend

Section "Yomite"
  !insertmacro SetMode
  SetOutPath "$INSTDIR"
  File "/oname=yomite.exe" "${YOMITE_EXE}"
  File "/oname=yomiseal.exe" "${YOMISEAL_EXE}"
  File "/oname=LICENSE.txt" "${LICENSE_TXT}"
  File "/oname=README.txt" "${README_TXT}"
  FileOpen $0 "$INSTDIR\${INSTALLED_MARKER}" w
  FileWrite $0 "This copy of Yomite was installed: it keeps its settings in %APPDATA%\Yomite.$\r$\n"
  FileClose $0
  WriteUninstaller "$INSTDIR\uninstall.exe"

  CreateShortcut "$SMPROGRAMS\${PRODUCT}.lnk" "$INSTDIR\yomite.exe" "" "$INSTDIR\yomite.exe" 0

  ; "Open with": the application and its types, never a type's default.
  WriteRegStr SHCTX "${APPLICATION_KEY}" "FriendlyAppName" "${PRODUCT}"
  WriteRegStr SHCTX "${APPLICATION_KEY}\DefaultIcon" "" '"$INSTDIR\yomite.exe",0'
  WriteRegStr SHCTX "${APPLICATION_KEY}\shell\open" "FriendlyAppName" "${PRODUCT}"
  WriteRegStr SHCTX "${APPLICATION_KEY}\shell\open\command" "" '"$INSTDIR\yomite.exe" "%1"'
  !insertmacro WriteProgId "${TEXT_PROGID}" "$(OpenWith)" '"$INSTDIR\yomite.exe",0'
  !insertmacro WriteProgId "${ZIP_PROGID}" "$(OpenWith)" '"$INSTDIR\yomite.exe",0'
  !insertmacro WriteProgId "${LOCKED_PROGID}" "$(LockedType)" '"$INSTDIR\yomite.exe",0'
  !insertmacro OfferFor ".txt" "${TEXT_PROGID}"
  !insertmacro OfferFor ".zip" "${ZIP_PROGID}"
  !insertmacro OfferFor ".ymx" "${LOCKED_PROGID}"
  ; .ymx is Yomite's own: it opens in Yomite unless another program has it.
  ReadRegStr $0 SHCTX "Software\Classes\.ymx" ""
  ${If} $0 == ""
    WriteRegStr SHCTX "Software\Classes\.ymx" "" "${LOCKED_PROGID}"
  ${EndIf}

  ; "Apps & features".
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayIcon" '"$INSTDIR\yomite.exe",0'
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  ${If} $AllUsers == 1
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe" /AllUsers'
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /AllUsers /S'
  ${Else}
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  ${EndIf}
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "EstimatedSize" "$0"

  ; Explorer shows the new "Open with" entries at once.
  System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'
SectionEnd

; --- the uninstaller ----------------------------------------------------------

Function un.onInit
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/AllUsers" $1
  ${IfNot} ${Errors}
    StrCpy $AllUsers 1
  ${EndIf}
  !insertmacro ElevateForAllUsers
  ClearErrors
  ${GetOptions} $0 "/RemoveSettings" $1
  ${IfNot} ${Errors}
    StrCpy $RemoveSettings 1
  ${ElseIfNot} ${Silent}
    MessageBox MB_YESNO|MB_ICONQUESTION|MB_DEFBUTTON2 "$(AskRemoveSettings)" IDNO +2
    StrCpy $RemoveSettings 1
  ${EndIf}
FunctionEnd

!macro RemoveOffer extension progid
  DeleteRegValue SHCTX "Software\Classes\${extension}\OpenWithProgids" "${progid}"
  DeleteRegKey /IfEmpty SHCTX "Software\Classes\${extension}\OpenWithProgids"
  DeleteRegKey SHCTX "Software\Classes\${progid}"
!macroend

Section "Uninstall"
  !insertmacro SetMode
  Delete "$INSTDIR\yomite.exe"
  Delete "$INSTDIR\yomiseal.exe"
  Delete "$INSTDIR\LICENSE.txt"
  Delete "$INSTDIR\README.txt"
  Delete "$INSTDIR\${INSTALLED_MARKER}"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  Delete "$SMPROGRAMS\${PRODUCT}.lnk"

  DeleteRegKey SHCTX "${APPLICATION_KEY}"
  !insertmacro RemoveOffer ".txt" "${TEXT_PROGID}"
  !insertmacro RemoveOffer ".zip" "${ZIP_PROGID}"
  !insertmacro RemoveOffer ".ymx" "${LOCKED_PROGID}"
  ReadRegStr $0 SHCTX "Software\Classes\.ymx" ""
  ${If} $0 == "${LOCKED_PROGID}"
    DeleteRegValue SHCTX "Software\Classes\.ymx" ""
  ${EndIf}
  DeleteRegKey /IfEmpty SHCTX "Software\Classes\.ymx"
  DeleteRegKey SHCTX "${UNINSTALL_KEY}"

  ; The settings are each user's own: only asked for, and only this user's.
  ${If} $RemoveSettings == 1
    SetShellVarContext current
    Delete "$APPDATA\${PRODUCT}\YOMITE.INI"
    Delete "$APPDATA\${PRODUCT}\YOMITE.INI.lock"
    RMDir "$APPDATA\${PRODUCT}"
  ${EndIf}
  System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'
SectionEnd

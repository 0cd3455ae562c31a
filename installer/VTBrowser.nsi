; VTBrowser-Setup.exe: installs the client for every user of the machine and writes the values of
; Software\Vintara that the client reads. Built by the win32 preset (installer/CMakeLists.txt).
;
;   VTBrowser-Setup.exe [/S] [/EMULATORS=folder] [/GAMESERVER=host] [/WEBHOST=host[:port]] [/D=install folder]
;
; Values it finds stay as they are unless an option (or, installing with its pages, a folder the
; user changed) names new ones: they may be an earlier installation's of the service, pointing at
; emulators that live elsewhere. The uninstaller removes only the values this installation
; created, which the installed-programs entry remembers in "CreatedValues".
;
; Software\Vintara lives in the 32-bit view of the machine hive: that is where the service's
; earlier, 32-bit installer put it on every machine that has the client, and the client opens it
; there (docs/deployment.md). The installed-programs entry is in the 64-bit view, as for any
; 64-bit program.

Unicode true
ManifestSupportedOS all
RequestExecutionLevel admin
SetCompressor /SOLID lzma

!include "FileFunc.nsh"
!include "LogicLib.nsh"
!include "StrFunc.nsh"
${StrStr}
${UnStrStr}

!define PRODUCT "VTBrowser"
!define VERSION "1.0"
!define COMPANY "Vintara"
!define VINTARA_KEY "Software\Vintara"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\VTBrowser"

Name "${PRODUCT}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\${PRODUCT}"
Icon "${ICON}"
UninstallIcon "${ICON}"
BrandingText "${COMPANY}"
VIProductVersion "1.0.0.0"
VIAddVersionKey /LANG=1033 "ProductName" "${PRODUCT} Setup"
VIAddVersionKey /LANG=1033 "CompanyName" "${COMPANY}"
VIAddVersionKey /LANG=1033 "FileDescription" "Installs ${PRODUCT}, the ${COMPANY} client"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "LegalCopyright" "${COMPANY}"

Var Emulators
Var EmulatorsShown  ; what the emulator page showed first
Var EmulatorsNamed  ; 1 when /EMULATORS= or the page names the folder: its values are rewritten
Var GameServer
Var WebHost
Var Created  ; ";NAME;NAME;": the values of Software\Vintara this installation created

Page directory
PageEx directory
  Caption ": Emulator folder"
  DirText "The Vintara emulators are in this folder: the client starts them from here and writes \
their controls here. Keep it unless they are somewhere else." "Emulator folder" "Browse..." \
"Choose the folder of the Vintara emulators."
  DirVar $Emulators
  PageCallbacks "" EmulatorsShow EmulatorsChosen
PageExEnd
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

; $R1: a value of Software\Vintara (32-bit view); $R2: 1 when it exists, whatever its type.
Function ValueExists
  StrCpy $R2 0
  ; HKEY_LOCAL_MACHINE, KEY_READ | KEY_WOW64_32KEY
  System::Call 'advapi32::RegOpenKeyExW(p 0x80000002, w "${VINTARA_KEY}", i 0, i 0x20219, \
                *p .r3) i .r0'
  ${If} $0 == 0
    System::Call 'advapi32::RegQueryValueExW(p r3, w R1, p 0, p 0, p 0, p 0) i .r0'
    ${If} $0 == 0
      StrCpy $R2 1
    ${EndIf}
    System::Call 'advapi32::RegCloseKey(p r3)'
  ${EndIf}
FunctionEnd

; Writes the text value unless it exists and NAMED is not 1; one that did not exist is created
; by this installation and recorded so.
!macro PlaceValue NAME TEXT NAMED
  StrCpy $R1 "${NAME}"
  Call ValueExists
  ${If} $R2 == 0
  ${OrIf} ${NAMED} == 1
    WriteRegStr HKLM "${VINTARA_KEY}" "${NAME}" "${TEXT}"
  ${EndIf}
  ${If} $R2 == 0
    ${StrStr} $R3 $Created ";${NAME};"
    ${If} $R3 == ""
      StrCpy $Created "$Created${NAME};"
    ${EndIf}
  ${EndIf}
!macroend
; The emulator program of each console alias, inside the emulator folder.
!macro EmulatorPath ALIAS PROGRAM
  !insertmacro PlaceValue "${ALIAS}_PATH" "$Emulators\${PROGRAM}" $EmulatorsNamed
!macroend
!macro ForgetCreatedValue NAME
  ${UnStrStr} $R3 $Created ";${NAME};"
  ${If} $R3 != ""
    DeleteRegValue HKLM "${VINTARA_KEY}" "${NAME}"
  ${EndIf}
!macroend

Function .onInit
  SetRegView 32
  ClearErrors
  ReadRegStr $EmulatorsShown HKLM "${VINTARA_KEY}" "VT_PATH"
  ${If} $EmulatorsShown == ""
    StrCpy $EmulatorsShown "C:\Vintara\Emulators"
  ${EndIf}
  StrCpy $EmulatorsNamed 0
  ${GetParameters} $R0
  ClearErrors
  ${GetOptions} $R0 "/EMULATORS=" $Emulators
  ${If} ${Errors}
  ${OrIf} $Emulators == ""
    StrCpy $Emulators $EmulatorsShown
  ${Else}
    StrCpy $EmulatorsNamed 1
    StrCpy $EmulatorsShown $Emulators
  ${EndIf}
  ${GetOptions} $R0 "/GAMESERVER=" $GameServer
  ${GetOptions} $R0 "/WEBHOST=" $WebHost
FunctionEnd

; The space the client needs is the install folder's, not this one's.
Function EmulatorsShow
  FindWindow $0 "#32770" "" $HWNDPARENT
  GetDlgItem $1 $0 1023
  ShowWindow $1 0
  GetDlgItem $1 $0 1024
  ShowWindow $1 0
FunctionEnd

; A folder the user changed on the page names new emulator values, as /EMULATORS= does.
Function EmulatorsChosen
  ${If} $Emulators != $EmulatorsShown
    StrCpy $EmulatorsNamed 1
  ${EndIf}
FunctionEnd

; Every user's client starts the programs the key names and sends logins to the server it names,
; so only administrators may change it; every user may read it. Each user's own login and
; browser state live in that user's own key, which the client writes. The list is protected:
; nothing inherited adds a right.
Function KeepTheKeyForAdministrators
  ; SYSTEM and Administrators: full control; Users: KEY_READ.
  System::Call 'advapi32::ConvertStringSecurityDescriptorToSecurityDescriptorW(w "D:P(A;CI;KA;;;SY)(A;CI;KA;;;BA)(A;CI;KR;;;BU)", i 1, *p .r1, p 0) i .r0'
  ${If} $0 == 0
    DetailPrint "The access rights of ${VINTARA_KEY} could not be made."
    Return
  ${EndIf}
  ; HKEY_LOCAL_MACHINE, WRITE_DAC | KEY_WOW64_32KEY
  System::Call 'advapi32::RegOpenKeyExW(p 0x80000002, w "${VINTARA_KEY}", i 0, i 0x40200, *p .r2) i .r0'
  ${If} $0 == 0
    ; DACL_SECURITY_INFORMATION
    System::Call 'advapi32::RegSetKeySecurity(p r2, i 4, p r1) i .r0'
    System::Call 'advapi32::RegCloseKey(p r2)'
  ${EndIf}
  ${If} $0 != 0
    DetailPrint "The access rights of ${VINTARA_KEY} could not be set ($0)."
  ${EndIf}
  System::Call 'kernel32::LocalFree(p r1)'
FunctionEnd

Section "${PRODUCT}"
  SetShellVarContext all
  SetOutPath "$INSTDIR"
  File "/oname=VTBrowser.exe" "${CLIENT_EXE}"
  File "/oname=vtcli.exe" "${VTCLI_EXE}"
  WriteUninstaller "$INSTDIR\Uninstall.exe"

  ; What an earlier installation created stays ours to remove.
  SetRegView 64
  ReadRegStr $Created HKLM "${UNINSTALL_KEY}" "CreatedValues"
  ${If} $Created == ""
    StrCpy $Created ";"
  ${EndIf}

  SetRegView 32
  !insertmacro PlaceValue VT_PATH "$Emulators" $EmulatorsNamed
  !insertmacro EmulatorPath NES nester.exe
  !insertmacro EmulatorPath SNES zsnesw.exe
  !insertmacro EmulatorPath 2600 stella.exe
  !insertmacro EmulatorPath GEN gens.exe
  !insertmacro EmulatorPath GBC gest.exe
  !insertmacro EmulatorPath SMS meka.exe
  !insertmacro EmulatorPath SGG meka.exe
  !insertmacro EmulatorPath COL meka.exe
  ${If} $GameServer != ""
    !insertmacro PlaceValue GameServer "$GameServer" 1
  ${EndIf}
  ${If} $WebHost != ""
    !insertmacro PlaceValue WebHost "$WebHost" 1
  ${EndIf}
  Call KeepTheKeyForAdministrators
  ; The folder the client will use, kept or new, exists.
  ReadRegStr $R0 HKLM "${VINTARA_KEY}" "VT_PATH"
  ${If} $R0 != ""
    CreateDirectory "$R0"
  ${EndIf}

  CreateDirectory "$SMPROGRAMS\${COMPANY}"
  CreateShortcut "$SMPROGRAMS\${COMPANY}\${PRODUCT}.lnk" "$INSTDIR\VTBrowser.exe" "" "$INSTDIR\VTBrowser.exe" 0

  SetRegView 64
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${COMPANY}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\VTBrowser.exe,0"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  IntFmt $0 "0x%08X" $0
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" "$0"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "CreatedValues" "$Created"
SectionEnd

; Removes what the installer put there. The emulators, their configurations, the values the
; client saved for the user (login, browser state) and the values this installation found stay:
; they are the user's or an earlier installation's, and a later install finds them again.
Section "Uninstall"
  SetShellVarContext all
  Delete "$INSTDIR\VTBrowser.exe"
  Delete "$INSTDIR\vtcli.exe"
  Delete "$INSTDIR\Uninstall.exe"
  RMDir "$INSTDIR"
  Delete "$SMPROGRAMS\${COMPANY}\${PRODUCT}.lnk"
  RMDir "$SMPROGRAMS\${COMPANY}"

  SetRegView 64
  ReadRegStr $Created HKLM "${UNINSTALL_KEY}" "CreatedValues"
  SetRegView 32
  !insertmacro ForgetCreatedValue VT_PATH
  !insertmacro ForgetCreatedValue NES_PATH
  !insertmacro ForgetCreatedValue SNES_PATH
  !insertmacro ForgetCreatedValue 2600_PATH
  !insertmacro ForgetCreatedValue GEN_PATH
  !insertmacro ForgetCreatedValue GBC_PATH
  !insertmacro ForgetCreatedValue SMS_PATH
  !insertmacro ForgetCreatedValue SGG_PATH
  !insertmacro ForgetCreatedValue COL_PATH
  !insertmacro ForgetCreatedValue GameServer
  !insertmacro ForgetCreatedValue WebHost
  DeleteRegKey /ifempty HKLM "${VINTARA_KEY}"

  SetRegView 64
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd

; VTBrowser-Setup.exe: installs the client for every user of the machine and writes the values of
; Software\Vintara that the client reads. Built by the win32 preset (installer/CMakeLists.txt).
;
;   VTBrowser-Setup.exe [/S] [/EMULATORS=folder] [/GAMESERVER=host] [/WEBHOST=host[:port]] [/D=install folder]
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

Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

Var Emulators
Var GameServer
Var WebHost

; The emulator program of each console alias, inside the emulator folder.
!macro EmulatorPath ALIAS PROGRAM
  WriteRegStr HKLM "${VINTARA_KEY}" "${ALIAS}_PATH" "$Emulators\${PROGRAM}"
!macroend
!macro ForgetValue NAME
  DeleteRegValue HKLM "${VINTARA_KEY}" "${NAME}"
!macroend

Function .onInit
  ${GetParameters} $R0
  ClearErrors
  ${GetOptions} $R0 "/EMULATORS=" $Emulators
  ${If} ${Errors}
  ${OrIf} $Emulators == ""
    StrCpy $Emulators "C:\Vintara\Emulators"
  ${EndIf}
  ${GetOptions} $R0 "/GAMESERVER=" $GameServer
  ${GetOptions} $R0 "/WEBHOST=" $WebHost
FunctionEnd

; Users of the machine who are not administrators may read the key and set its values, so that
; the client can save their login and browser state; only administrators may do more.
Function AllowUsersToSaveTheirState
  ; SYSTEM and Administrators: full control; Users: KEY_READ | KEY_SET_VALUE.
  System::Call 'advapi32::ConvertStringSecurityDescriptorToSecurityDescriptorW(w "D:P(A;CI;KA;;;SY)(A;CI;KA;;;BA)(A;CI;0x2001b;;;BU)", i 1, *p .r1, p 0) i .r0'
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

  SetRegView 32
  WriteRegStr HKLM "${VINTARA_KEY}" "VT_PATH" "$Emulators"
  !insertmacro EmulatorPath NES nester.exe
  !insertmacro EmulatorPath SNES zsnesw.exe
  !insertmacro EmulatorPath 2600 stella.exe
  !insertmacro EmulatorPath GEN gens.exe
  !insertmacro EmulatorPath GBC gest.exe
  !insertmacro EmulatorPath SMS meka.exe
  !insertmacro EmulatorPath SGG meka.exe
  !insertmacro EmulatorPath COL meka.exe
  ${If} $GameServer != ""
    WriteRegStr HKLM "${VINTARA_KEY}" "GameServer" "$GameServer"
  ${EndIf}
  ${If} $WebHost != ""
    WriteRegStr HKLM "${VINTARA_KEY}" "WebHost" "$WebHost"
  ${EndIf}
  Call AllowUsersToSaveTheirState

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
SectionEnd

; Removes what the installer put there. The emulators, their configurations and the values the
; client saved for the user (login, browser state) stay: they are the user's, and a later
; install finds them again.
Section "Uninstall"
  SetShellVarContext all
  Delete "$INSTDIR\VTBrowser.exe"
  Delete "$INSTDIR\vtcli.exe"
  Delete "$INSTDIR\Uninstall.exe"
  RMDir "$INSTDIR"
  Delete "$SMPROGRAMS\${COMPANY}\${PRODUCT}.lnk"
  RMDir "$SMPROGRAMS\${COMPANY}"

  SetRegView 32
  !insertmacro ForgetValue VT_PATH
  !insertmacro ForgetValue NES_PATH
  !insertmacro ForgetValue SNES_PATH
  !insertmacro ForgetValue 2600_PATH
  !insertmacro ForgetValue GEN_PATH
  !insertmacro ForgetValue GBC_PATH
  !insertmacro ForgetValue SMS_PATH
  !insertmacro ForgetValue SGG_PATH
  !insertmacro ForgetValue COL_PATH
  !insertmacro ForgetValue GameServer
  !insertmacro ForgetValue WebHost
  DeleteRegKey /ifempty HKLM "${VINTARA_KEY}"

  SetRegView 64
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd

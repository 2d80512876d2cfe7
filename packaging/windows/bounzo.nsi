; The Windows installer: bounzo.exe into Program Files, a Start-menu entry,
; an uninstaller and the entry of "Apps and features". Silent with /S, into
; another folder with /D=FOLDER (the last argument, unquoted).
;
; makensis -DVERSION=1.0.0 -DVERSION_QUAD=1.0.0.0 -DEXE=path\bounzo.exe
;          -DLICENCE=path -DOUTFILE=path bounzo.nsi
Unicode true
; The 64-bit stub: the default 32-bit one cannot run where Windows has no 32-bit layer.
Target amd64-unicode
SetCompressor /SOLID lzma
ManifestDPIAware true

!define NAME "Детский Баунзо"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Bounzo"

Name "${NAME}"
OutFile "${OUTFILE}"
; Program Files wants an administrator; the 64-bit stub names the 64-bit folder.
RequestExecutionLevel admin
InstallDir "$PROGRAMFILES64\Bounzo"
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "${NAME} ${VERSION}"

VIProductVersion "${VERSION_QUAD}"
VIFileVersion "${VERSION_QUAD}"
VIAddVersionKey /LANG=1049 "ProductName" "${NAME}"
VIAddVersionKey /LANG=1049 "FileDescription" "Установка: ${NAME}"
VIAddVersionKey /LANG=1049 "CompanyName" "Bounzo team"
VIAddVersionKey /LANG=1049 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1049 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1049 "LegalCopyright" "Bounzo team, Expat licence"

!include "MUI2.nsh"
!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_FINISHPAGE_RUN "$INSTDIR\bounzo.exe"
!insertmacro MUI_PAGE_LICENSE "${LICENCE}"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "Russian"

Section
  SetShellVarContext all
  SetOutPath "$INSTDIR"
  File "/oname=bounzo.exe" "${EXE}"
  File "/oname=LICENSE.txt" "${LICENCE}"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  CreateShortcut "$SMPROGRAMS\${NAME}.lnk" "$INSTDIR\bounzo.exe"

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${NAME}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "Bounzo team"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\bounzo.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

; Removes exactly what the installer put there, and the folder only if it is
; then empty: a folder the player chose may hold files of their own.
Section "Uninstall"
  SetShellVarContext all
  Delete "$SMPROGRAMS\${NAME}.lnk"
  Delete "$INSTDIR\bounzo.exe"
  Delete "$INSTDIR\LICENSE.txt"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd

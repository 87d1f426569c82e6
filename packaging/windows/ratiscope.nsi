; The Windows installer: the two programs, the five language files and the
; manual into Program Files\Vendrel\Ratiscope, a Start-menu shortcut, and
; Uninstall.exe, which removes exactly these files and leaves every user's
; settings where they are.
;
; makensis -DARCH=x64|x86 -DVERSION=5.9.3 -DSTAGE=<folder with the files>
;          -DFILES=<installed-files.nsh> -DICON=<ratiscope.ico> -DOUTFILE=<setup.exe> ratiscope.nsi
Unicode true
SetCompressor /SOLID lzma
RequestExecutionLevel admin

!include "FileFunc.nsh"
!include "LogicLib.nsh"
!include "x64.nsh"

!define PRODUCT "Vendrel Ratiscope"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Vendrel Ratiscope"

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
!if ${ARCH} == "x64"
  InstallDir "$PROGRAMFILES64\Vendrel\Ratiscope"
!else
  InstallDir "$PROGRAMFILES\Vendrel\Ratiscope"
!endif
Icon "${ICON}"
UninstallIcon "${ICON}"
VIProductVersion "${VERSION}.0"
VIAddVersionKey "ProductName" "${PRODUCT}"
VIAddVersionKey "CompanyName" "Vendrel"
VIAddVersionKey "FileDescription" "${PRODUCT} Setup"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "ProductVersion" "${VERSION}"

Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

Function .onInit
  SetShellVarContext all
!if ${ARCH} == "x64"
  ${IfNot} ${RunningX64}
    MessageBox MB_OK|MB_ICONSTOP "This package needs 64-bit Windows; install the 32-bit package instead."
    Abort
  ${EndIf}
  SetRegView 64
!endif
FunctionEnd

Function un.onInit
  SetShellVarContext all
!if ${ARCH} == "x64"
  SetRegView 64
!endif
FunctionEnd

Section "Install"
  !define INSTALL_FILES
  !include /CHARSET=UTF8 "${FILES}"
  !undef INSTALL_FILES
  ; Its time stamp is the install date the web links report.
  WriteUninstaller "$INSTDIR\Uninstall.exe"
  CreateDirectory "$SMPROGRAMS\Vendrel"
  ; A shortcut starts in the output folder of the moment: the program's own.
  SetOutPath "$INSTDIR"
  CreateShortcut "$SMPROGRAMS\Vendrel\Ratiscope.lnk" "$INSTDIR\ratiscope.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "Vendrel"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\ratiscope.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  ; The size the system's program list shows, in KiB.
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Section "Uninstall"
  ; The program says goodbye with the vendor's uninstall page, unless nobody
  ; is watching. It opens the page and ends at once; the uninstaller waits for
  ; that, since a running program's file cannot be deleted.
  ${IfNot} ${Silent}
    ${If} ${FileExists} "$INSTDIR\ratiscope.exe"
      ExecWait '"$INSTDIR\ratiscope.exe" /uninstall'
    ${EndIf}
  ${EndIf}
  !define UNINSTALL_FILES
  !include /CHARSET=UTF8 "${FILES}"
  !undef UNINSTALL_FILES
  Delete "$INSTDIR\Uninstall.exe"
  ; Folders go only when nothing else is left in them.
  RMDir "$INSTDIR\Manual\looks"
  RMDir "$INSTDIR\Manual"
  RMDir "$INSTDIR\Figures"
  RMDir "$INSTDIR"
  RMDir "$INSTDIR\.."
  Delete "$SMPROGRAMS\Vendrel\Ratiscope.lnk"
  RMDir "$SMPROGRAMS\Vendrel"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd

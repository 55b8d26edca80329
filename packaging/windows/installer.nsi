; Installer of Kestrolan Web PlugIn Generator for Windows x64, made by packaging/windows/installer.cmake:
;   makensis -DVERSION=1.0.0 -DPROGRAM=.../plugin-generator.exe -DWEBVIEW_LIBRARY=.../libwebview.dll
;            -DICON=.../plugin-generator.ico -DOUTFILE=.../plugin-generator-setup-1.0.0.exe installer.nsi
;
; Per user by default, into %LOCALAPPDATA%\Programs, with no administrator rights needed; with
; /ALLUSERS per machine, into Program Files. /S installs silently, /D=FOLDER picks the folder.
; The uninstaller removes what this installed and nothing else: plug-in files under Documents and
; pending entries under HKCU\Software\Mardova\KestrolanWeb\PlugIns belong to the user.

Unicode true
Target amd64-unicode
ManifestDPIAware true
RequestExecutionLevel user
SetCompressor /SOLID lzma

!include FileFunc.nsh
!include LogicLib.nsh

!define PRODUCT "Kestrolan Web PlugIn Generator"
!define COMPANY "Mardova"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\KestrolanWebPlugInGenerator"
!define SHORTCUT "$SMPROGRAMS\${PRODUCT}.lnk"
; The stable channel of the WebView2 runtime, as EdgeUpdate registers it.
!define WEBVIEW2_CLIENT "Microsoft\EdgeUpdate\Clients\{F3017226-FE2A-4295-8BDF-00C3A9A7E4C5}"
!define VC_RUNTIME_KEY "Microsoft\VisualStudio\14.0\VC\Runtimes\x64"
!define ERROR_ELEVATION_REQUIRED 740

Name "${PRODUCT}"
OutFile "${OUTFILE}"
Icon "${ICON}"
UninstallIcon "${ICON}"
BrandingText "${COMPANY} ${PRODUCT} ${VERSION}"
ShowInstDetails show
ShowUninstDetails show

VIProductVersion "${VERSION}.0"
VIFileVersion "${VERSION}.0"
VIAddVersionKey /LANG=1033 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=1033 "CompanyName" "${COMPANY}"
VIAddVersionKey /LANG=1033 "FileDescription" "${PRODUCT} Setup"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "LegalCopyright" "${COMPANY}"

Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

Var AllUsers  ; "1" for a per-machine installation

Function .onInit
  ${GetParameters} $R0
  ClearErrors
  ${GetOptions} $R0 "/ALLUSERS" $R1
  ${If} ${Errors}
    StrCpy $AllUsers ""
    SetShellVarContext current
    ${If} $INSTDIR == ""  ; no /D=
      StrCpy $INSTDIR "$LOCALAPPDATA\Programs\${PRODUCT}"
    ${EndIf}
  ${Else}
    UserInfo::GetAccountType
    Pop $R2
    ${If} $R2 != "Admin"
      MessageBox MB_OK|MB_ICONSTOP "Installing ${PRODUCT} for all users needs administrator rights. Start the installer as administrator, or without /ALLUSERS to install it for you alone." /SD IDOK
      SetErrorLevel ${ERROR_ELEVATION_REQUIRED}
      Quit
    ${EndIf}
    StrCpy $AllUsers "1"
    SetShellVarContext all
    ${If} $INSTDIR == ""
      StrCpy $INSTDIR "$PROGRAMFILES64\${PRODUCT}"
    ${EndIf}
  ${EndIf}
FunctionEnd

; Tells the user about a missing runtime: in the details always, and in a dialog unless silent.
!macro ReportMissing WHAT WHERE
  DetailPrint "${PRODUCT} needs ${WHAT}, which is not installed on this computer. Get it from ${WHERE}"
  MessageBox MB_OK|MB_ICONEXCLAMATION "${PRODUCT} needs ${WHAT}, which is not installed on this computer.$\r$\n$\r$\nGet it from ${WHERE} and install it, then start ${PRODUCT}." /SD IDOK
!macroend

; $R0 = the WebView2 runtime's version, "" when it is not installed.
Function FindWebView2Runtime
  ReadRegStr $R0 HKLM "SOFTWARE\WOW6432Node\${WEBVIEW2_CLIENT}" "pv"
  ${If} $R0 == ""
  ${OrIf} $R0 == "0.0.0.0"
    ReadRegStr $R0 HKCU "Software\${WEBVIEW2_CLIENT}" "pv"
  ${EndIf}
  ${If} $R0 == ""
  ${OrIf} $R0 == "0.0.0.0"
    ReadRegStr $R0 HKLM "SOFTWARE\${WEBVIEW2_CLIENT}" "pv"
  ${EndIf}
  ${If} $R0 == "0.0.0.0"
    StrCpy $R0 ""
  ${EndIf}
FunctionEnd

; $R0 = "1" when the Visual C++ 2015-2022 x64 runtime is there.
Function FindVcRuntime
  ReadRegDWORD $R0 HKLM "SOFTWARE\${VC_RUNTIME_KEY}" "Installed"
  ${If} $R0 != "1"
    ReadRegDWORD $R0 HKLM "SOFTWARE\WOW6432Node\${VC_RUNTIME_KEY}" "Installed"
  ${EndIf}
  ${If} $R0 != "1"
  ${AndIf} ${FileExists} "$SYSDIR\vcruntime140.dll"
    StrCpy $R0 "1"
  ${EndIf}
FunctionEnd

Section "Install"
  SetOutPath "$INSTDIR"
  File "/oname=plugin-generator.exe" "${PROGRAM}"
  File "/oname=libwebview.dll" "${WEBVIEW_LIBRARY}"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  CreateShortcut "${SHORTCUT}" "$INSTDIR\plugin-generator.exe" "" "$INSTDIR\plugin-generator.exe" 0

  ; SHCTX is HKLM for all users, HKCU for one.
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "Publisher" "${COMPANY}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\plugin-generator.exe,0"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "EstimatedSize" $0

  Call FindWebView2Runtime
  ${If} $R0 == ""
    !insertmacro ReportMissing "the Microsoft Edge WebView2 Runtime" \
        "https://developer.microsoft.com/microsoft-edge/webview2/"
  ${EndIf}
  Call FindVcRuntime
  ${If} $R0 != "1"
    !insertmacro ReportMissing "the Microsoft Visual C++ 2015-2022 Redistributable (x64)" \
        "https://aka.ms/vs/17/release/vc_redist.x64.exe"
  ${EndIf}
SectionEnd

; A per-machine installation is the one HKLM names at this folder.
Function un.onInit
  ReadRegStr $R0 HKLM "${UNINSTALL_KEY}" "InstallLocation"
  ${If} $R0 == $INSTDIR
    SetShellVarContext all
  ${Else}
    SetShellVarContext current
  ${EndIf}
FunctionEnd

Section "Uninstall"
  Delete "$INSTDIR\plugin-generator.exe"
  Delete "$INSTDIR\libwebview.dll"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"  ; only when empty: anything else in it is not ours
  Delete "${SHORTCUT}"
  DeleteRegKey SHCTX "${UNINSTALL_KEY}"
SectionEnd

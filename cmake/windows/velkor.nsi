; The Windows installer: velkor.exe, velkor-report.exe and the font under
; Program Files, a Start menu entry, the .vlk file association and an
; uninstaller that removes all of it. Built by cmake/windows/Installer.cmake:
;   makensis -DVERSION=1.0.0.1 -DSTAGE=<folder with the files> -DICON=<velkor.ico>
;            -DOUTFILE=<setup.exe> velkor.nsi
Unicode true
Target amd64-unicode
ManifestDPIAware true
RequestExecutionLevel admin
SetCompressor /SOLID lzma

!define PRODUCT "Velkor"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Velkor"
!define PROGID "Velkor.Project"

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\${PRODUCT}"
InstallDirRegKey HKLM "Software\${PRODUCT}" "InstallDir"
BrandingText "${PRODUCT} ${VERSION}"
Icon "${ICON}"
UninstallIcon "${ICON}"

VIProductVersion "${VERSION}"
VIAddVersionKey "ProductName" "${PRODUCT}"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "FileDescription" "${PRODUCT} ${VERSION} setup"
VIAddVersionKey "CompanyName" "Velkor Project"
VIAddVersionKey "LegalCopyright" "Copyright (C) 2026 Velkor Project"

Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

Function .onInit
    SetRegView 64
FunctionEnd

Function un.onInit
    SetRegView 64
FunctionEnd

Section "Velkor"
    SetShellVarContext all
    SetOutPath "$INSTDIR"
    File "${STAGE}/velkor.exe"
    File "${STAGE}/velkor-report.exe"
    File "${STAGE}/README.md"
    File "${STAGE}/LICENSE.txt"
    SetOutPath "$INSTDIR\fonts"
    File "${STAGE}/fonts/LiberationSans-Regular.ttf"
    File "${STAGE}/fonts/LiberationSans-Bold.ttf"
    File "${STAGE}/fonts/LICENSE-LiberationSans.txt"
    SetOutPath "$INSTDIR"

    CreateShortcut "$SMPROGRAMS\${PRODUCT}.lnk" "$INSTDIR\velkor.exe" "" "$INSTDIR\velkor.exe" 0
!ifdef ANALYSIS
    ; The analysis page, opened in the default browser.
    File "${STAGE}/velkor-analysis.html"
    CreateShortcut "$SMPROGRAMS\${PRODUCT} Analysis.lnk" "$INSTDIR\velkor-analysis.html" "" "$INSTDIR\velkor.exe" 0
!endif

    ; .vlk files open with Velkor and show its icon.
    WriteRegStr HKLM "Software\Classes\.vlk" "" "${PROGID}"
    WriteRegStr HKLM "Software\Classes\${PROGID}" "" "Velkor Project"
    WriteRegStr HKLM "Software\Classes\${PROGID}\DefaultIcon" "" "$INSTDIR\velkor.exe,0"
    WriteRegStr HKLM "Software\Classes\${PROGID}\shell\open\command" "" '"$INSTDIR\velkor.exe" "%1"'
    System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'

    WriteRegStr HKLM "Software\${PRODUCT}" "InstallDir" "$INSTDIR"
    WriteUninstaller "$INSTDIR\uninstall.exe"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "Velkor Project"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\velkor.exe,0"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
    WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section "Uninstall"
    SetShellVarContext all
    Delete "$SMPROGRAMS\${PRODUCT}.lnk"
    Delete "$SMPROGRAMS\${PRODUCT} Analysis.lnk"
    Delete "$INSTDIR\velkor-analysis.html"
    ; The association goes only while it is still Velkor's.
    ReadRegStr $0 HKLM "Software\Classes\.vlk" ""
    StrCmp $0 "${PROGID}" 0 +2
    DeleteRegKey HKLM "Software\Classes\.vlk"
    DeleteRegKey HKLM "Software\Classes\${PROGID}"
    System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'
    Delete "$INSTDIR\fonts\LiberationSans-Regular.ttf"
    Delete "$INSTDIR\fonts\LiberationSans-Bold.ttf"
    Delete "$INSTDIR\fonts\LICENSE-LiberationSans.txt"
    RMDir "$INSTDIR\fonts"
    Delete "$INSTDIR\velkor.exe"
    Delete "$INSTDIR\velkor-report.exe"
    Delete "$INSTDIR\README.md"
    Delete "$INSTDIR\LICENSE.txt"
    Delete "$INSTDIR\uninstall.exe"
    RMDir "$INSTDIR"
    DeleteRegKey HKLM "${UNINSTALL_KEY}"
    DeleteRegKey HKLM "Software\${PRODUCT}"
SectionEnd

# SPDX-FileCopyrightText: 2026 The Pelomart developers
# SPDX-License-Identifier: MIT

# Pelomart's Windows installer, made by package/windows/CMakeLists.txt with NSIS's makensis:
#   makensis -DVERSION=1.0.0 -DSTAGE=stage/pelomart -DOUTFILE=setup.exe -DICON=pelomart.ico
# It installs for the current user, with no administrator rights, into
# %LOCALAPPDATA%\Programs\Pelomart; adds a Start-menu entry and opens .chg files in
# Pelomart; "/S" installs silently. The uninstaller removes what was installed, by name,
# and leaves any other file alone.

# The program is 64-bit only, and so is the installer (which also runs under a 64-bit Wine).
Target amd64-unicode
ManifestDPIAware true
RequestExecutionLevel user
SetCompressor /SOLID lzma

!include "MUI2.nsh"

!define NAME "Pelomart"
!define PROGID "Pelomart.ChangeFile"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Pelomart"
!define CLASSES "Software\Classes"

Name "${NAME}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\Pelomart"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
VIProductVersion "${VERSION}.0"
VIAddVersionKey "ProductName" "${NAME}"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "FileDescription" "Pelomart ${VERSION} setup"
VIAddVersionKey "LegalCopyright" "2026 The Pelomart developers, MIT licence"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_FINISHPAGE_RUN "$INSTDIR\pelomart.exe"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

# Every file installed, named once: the uninstaller removes exactly these.
!macro Files action
    !insertmacro ${action} "" pelomart.exe
    !insertmacro ${action} "" pelomart-chg.exe
    !insertmacro ${action} "" Qt6Core.dll
    !insertmacro ${action} "" Qt6Gui.dll
    !insertmacro ${action} "" Qt6Widgets.dll
    !insertmacro ${action} "" libstdc++-6.dll
    !insertmacro ${action} "" libgcc_s_seh-1.dll
    !insertmacro ${action} "" libwinpthread-1.dll
    !insertmacro ${action} platforms qwindows.dll
    !insertmacro ${action} styles qwindowsvistastyle.dll
    !insertmacro ${action} licenses Pelomart-LICENSE.txt
    !insertmacro ${action} licenses Qt-NOTICE.txt
    !insertmacro ${action} licenses LGPL-3.0.txt
    !insertmacro ${action} licenses GPL-3.0.txt
    !insertmacro ${action} licenses qt6-base-copyright.txt
    !insertmacro ${action} licenses gcc-runtime-copyright.txt
    !insertmacro ${action} licenses mingw-w64-copyright.txt
!macroend
!macro Install folder file
    !if "${folder}" == ""
        SetOutPath "$INSTDIR"
        File "${STAGE}\${file}"
    !else
        SetOutPath "$INSTDIR\${folder}"
        File "${STAGE}\${folder}\${file}"
    !endif
!macroend
!macro Remove folder file
    !if "${folder}" == ""
        Delete "$INSTDIR\${file}"
    !else
        Delete "$INSTDIR\${folder}\${file}"
    !endif
!macroend

Section "Pelomart"
    SetShellVarContext current
    !insertmacro Files Install
    SetOutPath "$INSTDIR"
    WriteUninstaller "$INSTDIR\uninstall.exe"
    CreateShortcut "$SMPROGRAMS\Pelomart.lnk" "$INSTDIR\pelomart.exe" "" "$INSTDIR\pelomart.exe" 0

    # .chg files open in Pelomart, with its icon, through a ProgID of its own; Pelomart is
    # also offered under "Open with" if the user picks another program later.
    WriteRegStr HKCU "${CLASSES}\${PROGID}" "" "Pelomart change file"
    WriteRegStr HKCU "${CLASSES}\${PROGID}\DefaultIcon" "" '"$INSTDIR\pelomart.exe",0'
    WriteRegStr HKCU "${CLASSES}\${PROGID}\shell\open\command" "" '"$INSTDIR\pelomart.exe" "%1"'
    WriteRegStr HKCU "${CLASSES}\.chg" "" "${PROGID}"
    WriteRegStr HKCU "${CLASSES}\.chg\OpenWithProgids" "${PROGID}" ""
    # SHCNE_ASSOCCHANGED: Explorer shows the new icon without a restart.
    System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'

    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "Pelomart"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "The Pelomart developers"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" '"$INSTDIR\pelomart.exe",0'
    WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
    WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section "Uninstall"
    SetShellVarContext current
    !insertmacro Files Remove
    Delete "$INSTDIR\uninstall.exe"
    # Not /r: a folder that still holds files the user put there stays, with them.
    RMDir "$INSTDIR\platforms"
    RMDir "$INSTDIR\styles"
    RMDir "$INSTDIR\licenses"
    RMDir "$INSTDIR"
    Delete "$SMPROGRAMS\Pelomart.lnk"

    # .chg goes back to no program only if it still opens in Pelomart: another program
    # may have taken it since.
    ReadRegStr $0 HKCU "${CLASSES}\.chg" ""
    StrCmp $0 "${PROGID}" 0 +2
        DeleteRegValue HKCU "${CLASSES}\.chg" ""
    DeleteRegValue HKCU "${CLASSES}\.chg\OpenWithProgids" "${PROGID}"
    DeleteRegKey /ifempty HKCU "${CLASSES}\.chg\OpenWithProgids"
    DeleteRegKey /ifempty HKCU "${CLASSES}\.chg"
    DeleteRegKey HKCU "${CLASSES}\${PROGID}"
    System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'
    DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd

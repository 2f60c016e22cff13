; The Windows installer of DeskPanel, made by scripts/build-windows:
;   makensis -DVERSION=<x.y> -DDIST=<build-windows/dist> -DOUTFILE=<setup.exe> DeskPanel.nsi
;
; An administrator installs for all users in "%ProgramFiles%\Veltara\RP-8" (the installer
; asks for elevation); any other user, or /CURRENTUSER, installs for that user alone in
; "%LOCALAPPDATA%\Programs\Veltara\RP-8". /S installs silently, /D=<folder> (last on the
; command line) chooses the folder. The installer writes the installation record that
; DeskPanel reads to find its uninstaller ("C:\Windows\Veltara-RP8.ini", or
; "%APPDATA%\Veltara-RP8.ini" for one user), a Start menu shortcut, the ".vpf"
; association and the entry in "Apps and features", whose uninstall runs
; UninstallVeltaraRP8.exe (the same as DeskPanel's Help > Uninstall).

!ifndef VERSION | DIST | OUTFILE
  !error "VERSION, DIST and OUTFILE must be given with -D"
!endif

; A 64-bit installer for a 64-bit program (and for a 64-bit-only Wine).
Target amd64-unicode
Name "Veltara RP-8"
OutFile "${OUTFILE}"
RequestExecutionLevel highest
SetCompressor /SOLID lzma
ShowInstDetails show

!include FileFunc.nsh
!include LogicLib.nsh

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\DeskPanel"
!define SHORTCUT "Veltara RP-8.lnk"

VIProductVersion "${VERSION}.0.0"
VIAddVersionKey "ProductName" "Veltara RP-8"
VIAddVersionKey "FileDescription" "DeskPanel setup"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "LegalCopyright" "Veltara"

Var AllUsers
Var ClassName

Page directory
Page instfiles

Function .onInit
  SetRegView 64
  ${GetParameters} $R0
  ClearErrors
  ${GetOptions} $R0 "/CURRENTUSER" $R1
  ${If} ${Errors}
    UserInfo::GetAccountType
    Pop $R2
    ${If} $R2 == "Admin"
      StrCpy $AllUsers 1
    ${Else}
      StrCpy $AllUsers 0
    ${EndIf}
  ${Else}
    StrCpy $AllUsers 0
  ${EndIf}
  ${If} $AllUsers == 1
    SetShellVarContext all
    ${If} $INSTDIR == ""
      StrCpy $INSTDIR "$PROGRAMFILES64\Veltara\RP-8"
    ${EndIf}
  ${Else}
    SetShellVarContext current
    ${If} $INSTDIR == ""
      StrCpy $INSTDIR "$LOCALAPPDATA\Programs\Veltara\RP-8"
    ${EndIf}
  ${EndIf}
FunctionEnd

; DeskPanel names the association's class after its own path without blanks; the same
; name here means its registration at start-up rewrites these keys instead of adding more.
Function MakeClassName
  StrCpy $ClassName ""
  StrCpy $R0 "$INSTDIR\DeskPanel.exe"
  StrCpy $R1 0
  ${Do}
    StrCpy $R2 $R0 1 $R1
    ${If} $R2 == ""
      ${Break}
    ${EndIf}
    ${If} $R2 != " "
      StrCpy $ClassName "$ClassName$R2"
    ${EndIf}
    IntOp $R1 $R1 + 1
  ${Loop}
FunctionEnd

Section "DeskPanel"
  SetOutPath "$INSTDIR"
  File /r "${DIST}\*.*"

  ${If} $AllUsers == 1
    WriteINIStr "C:\Windows\Veltara-RP8.ini" "File Location" "Main Exe File" "$INSTDIR"
  ${Else}
    WriteINIStr "$APPDATA\Veltara-RP8.ini" "File Location" "Main Exe File" "$INSTDIR"
  ${EndIf}

  CreateShortcut "$SMPROGRAMS\${SHORTCUT}" "$INSTDIR\DeskPanel.exe" "" "$INSTDIR\DeskPanel.exe" 0

  Call MakeClassName
  WriteRegStr SHCTX "Software\Classes\.vpf" "" "$ClassName"
  ; The path in quotes: unquoted, a path with blanks makes Windows try "C:\Program.exe" first.
  WriteRegStr SHCTX "Software\Classes\$ClassName\shell\open\command" "" '"$INSTDIR\DeskPanel.exe" "%1"'
  WriteRegStr SHCTX "Software\Classes\$ClassName\DefaultIcon" "" "$INSTDIR\DeskPanel.exe,0"
  System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'

  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayName" "Veltara RP-8"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "Publisher" "Veltara"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\DeskPanel.exe,0"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\UninstallVeltaraRP8.exe"'
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $R0 $R1 $R2
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "EstimatedSize" $R0
SectionEnd

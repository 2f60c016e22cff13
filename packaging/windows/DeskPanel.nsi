; The Windows installer of DeskPanel, made by scripts/build-windows:
;   makensis -DVERSION=<x.y> -DDIST=<build-windows/dist> -DOUTFILE=<setup.exe> DeskPanel.nsi
;
; An administrator installs for all users in "%ProgramFiles%\Veltara\RP-8" (the installer
; asks for elevation); any other user, or /CURRENTUSER, installs for that user alone in
; "%LOCALAPPDATA%\Programs\Veltara\RP-8". /S installs silently, /D=<folder> (last on the
; command line) chooses the folder. The installer writes the installation record that
; DeskPanel reads to find its uninstaller ("C:\Windows\Veltara-RP8.ini", or
; "%APPDATA%\Veltara-RP8.ini" for one user), a Start menu shortcut that starts in the
; user's Documents, the ".vpf" association, the entry in "Apps and features", whose
; uninstall runs UninstallVeltaraRP8.exe (the same as DeskPanel's Help > Uninstall), and,
; for all users, an inbound firewall rule for DeskPanel.exe.
;
; An installation that is there already is upgraded in place: the folder its entry names
; is used whatever /D says, and the files its list "installed-files.txt" names are deleted
; before the new ones go in; anything else in the folder stays. The list comes with the
; files (DIST holds it).
;
; Exit codes: 0 installed; 3 DeskPanel is running; 4 Windows is older than 10 version
; 1809; 5 Veltara RP-8 is installed already for the other scope (all users or this user
; alone), whose entry this one must not duplicate; others are NSIS's own (1 cancelled,
; 2 aborted).

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
!include TextFunc.nsh
!include WinVer.nsh
!include StrFunc.nsh
${StrLoc}

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\DeskPanel"
!define SHORTCUT "Veltara RP-8.lnk"
; ErasePanel's removal finds the rule by this name and the program's path.
!define FIREWALL_RULE "Veltara RP-8"
!define FILE_LIST "installed-files.txt"

VIProductVersion "${VERSION}.0.0"
VIAddVersionKey "ProductName" "Veltara RP-8"
VIAddVersionKey "FileDescription" "DeskPanel setup"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "LegalCopyright" "Veltara"

Var AllUsers
Var ClassName
Var Upgrade

Page directory SkipWhenUpgrading
Page instfiles

; Ends the installer with an exit code after telling the operator why (not when silent).
!macro Refuse CODE TEXT
  MessageBox MB_OK|MB_ICONSTOP "${TEXT}" /SD IDOK
  SetErrorLevel ${CODE}
  Quit
!macroend

Function .onInit
  SetRegView 64
  ${IfNot} ${AtLeastBuild} 17763
    !insertmacro Refuse 4 "Veltara RP-8 needs Windows 10 version 1809 or later."
  ${EndIf}
  ; DeskPanel holds this mutex while it runs; its files cannot be replaced meanwhile.
  System::Call 'kernel32::OpenMutexW(i 0x00100000, i 0, w "PreventSecondInstance") p .R0'
  ${If} $R0 P<> 0
    System::Call 'kernel32::CloseHandle(p R0)'
    !insertmacro Refuse 3 "DeskPanel is running. Close it, then run this setup again."
  ${EndIf}

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

  ; One product, one entry: an installation for the other scope is not shadowed by a
  ; second one. An entry whose program has gone is only a leftover and goes (where this
  ; user may delete it).
  ${If} $AllUsers == 1
    StrCpy $R5 HKCU
    ReadRegStr $R3 HKCU "${UNINSTALL_KEY}" "InstallLocation"
    StrCpy $R4 "for you alone"
  ${Else}
    StrCpy $R5 HKLM
    ReadRegStr $R3 HKLM "${UNINSTALL_KEY}" "InstallLocation"
    StrCpy $R4 "for all users"
  ${EndIf}
  ${If} $R3 != ""
    ${If} ${FileExists} "$R3\DeskPanel.exe"
      !insertmacro Refuse 5 "Veltara RP-8 is installed $R4 in $\"$R3$\". Uninstall it first, then run this setup again."
    ${ElseIf} $R5 == HKCU
      DeleteRegKey HKCU "${UNINSTALL_KEY}"
    ${Else}
      DeleteRegKey HKLM "${UNINSTALL_KEY}"
    ${EndIf}
  ${EndIf}

  ${If} $AllUsers == 1
    SetShellVarContext all
    ReadRegStr $R3 HKLM "${UNINSTALL_KEY}" "InstallLocation"
  ${Else}
    SetShellVarContext current
    ReadRegStr $R3 HKCU "${UNINSTALL_KEY}" "InstallLocation"
  ${EndIf}
  StrCpy $Upgrade 0
  ${If} $R3 != ""
  ${AndIf} ${FileExists} "$R3\DeskPanel.exe"
    StrCpy $INSTDIR $R3
    StrCpy $Upgrade 1
  ${ElseIf} $INSTDIR == ""
    ${If} $AllUsers == 1
      StrCpy $INSTDIR "$PROGRAMFILES64\Veltara\RP-8"
    ${Else}
      StrCpy $INSTDIR "$LOCALAPPDATA\Programs\Veltara\RP-8"
    ${EndIf}
  ${EndIf}
FunctionEnd

; An upgrade stays where the installation is.
Function SkipWhenUpgrading
  ${If} $Upgrade == 1
    Abort
  ${EndIf}
FunctionEnd

; Deletes the files the installation's list names, and their folders once empty. Lines
; that could reach outside the folder (a "..", a drive, a leading separator) are skipped.
Function RemoveListedFiles
  ClearErrors
  FileOpen $R0 "$INSTDIR\${FILE_LIST}" r
  ${If} ${Errors}
    Return
  ${EndIf}
  ${Do}
    ClearErrors
    FileRead $R0 $R1
    ${If} ${Errors}
      ${Break}
    ${EndIf}
    ${TrimNewLines} $R1 $R1
    ${StrLoc} $R2 $R1 ".." ">"
    ${StrLoc} $R3 $R1 ":" ">"
    StrCpy $R4 $R1 1
    ${If} $R1 != ""
    ${AndIf} $R2 == ""
    ${AndIf} $R3 == ""
    ${AndIf} $R4 != "\"
    ${AndIf} $R4 != "/"
      Delete "$INSTDIR\$R1"
      ${GetParent} "$INSTDIR\$R1" $R5
      ${If} $R5 != $INSTDIR
        RMDir $R5
      ${EndIf}
    ${EndIf}
  ${Loop}
  FileClose $R0
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
  ${If} $Upgrade == 1
    Call RemoveListedFiles
  ${EndIf}
  SetOutPath "$INSTDIR"
  File /r "${DIST}\*.*"

  ${If} $AllUsers == 1
    WriteINIStr "C:\Windows\Veltara-RP8.ini" "File Location" "Main Exe File" "$INSTDIR"
  ${Else}
    WriteINIStr "$APPDATA\Veltara-RP8.ini" "File Location" "Main Exe File" "$INSTDIR"
  ${EndIf}

  ; The shortcut starts in the user's Documents, so that the first Open and Save As offer
  ; a place of the user's own rather than the installation folder. CreateShortcut takes
  ; $OUTDIR as that folder; for all users it is each user's own, which the shell expands.
  ${If} $AllUsers == 1
    StrCpy $OUTDIR "%USERPROFILE%\Documents"
  ${Else}
    StrCpy $OUTDIR "$DOCUMENTS"
  ${EndIf}
  CreateShortcut "$SMPROGRAMS\${SHORTCUT}" "$INSTDIR\DeskPanel.exe" "" "$INSTDIR\DeskPanel.exe" 0
  SetOutPath "$INSTDIR"

  ; Units, remote control and the Stage Remote reach DeskPanel from the network, on UDP
  ; port 2000, the OSC port and the Stage Remote's TCP port, whichever ports the settings
  ; name: one inbound rule for the program, all protocols, every network profile (an
  ; isolated audio network is a "public" one). Only an administrator may add it; the
  ; uninstall removes it. An upgrade replaces the rule it added before.
  ${If} $AllUsers == 1
    nsExec::ExecToLog 'netsh advfirewall firewall delete rule name="${FIREWALL_RULE}" program="$INSTDIR\DeskPanel.exe"'
    Pop $R0
    nsExec::ExecToLog 'netsh advfirewall firewall add rule name="${FIREWALL_RULE}" dir=in action=allow program="$INSTDIR\DeskPanel.exe" enable=yes profile=any'
    Pop $R0
    ${If} $R0 != 0
      DetailPrint "The firewall rule for DeskPanel.exe could not be added (netsh: $R0)."
    ${EndIf}
  ${EndIf}

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
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\UninstallVeltaraRP8.exe" /S'
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $R0 $R1 $R2
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "EstimatedSize" $R0
SectionEnd

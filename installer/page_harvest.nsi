; The setup program and uninstaller of PageHarvest: the controller, the browser band, and the browser
; extension with its native host, in one folder.
;
; makensis gets the inputs from the build:
;   -DPH_VERSION=2.37             the product version
;   -DPH_CONTROLLER=path          PageHarvest.exe
;   -DPH_BAND=path                GrabPlugin.dll (left out when the tree did not build it)
;   -DPH_HOST=path                PageHarvestHost.exe, the extension's native messaging host
;   -DPH_EXTENSION=folder         the extension's folder, installed as it is
;   -DPH_ICON=path                the controller's icon, used for setup and uninstaller too
;   -DPH_OUT_FILE=path            where PageHarvest-Setup.exe is written
;
; Both deliverables keep "layouts.dat", "selections.dat" and "actions.dat" beside themselves, so the
; install folder must stay writable for the people who use the program; see "Installing on Windows"
; in the README for the choice made here.

Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma

!ifndef PH_VERSION | PH_CONTROLLER | PH_HOST | PH_EXTENSION | PH_ICON | PH_OUT_FILE
  !error "makensis needs -DPH_VERSION, -DPH_CONTROLLER, -DPH_HOST, -DPH_EXTENSION, -DPH_ICON and -DPH_OUT_FILE"
!endif

!include MUI2.nsh
!include LogicLib.nsh
!include WinMessages.nsh

!define PRODUCT "PageHarvest"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\PageHarvest"
!define PRODUCT_KEY "Software\PageHarvest"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
; The controller's main window, and its Exit command.
!define MAIN_CLASS "page grabber clsname"
!define MAIN_TITLE "Page Grabber Controller"
!define EXIT_COMMAND 57665
; The native host as Chrome, Edge and Firefox find it: a key per browser whose default value is the
; path of the host's manifest, which the host program writes beside itself. Firefox reads a manifest
; of its own (the extension named by its id, not its origin).
!define HOST_NAME "org.pageharvest.host"
!define HOST_MANIFEST "${HOST_NAME}.json"
!define FIREFOX_HOST_MANIFEST "${HOST_NAME}.firefox.json"
!define CHROME_HOST_KEY "Software\Google\Chrome\NativeMessagingHosts\${HOST_NAME}"
!define EDGE_HOST_KEY "Software\Microsoft\Edge\NativeMessagingHosts\${HOST_NAME}"
!define FIREFOX_HOST_KEY "Software\Mozilla\NativeMessagingHosts\${HOST_NAME}"
; Added to the install folder's access rights: Users may add files to it (but not change the installed
; ones), and whoever creates a file there has full control of it, so each person can rewrite and delete
; the data files they made. What the folder inherits stays.
!define FOLDER_RIGHTS "D:(A;;0x2;;;BU)(A;OIIO;FA;;;CO)"

Name "${PRODUCT}"
OutFile "${PH_OUT_FILE}"
; The band registers under HKEY_CLASSES_ROOT and HKEY_LOCAL_MACHINE, which needs an administrator.
RequestExecutionLevel admin
InstallDir "$PROGRAMFILES64\${PRODUCT}"
; An upgrade goes where the last install went, so the data files there are found again.
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
ShowInstDetails show
ShowUninstDetails show

VIProductVersion "${PH_VERSION}.0.0"
VIFileVersion "${PH_VERSION}.0.0"
VIAddVersionKey /LANG=1033 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=1033 "CompanyName" "${PRODUCT}"
VIAddVersionKey /LANG=1033 "FileDescription" "PageHarvest Setup"
VIAddVersionKey /LANG=1033 "FileVersion" "${PH_VERSION}"
VIAddVersionKey /LANG=1033 "ProductVersion" "${PH_VERSION}"
VIAddVersionKey /LANG=1033 "LegalCopyright" "PageHarvest"

!define MUI_ICON "${PH_ICON}"
!define MUI_UNICON "${PH_ICON}"
!define MUI_ABORTWARNING
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_TEXT "Start PageHarvest now"
!define MUI_FINISHPAGE_RUN_FUNCTION StartController

!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

; Ends a running controller the way its Exit command does (the window saves the settings as it is
; destroyed), and waits for its process. When it will not end, the user may retry; otherwise, and
; always in silent mode, setup stops before it replaces or removes anything.
!macro END_CONTROLLER un
Function ${un}EndController
  retry:
  FindWindow $0 "${MAIN_CLASS}" "${MAIN_TITLE}"
  ${If} $0 == 0
    Return
  ${EndIf}
  DetailPrint "Ending the running PageHarvest"
  System::Call "user32::GetWindowThreadProcessId(p r0, *i .r1) i"
  System::Call "kernel32::OpenProcess(i 0x00100000, i 0, i r1) p .r2"
  SendMessage $0 ${WM_COMMAND} ${EXIT_COMMAND} 0 /TIMEOUT=10000
  ${If} $2 != 0
    System::Call "kernel32::WaitForSingleObject(p r2, i 10000) i"
    System::Call "kernel32::CloseHandle(p r2) i"
  ${EndIf}
  FindWindow $0 "${MAIN_CLASS}" "${MAIN_TITLE}"
  ${If} $0 != 0
    MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "PageHarvest is still running. Close it and choose Retry." /SD IDCANCEL IDRETRY retry
    SetErrorLevel 2
    Abort "PageHarvest is still running"
  ${EndIf}
FunctionEnd
!macroend
!insertmacro END_CONTROLLER ""
!insertmacro END_CONTROLLER "un."

; Something setup could not do is shown (and logged) but does not stop it; exit code 3 says so
; (1 is a cancel by the user, 2 a stop before anything was changed).
!macro WARN text
  DetailPrint "${text}"
  MessageBox MB_OK|MB_ICONEXCLAMATION "${text}" /SD IDOK
  SetErrorLevel 3
!macroend

Function .onInit
  SetRegView 64
  SetShellVarContext all
FunctionEnd

Function un.onInit
  SetRegView 64
  SetShellVarContext all
FunctionEnd

; Started through the shell, so that the controller runs with the user's ordinary rights and not
; elevated as setup is: the band in the browser could not send its content to an elevated window.
Function StartController
  Exec '"$WINDIR\explorer.exe" "$INSTDIR\PageHarvest.exe"'
FunctionEnd

; Sets the rights above on $INSTDIR (SetNamedSecurityInfo merges in what the parent passes on);
; pushes 0 on success, else the error.
Function GrantFolderRights
  System::Call 'advapi32::ConvertStringSecurityDescriptorToSecurityDescriptorW(w "${FOLDER_RIGHTS}", i 1, *p .r1, p 0) i .r0'
  ${If} $0 == 0
    Push "cannot build the rights"
    Return
  ${EndIf}
  System::Call 'advapi32::GetSecurityDescriptorDacl(p r1, *i .r2, *p .r3, *i .r4) i .r0'
  ${If} $0 != 0
    ; SE_FILE_OBJECT, DACL_SECURITY_INFORMATION
    System::Call 'advapi32::SetNamedSecurityInfoW(w "$INSTDIR", i 1, i 4, p 0, p 0, p r3, p 0) i .r0'
  ${Else}
    StrCpy $0 "cannot read the rights"
  ${EndIf}
  System::Call 'kernel32::LocalFree(p r1) p'
  Push $0
FunctionEnd

Section "PageHarvest" SecMain
  SectionIn RO
  Call EndController
  SetOutPath "$INSTDIR"
  ; Only the programs are written: data files of an earlier install stay as they are.
  File "/oname=PageHarvest.exe" "${PH_CONTROLLER}"
  !ifdef PH_BAND
    File "/oname=GrabPlugin.dll" "${PH_BAND}"
  !endif
  File "/oname=PageHarvestHost.exe" "${PH_HOST}"
  ; An upgrade replaces the extension's folder whole, so no file of an older version stays in it.
  RMDir /r "$INSTDIR\extension"
  SetOutPath "$INSTDIR\extension"
  File /r "${PH_EXTENSION}/*"
  SetOutPath "$INSTDIR"
  WriteUninstaller "$INSTDIR\uninstall.exe"

  Call GrantFolderRights
  Pop $0
  ${If} $0 != 0
    !insertmacro WARN "Could not let the users of this computer write in $INSTDIR. What PageHarvest learns (layouts.dat, selections.dat, actions.dat) can then be kept only for administrators."
  ${EndIf}

  !ifdef PH_BAND
    ClearErrors
    RegDLL "$INSTDIR\GrabPlugin.dll"
    ${If} ${Errors}
      !insertmacro WARN "Could not register the browser band GrabPlugin.dll."
    ${EndIf}
  !endif

  ; The controller stores its own path, where the band looks for it.
  ExecWait '"$INSTDIR\PageHarvest.exe" /register'
  ClearErrors
  ReadRegStr $0 HKCU "${PRODUCT_KEY}" "Controller Path"
  ${If} $0 != "$INSTDIR\PageHarvest.exe"
    !insertmacro WARN "Could not record where PageHarvest is installed; the browser band will not be able to start it."
  ${EndIf}

  ; The host writes its manifests (JSON in UTF-8, its own path in them), then the browsers are pointed at them.
  Delete "$INSTDIR\${HOST_MANIFEST}"
  Delete "$INSTDIR\${FIREFOX_HOST_MANIFEST}"
  ExecWait '"$INSTDIR\PageHarvestHost.exe" /register' $0
  ${If} $0 != 0
  ${OrIfNot} ${FileExists} "$INSTDIR\${HOST_MANIFEST}"
  ${OrIfNot} ${FileExists} "$INSTDIR\${FIREFOX_HOST_MANIFEST}"
    !insertmacro WARN "Could not write ${HOST_MANIFEST} and ${FIREFOX_HOST_MANIFEST}; the browser extension will not reach PageHarvest."
  ${EndIf}
  WriteRegStr HKLM "${CHROME_HOST_KEY}" "" "$INSTDIR\${HOST_MANIFEST}"
  WriteRegStr HKLM "${EDGE_HOST_KEY}" "" "$INSTDIR\${HOST_MANIFEST}"
  WriteRegStr HKLM "${FIREFOX_HOST_KEY}" "" "$INSTDIR\${FIREFOX_HOST_MANIFEST}"

  CreateShortCut "$SMPROGRAMS\${PRODUCT}.lnk" "$INSTDIR\PageHarvest.exe" "" "$INSTDIR\PageHarvest.exe" 0

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${PH_VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PRODUCT}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\PageHarvest.exe,0"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  SectionGetSize ${SecMain} $0
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Section "Uninstall"
  ; Asked first, before anything is gone. Silent mode keeps them.
  StrCpy $1 keep
  MessageBox MB_YESNO|MB_ICONQUESTION|MB_DEFBUTTON1 "Keep your PageHarvest settings and what it has learned (layouts.dat, selections.dat, actions.dat in $INSTDIR)?" /SD IDYES IDYES +2
  StrCpy $1 remove

  ; The controller would write its settings and the Run entry again when it exits later.
  Call un.EndController

  ${If} ${FileExists} "$INSTDIR\GrabPlugin.dll"
    ClearErrors
    UnRegDLL "$INSTDIR\GrabPlugin.dll"
    ${If} ${Errors}
      DetailPrint "Could not unregister the browser band GrabPlugin.dll"
      SetErrorLevel 3
    ${EndIf}
    ; A browser that still has the band loaded holds the file until it closes.
    Delete /REBOOTOK "$INSTDIR\GrabPlugin.dll"
  ${EndIf}
  Delete "$INSTDIR\PageHarvest.exe"
  Delete "$INSTDIR\uninstall.exe"

  DeleteRegKey HKLM "${CHROME_HOST_KEY}"
  DeleteRegKey HKLM "${EDGE_HOST_KEY}"
  DeleteRegKey HKLM "${FIREFOX_HOST_KEY}"
  Delete "$INSTDIR\${HOST_MANIFEST}"
  Delete "$INSTDIR\${FIREFOX_HOST_MANIFEST}"
  ; A browser may be running the host for a selection; the file goes when it has ended.
  Delete /REBOOTOK "$INSTDIR\PageHarvestHost.exe"
  RMDir /r "$INSTDIR\extension"

  DeleteRegValue HKCU "${RUN_KEY}" "PageHarvest"
  ; The stored path names a program that is gone; the other settings are the user's.
  DeleteRegValue HKCU "${PRODUCT_KEY}" "Controller Path"
  Delete "$SMPROGRAMS\${PRODUCT}.lnk"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"

  ${If} $1 == remove
    Delete "$INSTDIR\layouts.dat"
    Delete "$INSTDIR\selections.dat"
    Delete "$INSTDIR\actions.dat"
    Delete "$INSTDIR\regions.dat"
    Delete "$INSTDIR\pageharvest.lock"
    ; Left by a write that was cut short.
    Delete "$INSTDIR\*.dat.new-*"
    DeleteRegKey HKCU "${PRODUCT_KEY}"
  ${EndIf}
  ; Only an empty folder is removed: nothing the user put there goes with it.
  RMDir "$INSTDIR"
SectionEnd

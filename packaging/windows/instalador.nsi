; The installer of the Windows release, made by scripts/windows:
;   makensis -DVERSAO=1.0.0 -DORIGEM=<portable folder> -DICONE=<.ico> -DSAIDA=<setup.exe> instalador.nsi
; Installs both programs for the machine into Program Files, with a Start-menu entry and an entry in the list of
; installed programs; /S installs and uninstalls silently. No sistema_qor.ini goes beside the programs, so the
; installed copy reads its settings from the user's and the machine's folders.
Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel admin

!define NOME "Exportação financeira Torvane"
!define CHAVE "Software\Microsoft\Windows\CurrentVersion\Uninstall\ExportacaoTorvane"

Name "${NOME}"
OutFile "${SAIDA}"
InstallDir "$PROGRAMFILES64\Exportacao Torvane"
Icon "${ICONE}"
UninstallIcon "${ICONE}"
VIProductVersion "${VERSAO}.0"
VIAddVersionKey /LANG=0 "ProductName" "${NOME}"
VIAddVersionKey /LANG=0 "FileDescription" "Instalador de ${NOME}"
VIAddVersionKey /LANG=0 "FileVersion" "${VERSAO}"
VIAddVersionKey /LANG=0 "ProductVersion" "${VERSAO}"
VIAddVersionKey /LANG=0 "CompanyName" "Torvane"

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

Section
    SetShellVarContext all
    SetOutPath "$INSTDIR"
    File /r "${ORIGEM}\*.*"
    WriteUninstaller "$INSTDIR\Desinstalar.exe"
    CreateShortCut "$SMPROGRAMS\${NOME}.lnk" "$INSTDIR\ExportacaoTorvane.exe" "" "$INSTDIR\ExportacaoTorvane.exe" 0
    WriteRegStr HKLM "${CHAVE}" "DisplayName" "${NOME}"
    WriteRegStr HKLM "${CHAVE}" "DisplayVersion" "${VERSAO}"
    WriteRegStr HKLM "${CHAVE}" "Publisher" "Torvane"
    WriteRegStr HKLM "${CHAVE}" "DisplayIcon" "$INSTDIR\ExportacaoTorvane.exe,0"
    WriteRegStr HKLM "${CHAVE}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKLM "${CHAVE}" "UninstallString" '"$INSTDIR\Desinstalar.exe"'
    WriteRegStr HKLM "${CHAVE}" "QuietUninstallString" '"$INSTDIR\Desinstalar.exe" /S'
    WriteRegDWORD HKLM "${CHAVE}" "NoModify" 1
    WriteRegDWORD HKLM "${CHAVE}" "NoRepair" 1
SectionEnd

Section "Uninstall"
    SetShellVarContext all
    Delete "$SMPROGRAMS\${NOME}.lnk"
    RMDir /r "$INSTDIR"
    DeleteRegKey HKLM "${CHAVE}"
SectionEnd

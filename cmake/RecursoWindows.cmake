# The version resource and the icon of a program built for Windows: Explorer shows them, and the installer's
# menu entry takes the icon from the program. The description is code page 1252 text, accents as octal escapes.
function(torvane_recurso_windows alvo descricao)
    if(NOT WIN32)
        return()
    endif()
    set(TORVANE_RC_NOME ${alvo})
    set(TORVANE_RC_DESCRICAO ${descricao})
    set(TORVANE_RC_ICONE ${PROJECT_SOURCE_DIR}/packaging/windows/ExportacaoTorvane.ico)
    configure_file(${PROJECT_SOURCE_DIR}/packaging/windows/versao.rc.in ${CMAKE_BINARY_DIR}/recursos/${alvo}.rc @ONLY)
    target_sources(${alvo} PRIVATE ${CMAKE_BINARY_DIR}/recursos/${alvo}.rc)
endfunction()

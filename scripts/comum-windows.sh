# Shared by scripts/windows and scripts/test: the Windows build's dependencies, built once into a cache outside
# the work tree, Wine, and the cross build of the project.

PACOTES="$PACOTES g++-mingw-w64-x86-64-posix mingw-w64-tools wine64 nsis zip dpkg-dev googletest msitools wixl"

ALVO_MINGW=x86_64-w64-mingw32
CACHE_WINDOWS=${TORVANE_CACHE:-$HOME/.cache/torvane-windows}
WINE=/usr/lib/wine/wine64
WINESERVER=/usr/lib/wine/wineserver
# The MinGW runtime DLLs, for Wine and for the portable folder.
PASTAS_RUNTIME_MINGW="/usr/lib/gcc/$ALVO_MINGW/12-posix /usr/$ALVO_MINGW/lib"

# Debian's source packages need a deb-src entry; one is added beside the deb ones when there is none.
garantir_deb_src() {
    if grep -rqsE '^(Types:.*deb-src|deb-src )' /etc/apt/sources.list /etc/apt/sources.list.d/; then
        return 0
    fi
    echo "== Adding the deb-src entries of Debian's sources"
    sed 's/^Types:.*/Types: deb-src/' /etc/apt/sources.list.d/debian.sources |
        como_root tee /etc/apt/sources.list.d/torvane-deb-src.sources >/dev/null
    como_root apt-get update -qq
}

# The version of a source package as apt would fetch it from the release (the security suite may name a version
# it no longer serves).
versao_fonte() {
    apt-get source --print-uris -qq "$1/bookworm" 2>/dev/null | grep -o "'[^']*\.dsc'" | head -1 |
        sed "s|.*/$1_||; s|\.dsc'||; s|%2[bB]|+|g"
}

# Sets PREFIXO_WINDOWS to the Windows build of Connector/C, Qt base, GoogleTest and CLI11, building it when
# the cache does not hold it for these versions.
dependencias_windows() {
    garantir_deb_src
    local mariadb qt pasta
    mariadb=$(versao_fonte mariadb)
    qt=$(versao_fonte qt6-base)
    if [ -z "$mariadb" ] || [ -z "$qt" ]; then
        echo "The versions of the source packages mariadb and qt6-base are unknown to apt" >&2
        return 1
    fi
    pasta=$CACHE_WINDOWS/mariadb-$mariadb-qt-$qt
    PREFIXO_WINDOWS=$pasta/prefixo
    export TORVANE_WINDOWS_PREFIX=$PREFIXO_WINDOWS
    if [ -f "$pasta/pronto" ]; then
        echo "== Windows dependencies from $pasta"
        completar_prefixo
        return 0
    fi
    local inicio=$SECONDS
    echo "== Building the Windows dependencies into $pasta (about 20 minutes on 2 cores)"
    rm -rf "$pasta"
    mkdir -p "$pasta/fontes" "$PREFIXO_WINDOWS"
    (cd "$pasta/fontes" && apt-get source --download-only -qq mariadb/bookworm qt6-base/bookworm 2>&1 |
        grep -v unsandboxed || true)
    compilar_connector_c "$pasta/fontes"
    compilar_gtest_windows "$pasta/fontes"
    copiar_cli11
    compilar_qt_windows "$pasta/fontes"
    completar_prefixo
    rm -rf "$pasta/fontes"
    touch "$pasta/pronto"
    echo "== Windows dependencies built in $((SECONDS - inicio)) s"
}

cmake_windows() {
    cmake -G Ninja -DCMAKE_TOOLCHAIN_FILE="$RAIZ/cmake/mingw-w64-x86_64.cmake" \
        -DTORVANE_WINDOWS_PREFIX="$PREFIXO_WINDOWS" -DCMAKE_INSTALL_PREFIX="$PREFIXO_WINDOWS" "$@"
}

# Connector/C is the libmariadb folder of MariaDB's source; TLS comes from Windows itself (no OpenSSL DLL).
compilar_connector_c() {
    local fontes=$1
    echo "   Connector/C"
    tar -xf "$(ls "$fontes"/mariadb_*.orig.tar.* | grep -v '\.asc$')" -C "$fontes" --wildcards '*/libmariadb/*'
    local origem
    origem=$(echo "$fontes"/*/libmariadb)
    cmake_windows -S "$origem" -B "$fontes/build-connector" -DCMAKE_BUILD_TYPE=Release \
        -DWITH_UNIT_TESTS=OFF -DWITH_CURL=OFF -DWITH_SSL=SCHANNEL \
        -DCLIENT_PLUGIN_AUTH_GSSAPI_CLIENT=OFF -DCLIENT_PLUGIN_REMOTE_IO=OFF -DCLIENT_PLUGIN_DIALOG=OFF \
        -DCLIENT_PLUGIN_MYSQL_CLEAR_PASSWORD=OFF -DCLIENT_PLUGIN_REPLICATION=OFF -DCLIENT_PLUGIN_ZSTD=OFF \
        -DCLIENT_PLUGIN_PVIO_NPIPE=STATIC -DCLIENT_PLUGIN_PVIO_SHMEM=STATIC \
        -DCLIENT_PLUGIN_CACHING_SHA2_PASSWORD=STATIC -DCLIENT_PLUGIN_CLIENT_ED25519=STATIC \
        -DCMAKE_C_FLAGS=-w >"$fontes/connector.log" 2>&1 || { tail -30 "$fontes/connector.log" >&2; return 1; }
    cmake --build "$fontes/build-connector" -j2 >>"$fontes/connector.log" 2>&1 &&
        cmake --install "$fontes/build-connector" >>"$fontes/connector.log" 2>&1 ||
        { tail -30 "$fontes/connector.log" >&2; return 1; }
}

compilar_gtest_windows() {
    local fontes=$1
    echo "   GoogleTest"
    cmake_windows -S /usr/src/googletest -B "$fontes/build-gtest" -DCMAKE_BUILD_TYPE=Release \
        -DBUILD_GMOCK=OFF >"$fontes/gtest.log" 2>&1 &&
        cmake --build "$fontes/build-gtest" -j2 >>"$fontes/gtest.log" 2>&1 &&
        cmake --install "$fontes/build-gtest" >>"$fontes/gtest.log" 2>&1 ||
        { tail -30 "$fontes/gtest.log" >&2; return 1; }
}

# CLI11 is headers only; a copy in the prefix keeps the cross build away from the host's include folder.
copiar_cli11() {
    mkdir -p "$PREFIXO_WINDOWS/include" "$PREFIXO_WINDOWS/share/cmake"
    cp -r /usr/include/CLI "$PREFIXO_WINDOWS/include/"
    cp -r /usr/share/cmake/CLI11 "$PREFIXO_WINDOWS/share/cmake/"
}

# Qt base with only what the programs and their tests use. Debian's tarball lacks the wintab and iaccessible2
# sources, hence no tablet events nor Direct2D 1.1; Direct2D itself stays on, or the platform plugin does not
# link. The host tools (moc, rcc, uic) are Debian's, of the same version.
compilar_qt_windows() {
    local fontes=$1
    echo "   Qt base (the long part)"
    tar -xf "$(ls "$fontes"/qt6-base_*.orig.tar.* | grep -v '\.asc$')" -C "$fontes"
    local origem
    origem=$(find "$fontes" -maxdepth 1 -type d -name 'qtbase*' | head -1)
    local desligados="sql network dbus opengl printsupport concurrent xml vulkan jpeg gif zstd openssl
        tabletevent direct2d1_1 system_zlib system_png system_freetype system_harfbuzz system_pcre2
        system_doubleconversion sql_sqlite"
    local opcoes=() f
    for f in $desligados; do opcoes+=("-DFEATURE_$f=OFF"); done
    cmake_windows -S "$origem" -B "$fontes/build-qt" -DCMAKE_BUILD_TYPE=Release -DBUILD_SHARED_LIBS=ON \
        -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
        -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DQT_BUILD_BENCHMARKS=OFF -DINPUT_opengl=no \
        "${opcoes[@]}" >"$fontes/qt.log" 2>&1 || { tail -40 "$fontes/qt.log" >&2; return 1; }
    cmake --build "$fontes/build-qt" -j2 >>"$fontes/qt.log" 2>&1 &&
        cmake --install "$fontes/build-qt" >>"$fontes/qt.log" 2>&1 ||
        { tail -40 "$fontes/qt.log" >&2; return 1; }
}

# What Debian's packages add to the Windows Qt: the offscreen platform plugin finds its fonts in lib/fonts (the
# window tests expect Arial's widths), and Qt's Portuguese catalogue is the same for every platform.
completar_prefixo() {
    mkdir -p "$PREFIXO_WINDOWS/lib/fonts" "$PREFIXO_WINDOWS/translations"
    cp -u /usr/share/fonts/truetype/liberation2/LiberationSans-*.ttf "$PREFIXO_WINDOWS/lib/fonts/"
    cp -u /usr/share/qt6/translations/qtbase_pt_BR.qm "$PREFIXO_WINDOWS/translations/"
}

# A Wine prefix of its own beside the dependencies, made once (the Mono and Gecko prompts skipped).
preparar_wine() {
    export WINEPREFIX=$CACHE_WINDOWS/wine
    export WINEDEBUG=-all
    export WINEDLLOVERRIDES="mscoree,mshtml="
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        echo "== Making the Wine prefix $WINEPREFIX"
        "$WINE" wineboot -i >/dev/null 2>&1
        "$WINESERVER" -w
    fi
}

# A Linux path as Wine sees it (drive Z: is the root).
caminho_wine() {
    echo "Z:$1" | tr / '\\'
}

# Runs a Windows program of the build under Wine, finding the MinGW runtime, Connector/C and Qt; CMake runs
# the tests through it.
escrever_executor_wine() {
    local pasta=$1 dirs="" d
    for d in $PASTAS_RUNTIME_MINGW "$PREFIXO_WINDOWS/bin" "$PREFIXO_WINDOWS/lib/mariadb"; do
        dirs="$dirs${dirs:+;}$(caminho_wine "$d")"
    done
    mkdir -p "$pasta"
    cat >"$pasta/wine-executar" <<FIM
#!/bin/sh
export WINEPREFIX='$WINEPREFIX' WINEDEBUG=-all WINEDLLOVERRIDES='mscoree,mshtml='
export WINEPATH='$dirs'
export QT_PLUGIN_PATH='$(caminho_wine "$PREFIXO_WINDOWS/plugins")'
export QT_QPA_FONTDIR='$(caminho_wine "$PREFIXO_WINDOWS/lib/fonts")'
exec '$WINE' "\$@"
FIM
    chmod +x "$pasta/wine-executar"
}

# The project for Windows x86-64, with its tests; the tests are listed when they run, not at build time,
# which under Wine would start every test program once more.
compilar_windows() {
    local pasta
    pasta=$(realpath -m "$1")
    preparar_wine
    escrever_executor_wine "$pasta"
    # The Linux build's optimisation, and so its warnings (none).
    cmake_windows -S "$RAIZ" -B "$pasta" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTORVANE_GUI=ON \
        -DCMAKE_PREFIX_PATH="$PREFIXO_WINDOWS" -DCMAKE_CROSSCOMPILING_EMULATOR="$pasta/wine-executar" \
        -DCMAKE_GTEST_DISCOVER_TESTS_DISCOVERY_MODE=PRE_TEST >/dev/null
    cmake --build "$pasta" -j2 | tee "$pasta/compilacao.log"
    if grep -q 'warning:' "$pasta/compilacao.log"; then
        echo "The Windows build has warnings" >&2
        return 1
    fi
}

# The suite under Wine against the server whose TORVANE_TEST_* variables are set.
testar_windows() {
    local pasta=$1
    shift
    echo "== The suite for Windows under Wine"
    ctest --test-dir "$pasta" --output-on-failure -j2 "$@"
}

# The DLLs a Windows program or DLL loads, by name.
dlls_importadas() {
    x86_64-w64-mingw32-objdump -p "$1" | sed -n 's/^\s*DLL Name: //p'
}

# Copies into the folder every DLL the files load that comes with MinGW, Connector/C or Qt (Windows' own stay
# out), following what those DLLs load in turn.
copiar_dlls() {
    local destino=$1
    shift
    local pendentes=("$@") arquivo nome origem d
    while [ ${#pendentes[@]} -gt 0 ]; do
        arquivo=${pendentes[0]}
        pendentes=("${pendentes[@]:1}")
        for nome in $(dlls_importadas "$arquivo"); do
            [ -f "$destino/$nome" ] && continue
            origem=""
            for d in $PASTAS_RUNTIME_MINGW "$PREFIXO_WINDOWS/bin" "$PREFIXO_WINDOWS/lib/mariadb"; do
                [ -f "$d/$nome" ] && origem=$d/$nome && break
            done
            [ -n "$origem" ] || continue
            cp "$origem" "$destino/$nome"
            pendentes+=("$destino/$nome")
        done
    done
}

# The portable folder: both programs, what they load, Qt's Portuguese catalogue, qt.conf, the README and an
# example connection file (not named sistema_qor.ini, which would make the installed copy portable).
montar_pasta_portatil() {
    local build=$1 pasta=$2
    rm -rf "$pasta"
    mkdir -p "$pasta/platforms" "$pasta/styles" "$pasta/imageformats" "$pasta/translations"
    cp "$build/bin/ExportacaoTorvane.exe" "$build/bin/torvane-export.exe" "$pasta/"
    cp "$PREFIXO_WINDOWS/plugins/platforms/qwindows.dll" "$pasta/platforms/"
    cp "$PREFIXO_WINDOWS/plugins/styles/qwindowsvistastyle.dll" "$pasta/styles/"
    cp "$PREFIXO_WINDOWS/plugins/imageformats/qico.dll" "$pasta/imageformats/"
    copiar_dlls "$pasta" "$pasta"/*.exe "$pasta"/*/*.dll
    cp /usr/share/qt6/translations/qtbase_pt_BR.qm "$pasta/translations/"
    # Qt looks for its plugins and catalogues where it was built, unless told they are here.
    printf '[Paths]\r\nPrefix=.\r\nPlugins=.\r\nTranslations=translations\r\n' >"$pasta/qt.conf"
    sed 's/$/\r/' "$RAIZ/README.md" >"$pasta/README.md"
    cp "$RAIZ/packaging/windows/sistema_qor.exemplo.ini" "$pasta/"
    find "$pasta" -name '*.exe' -o -name '*.dll' | xargs x86_64-w64-mingw32-strip --strip-unneeded
}

# The zip of the portable folder and the installer, into the build folder.
empacotar_windows() {
    local build versao nome
    build=$(realpath "$1")
    versao=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
    nome=ExportacaoTorvane-$versao-win64
    echo "== Packaging $nome"
    montar_pasta_portatil "$build" "$build/pacote/$nome"
    rm -f "$build/$nome.zip"
    (cd "$build/pacote" && zip -qr -X "../$nome.zip" "$nome")
    makensis -V2 -DVERSAO="$versao" -DORIGEM="$build/pacote/$nome" -DICONE="$RAIZ/packaging/windows/ExportacaoTorvane.ico" \
        -DSAIDA="$build/ExportacaoTorvane-$versao-setup.exe" "$RAIZ/packaging/windows/instalador.nsi" >/dev/null
    gerar_msi "$build/pacote" "$nome" "$versao" "$build/ExportacaoTorvane-$versao-x64.msi"
    ls -l "$build/$nome.zip" "$build/ExportacaoTorvane-$versao-setup.exe" "$build/ExportacaoTorvane-$versao-x64.msi"
}

# The Windows Installer package of the portable folder NAME inside PASTA, for administrators (msiexec /i ... /qn).
# wixl takes its sources relative to the folder it runs in.
gerar_msi() {
    local pasta=$1 nome=$2 versao=$3 saida=$4
    (
        cd "$pasta"
        find "$nome" -type f | sort |
            wixl-heat -p "$nome/" --directory-ref INSTALLDIR --component-group Arquivos --var var.Origem |
            sed 's/Guid="\*"/Guid="*" Win64="yes"/' >arquivos.wxs
        cp "$RAIZ/packaging/windows/ExportacaoTorvane.ico" .
        wixl -a x64 -D Versao="$versao" -D Origem="$nome" -D Icone=ExportacaoTorvane.ico -o "$saida" \
            "$RAIZ/packaging/windows/instalador.wxs" arquivos.wxs
    )
}

# The product code of an MSI, by which Windows lists it among the installed programs.
codigo_produto_msi() {
    msiinfo export "$1" Property | sed -n 's/^ProductCode\t//p' | tr -d '\r'
}

# The installer under Wine, as a user's silent install: both programs in Program Files with no settings beside
# them, the Start-menu entry, the entry in the list of installed programs; then the silent uninstall removes it all.
verificar_instalador() {
    local build=$1 setup programas menu chave="HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\ExportacaoTorvane"
    setup=$(ls "$build"/ExportacaoTorvane-*-setup.exe)
    preparar_wine
    programas="$WINEPREFIX/drive_c/Program Files/Exportacao Torvane"
    menu="$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Exportação financeira Torvane.lnk"
    echo "== Installing and uninstalling under Wine"
    "$WINE" "$setup" /S
    "$WINESERVER" -w
    local falta=0 f
    for f in ExportacaoTorvane.exe torvane-export.exe Desinstalar.exe qt.conf platforms/qwindows.dll "$menu"; do
        [[ $f == /* ]] || f="$programas/$f"
        [ -f "$f" ] || { echo "Not installed: $f" >&2; falta=1; }
    done
    [ ! -e "$programas/sistema_qor.ini" ] || { echo "sistema_qor.ini beside the installed programs" >&2; falta=1; }
    "$WINE" reg query "$chave" /v UninstallString >/dev/null 2>&1 || { echo "No entry in installed programs" >&2; falta=1; }
    "$WINE" "$programas/torvane-export.exe" --help 2>&1 | grep -q 'ExportacaoTorvane' ||
        { echo "torvane-export --help names no settings folder" >&2; falta=1; }
    "$WINE" "$programas/Desinstalar.exe" /S
    "$WINESERVER" -w
    [ ! -e "$programas" ] && [ ! -e "$menu" ] || { echo "The uninstaller left files" >&2; falta=1; }
    ! "$WINE" reg query "$chave" >/dev/null 2>&1 || { echo "The uninstaller left its entry" >&2; falta=1; }
    [ "$falta" -eq 0 ] || return 1
    echo "   installed, run and uninstalled silently"
    verificar_msi "$build"
}

# The MSI under Wine, as an administrator's silent install: the same tree, the Start-menu entry and the entry in the
# list of installed programs; a later version installed over it takes its place; the silent removal leaves nothing.
verificar_msi() {
    local build=$1 msi posterior versao seguinte codigo codigo_seguinte programas menu falta=0 f
    local lista="HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall"
    msi=$(ls "$build"/ExportacaoTorvane-*-x64.msi)
    versao=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
    seguinte=${versao%.*}.$((${versao##*.} + 1))
    posterior=$build/pacote/ExportacaoTorvane-$seguinte-x64.msi
    gerar_msi "$build/pacote" "ExportacaoTorvane-$versao-win64" "$seguinte" "$posterior"
    codigo=$(codigo_produto_msi "$msi")
    codigo_seguinte=$(codigo_produto_msi "$posterior")
    programas="$WINEPREFIX/drive_c/Program Files/Exportacao Torvane"
    echo "== Installing, upgrading and removing the MSI under Wine"
    "$WINE" msiexec /i "$(caminho_wine "$msi")" /qn
    "$WINESERVER" -w
    # Windows puts a machine-wide package's Start-menu entry in the common Start menu; Wine's Windows Installer puts
    # it in the user's.
    local entrada="Microsoft/Windows/Start Menu/Programs/Exportação financeira Torvane.lnk"
    menu=/nenhum
    for f in "$WINEPREFIX/drive_c/ProgramData/$entrada" "$WINEPREFIX/drive_c/users/$(id -un)/AppData/Roaming/$entrada"; do
        [ -f "$f" ] && menu=$f
    done
    for f in ExportacaoTorvane.exe torvane-export.exe qt.conf platforms/qwindows.dll "$menu"; do
        [[ $f == /* ]] || f="$programas/$f"
        [ -f "$f" ] || { echo "Not installed by the MSI: $f" >&2; falta=1; }
    done
    [ ! -e "$programas/sistema_qor.ini" ] || { echo "sistema_qor.ini beside the programs the MSI installed" >&2; falta=1; }
    "$WINE" reg query "$lista\\$codigo" /v DisplayVersion 2>/dev/null | grep -q "$versao" ||
        { echo "The MSI is not in the list of installed programs" >&2; falta=1; }
    "$WINE" "$programas/torvane-export.exe" --help 2>&1 | grep -q 'ExportacaoTorvane' ||
        { echo "torvane-export --help, installed by the MSI, names no settings folder" >&2; falta=1; }
    "$WINE" msiexec /i "$(caminho_wine "$posterior")" /qn
    "$WINESERVER" -w
    ! "$WINE" reg query "$lista\\$codigo" >/dev/null 2>&1 || { echo "The later MSI left the earlier installed" >&2; falta=1; }
    "$WINE" reg query "$lista\\$codigo_seguinte" /v DisplayVersion 2>/dev/null | grep -q "$seguinte" ||
        { echo "The later MSI is not in the list of installed programs" >&2; falta=1; }
    [ -f "$programas/torvane-export.exe" ] || { echo "The later MSI left no program" >&2; falta=1; }
    "$WINE" msiexec /x "$(caminho_wine "$posterior")" /qn
    "$WINESERVER" -w
    [ ! -e "$programas" ] && [ ! -e "$menu" ] || { echo "The MSI's removal left files" >&2; falta=1; }
    ! "$WINE" reg query "$lista\\$codigo_seguinte" >/dev/null 2>&1 || { echo "The MSI's removal left its entry" >&2; falta=1; }
    [ "$falta" -eq 0 ] || return 1
    echo "   installed, replaced by version $seguinte and removed silently"
}

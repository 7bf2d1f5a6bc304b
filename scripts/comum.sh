# Shared by the scripts: Debian packages and a throwaway MariaDB server on loopback.

PACOTES="qt6-base-dev libmariadb-dev libssl-dev mariadb-server mariadb-client libgtest-dev libcli11-dev cmake ninja-build g++
pkg-config xvfb xauth xdotool imagemagick fonts-dejavu-core valgrind"

# Qt's own texts in Portuguese, and fonts of Arial's widths for the windows.
PACOTES="$PACOTES qt6-translations-l10n fonts-liberation2"
# Checks of the installed menu entry and metadata.
PACOTES="$PACOTES desktop-file-utils appstream"
# The sanitizer and fuzz builds.
PACOTES="$PACOTES clang libclang-rt-14-dev"
# Every source file keeps the repository's .clang-format.
PACOTES="$PACOTES clang-format"

como_root() {
    if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

instalar_pacotes() {
    local faltam=""
    for p in $PACOTES; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || faltam="$faltam $p"
    done
    [ -z "$faltam" ] && return 0
    echo "== Installing:$faltam"
    como_root apt-get update -qq
    como_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends $faltam >/dev/null
}

compilar() {
    local pasta=$1
    shift
    cmake -S "$RAIZ" -B "$pasta" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
    cmake --build "$pasta"
}

SANITIZADORES="-fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer"

# The whole suite built again with the sanitizers and run against the same server.
testar_com_sanitizadores() {
    local pasta=$1
    echo "== The suite under AddressSanitizer and UndefinedBehaviorSanitizer"
    cmake -S "$RAIZ" -B "$pasta" -G Ninja -DCMAKE_BUILD_TYPE=None -DTORVANE_GUI=ON \
        "-DCMAKE_CXX_FLAGS=-O1 -g1 $SANITIZADORES" >/dev/null
    cmake --build "$pasta"
    ASAN_OPTIONS=detect_leaks=1:strict_string_checks=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
        ctest --test-dir "$pasta" --output-on-failure -j2
}

# Each fuzz target runs from its seed corpus for the given seconds; a crash fails, and its input is kept
# beside the build, to become a case of the corpus once mended.
fuzzing() {
    local pasta=$1 segundos=$2 falhas=0 alvo nome trabalho
    echo "== Fuzzing the parsers, ${segundos}s each"
    CC=clang CXX=clang++ cmake -S "$RAIZ" -B "$pasta" -G Ninja -DCMAKE_BUILD_TYPE=None -DTORVANE_GUI=OFF \
        -DTORVANE_TESTS=OFF -DTORVANE_FUZZ=ON "-DCMAKE_CXX_FLAGS=-O1 -g $SANITIZADORES" >/dev/null
    cmake --build "$pasta"
    mkdir -p "$pasta/achados"
    for alvo in "$RAIZ"/tests/fuzz/corpus/*/; do
        nome=$(basename "$alvo")
        trabalho=$(mktemp -d)
        if "$pasta/bin/$nome" -max_total_time="$segundos" -timeout=10 -rss_limit_mb=2048 \
            -artifact_prefix="$pasta/achados/$nome-" "$trabalho" "$alvo" >"$pasta/$nome.log" 2>&1; then
            echo "   $nome: $(grep -o 'DONE.*cov: [0-9]*' "$pasta/$nome.log" | grep -o 'cov: [0-9]*'), no crash"
        else
            echo "   $nome: CRASH, input kept in $pasta/achados/" >&2
            tail -40 "$pasta/$nome.log" >&2
            falhas=$((falhas + 1))
        fi
        rm -rf "$trabalho"
    done
    [ "$falhas" -eq 0 ]
}

# Fails naming the files that differ from the repository's .clang-format.
verificar_formato() {
    echo "== Source format (.clang-format)"
    (cd "$RAIZ" && git ls-files -z '*.cpp' '*.h' | xargs -0 clang-format --dry-run --Werror)
}

porta_livre() {
    local porta
    while :; do
        porta=$((20000 + RANDOM % 40000))
        local hex
        hex=$(printf ':%04X ' "$porta")
        grep -qi "$hex" /proc/net/tcp /proc/net/tcp6 2>/dev/null || { echo "$porta"; return; }
    done
}

# Starts a server of its own in a temporary folder; MARIADB_DIR, MARIADB_PORT and MARIADB_SOCK tell where.
# parar_mariadb stops it and removes the folder; callers arrange for it on every exit path.
iniciar_mariadb() {
    MARIADB_DIR=$(mktemp -d /tmp/torvane-mariadb.XXXXXX)
    MARIADB_PORT=$(porta_livre)
    MARIADB_SOCK=$MARIADB_DIR/sock
    local usuario
    usuario=$(id -un)
    mkdir -p "$MARIADB_DIR/tmp"
    local bin=/usr/sbin/mariadbd
    [ -x "$bin" ] || bin=$(command -v mariadbd || command -v mysqld)
    if ! mariadb-install-db --no-defaults --user="$usuario" --datadir="$MARIADB_DIR/data" \
        --auth-root-authentication-method=normal --skip-test-db >"$MARIADB_DIR/install.log" 2>&1; then
        echo "MariaDB's data folder could not be made:" >&2
        cat "$MARIADB_DIR/install.log" >&2
        return 1
    fi
    "$bin" --no-defaults --user="$usuario" --datadir="$MARIADB_DIR/data" --socket="$MARIADB_SOCK" \
        --port="$MARIADB_PORT" --bind-address=127.0.0.1 --pid-file="$MARIADB_DIR/pid" \
        --log-error="$MARIADB_DIR/error.log" --tmpdir="$MARIADB_DIR/tmp" --skip-log-bin --innodb-buffer-pool-size=256M \
        --character-set-server=latin1 --collation-server=latin1_swedish_ci >/dev/null 2>&1 &
    MARIADB_PID=$!
    for _ in $(seq 1 120); do
        mariadb-admin --no-defaults --socket="$MARIADB_SOCK" -uroot ping >/dev/null 2>&1 && return 0
        kill -0 "$MARIADB_PID" 2>/dev/null || break
        sleep 0.5
    done
    echo "MariaDB did not start:" >&2
    cat "$MARIADB_DIR/error.log" >&2 || true
    return 1
}

parar_mariadb() {
    if [ -n "${MARIADB_PID:-}" ]; then
        kill "$MARIADB_PID" 2>/dev/null || true
        wait "$MARIADB_PID" 2>/dev/null || true
        MARIADB_PID=
    fi
    [ -n "${MARIADB_DIR:-}" ] && rm -rf "$MARIADB_DIR"
    MARIADB_DIR=
}

# The server the tests use, with their user, and the variables through which they find it.
iniciar_servidor_teste() {
    iniciar_mariadb
    sql_root <<SQL
CREATE USER 'torvane_teste'@'localhost' IDENTIFIED BY 'senha_teste';
CREATE USER 'torvane_teste'@'127.0.0.1' IDENTIFIED BY 'senha_teste';
GRANT ALL PRIVILEGES ON *.* TO 'torvane_teste'@'localhost';
GRANT ALL PRIVILEGES ON *.* TO 'torvane_teste'@'127.0.0.1';
SQL
    export TORVANE_TEST_HOST=127.0.0.1
    export TORVANE_TEST_PORT=$MARIADB_PORT
    export TORVANE_TEST_USER=torvane_teste
    export TORVANE_TEST_PASSWORD=senha_teste
    export TORVANE_TEST_SOCKET=$MARIADB_SOCK
    export QT_QPA_PLATFORM=offscreen
}

sql_root() {
    mariadb --no-defaults --socket="$MARIADB_SOCK" -uroot "$@"
}

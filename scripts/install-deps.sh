#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the demo need; only
# the missing ones, and the package lists are refreshed only when something
# is missing. Works as root, or through sudo otherwise.
#
#   install-deps.sh          everything: the tests, servers, browser, benchmarks
#   install-deps.sh --demo   only what the plug-in, partlib and the sample
#                            library generator need (scripts/demo.sh)
set -euo pipefail

# What building the programs needs.
DEMO_PACKAGES=(
    build-essential cmake pkg-config
    libsqlite3-dev unixodbc-dev
    libcli11-dev nlohmann-json3-dev
    mdbtools-dev libmdb3
)

# And what the tests, the servers they run against, the browser test and the
# benchmarks need besides.
PACKAGES=(
    "${DEMO_PACKAGES[@]}"
    clang-format clang libclang-rt-14-dev
    sqlite3
    unixodbc odbc-mariadb odbc-postgresql libsqliteodbc
    mariadb-server mariadb-client postgresql
    libgtest-dev libgmock-dev googletest libbenchmark-dev
    mdbtools
    chromium nodejs
)

# KiCad's symbol libraries, the real input of the import-kicad tests and
# benchmark; installed on their own without recommends, which would pull in
# the whole of KiCad.
SYMBOL_PACKAGES=(kicad-symbols)

case "${1:-}" in
"") ;;
--demo)
    PACKAGES=("${DEMO_PACKAGES[@]}")
    SYMBOL_PACKAGES=()
    ;;
*)
    echo "usage: $0 [--demo]" >&2
    exit 2
    ;;
esac

installed() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "install ok installed"; }

missing=()
for pkg in "${PACKAGES[@]}"; do
    installed "$pkg" || missing+=("$pkg")
done
missing_symbols=()
for pkg in "${SYMBOL_PACKAGES[@]}"; do
    installed "$pkg" || missing_symbols+=("$pkg")
done
as_root=()
if [ "$(id -u)" -ne 0 ]; then
    as_root=(sudo)
fi

# kicad-dbl names the SQLite ODBC driver [SQLite3]; libsqliteodbc registers
# it in /etc/odbcinst.ini, which is checked here and done if it did not.
register_sqlite_odbc() {
    if installed libsqliteodbc && ! odbcinst -q -d -n SQLite3 >/dev/null 2>&1; then
        printf '[SQLite3]\nDescription=SQLite3 ODBC Driver\nDriver=libsqlite3odbc.so\nSetup=libsqlite3odbc.so\n' |
            "${as_root[@]}" odbcinst -i -d -r
    fi
}

if [ ${#missing[@]} -eq 0 ] && [ ${#missing_symbols[@]} -eq 0 ]; then
    register_sqlite_odbc
    exit 0
fi
echo "install-deps: installing ${missing[*]} ${missing_symbols[*]}" >&2
"${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update
if [ ${#missing[@]} -gt 0 ]; then
    "${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y "${missing[@]}"
fi
if [ ${#missing_symbols[@]} -gt 0 ]; then
    "${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${missing_symbols[@]}"
fi
register_sqlite_odbc

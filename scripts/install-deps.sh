#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the demo need; only
# the missing ones, and the package lists are refreshed only when something
# is missing. Works as root, or through sudo otherwise.
set -euo pipefail

PACKAGES=(
    build-essential cmake pkg-config clang-format clang libclang-rt-14-dev
    libsqlite3-dev sqlite3
    unixodbc unixodbc-dev odbc-mariadb odbc-postgresql
    mariadb-server mariadb-client postgresql
    libgtest-dev libgmock-dev googletest libbenchmark-dev
    libcli11-dev nlohmann-json3-dev
    mdbtools mdbtools-dev libmdb3
    chromium nodejs
)

# KiCad's symbol libraries, the real input of the import-kicad tests and
# benchmark; installed on their own without recommends, which would pull in
# the whole of KiCad.
SYMBOL_PACKAGES=(kicad-symbols)

installed() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "install ok installed"; }

missing=()
for pkg in "${PACKAGES[@]}"; do
    installed "$pkg" || missing+=("$pkg")
done
missing_symbols=()
for pkg in "${SYMBOL_PACKAGES[@]}"; do
    installed "$pkg" || missing_symbols+=("$pkg")
done
if [ ${#missing[@]} -eq 0 ] && [ ${#missing_symbols[@]} -eq 0 ]; then
    exit 0
fi

as_root=()
if [ "$(id -u)" -ne 0 ]; then
    as_root=(sudo)
fi
echo "install-deps: installing ${missing[*]} ${missing_symbols[*]}" >&2
"${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update
if [ ${#missing[@]} -gt 0 ]; then
    "${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y "${missing[@]}"
fi
if [ ${#missing_symbols[@]} -gt 0 ]; then
    "${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${missing_symbols[@]}"
fi

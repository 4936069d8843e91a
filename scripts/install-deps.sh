#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the demo need; only
# the missing ones, and the package lists are refreshed only when something
# is missing. Works as root, or through sudo otherwise.
set -euo pipefail

PACKAGES=(
    build-essential cmake clang-format clang libclang-rt-14-dev
    libsqlite3-dev sqlite3
    unixodbc unixodbc-dev odbc-mariadb odbc-postgresql
    mariadb-server mariadb-client postgresql
    libgtest-dev libgmock-dev googletest libbenchmark-dev
    libcli11-dev nlohmann-json3-dev
)

missing=()
for pkg in "${PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed" || missing+=("$pkg")
done
if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi

as_root=()
if [ "$(id -u)" -ne 0 ]; then
    as_root=(sudo)
fi
echo "install-deps: installing ${missing[*]}" >&2
"${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update
"${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y "${missing[@]}"

#!/usr/bin/env bash
# Builds the project and runs all tests, with private MariaDB and PostgreSQL
# servers for the server tests.
#
#   scripts/test.sh              build/ (RelWithDebInfo)
#   scripts/test.sh --sanitize   build-asan/ with AddressSanitizer and UBSan
set -euo pipefail
cd "$(dirname "$0")/.."

build_dir=build
cmake_options=(-DCMAKE_BUILD_TYPE=RelWithDebInfo -DTXDB_TESTS=ON)
case "${1:-}" in
"")
    # A build/ that the demo configured without them, and with its quicker
    # flags, gets them back; a compiler warning fails the build.
    cmake_options+=(-DTXDB_BENCH=ON -DTXDB_WERROR=ON "-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O2 -g -DNDEBUG")
    ;;
--sanitize)
    build_dir=build-asan
    # -O1 and line tables only: the instrumented build compiles in a
    # fraction of the time and its reports still name file and line.
    cmake_options+=(-DTXDB_SANITIZE=ON -DTXDB_BENCH=OFF "-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O1 -g1")
    # Leaks of a database driver's own are not ours to mend.
    export LSAN_OPTIONS="suppressions=$PWD/scripts/lsan.supp${LSAN_OPTIONS:+:$LSAN_OPTIONS}"
    ;;
*)
    echo "usage: $0 [--sanitize]" >&2
    exit 2
    ;;
esac

bash scripts/install-deps.sh
cmake -S . -B "$build_dir" "${cmake_options[@]}"
cmake --build "$build_dir" -j2

# Private MariaDB and PostgreSQL servers for the engine-parameterised tests;
# both are stopped again however the run ends.
trap 'bash scripts/mariadb-server.sh stop "$build_dir" || true; bash scripts/postgres-server.sh stop "$build_dir" || true' EXIT
TXDB_MARIADB_INITSTRING=$(bash scripts/mariadb-server.sh start "$build_dir")
TXDB_POSTGRES_INITSTRING=$(bash scripts/postgres-server.sh start "$build_dir")
export TXDB_MARIADB_INITSTRING TXDB_POSTGRES_INITSTRING

status=0
(cd "$build_dir" && ctest --output-on-failure -j2) || status=$?
exit "$status"

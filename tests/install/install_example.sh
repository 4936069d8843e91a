#!/usr/bin/env bash
# Installs the project into a scratch prefix, builds examples/ against it
# with find_package and with pkg-config, and runs the example: a copy into a
# new SQLite file, a cancelled copy, a missing source, and, when
# TXDB_MARIADB_INITSTRING is set, a copy into a database on that server.
#
#   install_example.sh BUILD_DIR SOURCE_DIR PARTLIB SAMPLELIB [EXTRA_CXX_FLAGS]
set -euo pipefail
build=$(cd "$1" && pwd)
source_dir=$(cd "$2" && pwd)
partlib=$3
samplelib=$4
flags=${5:-}
work=$build/install-example
rm -rf "$work"
mkdir -p "$work"
prefix=$work/prefix

fail() {
    echo "install_example: $*" >&2
    exit 1
}

# Every C++ block of the host guide is the example's own code, so that the
# builds below compile each of them.
example=$(<"$source_dir/examples/copy_library.cpp")
blocks=0
block=
inside=false
while IFS= read -r line; do
    if [[ $inside == false && $line == '```cpp' ]]; then
        inside=true
        block=
    elif [[ $inside == true && $line == '```' ]]; then
        inside=false
        blocks=$((blocks + 1))
        [[ $example == *"$block"* ]] || fail "a code block of docs/host-guide.md is not in the example:
$block"
    elif [[ $inside == true ]]; then
        block+=${block:+$'\n'}$line
    fi
done <"$source_dir/docs/host-guide.md"
((blocks > 0)) || fail "docs/host-guide.md has no C++ block"

cmake --install "$build" --prefix "$prefix" >"$work/install.log"
for file in include/CTraxDBPartLib/interface/PartLibInterface.h include/CTraxDBPartLib/hostservices/HostCallbacks.h \
    lib/cmake/CTraxDBPartLib/CTraxDBPartLibConfig.cmake lib/pkgconfig/ctraxdbpartlib.pc; do
    [[ -f $prefix/$file ]] || fail "cmake --install left out $file"
done

# The CMake package.
cmake -S "$source_dir/examples" -B "$work/cmake" -DCMAKE_PREFIX_PATH="$prefix" \
    -DCMAKE_CXX_FLAGS="$flags" >"$work/configure.log"
cmake --build "$work/cmake" >"$work/build.log" || { cat "$work/build.log"; fail "the CMake build failed"; }
by_cmake=$work/cmake/copy_library

# pkg-config, with the run path a host outside the system prefix needs, and
# with -Wshadow: a host that warns of hidden names sees none in the headers.
export PKG_CONFIG_PATH=$prefix/lib/pkgconfig
by_pkgconfig=$work/copy_library
# shellcheck disable=SC2046,SC2086
c++ -std=c++17 -Wall -Wextra -Wshadow -Werror $flags $(pkg-config --cflags ctraxdbpartlib) \
    "$source_dir/examples/copy_library.cpp" -o "$by_pkgconfig" \
    $(pkg-config --libs ctraxdbpartlib) -Wl,-rpath,"$(pkg-config --variable=libdir ctraxdbpartlib)"

# Neither program may reach the build tree's libraries.
for program in "$by_cmake" "$by_pkgconfig"; do
    loaded=$(ldd "$program" | sed -n 's/^\s*libctraxdbpartlib\.so => \(\S*\) .*/\1/p')
    [[ -n $loaded && $(realpath "$loaded") == "$prefix/lib/libctraxdbpartlib.so" ]] ||
        fail "$program does not load the installed plug-in (it loads ${loaded:-none})"
done

source_db=$work/source.db
"$partlib" init "$source_db" >/dev/null
"$samplelib" "$source_db" --parts 30 --name Demo >/dev/null
"$samplelib" "$source_db" --parts 5 --name Other --first-id 1000 >/dev/null
src="Provider=SQLite;Data Source=$source_db"

# The parts as the example lists them (its lines starting "library" or "  "
# before the copy), for comparing a copy with its source.
listing() {
    local target
    target=$(mktemp -u "$work/listing-XXXXXX.db")
    "$by_cmake" "$1" "Provider=SQLite;Data Source=$target" "${@:2}" | grep -Ev '^(copying |copied$|  Writing )'
}
same_listing() {
    diff <(listing "$1") <(listing "$2" "${@:3}") >"$work/listing.diff" || { cat "$work/listing.diff"; return 1; }
}

# A copy into a file that does not exist yet: created, then filled.
out=$("$by_cmake" "$src" "Provider=SQLite;Data Source=$work/copy.db" 'D%')
grep -q '^library Demo: 30 matching parts$' <<<"$out" || fail "the listing is wrong: $out"
grep -q '^library Other' <<<"$out" && fail "the library filter let Other through: $out"
grep -q '^copying library 1 of 1: Demo$' <<<"$out" || fail "no progress event of the library: $out"
grep -q '^  Writing Part table' <<<"$out" || fail "no table progress: $out"
[[ $(tail -1 <<<"$out") == copied ]] || fail "the copy did not end: $out"
same_listing "Provider=SQLite;Data Source=$work/copy.db" "$src" 'D%' ||
    fail "the copy lists otherwise than its source"

# A cancelled copy leaves the target without the library.
status=0
out=$("$by_pkgconfig" "$src" "Provider=SQLite;Data Source=$work/cancelled.db" --cancel-after 2) || status=$?
[[ $status == 130 && $(tail -1 <<<"$out") == "cancelled: the target is unchanged" ]] ||
    fail "the cancel was not seen (exit $status): $out"
[[ -z $(listing "Provider=SQLite;Data Source=$work/cancelled.db") ]] || fail "a cancelled copy left libraries behind"

# A source that does not exist: a message, and no file made.
status=0
errors=$("$by_cmake" "Provider=SQLite;Data Source=$work/missing.db" "Provider=SQLite;Data Source=$work/t.db" 2>&1) ||
    status=$?
[[ $status == 1 && $errors == *"$work/missing.db\" does not exist"* ]] || fail "missing source (exit $status): $errors"
[[ ! -e $work/missing.db ]] || fail "opening a missing source created it"

if [[ -n ${TXDB_MARIADB_INITSTRING:-} ]]; then
    field() { sed -n "s/.*;$1=\([^;]*\).*/\1/p" <<<"$TXDB_MARIADB_INITSTRING"; }
    catalog=partlib_test_example_$$ # the test user may make partlib_test* databases
    client=(mariadb -h "$(field Server)" -P "$(field Port)" -u "$(field 'User ID')" -p"$(field Password)")
    "${client[@]}" -e "DROP DATABASE IF EXISTS $catalog; CREATE DATABASE $catalog"
    trap '"${client[@]}" -e "DROP DATABASE IF EXISTS $catalog" || true' EXIT
    server=${TXDB_MARIADB_INITSTRING/Initial Catalog=$(field 'Initial Catalog')/Initial Catalog=$catalog}
    out=$("$by_pkgconfig" "$src" "$server")
    [[ $(tail -1 <<<"$out") == copied ]] || fail "the copy into MariaDB did not end: $out"
    same_listing "$server" "$src" || fail "the MariaDB copy lists otherwise than its source"
fi
echo "install_example: installed, built twice and run"

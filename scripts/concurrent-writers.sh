#!/usr/bin/env bash
# Concurrent writers: two, then four processes write different libraries
# into one database at once, for a few rounds, on SQLite and on the private
# MariaDB and PostgreSQL servers. The writers are `partlib copy`, or, once
# partlib offers it, copy and `partlib import` of the library's exported
# file in turn.
#
#   scripts/concurrent-writers.sh [-r ROUNDS] [-e ENGINES] [-p PARTS] [-b BUILD_DIR]
#
#   -r ROUNDS   rounds per engine and width (default 3)
#   -e ENGINES  comma list of sqlite, mariadb, postgres (default: all three,
#               leaving out a server that cannot be started)
#   -p PARTS    parts per library (default 2000)
#   -b DIR      build folder with partlib and txdb-samplelib (default build)
#
# Every write must end whole (exit 0; the library exports exactly as its
# source) or refused (exit 1 with a message; the library is not in the
# target); any other end is a failure, and so is a target that fails its
# engine's checks or holds a key twice. Prints the counts of whole and
# refused writes; exits 1 on any failure.
set -euo pipefail
cd "$(dirname "$0")/.."

rounds=3
engine_list=sqlite,mariadb,postgres
engines_by_name=no
parts=2000
build_dir=build
while getopts "r:e:p:b:" option; do
    case "$option" in
    r) rounds=$OPTARG ;;
    e)
        engine_list=$OPTARG
        engines_by_name=yes
        ;;
    p) parts=$OPTARG ;;
    b) build_dir=$OPTARG ;;
    *)
        sed -n '2,15p' "$0" >&2
        exit 2
        ;;
    esac
done
if ! [[ "$rounds" =~ ^[0-9]+$ && "$parts" =~ ^[0-9]+$ ]]; then
    echo "concurrent-writers: -r and -p take whole numbers" >&2
    exit 2
fi
trial_catalog=partlib_test_writers
source scripts/trial-targets.sh
begin_run concurrent-writers "$engine_list" "$engines_by_name"

# Four libraries W1..W4 in one source, each with keys of its own range there.
source_db=$work_dir/source.db
"$partlib" init "$source_db" --yes >/dev/null
for i in 1 2 3 4; do
    "$build_dir/txdb-samplelib" "$source_db" --parts "$parts" --name "W$i" --first-id $(((i - 1) * 10000000 + 1)) >/dev/null
    export_to "$source_db" "$work_dir/W$i.json" "W$i"
done
writes=(copy)
grep -qE "^  import " <<<"$("$partlib" --help)" && writes+=(import)
echo "concurrent-writers: $rounds rounds of 2 and 4 writers (${writes[*]}) of $parts-part libraries on ${engines[*]}"

failures=0
for engine in "${engines[@]}"; do
    for width in 2 4; do
        whole=0
        refused=0
        for ((round = 1; round <= rounds; round++)); do
            reset_target "$engine"
            target=$(target_of "$engine")
            pids=()
            for ((i = 1; i <= width; i++)); do
                if [ "${writes[$((i % ${#writes[@]}))]}" = copy ]; then
                    "$partlib" copy "$source_db" "$target" "W$i" --yes >"$work_dir/writer-$i.log" 2>&1 &
                else
                    "$partlib" import "$target" "$work_dir/W$i.json" --yes >"$work_dir/writer-$i.log" 2>&1 &
                fi
                pids+=($!)
            done
            problems=
            for ((i = 1; i <= width; i++)); do
                status=0
                wait "${pids[$((i - 1))]}" || status=$?
                if [ "$status" -eq 0 ]; then
                    whole=$((whole + 1))
                    export_to "$target" "$work_dir/out.json" "W$i" && cmp -s "$work_dir/out.json" "$work_dir/W$i.json" ||
                        problems+=" W$i reported success but differs from its source;"
                elif [ "$status" -eq 1 ] && [ -s "$work_dir/writer-$i.log" ] &&
                    ! grep -qE 'AddressSanitizer|runtime error|terminate called' "$work_dir/writer-$i.log"; then
                    refused=$((refused + 1))
                    echo "    refused W$i: $(tail -n 1 "$work_dir/writer-$i.log")"
                    "$partlib" libraries "$target" --name "W$i" | grep -q "W$i" &&
                        problems+=" W$i was refused but is in the target;"
                else
                    problems+=" W$i ended with status $status: $(tail -n 3 "$work_dir/writer-$i.log");"
                fi
            done
            problems+=$(integrity_problems "$engine")
            if [ -n "$problems" ]; then
                failures=$((failures + 1))
                echo "  $engine, $width writers, round $round FAILED:$problems"
            fi
        done
        echo "$engine, $width writers x $rounds rounds: $whole whole, $refused refused"
    done
done
if [ "$failures" -ne 0 ]; then
    echo "concurrent-writers: $failures failed rounds"
    exit 1
fi
echo "concurrent-writers: every write whole or refused"

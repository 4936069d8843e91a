#!/usr/bin/env bash
# Crash and cancel trials of the library writes: `partlib copy` (and
# `partlib import` of the library's exported file) of a 10,000-part library,
# and `partlib import-kicad` of six KiCad symbol libraries (84,000 rows)
# into SQLite, MariaDB and PostgreSQL targets, killed at a random moment of
# the write.
#
#   scripts/crash-trials.sh [-n N] [-e ENGINES] [-w WRITES] [-s SEED] [-p PARTS] [-b BUILD_DIR]
#
#   -n N        number of trials (default 100)
#   -e ENGINES  comma list of sqlite, mariadb, postgres (default: all three,
#               leaving out a server that cannot be started)
#   -w WRITES   comma list of copy, import, kicad (default: those partlib
#               offers; kicad where the kicad-symbols package is installed)
#   -s SEED     seed of the random choices (default: the clock; printed)
#   -p PARTS    parts of the library written (default 10000)
#   -b DIR      build folder with partlib and txdb-samplelib (default build)
#
# Each trial starts its target in one of three states: the schema alone,
# another library ("Other", 300 parts), or Other and an older, smaller
# version of the library being written ("Big" at 3,000 parts). It then
# starts the write and, after a random delay within the measured duration
# of an uninterrupted write into that state, sends SIGKILL or SIGINT.
# Afterwards the target must pass the engine's checks (SQLite's
# integrity_check and foreign_key_check; on a server, no row whose foreign
# key names a missing row) and hold, compared by the export of every
# library:
#   SIGKILL  exactly what it held before, or the complete library (the
#            write committed before the kill);
#   SIGINT   exactly what it held before with exit status 130; or, when the
#            signal came after the commit (or after the command ended), exit
#            status 0 and the complete library. Any other status fails, and
#            so does a writer still running 60 s after SIGINT.
# Prints one line per trial, `N passed, M failed` per engine and overall,
# and the slowest trial; exits 1 on any failure.
set -euo pipefail
cd "$(dirname "$0")/.."

trials=100
engine_list=sqlite,mariadb,postgres
engines_by_name=no
seed=$(date +%s)
build_dir=build
parts=10000
write_list=
while getopts "n:e:w:s:p:b:" option; do
    case "$option" in
    n) trials=$OPTARG ;;
    e)
        engine_list=$OPTARG
        engines_by_name=yes
        ;;
    s) seed=$OPTARG ;;
    w) write_list=$OPTARG ;;
    p) parts=$OPTARG ;;
    b) build_dir=$OPTARG ;;
    *)
        sed -n '2,18p' "$0" >&2
        exit 2
        ;;
    esac
done
if ! [[ "$trials" =~ ^[0-9]+$ && "$seed" =~ ^[0-9]+$ && "$parts" =~ ^[1-9][0-9]*$ ]]; then
    echo "crash-trials: -n, -s and -p take whole numbers" >&2
    exit 2
fi
source scripts/trial-targets.sh
begin_run crash-trials "$engine_list" "$engines_by_name"
# The KiCad libraries import-kicad writes, all into the library Big.
kicad_files=()
for name in 74xx Device Interface_UART MCU_ST_STM32F1 MCU_ST_STM32F4 FPGA_Xilinx_Artix7; do
    kicad_files+=("/usr/share/kicad/symbols/$name.kicad_sym")
done
kicad_installed() {
    local file
    for file in "${kicad_files[@]}"; do
        [ -r "$file" ] || return 1
    done
}
if [ -z "$write_list" ]; then
    write_list=copy
    commands=$("$partlib" --help)
    grep -qE "^  import " <<<"$commands" && write_list+=,import
    grep -qE "^  import-kicad " <<<"$commands" && kicad_installed && write_list+=,kicad
fi
read -r -a writes <<<"${write_list//,/ }"
for write in "${writes[@]}"; do
    case "$write" in
    copy | import) ;;
    kicad)
        if ! kicad_installed; then
            echo "crash-trials: the kicad write needs Debian's kicad-symbols package (scripts/install-deps.sh)" >&2
            exit 2
        fi
        ;;
    *)
        echo "crash-trials: unknown write $write (copy, import, kicad)" >&2
        exit 2
        ;;
    esac
done
RANDOM=$seed
echo "crash-trials: $trials trials of ${writes[*]} on ${engines[*]}, seed $seed, in $work_dir"

# The library written, and the databases each state is copied from.
samplelib=$build_dir/txdb-samplelib
source_db=$work_dir/source.db
"$partlib" init "$source_db" --yes >/dev/null
"$samplelib" "$source_db" --parts "$parts" --name Big >/dev/null
source_file=$work_dir/source.json
export_to "$source_db" "$source_file" Big
"$partlib" init "$work_dir/state-other.db" --yes >/dev/null
"$samplelib" "$work_dir/state-other.db" --parts 300 --name Other >/dev/null
cp "$work_dir/state-other.db" "$work_dir/state-older.db"
"$samplelib" "$work_dir/state-older.db" --parts 3000 --name Big --first-id 100000 >/dev/null
states=(empty other older)

# Puts the target of the engine into the state.
prepare() {
    local engine=$1 state=$2
    reset_target "$engine"
    [ "$state" = empty ] || "$partlib" copy "$work_dir/state-$state.db" "$(target_of "$engine")" --yes >/dev/null
}

# The write of a trial, started in the background with the signals at their
# defaults; sets `writer`.
start_write() {
    local write=$1 engine=$2 target
    target=$(target_of "$engine")
    local command
    case "$write" in
    copy) command=(copy "$source_db" "$target" Big) ;;
    import) command=(import "$target" "$source_file" Big) ;;
    kicad) command=(import-kicad "$target" "${kicad_files[@]}" --library Big) ;;
    esac
    env --default-signal=INT,TERM,HUP "$partlib" "${command[@]}" --yes >"$work_dir/write.log" 2>&1 &
    writer=$!
}

# Before and after exports and the duration of an uninterrupted write, per
# write, engine and state.
declare -A duration_ms
for write in "${writes[@]}"; do
    for engine in "${engines[@]}"; do
        for state in "${states[@]}"; do
            case=$write-$engine-$state
            prepare "$engine" "$state"
            export_to "$(target_of "$engine")" "$work_dir/$case-before.json"
            started=$(now_ms)
            start_write "$write" "$engine"
            wait "$writer" || {
                echo "crash-trials: the uninterrupted $write into $engine ($state) failed:" >&2
                cat "$work_dir/write.log" >&2
                exit 1
            }
            duration_ms[$case]=$(($(now_ms) - started))
            export_to "$(target_of "$engine")" "$work_dir/$case-after.json"
            problems=$(integrity_problems "$engine")
            if [ -n "$problems" ]; then
                echo "crash-trials: $engine fails its checks after an uninterrupted $write: $problems" >&2
                exit 1
            fi
            echo "  uninterrupted $write into $engine ($state): ${duration_ms[$case]} ms"
        done
    done
done

declare -A passed failed
for engine in "${engines[@]}"; do
    passed[$engine]=0
    failed[$engine]=0
done
slowest_ms=0
slowest=
for ((trial = 1; trial <= trials; trial++)); do
    engine=${engines[$(((trial - 1) % ${#engines[@]}))]}
    write=${writes[$(((trial - 1) / ${#engines[@]} % ${#writes[@]}))]}
    state=${states[$((RANDOM % 3))]}
    signal=$([ $((RANDOM % 2)) -eq 0 ] && echo KILL || echo INT)
    case=$write-$engine-$state
    total=${duration_ms[$case]}
    delay=$(((RANDOM * 32768 + RANDOM) % total))
    trial_started=$(now_ms)

    prepare "$engine" "$state"
    start_write "$write" "$engine"
    sleep "$(printf '%d.%03d' $((delay / 1000)) $((delay % 1000)))"
    kill -s "$signal" "$writer" 2>/dev/null || true
    if [ "$signal" = INT ]; then
        for _ in $(seq 1 600); do
            kill -0 "$writer" 2>/dev/null || break
            sleep 0.1
        done
        kill -0 "$writer" 2>/dev/null && kill -s KILL "$writer"
    fi
    status=0
    wait "$writer" 2>/dev/null || status=$?

    problem=$(integrity_problems "$engine")
    export_to "$(target_of "$engine")" "$work_dir/trial.json" || problem+=" the target cannot be exported;"
    held=neither
    cmp -s "$work_dir/trial.json" "$work_dir/$case-before.json" && held=before
    cmp -s "$work_dir/trial.json" "$work_dir/$case-after.json" && held=complete
    case "$signal/$status/$held" in
    KILL/137/before | KILL/137/complete | KILL/0/complete | INT/130/before | INT/0/complete) ;;
    *) problem+=" exit $status holding $held;" ;;
    esac
    if [ "$status" -ne 0 ] && [ "$status" -ne 137 ] && grep -qE 'AddressSanitizer|runtime error|terminate called' \
        "$work_dir/write.log"; then
        problem+=" the writer crashed: $(head -c 300 "$work_dir/write.log");"
    fi

    elapsed=$(($(now_ms) - trial_started))
    line=$(printf 'trial %3d/%d %-6s %-8s %-5s SIG%-4s at %5d of %5d ms: exit %3d, holds %-8s' "$trial" "$trials" \
        "$write" "$engine" "$state" "$signal" "$delay" "$total" "$status" "$held")
    if [ -z "$problem" ]; then
        passed[$engine]=$((passed[$engine] + 1))
        echo "$line ok ($elapsed ms)"
    else
        failed[$engine]=$((failed[$engine] + 1))
        echo "$line FAILED:$problem ($elapsed ms)"
        cp "$work_dir/write.log" "$work_dir/failed-trial-$trial.log"
    fi
    if [ "$elapsed" -gt "$slowest_ms" ]; then
        slowest_ms=$elapsed
        slowest="trial $trial ($write, $engine, $state, SIG$signal)"
    fi
done

all_passed=0
all_failed=0
for engine in "${engines[@]}"; do
    echo "$engine: ${passed[$engine]} passed, ${failed[$engine]} failed"
    all_passed=$((all_passed + passed[$engine]))
    all_failed=$((all_failed + failed[$engine]))
done
[ -n "$slowest" ] && echo "slowest: $slowest, $slowest_ms ms"
echo "$all_passed passed, $all_failed failed"
[ "$all_failed" -eq 0 ]

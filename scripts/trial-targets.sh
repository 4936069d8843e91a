# Shared by crash-trials.sh and concurrent-writers.sh (sourced, not run):
# target databases on SQLite and on the private MariaDB and PostgreSQL
# servers, their reset, their integrity checks and their exports.
#
# Before use: set build_dir (and trial_catalog, the servers' database to
# use, when not the default); begin_run sets work_dir and `engines`.

partlib=
trial_catalog=${trial_catalog:-partlib_test_trials}

log() { echo "$*" >&2; }

# The value of KEY in an initialisation string (plain values only).
init_value() {
    tr ';' '\n' <<<"$1" | sed -n "s/^$2=//p" | head -n 1
}

# The start of a run of SCRIPT: the programs of build_dir are there, a
# fresh work_dir under it, the engines of the list started.
begin_run() {
    local script=$1 wanted=$2 asked_by_name=$3 program
    for program in partlib txdb-samplelib; do
        if [ ! -x "$build_dir/$program" ]; then
            echo "$script: $build_dir/$program is missing; build it first" \
                "(cmake --build $build_dir --target partlib txdb-samplelib -j2)" >&2
            exit 2
        fi
    done
    work_dir=$(cd "$build_dir" && pwd)/$script
    rm -rf "$work_dir"
    mkdir -p "$work_dir"
    start_engines "$wanted" "$asked_by_name"
    if [ ${#engines[@]} -eq 0 ]; then
        echo "$script: no engine to run on" >&2
        exit 1
    fi
}

# Starts the servers the list names; drops those that cannot start (with a
# message) unless they were asked for by name, which is a failure.
start_engines() {
    local wanted=$1 asked_by_name=$2 engine init
    partlib=$build_dir/partlib
    engines=()
    for engine in ${wanted//,/ }; do
        case "$engine" in
        sqlite) engines+=(sqlite) ;;
        mariadb | postgres)
            if init=$(bash scripts/$engine-server.sh start "$build_dir" 2>"$work_dir/$engine-server.log"); then
                printf -v "init_$engine" '%s' "$(sed "s/Initial Catalog=[^;]*/Initial Catalog=$trial_catalog/" <<<"$init")"
                engines+=("$engine")
            elif [ "$asked_by_name" = yes ]; then
                log "the $engine server does not start; see $work_dir/$engine-server.log"
                exit 1
            else
                log "the $engine server does not start: its trials are left out"
            fi
            ;;
        *)
            log "unknown engine $engine (sqlite, mariadb, postgres)"
            exit 2
            ;;
        esac
    done
}

# SQL as the test user on a server's CATALOG ("" for none: the server's
# own); one row per line, columns split by tabs, no headings.
server_sql() {
    local engine=$1 catalog=$2 sql=$3
    local init_var=init_$engine
    local init=${!init_var}
    local port user password
    port=$(init_value "$init" Port)
    user=$(init_value "$init" 'User ID')
    password=$(init_value "$init" Password)
    if [ "$engine" = mariadb ]; then
        MYSQL_PWD=$password mariadb --no-defaults -h 127.0.0.1 -P "$port" -u "$user" -N -B ${catalog:+"$catalog"} -e "$sql"
    else
        PGPASSWORD=$password PGOPTIONS='-c client_min_messages=warning' psql -X -q -t -A -F $'\t' -v ON_ERROR_STOP=1 -h 127.0.0.1 -p "$port" -U "$user" \
            -d "${catalog:-postgres}" -c "$sql"
    fi
}

# The DB argument of partlib for a target: a file for SQLite, the trial
# catalog's initialisation string on a server.
target_of() {
    local engine=$1
    if [ "$engine" = sqlite ]; then
        echo "$work_dir/target.db"
    else
        local init_var=init_$engine
        echo "${!init_var}"
    fi
}

# An empty target with the part-library schema.
reset_target() {
    local engine=$1
    case "$engine" in
    sqlite) rm -f "$work_dir/target.db" "$work_dir/target.db-journal" "$work_dir/target.db-wal" "$work_dir/target.db-shm" ;;
    mariadb) server_sql mariadb "" "DROP DATABASE IF EXISTS $trial_catalog; CREATE DATABASE $trial_catalog CHARACTER SET utf8mb4" ;;
    postgres)
        # A session still ending on the catalog can fail the drop for a moment.
        local attempt
        for attempt in 1 2 3 4 5; do
            server_sql postgres "" "DROP DATABASE IF EXISTS $trial_catalog WITH (FORCE)" && break
            [ "$attempt" -lt 5 ] || return 1
            sleep 1
        done
        server_sql postgres "" "CREATE DATABASE $trial_catalog"
        ;;
    esac
    "$partlib" init "$(target_of "$engine")" --yes >/dev/null
}

# The number of rows whose foreign key names no row, over every foreign key
# the server's catalog declares.
server_orphans() {
    local engine=$1 keys query="SELECT 0" table column parent key
    if [ "$engine" = mariadb ]; then
        keys=$(server_sql mariadb "$trial_catalog" "SELECT TABLE_NAME, COLUMN_NAME, REFERENCED_TABLE_NAME, REFERENCED_COLUMN_NAME
            FROM information_schema.KEY_COLUMN_USAGE
            WHERE TABLE_SCHEMA = '$trial_catalog' AND REFERENCED_TABLE_NAME IS NOT NULL")
    else
        keys=$(server_sql postgres "$trial_catalog" "SELECT k.table_name, k.column_name, c.table_name, c.column_name
            FROM information_schema.table_constraints t
            JOIN information_schema.key_column_usage k ON k.constraint_name = t.constraint_name
            JOIN information_schema.constraint_column_usage c ON c.constraint_name = t.constraint_name
            WHERE t.constraint_type = 'FOREIGN KEY' AND t.table_catalog = '$trial_catalog'")
    fi
    [ -n "$keys" ] || {
        echo "no foreign keys declared"
        return
    }
    local q='"'
    [ "$engine" = mariadb ] && q='`'
    while IFS=$'\t' read -r table column parent key; do
        query+=" + (SELECT COUNT(*) FROM $q$table$q c WHERE c.$q$column$q IS NOT NULL AND NOT EXISTS"
        query+=" (SELECT 1 FROM $q$parent$q p WHERE p.$q$key$q = c.$q$column$q))"
    done <<<"$keys"
    server_sql "$engine" "$trial_catalog" "$query"
}

# Empty when the target passes its engine's checks and uses no key twice,
# else what is wrong.
integrity_problems() {
    local engine=$1 result
    result=$(duplicate_keys "$engine" 2>&1)
    [ "$result" = 0 ] || echo "keys used twice: $result"
    if [ "$engine" = sqlite ]; then
        result=$(sqlite3 "$work_dir/target.db" "PRAGMA integrity_check;" 2>&1)
        [ "$result" = ok ] || echo "integrity_check: $result"
        result=$(sqlite3 "$work_dir/target.db" "PRAGMA foreign_key_check;" 2>&1)
        [ -z "$result" ] || echo "foreign_key_check: $(head -n 3 <<<"$result")"
    else
        result=$(server_orphans "$engine" 2>&1)
        [ "$result" = 0 ] || echo "foreign keys without their row: $result"
    fi
}

# Exports LIBRARY... (every library when none) of DB into FILE; the
# export's notes (texts cut to the file's widths) go to export.log.
export_to() {
    local db=$1 file=$2
    shift 2
    "$partlib" export "$db" "$@" -o "$file" >/dev/null 2>>"$work_dir/export.log"
}

# Milliseconds since the epoch.
now_ms() {
    echo $(($(date +%s%N) / 1000000))
}

# The ID values that more than one row of a table holds, over every table
# with an ID column (some have no primary key to refuse a second use).
duplicate_keys() {
    local engine=$1 table query="SELECT 0" q='"'
    [ "$engine" = mariadb ] && q='`'
    for table in Library Hierarchy Part_Definition Pin_Data Pin_Equiv Gate_Equiv Gate_Equiv_Gate \
        Gate_Equiv_has_Pin_Data Gate Gate_has_Pin_Data Parts; do
        query+=" + (SELECT COUNT(*) FROM (SELECT ${q}ID$q FROM $q$table$q GROUP BY ${q}ID$q HAVING COUNT(*) > 1) d)"
    done
    if [ "$engine" = sqlite ]; then
        sqlite3 "$work_dir/target.db" "$query;"
    else
        server_sql "$engine" "$trial_catalog" "$query"
    fi
}

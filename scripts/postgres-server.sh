#!/usr/bin/env bash
# A private PostgreSQL server for tests, kept under BUILD_DIR/postgres.
#
#   postgres-server.sh start BUILD_DIR   start (or reuse) the server; prints the
#                                        ODBC initialisation string of partlib_test
#   postgres-server.sh stop BUILD_DIR    shut it down and wait until it is gone
#
# The server runs as an unprivileged user (the postgres account when started
# by root, the caller otherwise), listens on 127.0.0.1 only, on the first free
# port from 5433, and takes connections on its socket in BUILD_DIR/postgres.
# Only the initialisation string goes to stdout; everything else to stderr.
set -euo pipefail
server_name=postgres-server
source "$(dirname "${BASH_SOURCE[0]}")/server-common.sh"

parse_arguments "$@"
base=$build_dir/postgres

# The server's account must be able to reach its folder. When started by
# root in a build folder closed to that account, the folder is a private
# one under /tmp that BUILD_DIR/postgres links to.
if [ "$action" = start ] && [ "$(id -u)" -eq 0 ] && [ ! -e "$base" ] &&
    ! runuser -u postgres -- test -x "$build_dir" 2>/dev/null; then
    ln -s "$(mktemp -d /tmp/partlib-postgres.XXXXXX)" "$base"
    log "$build_dir is closed to the postgres account; the server lives in $(readlink "$base")"
fi
[ -L "$base" ] && base=$(readlink -f "$base")
data=$base/data
portfile=$base/port
logfile=$base/server.log

# The newest server's programs (Debian keeps them out of PATH).
bin_dir() {
    local dir
    dir=$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -n 1)
    if [ -z "$dir" ] || [ ! -x "$dir/pg_ctl" ]; then
        log "no PostgreSQL server programs under /usr/lib/postgresql"
        exit 1
    fi
    echo "$dir"
}

# Runs a command as the server's user: initdb and the server refuse root.
as_owner() {
    if [ "$(id -u)" -eq 0 ]; then
        runuser -u postgres -- "$@"
    else
        "$@"
    fi
}

server_running() {
    [ -f "$data/postmaster.pid" ] && as_owner "$(bin_dir)/pg_ctl" status -D "$data" >/dev/null 2>&1
}

admin_sql() {
    as_owner "$(bin_dir)/psql" -X -q -v ON_ERROR_STOP=1 -h "$base" -p "$(cat "$portfile")" -U postgres -d postgres "$@"
}

initialise() {
    log "initialising $data"
    rm -rf "$data"
    mkdir -p "$data"
    [ "$(id -u)" -eq 0 ] && chown postgres: "$base" "$data"
    # Byte order and byte equality for texts, as on the other engines.
    as_owner "$(bin_dir)/initdb" -D "$data" -U postgres --auth-local=trust --auth-host=scram-sha-256 \
        --encoding=UTF8 --no-locale >"$base/initdb.log" 2>&1 || {
        cat "$base/initdb.log" >&2
        exit 1
    }
}

# Starts the server on the port; fails when it does not answer within 30 s.
launch() {
    local port=$1
    echo "$port" >"$portfile"
    log "starting postgres on 127.0.0.1:$port"
    as_owner "$(bin_dir)/pg_ctl" start -D "$data" -l "$logfile" -w -t 30 -s \
        -o "-c listen_addresses=127.0.0.1 -p $port -c unix_socket_directories='$base' -c fsync=off" \
        </dev/null >&2 2>&1 9>&-
}

start() {
    install_packages postgresql odbc-postgresql unixodbc
    mkdir -p "$base"
    if [ "$(id -u)" -eq 0 ]; then
        chown postgres: "$base"
        if ! runuser -u postgres -- test -w "$base"; then
            log "the postgres account cannot write to $base"
            exit 1
        fi
    fi
    exec 9>"$base/lock"
    flock 9

    if server_running; then
        log "reusing the server on port $(cat "$portfile")"
    else
        [ -f "$data/PG_VERSION" ] || initialise
        rm -f "$data/postmaster.pid"
        launch_on_free_port 5433 "$logfile"
    fi

    admin_sql >&2 <<'SQL'
SELECT 'CREATE ROLE partlib LOGIN CREATEDB' WHERE NOT EXISTS (SELECT 1 FROM pg_roles WHERE rolname = 'partlib')
\gexec
ALTER ROLE partlib PASSWORD 'pl-secret';
-- DROP DATABASE ... WITH (FORCE) ends every session on the catalog, and an
-- autovacuum worker busy there belongs to no role: without this grant the
-- drop fails on it.
SELECT 'GRANT pg_signal_backend TO partlib' WHERE NOT pg_has_role('partlib', 'pg_signal_backend', 'member')
\gexec
SELECT 'CREATE DATABASE partlib_test OWNER partlib' WHERE NOT EXISTS (SELECT 1 FROM pg_database WHERE datname = 'partlib_test')
\gexec
SELECT 'CREATE DATABASE partlib_test2 OWNER partlib' WHERE NOT EXISTS (SELECT 1 FROM pg_database WHERE datname = 'partlib_test2')
\gexec
SQL
    init_string "$(odbc_driver PostgreSQL "PostgreSQL Unicode" PostgreSQL)"
}

stop() {
    if ! server_running; then
        log "no server is running under $base"
        return 0
    fi
    log "stopping the server"
    as_owner "$(bin_dir)/pg_ctl" stop -D "$data" -m fast -w -t 30 -s >&2 || {
        log "the server did not stop within 30 s"
        exit 1
    }
}

run_action

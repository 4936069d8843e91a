#!/usr/bin/env bash
# A private MariaDB server for tests, kept under BUILD_DIR/mariadb.
#
#   mariadb-server.sh start BUILD_DIR   start (or reuse) the server; prints the
#                                       ODBC initialisation string of partlib_test
#   mariadb-server.sh stop BUILD_DIR    shut it down and wait until it is gone
#
# Only the initialisation string goes to stdout; everything else to stderr.
set -euo pipefail
server_name=mariadb-server
source "$(dirname "${BASH_SOURCE[0]}")/server-common.sh"

parse_arguments "$@"
base=$build_dir/mariadb
data=$base/data
sock=$base/mysqld.sock
pidfile=$base/mysqld.pid
portfile=$base/port
errlog=$base/error.log

server_running() {
    [ -f "$pidfile" ] && kill -0 "$(cat "$pidfile")" 2>/dev/null
}

ping_server() {
    mariadb-admin --no-defaults --socket="$sock" -uroot ping >/dev/null 2>&1
}

# Waits until the server answers; fails when it is gone or silent for 30 s.
wait_until_answering() {
    local i
    for i in $(seq 1 300); do
        ping_server && return 0
        if ! server_running && [ "$i" -gt 20 ]; then
            return 1
        fi
        sleep 0.1
    done
    return 1
}

# Starts mariadbd on the port, detached in its own session, with no
# descriptor of the caller left open.
launch() {
    local port=$1
    echo "$port" >"$portfile"
    rm -f "$sock" "$pidfile"
    log "starting mariadbd on 127.0.0.1:$port"
    setsid -f mariadbd --no-defaults --user=root --datadir="$data" --socket="$sock" \
        --port="$port" --bind-address=127.0.0.1 --pid-file="$pidfile" --log-error="$errlog" \
        --character-set-server=utf8mb4 --collation-server=utf8mb4_general_ci \
        </dev/null >/dev/null 2>&1 9>&-
    wait_until_answering && return 0
    if server_running; then
        kill "$(cat "$pidfile")"
    fi
    return 1
}

start() {
    install_packages mariadb-server mariadb-client odbc-mariadb unixodbc
    mkdir -p "$base"
    exec 9>"$base/lock"
    flock 9

    if server_running && ping_server; then
        log "reusing the server on port $(cat "$portfile")"
    else
        if [ ! -d "$data/mysql" ]; then
            log "initialising $data"
            rm -rf "$data"
            mariadb-install-db --no-defaults --user=root --datadir="$data" \
                --auth-root-authentication-method=socket --skip-test-db >"$base/install.log" 2>&1 || {
                cat "$base/install.log" >&2
                exit 1
            }
        fi
        launch_on_free_port 3307 "$errlog"
    fi

    mariadb --no-defaults --socket="$sock" -uroot >&2 <<'SQL'
CREATE DATABASE IF NOT EXISTS partlib_test CHARACTER SET utf8mb4;
CREATE DATABASE IF NOT EXISTS partlib_test2 CHARACTER SET utf8mb4;
ALTER DATABASE partlib_test CHARACTER SET utf8mb4;
ALTER DATABASE partlib_test2 CHARACTER SET utf8mb4;
CREATE USER IF NOT EXISTS 'partlib'@'127.0.0.1' IDENTIFIED BY 'pl-secret';
CREATE USER IF NOT EXISTS 'partlib'@'localhost' IDENTIFIED BY 'pl-secret';
GRANT ALL PRIVILEGES ON `partlib\_test%`.* TO 'partlib'@'127.0.0.1';
GRANT ALL PRIVILEGES ON `partlib\_test%`.* TO 'partlib'@'localhost';
FLUSH PRIVILEGES;
SQL
    init_string "$(odbc_driver "MariaDB or MySQL" "MariaDB Unicode" MariaDB MySQL)"
}

stop() {
    if ! server_running; then
        log "no server is running under $base"
        return 0
    fi
    local pid
    pid=$(cat "$pidfile")
    log "stopping the server (pid $pid)"
    mariadb-admin --no-defaults --socket="$sock" -uroot shutdown >&2 || kill "$pid"
    local i
    for i in $(seq 1 300); do
        kill -0 "$pid" 2>/dev/null || return 0
        sleep 0.1
    done
    log "the server did not stop within 30 s"
    exit 1
}

run_action

#!/usr/bin/env bash
# A private MariaDB server for tests, kept under BUILD_DIR/mariadb.
#
#   mariadb-server.sh start BUILD_DIR   start (or reuse) the server; prints the
#                                       ODBC initialisation string of partlib_test
#   mariadb-server.sh stop BUILD_DIR    shut it down and wait until it is gone
#
# Only the initialisation string goes to stdout; everything else to stderr.
set -euo pipefail

usage() {
    echo "usage: $0 start|stop BUILD_DIR" >&2
    exit 2
}

[ $# -eq 2 ] || usage
action=$1
build_dir=$(mkdir -p "$2" && cd "$2" && pwd)
base=$build_dir/mariadb
data=$base/data
sock=$base/mysqld.sock
pidfile=$base/mysqld.pid
portfile=$base/port
errlog=$base/error.log

log() { echo "mariadb-server: $*" >&2; }

as_root() {
    if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

install_packages() {
    local missing=()
    local pkg
    for pkg in mariadb-server mariadb-client odbc-mariadb unixodbc; do
        dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed" || missing+=("$pkg")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    log "installing ${missing[*]}"
    as_root env DEBIAN_FRONTEND=noninteractive apt-get update >&2
    as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y "${missing[@]}" >&2
}

odbc_driver() {
    local drivers name
    drivers=$(odbcinst -q -d 2>/dev/null | tr -d '[]')
    name=$(grep -i -m1 '^MariaDB Unicode$' <<<"$drivers" || true)
    [ -n "$name" ] || name=$(grep -i -m1 'MariaDB' <<<"$drivers" || true)
    [ -n "$name" ] || name=$(grep -i -m1 'MySQL' <<<"$drivers" || true)
    if [ -z "$name" ]; then
        log "no MariaDB or MySQL ODBC driver is registered with unixODBC"
        exit 1
    fi
    echo "$name"
}

server_running() {
    [ -f "$pidfile" ] && kill -0 "$(cat "$pidfile")" 2>/dev/null
}

port_busy() {
    (exec 3<>"/dev/tcp/127.0.0.1/$1") 2>/dev/null
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
    install_packages
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
        # A port taken between the check and the start makes the server quit: try the next.
        local port=3307 attempt
        for attempt in 1 2 3 4 5; do
            while port_busy "$port"; do
                port=$((port + 1))
            done
            launch "$port" && break
            if [ "$attempt" -eq 5 ]; then
                log "the server does not answer; see $errlog"
                tail -n 20 "$errlog" >&2 || true
                exit 1
            fi
            port=$((port + 1))
        done
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
    echo "Provider=ODBC;Driver={$(odbc_driver)};Server=127.0.0.1;Port=$(cat "$portfile");Initial Catalog=partlib_test;User ID=partlib;Password=pl-secret"
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

case "$action" in
start) start ;;
stop) stop ;;
*) usage ;;
esac

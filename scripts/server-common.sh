# What the test-server scripts (mariadb-server.sh, postgres-server.sh) share:
# their arguments, messages, package installation, the ODBC driver, the
# choice of a free port and the initialisation string. Sourced by them after
# they set server_name (the prefix of their messages); each defines its own
# launch PORT, start and stop.

usage() {
    echo "usage: $0 start|stop BUILD_DIR" >&2
    exit 2
}

# Sets action and build_dir (made absolute, created when missing).
parse_arguments() {
    [ $# -eq 2 ] || usage
    action=$1
    build_dir=$(mkdir -p "$2" && cd "$2" && pwd)
}

log() { echo "$server_name: $*" >&2; }

as_root() {
    if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

# Installs those of the given packages that are not installed yet.
install_packages() {
    local missing=()
    local pkg
    for pkg in "$@"; do
        dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed" || missing+=("$pkg")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    log "installing ${missing[*]}"
    as_root env DEBIAN_FRONTEND=noninteractive apt-get update >&2
    as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y "${missing[@]}" >&2
}

# The ODBC driver registered with unixODBC: the one named exactly NAME, else
# the first whose name holds one of the PATTERNs. DESCRIPTION names the
# driver in the message when there is none.
#   odbc_driver DESCRIPTION NAME PATTERN...
odbc_driver() {
    local description=$1 exact=$2
    shift 2
    local drivers name pattern
    drivers=$(odbcinst -q -d 2>/dev/null | tr -d '[]')
    name=$(grep -i -m1 "^$exact\$" <<<"$drivers" || true)
    for pattern in "$@"; do
        [ -n "$name" ] || name=$(grep -i -m1 "$pattern" <<<"$drivers" || true)
    done
    if [ -z "$name" ]; then
        log "no $description ODBC driver is registered with unixODBC"
        exit 1
    fi
    echo "$name"
}

port_busy() {
    (exec 3<>"/dev/tcp/127.0.0.1/$1") 2>/dev/null
}

# Runs `launch PORT` on the first free port from FIRST and records the port
# in $portfile (launch does). A port taken between the check and the start
# makes the server quit: the next is tried, five times in all, after which
# the end of LOGFILE is shown.
#   launch_on_free_port FIRST LOGFILE
launch_on_free_port() {
    local port=$1 logfile=$2 attempt
    for attempt in 1 2 3 4 5; do
        while port_busy "$port"; do
            port=$((port + 1))
        done
        launch "$port" && return 0
        if [ "$attempt" -eq 5 ]; then
            log "the server does not answer; see $logfile"
            tail -n 20 "$logfile" >&2 || true
            exit 1
        fi
        port=$((port + 1))
    done
}

# The initialisation string of partlib_test on the server's port, with DRIVER.
init_string() {
    echo "Provider=ODBC;Driver={$1};Server=127.0.0.1;Port=$(cat "$portfile");Initial Catalog=partlib_test;User ID=partlib;Password=pl-secret"
}

run_action() {
    case "$action" in
    start) start ;;
    stop) stop ;;
    *) usage ;;
    esac
}

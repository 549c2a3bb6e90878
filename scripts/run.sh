#!/usr/bin/env bash
# Starts the program from a build tree (make run). By default the device is
# the simulator: filtaro-devsim serves a pseudo-terminal that the program
# finds as COM1, so the whole start-up (receive, panels, welcome box) works
# without hardware. SIMULATOR=0 uses the machine's real serial ports.
#
# The program keeps FILTARO.INI, Filtaro.dat and its dump files in its
# current directory; that is <build>/run, where the simulator's memory lives
# too, so settings sent to the simulated device survive from run to run.
set -euo pipefail

build=${1:-build/release}
[ $# -gt 0 ] && shift  # the rest goes to the program (e.g. --screenshot FILE)
simulator=${SIMULATOR:-1}
root=$(cd "$(dirname "$0")/.." && pwd)
case "$build" in /*) ;; *) build="$root/$build" ;; esac

program="$build/src/filtaro"
devsim="$build/src/filtaro-devsim"
if [ ! -x "$program" ]; then
    echo "run.sh: $program fehlt; erst bauen (make release)." >&2
    exit 1
fi

# The program runs in the run directory: a relative screenshot file is meant
# relative to where run.sh was called.
screenshot=0
args=()
while [ $# -gt 0 ]; do
    args+=("$1")
    if [ "$1" = --screenshot ] && [ $# -gt 1 ]; then
        screenshot=1
        shift
        case "$1" in /*) args+=("$1") ;; *) args+=("$PWD/$1") ;; esac
    fi
    shift
done
set -- ${args[@]+"${args[@]}"}
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    if [ "$screenshot" = 1 ]; then
        export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
    else
        cat >&2 <<MSG
run.sh: Kein Bildschirm (weder DISPLAY noch WAYLAND_DISPLAY gesetzt).
  Mit einem virtuellen Bildschirm starten:   xvfb-run -a make run
  Nur ein Bild des Hauptfensters erzeugen:   scripts/run.sh ${build#"$root"/} --screenshot fenster.png
MSG
        exit 1
    fi
fi

rundir="$build/run"
mkdir -p "$rundir"
cd "$rundir"

if [ "$simulator" = 0 ]; then
    unset FILTARO_PORT_DIR
    exec "$program" "$@"
fi

if [ ! -x "$devsim" ]; then
    echo "run.sh: $devsim fehlt; erst bauen (make release)." >&2
    exit 1
fi
ports="$rundir/ports"
mkdir -p "$ports"
rm -f "$ports/COM1"

"$devsim" --link "$ports/COM1" --memory "$rundir/devsim-memory.bin" >"$rundir/devsim.out" 2>&1 &
devsim_pid=$!
stop_devsim() {
    if kill -0 "$devsim_pid" 2>/dev/null; then
        kill "$devsim_pid" 2>/dev/null || true
        wait "$devsim_pid" 2>/dev/null || true
    fi
}
trap stop_devsim EXIT
trap 'exit 130' INT TERM HUP

# The simulator prints its terminal once the link exists.
for _ in $(seq 1 100); do
    [ -L "$ports/COM1" ] && break
    if ! kill -0 "$devsim_pid" 2>/dev/null; then
        echo "run.sh: filtaro-devsim ist nicht gestartet:" >&2
        cat "$rundir/devsim.out" >&2
        exit 1
    fi
    sleep 0.1
done
if [ ! -L "$ports/COM1" ]; then
    echo "run.sh: filtaro-devsim hat COM1 nicht angelegt." >&2
    exit 1
fi
echo "run.sh: Simulator an COM1 ($(head -n1 "$rundir/devsim.out")), Arbeitsverzeichnis $rundir"

# Inside the run directory, COM1 is the only port there is.
status=0
FILTARO_PORT_DIR="$ports" "$program" "$@" || status=$?
exit "$status"

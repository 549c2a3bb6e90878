#!/usr/bin/env bash
# make test-windows: the Windows build under Wine.
#
#   1. The cross-built core suites (ctest in WINDOWS_BUILD), with the Linux
#      simulator as COM5 for the serial tests (FILTARO_TEST_PORT).
#   2. filtaro-cli.exe end to end, beside the Linux filtaro-cli, for the
#      Debug build of WINDOWS_BUILD and, when given, the released exe of
#      RELEASE_BUILD (optimised, stripped, with its resources and manifest):
#      - the file commands (new, show, encode, decode, import, export,
#        response) must write byte-identical files and print the same text,
#        with CRLF line ends on the Windows side;
#      - a file name outside ASCII must arrive as written;
#      - against the Linux simulator (filtaro-devsim), which Wine reaches as
#        COM5 through a dosdevices link to its pseudo-terminal: send (with
#        --verify), receive, compare and search, the simulator's fault modes,
#        a device that vanishes in the middle of a transfer, and a port that
#        another program left with XON/XOFF on (windows-probe). (Wine does
#        not enforce the exclusive open of a serial port, so that is not
#        tested here.)
#      - the console has its own code page again when the program ends;
#      - --version says what the Linux build says, and a path longer than
#        MAX_PATH (260 characters) works. (Wine has no such limit, so this
#        shows the manifest does no harm, not that Windows honours it.)
#
# Usage: scripts/test-windows.sh [WINDOWS_BUILD [LINUX_BUILD [RELEASE_BUILD]]]
#   WINDOWS_BUILD  default build/windows (cmake --preset windows)
#   LINUX_BUILD    default build/cli (filtaro-cli and filtaro-devsim for Linux)
#   RELEASE_BUILD  e.g. build/windows-release (cmake --preset windows-release)
set -uo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
win=${1:-$root/build/windows}
linux=${2:-$root/build/cli}
release=${3:-}
case "$win" in /*) ;; *) win="$root/$win" ;; esac
case "$linux" in /*) ;; *) linux="$root/$linux" ;; esac
case "$release" in /* | "") ;; *) release="$root/$release" ;; esac

wine=$(command -v wine64 || echo /usr/lib/wine/wine64)
cli_exes=("$win/src/filtaro-cli.exe")
[ -n "$release" ] && cli_exes+=("$release/src/filtaro-cli.exe")
probe_exe="$win/tests/windows-probe.exe"
cli_linux="$linux/src/filtaro-cli"
devsim="$linux/src/filtaro-devsim"
for f in "$wine" "${cli_exes[@]}" "$probe_exe" "$cli_linux" "$devsim"; do
    if [ ! -x "$f" ]; then
        echo "test-windows.sh: $f fehlt (make windows baut es)." >&2
        exit 2
    fi
done

export WINEPREFIX="$win/wine" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
"$wine" wineboot --init >/dev/null 2>&1

work=$(mktemp -d "$win/e2e.XXXXXX")
devsim_pid=""
cleanup() {
    [ -n "$devsim_pid" ] && kill "$devsim_pid" 2>/dev/null && wait "$devsim_pid" 2>/dev/null
    rm -f "$WINEPREFIX/dosdevices/com5"
    rm -rf "$work"
}
trap cleanup EXIT
ports="$work/ports"  # the Linux build's port directory (FILTARO_PORT_DIR)
mkdir -p "$ports"

passed=0
failed=0
check() {  # check NAME COMMAND...: one verdict; the status of COMMAND
    local name=$1
    shift
    if "$@"; then
        passed=$((passed + 1))
        echo "ok      $name"
    else
        failed=$((failed + 1))
        echo "FAILED  $name"
        return 1
    fi
}

# run SIDE ARGS...: filtaro-cli on one side, in its folder; standard output,
# standard error and the exit status land in SIDE/out, SIDE/err, SIDE/status.
run() {
    local side=$1
    shift
    if [ "$side" = linux ]; then
        (cd "$L" && FILTARO_PORT_DIR="$ports" "$cli_linux" "$@" >"$L/out" 2>"$L/err")
        echo $? >"$L/status"
    else
        # (A port that hangs fails the check instead of the whole run.)
        (cd "$W" && timeout -k 5 120 "$wine" "$cli_exe" "$@" >"$W/out" 2>"$W/err")
        echo $? >"$W/status"
    fi
}
both() {
    run linux "$@"
    run windows "$@"
}

# The Windows text is the Linux text with CRLF line ends.
crlf_of() {  # crlf_of WINDOWS_FILE LINUX_FILE
    cmp -s <(sed 's/$/\r/' "$2") "$1"
}
same_run() {  # same status, output and errors on both sides
    cmp -s "$L/status" "$W/status" && crlf_of "$W/out" "$L/out" && crlf_of "$W/err" "$L/err"
}
status_is() { [ "$(cat "$W/status")" = "$1" ] && [ "$(cat "$L/status")" = "$1" ]; }
status_is_windows() { [ "$(cat "$W/status")" = "$1" ]; }
same_file() { [ -f "$W/$1" ] && cmp -s "$L/$1" "$W/$1"; }
explain() {  # shows what differs after a failed check
    echo "        linux:   status $(cat "$L/status"): $(head -c 300 "$L/out" "$L/err" | tr '\n' ' ')"
    echo "        windows: status $(cat "$W/status"): $(head -c 300 "$W/out" "$W/err" | tr -d '\r' | tr '\n' ' ')"
}
expect_same() {  # expect_same NAME STATUS FILES...: one command on both sides
    local name=$1 status=$2
    shift 2
    local ok=true
    same_run && status_is "$status" || ok=false
    for f in "$@"; do same_file "$f" || ok=false; done
    check "$name" $ok || explain
}

start_devsim() {  # start_devsim ARGS...: the simulator, as COM5 on both sides
    stop_devsim
    rm -f "$WINEPREFIX/dosdevices/com5" "$ports/COM5"
    coproc DEVSIM { exec "$devsim" --link "$WINEPREFIX/dosdevices/com5" --memory "$work/memory.bin" "$@"; }
    devsim_pid=$DEVSIM_PID
    local pty=""
    read -r -t 10 pty <&"${DEVSIM[0]}"
    ln -sfn "$pty" "$ports/COM5"
}
stop_devsim() {
    if [ -n "$devsim_pid" ]; then
        kill "$devsim_pid" 2>/dev/null
        wait "$devsim_pid" 2>/dev/null
        devsim_pid=""
    fi
}

# --- 1. The suites ----------------------------------------------------------
start_devsim
suites=0
FILTARO_TEST_PORT=COM5 ctest --test-dir "$win" --output-on-failure --no-tests=error -j 2 ||
    suites=1
stop_devsim

# --- 2. filtaro-cli.exe end to end ------------------------------------------
# end_to_end EXE: every check below with that filtaro-cli.exe, in folders of
# its own.
end_to_end() {
cli_exe=$1
L="$work/$2/linux"
W="$work/$2/windows"
mkdir -p "$L" "$W"
echo
echo "--- $cli_exe"

# --- File commands: byte-identical files, the same text in CRLF ------------
cat >"$L/filter.txt" <<'TXT'
Filter Settings file
Filter 1: ON PK Fc 1000 Hz Gain -3.0 dB Q 1.41
Filter 2: ON LS Fc 80 Hz Gain 4.0 dB Q 0.71
Filter 3: ON PK Fc 4700 Hz Gain 2.5 dB Q 4.00
TXT
cp "$L/filter.txt" "$W/filter.txt"

both new Filtaro.dat
expect_same "new" 0 Filtaro.dat
both show Filtaro.dat
expect_same "show" 0
both encode Filtaro.dat wire.bin
expect_same "encode" 0 wire.bin
both decode wire.bin Filtaro.dat decoded.dat
expect_same "decode" 0 decoded.dat
both import Filtaro.dat filter.txt --preset 2 --channel 3 --out imported.dat
expect_same "import" 0 imported.dat
for format in apo rew camilladsp; do
    channel=(--channel 3)
    [ "$format" = camilladsp ] && channel=()
    both export imported.dat --format "$format" --preset 2 "${channel[@]}" --out "export-$format.txt"
    expect_same "export --format $format (file)" 0 "export-$format.txt"
    both export imported.dat --format "$format" --preset 2 "${channel[@]}"
    expect_same "export --format $format (standard output)" 0
done
both response imported.dat --preset 2 --csv
expect_same "response --csv" 0
both show missing.dat
expect_same "show of a missing file" 1

# --- A name outside ASCII ---------------------------------------------------
both new "Ω-Test.dat"
expect_same "new Ω-Test.dat" 0 "Ω-Test.dat"
check "Ω-Test.dat is the only new name" \
    [ "$(ls "$W" | grep -c 'Test\.dat$')" = 1 ]
both show "Ω-Test.dat"
expect_same "show Ω-Test.dat" 0
mkdir -p "$L/Grüße" "$W/Grüße"
both encode "Ω-Test.dat" "Grüße/Ω.bin"
expect_same "encode into Grüße/Ω.bin" 0 "Grüße/Ω.bin"

# --- Against the simulator --------------------------------------------------
start_devsim
both send imported.dat --port COM5 --no-pause
expect_same "send" 0 Son_Send.bin
(cd "$L" && "$cli_linux" encode imported.dat sent-wire.bin >/dev/null)
check "the send dump is the encoded file" cmp -s "$W/Son_Send.bin" "$L/sent-wire.bin"
both receive received.dat --base Filtaro.dat --port COM5
expect_same "receive" 0 received.dat Son_Receive.bin
check "received what was sent" cmp -s "$W/Son_Receive.bin" "$W/Son_Send.bin"
rm -f "$L/FILTARO.INI" "$W/FILTARO.INI"
both search
expect_same "search" 0
check "search writes a new FILTARO.INI with CRLF" \
    cmp -s "$W/FILTARO.INI" <(printf '[COMMUNICATION]\r\nPort=COM5\r\n')
both send imported.dat --no-pause
expect_same "send to the port in FILTARO.INI" 0
both send imported.dat --port COM5 --no-pause --verify
expect_same "send --verify" 0
both compare imported.dat --port COM5
expect_same "compare" 0

# A device that vanishes in the middle of a transfer: the read fails at once
# instead of running into its time-out (624 bytes at 300 bit/s take 21 s).
start_devsim --baud 300
(cd "$W" && "$wine" "$cli_exe" receive gone.dat --port COM5 >"$W/out" 2>"$W/err"; echo $? >"$W/status") &
receiver=$!
sleep 4
stop_devsim
started=$SECONDS
wait "$receiver"
ended_soon_without_file() {
    [ "$(cat "$W/status")" = 5 ] && [ $((SECONDS - started)) -lt 10 ] && [ ! -e "$W/gone.dat" ]
}
check "a vanished device ends the receive with code -5 within seconds" ended_soon_without_file

# A port another program left with XON/XOFF on (and whatever else it set):
# the open sets the whole line, so a block full of 0x11 and 0x13 bytes goes
# both ways; without that the receive loses the 0x13 bytes and the next
# send hangs on a line stopped by them.
cp "$W/wire.bin" "$W/flow.bin"
for record in $(seq 0 23); do
    for byte in 1 7; do  # the high-pass frequency and the low byte of the delay
        value='\x11'
        [ $(((record + byte) % 2)) = 0 ] && value='\x13'
        printf "$value" | dd of="$W/flow.bin" bs=1 seek=$((record * 26 + byte)) conv=notrunc status=none
    done
done
(cd "$W" && "$cli_linux" decode flow.bin Filtaro.dat flow.dat >/dev/null)
leave_com_state() { "$wine" "$probe_exe" leave-com-state COM5 >/dev/null; }
start_devsim
check "windows-probe leaves XON/XOFF on COM5" leave_com_state
run windows send flow.dat --port COM5 --no-pause
check "send after XON/XOFF was left on" status_is_windows 0 || explain
leave_com_state
run windows receive flow-back.dat --base Filtaro.dat --port COM5
check "receive after XON/XOFF was left on" status_is_windows 0 || explain
check "received the 0x11 and 0x13 bytes" cmp -s "$W/flow-back.dat" "$W/flow.dat"
leave_com_state
run windows send flow.dat --port "COM5:" --no-pause --verify
check "send --verify to \"COM5:\" after XON/XOFF was left on" status_is_windows 0 || explain

# The fault modes: the same exit status and message on both sides.
for fault in silent wrong-ack short=100 stale=3; do
    start_devsim --fault "$fault"
    both send imported.dat --port COM5 --no-pause
    case "$fault" in
        stale=3 | short=100) expected=0 ;;  # a short reply concerns only receiving
        *) expected=6 ;;
    esac
    expect_same "send, device fault $fault" "$expected"
    both receive received-fault.dat --base Filtaro.dat --port COM5
    case "$fault" in
        stale=3) expected=0 ;;
        short=100) expected=5 ;;
        *) expected=6 ;;
    esac
    expect_same "receive, device fault $fault" "$expected"
done
start_devsim --fault corrupt=10
both send imported.dat --port COM5 --no-pause --verify
expect_same "send --verify, device fault corrupt=10" 12
both compare imported.dat --port COM5
expect_same "compare, device fault corrupt=10" 12
for fault in silent no-ident wrong-ident; do
    start_devsim --fault "$fault"
    both search
    expect_same "search, device fault $fault" 1
done
stop_devsim

# --- The console's code page ------------------------------------------------
# The program switches the console to UTF-8; the console outlives it and
# must have its own code page again when it ends. (script gives Wine a
# terminal, so that cmd and the programs share a console.)
code_page_after_run() {
    local folders
    folders="$("$wine" winepath -w "$(dirname "$cli_exe")" | tr -d '\r');$("$wine" winepath -w "$(dirname "$probe_exe")" | tr -d '\r')"
    (cd "$W" && WINEPATH="$folders" timeout -k 5 120 script -qec \
        "'$wine' cmd /c 'chcp 850 >nul & filtaro-cli new cp.dat >nul & windows-probe code-page'" \
        /dev/null) | sed 's/\x1b\[[0-9;?]*[a-zA-Z]//g' | tr -d '\r' | grep -E '^[0-9]+$' | tail -1
}
check "the console has code page 850 again after the program" \
    [ "$(code_page_after_run)" = 850 ]

# --- Version and long paths -------------------------------------------------
both --version
expect_same "--version" 0
long=Ein-Ordner-mit-einem-langen-Namen
while [ "${#long}" -le 280 ]; do long="$long/Ein-Ordner-mit-einem-langen-Namen"; done
mkdir -p "$W/$long"
run windows new "$long/lang.dat"
check "new in a folder more than 280 characters deep" status_is_windows 0 || explain
run windows show "$long/lang.dat"
check "show from that folder" status_is_windows 0 || explain
}

for index in "${!cli_exes[@]}"; do
    end_to_end "${cli_exes[$index]}" "run$index"
done

echo
echo "filtaro-cli.exe end to end: $passed passed, $failed failed"
[ "$suites" = 0 ] && [ "$failed" = 0 ]

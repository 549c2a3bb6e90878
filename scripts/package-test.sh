#!/usr/bin/env bash
# make package-test: the Debian packages of make package as a user gets them.
#
#   scripts/package-test.sh [PACKAGE_DIR]   (default build/package/deb)
#
# 1. Notes every path on the system (but the places where programs and users
#    keep their own files: /proc, /sys, /dev, /run, /tmp, /var/tmp, /home,
#    /root, /work, and the caches and logs of apt, dpkg's triggers and man).
# 2. Installs filtaro and filtaro-devsim with apt-get install ./....deb, which
#    also brings what they depend on, and lists what dpkg installed.
# 3. Runs the installed programs from /usr/bin: filtaro-cli --version,
#    filtaro-devsim --help, and filtaro --screenshot on Qt's offscreen
#    platform against the installed simulator; the screenshot must be
#    written and Qt's German texts found. Also: man finds the three manual
#    pages, bash loads the completion.
# 4. Purges both packages and reports every path that is there now and was
#    not before (nothing should be).
# Needs root, or sudo in SUDO. The packages must not be installed already.
set -uo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
dir=${1:-$root/build/package/deb}
case "$dir" in /*) ;; *) dir="$root/$dir" ;; esac
SUDO=${SUDO-}
apt_get() {
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get -o DPkg::Lock::Timeout=300 -y -q "$@"
}

shopt -s nullglob
main=("$dir"/filtaro_*.deb)
simulator=("$dir"/filtaro-devsim_*.deb)
if [ "${#main[@]}" != 1 ] || [ "${#simulator[@]}" != 1 ]; then
    echo "package-test.sh: expected one filtaro_*.deb and one filtaro-devsim_*.deb in $dir" \
        "(make package makes them)" >&2
    exit 2
fi
for package in filtaro filtaro-devsim; do
    if dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'installed'; then
        echo "package-test.sh: $package is installed already; the test would remove it." >&2
        exit 2
    fi
done

work=$(mktemp -d)
devsim_pid=""
cleanup() {
    [ -n "$devsim_pid" ] && kill "$devsim_pid" 2>/dev/null && wait "$devsim_pid" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
failed=0
check() {  # check WHAT COMMAND...
    local what=$1
    shift
    if "$@"; then echo "ok      $what"; else echo "FAILED  $what"; failed=1; fi
}

every_path() {
    find / -xdev \( -path /proc -o -path /sys -o -path /dev -o -path /run -o -path /tmp \
        -o -path /var/tmp -o -path /home -o -path /root -o -path /work \
        -o -path /var/cache/apt -o -path /var/lib/apt -o -path /var/log \
        -o -path /var/cache/man -o -path /var/cache/debconf \) -prune -o -print 2>/dev/null |
        sort
}

echo "Noting every path before the install ..."
every_path >"$work/before"

started=$SECONDS
echo "apt-get install ${main[0]##*/} ${simulator[0]##*/}"
apt_get install "${main[0]}" "${simulator[0]}" >"$work/install.log" 2>&1
check "apt-get install" [ $? = 0 ] || { cat "$work/install.log"; exit 1; }
# What apt-get added: the NEW block and the packages it set up.
awk '/^The following NEW/ { s = 1; print; next } s && /^  / { print; next } { s = 0 }
     /^Setting up/ { print }' "$work/install.log" | sed 's/^/  /'

echo
echo "Installed files (dpkg -L filtaro filtaro-devsim):"
dpkg -L filtaro filtaro-devsim | sort -u >"$work/installed"
while read -r path; do [ -z "$path" ] || [ -d "$path" ] || echo "  $path"; done <"$work/installed"
echo "Depends: $(dpkg-query -W -f='${Depends}' filtaro)"
echo

# --- The installed programs ---------------------------------------------------
version=$(/usr/bin/filtaro-cli --version)
check "/usr/bin/filtaro-cli --version: $version" grep -qE '^filtaro-cli [0-9]' <<<"$version"
deb_version=$(dpkg-query -W -f='${Version}' filtaro)
check "the package's version $deb_version is the program's" \
    [ "${deb_version%-*}" = "${version#filtaro-cli }" ]
/usr/bin/filtaro-devsim --help >"$work/devsim-help" 2>&1
check "/usr/bin/filtaro-devsim --help" grep -q '^Aufruf: filtaro-devsim' "$work/devsim-help"
for page in filtaro filtaro-cli filtaro-devsim; do
    check "man -w $page" [ "$(man -w "$page" 2>/dev/null)" = "/usr/share/man/man1/$page.1.gz" ]
done
check "bash loads the completion of filtaro-cli" \
    bash -c 'source /usr/share/bash-completion/completions/filtaro-cli && complete -p filtaro-cli >/dev/null'

# The window's start-up against the installed simulator as COM1, in a folder
# and home of its own, drawn on the offscreen platform.
mkdir -p "$work/ports" "$work/home" "$work/run" "$work/cwd"
chmod 700 "$work/run"
coproc DEVSIM { exec /usr/bin/filtaro-devsim --link "$work/ports/COM1" --memory "$work/memory.bin"; }
devsim_pid=$DEVSIM_PID
read -r -t 10 pty <&"${DEVSIM[0]}"
check "the simulator serves $pty" [ -n "${pty:-}" ]
(cd "$work/cwd" && HOME="$work/home" XDG_RUNTIME_DIR="$work/run" QT_QPA_PLATFORM=offscreen \
    FILTARO_PORT_DIR="$work/ports" timeout 120 /usr/bin/filtaro --screenshot "$work/shot.png" \
    >"$work/shot.out" 2>&1)
status=$?
check "/usr/bin/filtaro --screenshot ends with 0" [ "$status" = 0 ] || cat "$work/shot.out"
check "the screenshot is a PNG" [ "$(head -c 8 "$work/shot.png" 2>/dev/null | od -An -tx1 | tr -d ' ')" = 89504e470d0a1a0a ]
lacks() { ! grep -q "$1" "$2"; }
check "Qt's German texts are found" lacks 'fehlt' "$work/shot.out"
cp "$work/shot.png" "$dir/package-test-screenshot.png" 2>/dev/null &&
    echo "        (the picture: $dir/package-test-screenshot.png)"
kill "$devsim_pid" 2>/dev/null
wait "$devsim_pid" 2>/dev/null
devsim_pid=""

# --- Purge and what is left ----------------------------------------------------
echo
echo "apt-get purge filtaro filtaro-devsim"
apt_get purge filtaro filtaro-devsim >"$work/purge.log" 2>&1
check "apt-get purge" [ $? = 0 ] || cat "$work/purge.log"
check "dpkg knows neither package any more" \
    bash -c '! dpkg-query -W -f="\${Status}\n" filtaro filtaro-devsim 2>/dev/null | grep -q .'
every_path >"$work/after"
comm -13 "$work/before" "$work/after" >"$work/left"
if [ -s "$work/left" ]; then
    echo "Left behind (there now, not before the install):"
    sed 's/^/  /' "$work/left"
else
    echo "Left behind: nothing (every path there now was there before the install)."
fi
check "nothing left behind" [ ! -s "$work/left" ]
echo
echo "package-test: $((SECONDS - started)) s"
exit "$failed"

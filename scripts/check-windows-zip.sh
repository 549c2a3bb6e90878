#!/usr/bin/env bash
# make windows-zip: what the zip holds and what its filtaro-cli.exe carries.
#
#   scripts/check-windows-zip.sh [PACKAGE_DIR]   (default build/package/windows)
#
# Lists the zip's contents and checks that it holds filtaro-cli.exe, the
# guides LIESMICH.txt and README.txt (CRLF), NEWS.md and the licence texts;
# that the exe needs no DLL beyond those of Windows itself (the runtime is
# linked in), is stripped, and carries the icon, the version information of
# the build (the version filtaro-cli --version prints) and the manifest
# (UTF-8 code page, long paths, the supported Windows versions). Prints the
# exe's imported DLLs and resources as objdump -p shows them.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
dir=${1:-$root/build/package/windows}
objdump=x86_64-w64-mingw32-objdump
shopt -s nullglob
zips=("$dir"/filtaro-cli-*-win64.zip)
if [ "${#zips[@]}" != 1 ]; then
    echo "check-windows-zip.sh: expected one filtaro-cli-*-win64.zip in $dir, found ${#zips[@]}" >&2
    exit 2
fi
zip=${zips[0]}
top=$(basename "$zip" .zip)
version=${top#filtaro-cli-}
version=${version%-win64}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
unzip -q "$zip" -d "$work"
exe="$work/$top/filtaro-cli.exe"

failed=0
check() {  # check WHAT COMMAND...
    local what=$1
    shift
    if "$@"; then echo "ok      $what"; else echo "FAILED  $what"; failed=1; fi
}
crlf_only() { ! grep -q $'[^\r]$' "$1" && [ -s "$1" ]; }
no_foreign_dlls() {
    # The Windows DLLs a console program may import; the C and C++ runtime,
    # libgcc and winpthreads must be linked in.
    local dlls
    dlls=$("$objdump" -p "$exe" | sed -n 's/^\tDLL Name: //p' | tr 'A-Z' 'a-z' |
        grep -vxE 'kernel32\.dll|msvcrt\.dll|advapi32\.dll|shell32\.dll|user32\.dll|api-ms-win-.*\.dll|ucrtbase\.dll' || true)
    [ -z "$dlls" ] || { echo "        needs: $dlls"; return 1; }
}
stripped() { ! "$objdump" -h "$exe" | grep -qE '\.debug_|\.stab'; }
# A resource type in the type table (the first level of .rsrc): 3 ICON,
# 14 GROUP_ICON, 16 VERSION, 24 MANIFEST.
has_resource() { "$objdump" -p "$exe" | grep -qE "^[0-9a-f]+   Entry: ID: $(printf '0x%06x' "$1"),"; }
manifest_says() { strings -a "$exe" | grep -qF -- "$1"; }
# The exe's UTF-16 strings (the version information), one a line.
# (iconv -c reports the bytes it skipped with status 1.)
wide_strings() { { iconv -c -f UTF-16LE -t UTF-8 "$exe" 2>/dev/null || true; } | tr -s '\0' '\n'; }
version_says() { wide_strings | grep -axF -- "$1" >/dev/null; }

echo "$zip ($(du -k "$zip" | cut -f1) KiB):"
unzip -l "$zip"
echo
check "filtaro-cli.exe, LIESMICH.txt, README.txt, NEWS.md in $top/" \
    test -f "$exe" -a -f "$work/$top/LIESMICH.txt" -a -f "$work/$top/README.txt" \
    -a -f "$work/$top/NEWS.md"
check "the guides have CRLF line ends" crlf_only "$work/$top/LIESMICH.txt"
check "README.txt has CRLF line ends" crlf_only "$work/$top/README.txt"
for licence in LICENSES.txt mingw-w64-runtime-and-winpthreads.txt gcc-runtime-libstdc++-libgcc.txt \
    GPL-3.txt nlohmann-json.txt; do
    check "licenses/$licence" test -s "$work/$top/licenses/$licence"
done
check "the GCC Runtime Library Exception is among the licences" \
    grep -q "GCC RUNTIME LIBRARY EXCEPTION" "$work/$top/licenses/gcc-runtime-libstdc++-libgcc.txt"
check "no DLL beyond Windows' own" no_foreign_dlls
check "stripped" stripped
check "an icon (ICON, GROUP_ICON)" has_resource 3 && has_resource 14
check "version information (VERSION)" has_resource 16
check "a manifest (MANIFEST)" has_resource 24
check "version information: ProductVersion $version" version_says "$version"
check "version information: CompanyName Filtaro" version_says "Filtaro"
check "version information: the description with its umlaut" \
    version_says "Filtaro-Befehlszeile: Parameterdateien und Gerät ohne Fenster"
check "manifest: longPathAware" manifest_says "<longPathAware"
check "manifest: activeCodePage UTF-8" manifest_says ">UTF-8</activeCodePage>"
check "manifest: Windows 10 and 11" manifest_says "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"

echo
echo "objdump -p filtaro-cli.exe: the header, the imported DLLs and the resources"
echo "(types 0x3 ICON, 0xe GROUP_ICON, 0x10 VERSION, 0x18 MANIFEST):"
"$objdump" -p "$exe" | awk '
    /^(Magic|Subsystem|MajorSubsystemVersion|DllCharacteristics)/ { print }
    /^\tDLL Name:/ { print }
    /^The .rsrc Resource Directory section/ { s = 1 }
    s { print }
    /^ Resources start/ { s = 0 }' | sed 's/^/  /'
echo
echo "Version information (the strings of the VERSION resource):"
# (Each key follows the binary words of its entry; its value is the next line.)
wide_strings | awk 'key { printf "  %-17s %s\n", key, $0; key = "" }
    match($0, /(CompanyName|FileDescription|FileVersion|InternalName|LegalCopyright|OriginalFilename|ProductName|ProductVersion)$/) {
        key = substr($0, RSTART) }'
echo
echo "The manifest:"
LC_ALL=C sed -n '/<?xml version/,/<\/assembly>/{s/^.*<?xml/<?xml/;s/\(<\/assembly>\).*/\1/;p}' "$exe" |
    tr -d '\0' | sed 's/^/  /'
exit "$failed"

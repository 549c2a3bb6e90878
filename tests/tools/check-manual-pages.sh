#!/usr/bin/env bash
# The manual pages and the bash completion say what the programs say.
#
#   check-manual-pages.sh GENERATED_DIR VERSION PROGRAM...
#
# For every PROGRAM (filtaro-cli, filtaro-devsim, filtaro):
#   - --version begins with "NAME VERSION" (VERSION: the project's);
#   - groff renders GENERATED_DIR/man/NAME.1 without a warning, and the page
#     shows every piece of text of --help: the synopsis, the description,
#     and each entry of every section (each command's usage and summary,
#     each option, each exit status) with its text.
# For filtaro-cli, bash runs GENERATED_DIR/bash-completion/filtaro-cli:
#   - the first word offers exactly the commands --help lists, --help and
#     --version;
#   - after each command, "--" offers exactly the options that command's
#     usage names, and the command takes each of them (no "Unbekannte Option");
#   - an option whose usage lists its values ("--view a|b|c") offers them.
set -uo pipefail

generated=$1
version=$2
shift 2
failed=0
fail() {
    echo "FAILED: $*"
    failed=1
}

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
mkdir "$scratch/ports"  # no serial port exists for the commands run below
export FILTARO_PORT_DIR="$scratch/ports"

# The page as text: one line per paragraph, no hyphenation, no bold.
render() {
    groff -k -man -Tutf8 -P-c -rLL=3000n -rHY=0 -dAD=l "$1" | sed -e 's/.\x08//g' -e 's/  */ /g'
}
# Every piece of text of a --help: the synopsis, and each run of words of
# every indented line (a term and its text are two); headings are left out.
help_pieces() {
    sed -n -e 's/^Aufruf: //p' -e 's/^ \+//p' | sed 's/   */\n/g'
}

for program in "$@"; do
    name=$(basename "$program")
    help=$("$program" --help) || fail "$name --help"
    first=$("$program" --version | head -1)
    case "$first" in
    "$name $version" | "$name $version"[~+]*) ;;
    *) fail "$name --version says \"$first\", not $name $version" ;;
    esac

    page="$generated/man/$name.1"
    [ -f "$page.gz" ] || fail "$page.gz is missing"
    warnings=$(groff -k -man -Tutf8 -ww -z "$page" 2>&1)
    [ -z "$warnings" ] || fail "groff warns about $page: $warnings"
    text=$(render "$page")
    while IFS= read -r piece; do
        [ -n "$piece" ] && ! grep -qF -- "$piece" <<<"$text" && fail "$name.1 lacks: $piece"
    done < <(help_pieces <<<"$help")
done

# --- The bash completion of filtaro-cli --------------------------------------
cli=$1
completion="$generated/bash-completion/filtaro-cli"
offers() {  # offers WORD...: what the completion offers for the last word
    bash -c 'source "$1"; shift; COMP_WORDS=("$@"); COMP_CWORD=$(($# - 1));
             _filtaro_cli; printf "%s\n" "${COMPREPLY[@]}"' _ "$completion" "$@" |
        sed '/^$/d' | sort
}
same() {  # same WHAT EXPECTED ACTUAL
    [ "$2" = "$3" ] || fail "$1: expected [$(echo $2)], completion offers [$(echo $3)]"
}

help=$("$cli" --help)
commands=$(awk '/^Befehle:/ { s = 1; next } /^$/ { s = 0 } s && /^  [^ ]/ { print $1 }' <<<"$help")
same "the first word" "$(printf '%s\n' $commands --help --version | sort)" "$(offers filtaro-cli '')"

for command in $commands; do
    usage=$("$cli" "$command" --help | head -1)
    expected=$( (grep -oE -- '--[a-z][a-z-]*' <<<"$usage"; echo --help) | sort -u)
    offered=$(offers filtaro-cli "$command" --)
    same "the options of $command" "$expected" "$offered"
    for option in $offered; do
        (cd "$scratch" && "$cli" "$command" "$option" 2>&1 >/dev/null) |
            grep -q "Unbekannte Option" && fail "$command does not take $option"
    done
    # An option whose usage lists its values ("--view a|b|c") offers them.
    while read -r option values; do
        [[ $values =~ ^[a-z0-9/]+(\|[a-z0-9/]+)+$ ]] || continue
        same "the values of $command $option" "$(tr '|' '\n' <<<"$values" | sort)" \
            "$(offers filtaro-cli "$command" "$option" '')"
    done < <(grep -oE -- '--[a-z-]+ [^] []+' <<<"$usage")
done

[ "$failed" = 0 ] && echo "manual pages and completion agree with --help"
exit "$failed"

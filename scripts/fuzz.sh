#!/usr/bin/env bash
# Runs the libFuzzer harnesses of a fuzz build (make fuzz), one after the
# other, each for a set time.
#
#   scripts/fuzz.sh BUILD SECONDS [NAME...]     (no NAME: every harness)
#
# Each harness starts from its corpus in fuzz/corpus/NAME (read only) and
# keeps what it finds new in BUILD/corpus/NAME. An input that makes a check
# fail or a sanitizer report is written to BUILD/artifacts/NAME/; once the
# fault is mended, copy it into fuzz/corpus/NAME so that make test replays it
# for good. The last lines of each run give the executions per second.
set -uo pipefail

build=${1:?build directory}
seconds=${2:-60}
shift 2 || shift $#
root=$(cd "$(dirname "$0")/.." && pwd)
case "$build" in /*) ;; *) build="$root/$build" ;; esac

names=("$@")
if [ ${#names[@]} -eq 0 ]; then
    for program in "$build"/fuzz/fuzz_*; do
        [ -x "$program" ] && names+=("${program##*/fuzz_}")
    done
fi
if [ ${#names[@]} -eq 0 ]; then
    echo "fuzz.sh: no harness in $build/fuzz; build the fuzz preset first." >&2
    exit 1
fi

failed=()
for name in "${names[@]}"; do
    program="$build/fuzz/fuzz_$name"
    if [ ! -x "$program" ]; then
        echo "fuzz.sh: no harness $name" >&2
        failed+=("$name")
        continue
    fi
    mkdir -p "$build/corpus/$name" "$build/artifacts/$name"
    log="$build/artifacts/$name.log"
    echo "== $name: $seconds s"
    "$program" "$build/corpus/$name" "$root/fuzz/corpus/$name" \
        -max_total_time="$seconds" -print_final_stats=1 -timeout=10 -rss_limit_mb=2048 \
        -artifact_prefix="$build/artifacts/$name/" >"$log" 2>&1
    status=$?
    grep -E '^stat::(number_of_executed_units|average_exec_per_sec|new_units_added|peak_rss_mb)' "$log"
    if [ $status -ne 0 ]; then
        echo "== $name FOUND A FAULT (status $status); see $log and $build/artifacts/$name/"
        failed+=("$name")
    fi
done

if [ ${#failed[@]} -ne 0 ]; then
    echo "fuzz.sh: faults or errors in: ${failed[*]}" >&2
    exit 1
fi

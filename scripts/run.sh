#!/usr/bin/env bash
# Starts filtaro-cli's help until the program window exists.
set -euo pipefail
build=${1:-build/release}
"$build/src/filtaro-cli" --help

#!/usr/bin/env bash
# Builds the program and starts it against the built-in simulated panel.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup-deps.sh
cmake --preset default >/dev/null
cmake --build --preset default
exec build/default/bin/cfgvimo --demo "$@"

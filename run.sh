#!/usr/bin/env bash
# Builds Stelo and starts it on the given scene file (or an example scene).
set -euo pipefail
cd "$(dirname "$0")"
./scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$(nproc)"
scene="${1:-examples/solar-system.slo}"
export XDG_RUNTIME_DIR="${XDG_RUNTIME_DIR:-/tmp/stelo-runtime-$(id -u)}"
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
if [ -x build/shell/stelo ]; then
  exec build/shell/stelo "$scene"
fi
# Until the windows exist: the headless runner prints the scene's first time unit.
exec build/tools/stelo-batch/stelo-batch "$scene" --until 1 --every 0.1 --energy

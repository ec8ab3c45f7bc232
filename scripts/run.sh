#!/usr/bin/env bash
# The main job. The reference host and the sample job arrive with the host issue;
# until then this installs what is missing, builds, and runs the benchmarks.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
build=${BUILD_DIR:-build}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j"$(nproc)"
"$build/bin/ox_bench"

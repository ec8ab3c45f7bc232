#!/usr/bin/env bash
# The main job. The reference host and the sample job arrive with the host issue;
# until then this installs what is missing, builds, and runs the benchmarks.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build.sh
"${BUILD_DIR:-build}/bin/ox_bench"

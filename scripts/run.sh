#!/usr/bin/env bash
# The main job, as far as it goes today: installs what is missing, builds, runs the
# report form as the stand-alone program (headless, it opens and is cancelled), then the
# benchmarks of the plug-in as a host drives it, of the selection panel and utilities,
# and of the application server under load. The reference host with the embedded
# server and the sample job come with the job submission work.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build.sh
bin="${BUILD_DIR:-build}/bin"
"$bin/MVAR52C"
"$bin/plugin_bench"
"$bin/ox_bench"
"$bin/appserver_bench"

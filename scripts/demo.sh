#!/usr/bin/env bash
# The demo: builds the viewer, the engine core, the base and example plug-ins and the sample
# project (preset "release", into build/release), then runs the sample in the viewer for four
# seconds at 60 passes per second and prints its statistics.
#
# Usage: scripts/demo.sh [extra viewer options]
set -euo pipefail

ROOT="$(cd "$(dirname "$0")/.." && pwd)"
cd "$ROOT"

cmake --preset release >/dev/null
cmake --build --preset release -j2 --target LumenViewer sample_project install_layout

# A registry file of the demo's own, so that the run leaves the user's settings alone.
export VEXILON_REGISTRY="${VEXILON_REGISTRY:-$ROOT/build/release/demo-registry.reg}"

# The viewer's installation folder is the folder it sits in: bin holds the engine, channels/
# and 3rd/, and the sample project in sample/.
cd build/release/bin
exec ./LumenViewer --fps 60 --frames 240 --stats "$@" sample/Sample.lmr

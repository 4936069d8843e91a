#!/usr/bin/env bash
# Builds partlib and shows its main job on the embedded SQLite default:
# creates a part-library database in demo.db and shows what it holds.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j2

# The demo starts from a new file each time.
rm -f demo.db
build/partlib init demo.db --yes
build/partlib info demo.db

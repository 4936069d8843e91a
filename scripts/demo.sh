#!/usr/bin/env bash
# Builds partlib and shows its main job on the embedded SQLite default:
# creates a part-library database in demo.db, fills it with a sample library
# and reads it back: folders, parts, one part in full, the report.
set -euo pipefail
cd "$(dirname "$0")/.."

# Only what the demo runs: the plug-in, partlib and the sample library
# generator (scripts/test.sh adds the tests and benchmarks to build/).
# Optimised but without debug information, which takes the compiler twice
# as long (scripts/test.sh builds build/ again with -O2 -g).
bash scripts/install-deps.sh --demo
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo "-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O1 -DNDEBUG" \
    -DTXDB_TESTS=OFF -DTXDB_BENCH=OFF
cmake --build build -j2 --target partlib txdb-samplelib

# The demo starts from a new file each time.
rm -f demo.db
build/partlib init demo.db --yes
build/partlib info demo.db

# A sample library to read back.
build/txdb-samplelib demo.db
build/partlib libraries demo.db
build/partlib tree demo.db Demo
build/partlib parts demo.db Demo --folder Passives/Resistors --where "Version = 1"
build/partlib show demo.db Demo Demo-U7-74HC00-SO14
build/partlib report demo.db Demo --sorted | sed -n '1,15p'
build/partlib export demo.db Demo -o demo.json
echo "demo.json: $(wc -c < demo.json) bytes of the library file format (docs/library-format.md)"

# The library copied into a second database, and the two exports compared.
rm -f demo-copy.db
build/partlib copy demo.db demo-copy.db --yes
build/partlib export demo-copy.db Demo -o demo-copy.json
cmp demo.json demo-copy.json && echo "demo-copy.db holds the same library: the exports are identical"

# The library file imported into a fresh database, and exported again.
rm -f demo-import.db
build/partlib import demo-import.db demo.json --yes
build/partlib export demo-import.db Demo -o demo-import.json
cmp demo.json demo-import.json && echo "demo-import.db holds the same library: the file came back byte for byte"

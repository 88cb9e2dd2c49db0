#!/usr/bin/env bash
# Installs what is missing and builds the release server folder build/server/.
set -euo pipefail
cd "$(dirname "$0")"
./deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DKESTRO_TESTS=OFF >/dev/null
cmake --build build --target kestro-server-folder

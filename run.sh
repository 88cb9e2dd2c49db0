#!/usr/bin/env bash
# Builds the server and starts it in build/server/ (arguments pass through).
set -euo pipefail
cd "$(dirname "$0")"
./build.sh
cd build/server
exec ./kestro-server "$@"

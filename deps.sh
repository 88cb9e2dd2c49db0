#!/usr/bin/env bash
# Installs the Debian packages the build needs; quiet and quick when all are present.
set -euo pipefail
PACKAGES=(
  build-essential cmake ninja-build pkg-config clang tar python3
  libmozjs-102-dev liblua5.3-dev libenet-dev libboost1.81-dev
  libcurl4-openssl-dev libssl-dev zlib1g-dev libtinyxml2-dev libcrypt-dev
  libgtest-dev libgmock-dev libbenchmark-dev curl
)
missing=()
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
echo "Installing: ${missing[*]}"
SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq "${missing[@]}" >/dev/null

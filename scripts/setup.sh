#!/usr/bin/env bash
# Installs everything Tenebra needs on a fresh Debian 12 machine (run as root),
# then configures and builds the project. Safe to run again: it only installs
# what is missing.
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(
  build-essential cmake pkg-config
  libobjc-12-dev libffi-dev libplist-dev libssl-dev libpng-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  python3
  nodejs npm chromium
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
# nodejs may come from another repository under a name dpkg does not list as "npm".
if command -v npm >/dev/null 2>&1; then
  missing=("${missing[@]/npm/}")
fi
if [ "${#missing[@]}" -gt 0 ] && [ -n "$(printf '%s' "${missing[@]}")" ]; then
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  # shellcheck disable=SC2068
  apt-get install -y -qq --no-install-recommends ${missing[@]} >/dev/null
fi

if [ -f package.json ]; then
  if [ -f package-lock.json ]; then npm ci --no-audit --no-fund --loglevel=error; else npm install --no-audit --no-fund --loglevel=error; fi
fi

build_type="${TENEBRA_BUILD_TYPE:-RelWithDebInfo}"
cmake -S . -B build -DCMAKE_BUILD_TYPE="$build_type" >/dev/null
cmake --build build -j"$(nproc)"

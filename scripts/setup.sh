#!/usr/bin/env bash
# Installs everything Tenebra needs on a fresh Debian 12 machine (run as root),
# then configures and builds the project. Safe to run again: it only installs
# what is missing.
#   scripts/setup.sh                 the native build in build/
#   scripts/setup.sh --arch ARCH     a cross build for arm64 or armhf in
#                                    build-ARCH/, run under qemu-user
#   scripts/setup.sh --fuzz          the libFuzzer build (clang-14) in build-fuzz/
#   scripts/setup.sh --packages      only the packages of the native build
set -euo pipefail
cd "$(dirname "$0")/.."

# apt_update: a mirror caught mid-sync serves an index of the wrong size
# ("File has unexpected size ... Mirror sync in progress?"), which mends itself
# within minutes, so the update is tried again. If it still fails, apt keeps
# the lists it had and the install that follows decides whether they do.
apt_update() {
  local attempt
  for attempt in 1 2 3; do
    apt-get update -qq && return 0
    [ "$attempt" -eq 3 ] || sleep $((attempt * 20))
  done
  echo "warning: apt-get update failed 3 times; going on with the package lists there are" >&2
}

# install_missing PACKAGE...: apt-get installs those that dpkg does not list,
# fetching each package up to three times.
install_missing() {
  local missing=() p
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  if [ "${#missing[@]}" -gt 0 ]; then
    export DEBIAN_FRONTEND=noninteractive
    apt_update
    apt-get install -y -qq -o Acquire::Retries=3 --no-install-recommends "${missing[@]}" >/dev/null
  fi
}

case "${1:-}" in
  --arch)
    arch="${2:?usage: scripts/setup.sh --arch arm64|armhf}"
    case "$arch" in
      arm64) triple=aarch64-linux-gnu ;;
      armhf) triple=arm-linux-gnueabihf ;;
      *) echo "error: unknown architecture $arch (arm64 or armhf)" >&2; exit 2 ;;
    esac
    # The cross compiler searches only its own libobjc, never the multi-arch
    # package; the other libraries come from the multi-arch archive.
    if ! dpkg --print-foreign-architectures | grep -qx "$arch"; then
      dpkg --add-architecture "$arch"
      apt_update
    fi
    install_missing build-essential cmake pkg-config qemu-user \
      "g++-$triple" "libobjc-12-dev-$arch-cross" \
      "libffi-dev:$arch" "libplist-dev:$arch" "libssl-dev:$arch" "libpng-dev:$arch" \
      "libgtest-dev:$arch" "libgmock-dev:$arch"
    cmake -S . -B "build-$arch" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
      -DCMAKE_TOOLCHAIN_FILE="cmake/toolchains/$arch.cmake" >/dev/null
    # TENEBRA_TARGETS="a b" builds only those targets; TENEBRA_LABELS (a
    # CTest label expression) only the test binaries carrying those labels.
    targets="${TENEBRA_TARGETS:-}"
    if [ -z "$targets" ] && [ -n "${TENEBRA_LABELS:-}" ]; then
      targets=$(awk -v labels="$TENEBRA_LABELS" '$1 ~ labels { printf "%s ", $2 }' \
        "build-$arch/test_binaries.txt")
    fi
    # shellcheck disable=SC2086
    cmake --build "build-$arch" -j"$(nproc)" ${targets:+--target $targets}
    exit 0
    ;;
  --fuzz)
    install_missing build-essential cmake pkg-config clang-14 libclang-rt-14-dev \
      libobjc-12-dev libffi-dev libplist-dev libssl-dev libpng-dev libgtest-dev libgmock-dev
    CC=clang-14 CXX=clang++-14 cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo \
      -DTENEBRA_FUZZ=ON >/dev/null
    cmake --build build-fuzz -j"$(nproc)" --target fuzz_targets
    exit 0
    ;;
  "" | --packages) ;;
  *) echo "error: unknown option $1" >&2; exit 2 ;;
esac

install_missing build-essential cmake pkg-config \
  libobjc-12-dev libffi-dev libplist-dev libssl-dev libpng-dev \
  libgtest-dev libgmock-dev libbenchmark-dev \
  python3 chromium nodejs
# npm may come from another repository under a name dpkg does not list.
command -v npm >/dev/null 2>&1 || install_missing npm

# npm ci starts from an empty node_modules/ each time; the lock npm keeps
# inside it tells whether the last install already followed package-lock.json.
if [ -f package-lock.json ]; then
  [ node_modules/.package-lock.json -nt package-lock.json ] ||
    npm ci --no-audit --no-fund --loglevel=error
elif [ -f package.json ]; then
  npm install --no-audit --no-fund --loglevel=error
fi

[ "${1:-}" != --packages ] || exit 0

build_type="${TENEBRA_BUILD_TYPE:-RelWithDebInfo}"
cmake -S . -B build -DCMAKE_BUILD_TYPE="$build_type" >/dev/null
cmake --build build -j"$(nproc)"

#!/usr/bin/env bash
# The main job: the app model's screens drawn before and after the theme,
# with the rules that fired, the colours that changed and the contrast
# audit, in one index page; then the settings pane, in the Settings app
# model's own process, switches the theme off while the app runs, and the
# app's next background passes unchanged.
#
# On a fresh Debian 12 machine (as root) it first installs what is missing
# and builds only what this needs (the tenebra program, the library and the
# pane), saying so as it goes; when nothing is missing it asks no package
# registry and goes straight to the build, which is then up to date.
set -euo pipefail
cd "$(dirname "$0")/.."

step() { printf '== %s\n' "$*"; }

packages=(build-essential cmake pkg-config libobjc-12-dev libffi-dev libplist-dev libssl-dev
          libpng-dev libgtest-dev libgmock-dev chromium nodejs)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
command -v npm >/dev/null 2>&1 || missing+=(npm)
if [ "${#missing[@]}" -gt 0 ]; then
  step "Installing ${missing[*]} (apt-get; a few minutes on a fresh machine)"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
# npm ci removes and fetches node_modules every time, so only when the
# installed tree does not satisfy the package (npm ls reads only local files).
if ! npm ls --depth=0 >/dev/null 2>&1; then
  step "Installing the browser driver (npm ci)"
  npm ci --no-audit --no-fund --loglevel=error
fi

if [ ! -f build/CMakeCache.txt ]; then
  step "Configuring the build in build/"
  launcher=()
  if command -v ccache >/dev/null 2>&1; then
    launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
  fi
  cmake -S . -B build -DCMAKE_BUILD_TYPE="${TENEBRA_BUILD_TYPE:-RelWithDebInfo}" "${launcher[@]}" \
    >/dev/null
fi
step "Building the tenebra program, the library and the pane"
cmake --build build -j"$(nproc)" --target tenebra device_root | { grep -v -e '^-- ' || true; }

tenebra=build/tools/tenebra
out=build/preview
step "Drawing the app's screens with the theme off and on (build/preview)"
"$tenebra" preview --out "$out"

root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
cmake --install build --prefix "$root" > /dev/null
mkdir -p "$root/var/mobile/Library/Preferences"

echo
step "The settings pane turns the theme off while the app runs"
"$tenebra" settings --root "$root"
{
  echo 'v = [UIView new]'
  echo '[v setBackgroundColor:[UIColor whiteColor]]'
  echo '[v backgroundColor]'
  sleep 1
  "$tenebra" settings --root "$root" set enabled off >&2
  sleep 1
  echo '[v setBackgroundColor:[UIColor whiteColor]]'
  echo '[v backgroundColor]'
} | "$tenebra" console --root "$root"

echo
step "Where to look"
echo "  $out/index.html: every screen before and after, the rules that fired,"
echo "  the colours that changed and the contrast of every text"
echo "  $tenebra console: [[[UIApplication sharedApplication] keyWindow] rootViewController]"
echo "  walks the tree the preview drew; [[UIApplication sharedApplication] delegate]"
echo "  shows the other screens (showCompose, showSidePanel, ...)"

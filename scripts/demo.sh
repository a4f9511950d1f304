#!/usr/bin/env bash
# The main job: the host app model with Tenebra installed, driven through the
# console. A white view turns black; then the settings pane, driven in the
# Settings app model's own process, switches the theme off (it writes the
# settings file and posts the change notification), and the running app lets
# the next background pass unchanged.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh > /dev/null

root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
cmake --install build --prefix "$root" > /dev/null
mkdir -p "$root/var/mobile/Library/Preferences"
tenebra=build/tools/tenebra

echo "== The app sets opaque white on a view; the theme makes it black"
"$tenebra" console --root "$root" \
  -e 'v = [UIView new]' \
  -e '[v setBackgroundColor:[UIColor colorWithRed:1 green:1 blue:1 alpha:1]]' \
  -e '[v backgroundColor]'

echo "== The settings pane turns the theme off while the app runs"
"$tenebra" settings --root "$root"
{
  echo 'v = [UIView new]'
  echo '[v setBackgroundColor:[UIColor whiteColor]]'
  echo '[v backgroundColor]'
  sleep 1
  "$tenebra" settings --root "$root" set enabled off >&2
  sleep 1
  echo '[UIColor km_hexStringFromColor:[UIColor whiteColor]]'
  echo '[v setBackgroundColor:[UIColor whiteColor]]'
  echo '[v backgroundColor]'
} | "$tenebra" console --root "$root"

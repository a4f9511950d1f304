#!/usr/bin/env bash
# Sets up and builds the project, then runs every test.
#   scripts/test.sh --sanitize        the suite again under AddressSanitizer
#                                     and UndefinedBehaviorSanitizer
#   scripts/test.sh --asan            only that second run (build-asan/)
#   scripts/test.sh --arch ARCH       the suite built for arm64 or armhf and run
#                                     under qemu-user, without the tests that
#                                     start processes (label "process") or a
#                                     browser; TENEBRA_LABELS="core|toolkit"
#                                     narrows it to those areas, and builds
#                                     only their test binaries
#   scripts/test.sh --fuzz [SECONDS]  every fuzz target for SECONDS (60) each
#   scripts/test.sh --tsan            the cross-process tests (notify
#                                     center, settings stress, start-up)
#                                     under ThreadSanitizer
# TENEBRA_BUILD_TYPE picks the native build's type (RelWithDebInfo).
set -euo pipefail
cd "$(dirname "$0")/.."

case "${1:-}" in
  --arch)
    arch="${2:?usage: scripts/test.sh --arch arm64|armhf}"
    scripts/setup.sh --arch "$arch"
    labels=()
    [ -z "${TENEBRA_LABELS:-}" ] || labels=(-L "$TENEBRA_LABELS")
    # Emulation is slow: a test gets a minute, not the native five.
    ctest --test-dir "build-$arch" --output-on-failure -j"$(nproc)" --timeout 60 \
      -LE 'process|browser' "${labels[@]}"
    ;;
  --fuzz)
    seconds="${2:-60}"
    scripts/setup.sh --fuzz
    scripts/fuzz.sh "$seconds"
    ;;
  --tsan)
    scripts/setup.sh --packages
    cmake -S . -B build-tsan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTENEBRA_TSAN=ON >/dev/null
    cmake --build build-tsan -j"$(nproc)" --target notify_tests notify_poster startup_tests Tenebra \
      stress_tests settings_writer
    # Every notify and stress case, and the start-up cases (the core area's
    # cross-process ones); the other areas' binaries are not built here.
    TENEBRA_STRESS_CHANGES=1000 ctest --test-dir build-tsan --output-on-failure -j"$(nproc)" \
      -L 'notify|stress|core-process'
    ;;
  --sanitize | --asan | "")
    if [ "${1:-}" = --asan ]; then
      scripts/setup.sh --packages
    else
      scripts/setup.sh
      ctest --test-dir build --output-on-failure -j"$(nproc)"
    fi
    if [ -n "${1:-}" ]; then
      cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DTENEBRA_SANITIZE=ON >/dev/null
      cmake --build build-asan -j"$(nproc)"
      TENEBRA_STRESS_CHANGES=1000 ctest --test-dir build-asan --output-on-failure -j"$(nproc)" -LE browser
    fi
    ;;
  *) echo "error: unknown option $1" >&2; exit 2 ;;
esac

#!/usr/bin/env bash
# Configures and builds into build/ (programs in build/bin).
set -euo pipefail
cd "$(dirname "$0")/.."
# CI (CI=true) fails on any compiler warning.
werror=OFF
if [ "${CI:-}" = true ]; then werror=ON; fi
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPICAROON_WARNINGS_AS_ERRORS=$werror "$@"
cmake --build build -j"$(nproc)"

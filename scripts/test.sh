#!/usr/bin/env bash
# Installs what is needed, builds, and runs every test: the full suite in a
# normal build, then the input-hardening tests again under ASan and UBSan.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh build
(cd build && ctest --output-on-failure -j"$(nproc)")
bash scripts/build.sh build-asan -DVORNEL_SANITIZE=ON -DVORNEL_BENCH=OFF
(cd build-asan && ctest --output-on-failure -j"$(nproc)" -L sanitize --no-tests=ignore)

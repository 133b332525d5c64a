#!/usr/bin/env bash
# Installs what is missing, builds, and shows the bundled sample invoice.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j"$(nproc)"
exec build/bin/invorator-cli show data/samples/Rechnung-2026-0815.xml

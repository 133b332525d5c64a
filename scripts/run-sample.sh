#!/usr/bin/env bash
# Installs what is missing, builds, and opens the bundled sample invoice in the window;
# without a display it prints the invoice with invorator-cli instead.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j"$(nproc)"
sample=data/samples/Rechnung-2026-0815.xml
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
    exec build/bin/invorator "$sample"
fi
echo "No display (DISPLAY and WAYLAND_DISPLAY are not set), so the window cannot open;" >&2
echo "showing the sample invoice with invorator-cli instead." >&2
exec build/bin/invorator-cli show "$sample"

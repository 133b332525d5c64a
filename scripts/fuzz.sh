#!/usr/bin/env bash
# Builds the libFuzzer harnesses with clang (address and undefined-behaviour sanitizers)
# and runs each for the given number of seconds (default 60), seeded from the invoice
# corpus kept in tests/data/corpus. The corpus they grow stays in build-fuzz/; crashes land in
# build-fuzz/crashes/ and make the script fail.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
bash scripts/deps.sh
CC=clang CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DENABLE_FUZZING=ON >/dev/null
cmake --build build-fuzz -j"$(nproc)"
corpus=tests/data/corpus
work=build-fuzz/corpus
mkdir -p build-fuzz/crashes
seed() { # harness, files...
    local dir=$work/$1
    shift
    mkdir -p "$dir"
    for f in "$@"; do cp -n "$f" "$dir/"; done
}
seed fuzz_import "$corpus"/cii/*.xml "$corpus"/ubl/*.xml "$corpus"/ubl-creditnote/* "$corpus"/peppol/* data/samples/*.xml
seed fuzz_pdf "$corpus"/pdf/*.pdf
mkdir -p "$work/fuzz_attachments" "$work/fuzz_conversions"
printf 'Rechnung.pdf\0JVBERi0=\0https://example.org/a' >"$work/fuzz_attachments/seed"
printf '1234.5\n#,##0.00' >"$work/fuzz_conversions/seed1"
printf -- '-0.005\n0.00 ' >"$work/fuzz_conversions/seed2"
printf '20240131' >"$work/fuzz_conversions/seed3"
status=0
for harness in fuzz_import fuzz_pdf fuzz_attachments fuzz_conversions; do
    echo "== $harness for ${seconds}s =="
    QT_LOGGING_RULES='*=false' ./build-fuzz/bin/$harness "$work/$harness" -max_total_time="$seconds" \
        -max_len=1048576 -rss_limit_mb=2048 -timeout=20 -print_final_stats=1 \
        -artifact_prefix=build-fuzz/crashes/"$harness"- 2>build-fuzz/"$harness".log || status=1
    grep -E "^(stat::number_of_executed_units|stat::peak_rss_mb)|^(==[0-9]+==)?ERROR|Done " build-fuzz/"$harness".log || true
done
exit $status

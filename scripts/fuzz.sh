#!/usr/bin/env bash
# Builds the fuzz targets with clang-14 (libFuzzer, ASan, UBSan) and runs each for
# FUZZ_SECONDS seconds (default 20) from its seed corpus in fuzz/corpus/. A crash, leak or
# time-out fails the run; inputs that crashed are left as crash-* files in build-fuzz/.
# Longer runs: FUZZ_SECONDS=600 scripts/fuzz.sh, or one target: scripts/fuzz.sh fuzz_regex
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/packages.sh
if [ ! -f build-fuzz/build.ninja ]; then
    cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DCMAKE_CXX_COMPILER=clang++-14 -DSHARESEEK_FUZZ=ON -DSHARESEEK_GUI=OFF \
        -DSHARESEEK_TESTS=OFF -DSHARESEEK_BENCH=OFF
fi
cmake --build build-fuzz -j "$(nproc)"

seconds=${FUZZ_SECONDS:-20}
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(fuzz_text_ops fuzz_codepage fuzz_markers fuzz_regex fuzz_address
                                     fuzz_cookies fuzz_response_headers fuzz_page_extraction
                                     fuzz_todays_layout)
failed=0
summary=()
for target in "${targets[@]}"; do
    work=$(mktemp -d)
    log=build-fuzz/$target.log
    if (cd build-fuzz && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=halt_on_error=1 \
        "fuzz/$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
        -max_len=65536 -print_final_stats=1 "$work" "../fuzz/corpus/$target") >"$log" 2>&1; then
        result=passed
    else
        result=FAILED
        failed=$((failed + 1))
        tail -40 "$log"
    fi
    runs=$(grep -oE 'stat::number_of_executed_units: *[0-9]+' "$log" | grep -oE '[0-9]+$' || echo 0)
    summary+=("$target: $runs executions, $result")
    rm -rf "$work"
done
printf '%s\n' "${summary[@]}"
echo "fuzz: $(( ${#targets[@]} - failed )) passed, $failed failed"
[ "$failed" -eq 0 ]

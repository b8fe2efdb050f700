#!/usr/bin/env bash
# Fuzzes the number readers and the whole generation run with libFuzzer for a
# bounded time, each target in turn.
#
#   bash tools/fuzz.sh [SECONDS-PER-TARGET] [TARGET...]
#
# Targets: read_real read_whole_number read_cell_number generation_run (all by
# default); 60 seconds each by default. The build goes to build-fuzz (or
# $FUZZ_BUILD_DIR), the growing corpus to <build>/corpus/<target>, seeded from
# tests/fuzz/inputs/<target>, and whatever crashes, hangs (a run over one
# second, five for a whole run under the instrumentation) or leaks to <build>/findings/<target>/. A finding worth keeping goes
# into tests/fuzz/inputs/<target>/ and becomes a test case of its own.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-60}
shift || true
targets=("$@")
((${#targets[@]})) || targets=(read_real read_whole_number read_cell_number generation_run)
build=${FUZZ_BUILD_DIR:-build-fuzz}

bash tools/install_dependencies.sh
cmake -S . -B "$build" -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DBEUGUNGSBILDER_FUZZ=ON -DBEUGUNGSBILDER_BENCH=OFF
cmake --build "$build" -j2 --target "${targets[@]/#/fuzz_}"

export QT_QPA_PLATFORM=offscreen
export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$(mktemp -d)}
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
status=0
for target in "${targets[@]}"; do
    corpus="$build/corpus/$target"
    findings="$build/findings/$target"
    mkdir -p "$corpus" "$findings"
    cp -n tests/fuzz/inputs/"$target"/* "$corpus"/ 2>/dev/null || true
    echo "=== $target: $seconds s"
    # A reader's call must take far less than a second. A whole run must stay
    # under one second in the program as built; instrumented for fuzzing it
    # runs some four times slower, so five seconds count as a hang here.
    limit=1 leaks=1
    # What the toolkit allocates once and keeps to the end is no leak of a run.
    [ "$target" = generation_run ] && limit=5 leaks=0
    # One forked worker that goes on after a finding, so that one slow or
    # crashing input does not end the whole session; each finding is kept.
    set +e
    ASAN_OPTIONS=detect_leaks=$leaks "$build/tests/fuzz/fuzz_$target" "$corpus" -max_total_time="$seconds" -timeout="$limit" -rss_limit_mb=4096 \
        -max_len=512 -fork=1 -ignore_timeouts=1 -ignore_crashes=1 -ignore_ooms=1 \
        -artifact_prefix="$findings/" >"$build/fuzz-$target.log" 2>&1
    rc=$?
    set -e
    grep -E 'INITED|DONE|ERROR|SUMMARY|Test unit written' "$build/fuzz-$target.log" | sort | uniq -c | sort -rn | head -20 || true
    grep -E '^#[0-9]+' "$build/fuzz-$target.log" | tail -1 || true
    if [ "$rc" -ne 0 ] || [ -n "$(ls -A "$findings")" ]; then
        echo "=== $target: finding, see $build/fuzz-$target.log and $findings/"
        status=1
    fi
done
exit $status

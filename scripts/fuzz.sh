#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each from its corpus under fuzz/corpus/<target>
# for SECONDS (default 60) seconds, one after the other, at the lowest priority. The run works on a
# copy of the corpus in build/fuzz/corpus/; afterwards only the inputs that reach new code are merged
# back into fuzz/corpus/. A crash leaves its input in build/fuzz/findings/<target>/ and fails the script.
# Usage: scripts/fuzz.sh [SECONDS] [TARGET...]
set -uo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"
seconds="${1:-60}"
shift || true

cmake -S . -B build/fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_C_COMPILER=clang \
  -DCMAKE_CXX_COMPILER=clang++ -DPH_BUILD_FUZZ=ON -DPH_SANITIZE=OFF -DPH_BUILD_BENCH=OFF >/dev/null || exit 1
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  mapfile -t targets < <(sed -n 's/^ *ph_add_fuzz_target(\(fuzz_[a-z_]*\) .*/\1/p' fuzz/CMakeLists.txt fuzz/*/CMakeLists.txt)
fi
nice -n 19 cmake --build build/fuzz -j "$(nproc)" --target "${targets[@]}" || exit 1

status=0
for target in "${targets[@]}"; do
  corpus="fuzz/corpus/${target#fuzz_}"
  work="build/fuzz/corpus/${target#fuzz_}"
  findings="build/fuzz/findings/$target"
  mkdir -p "$corpus" "$work" "$findings"
  log="build/fuzz/$target.log"
  binary=$(find build/fuzz/fuzz -name "$target" -type f | head -n 1)
  nice -n 19 "$binary" "$work" "$corpus" -max_total_time="$seconds" -max_len=65536 -timeout=30 \
    -rss_limit_mb=2048 -artifact_prefix="$findings/" -print_final_stats=1 >"$log" 2>&1
  rc=$?
  nice -n 19 "$binary" -merge=1 "$corpus" "$work" -max_len=65536 -timeout=30 >>"$log.merge" 2>&1
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
  echo "$target: ${runs:-0} executions, exit $rc, findings: $(ls "$findings" | wc -l)"
  [ "$rc" -eq 0 ] || status=1
done
exit $status

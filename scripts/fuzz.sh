#!/usr/bin/env bash
# Runs every fuzz target longer than make test does:  fuzz.sh BUILD [SECONDS]  (default 300 s each)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(mkdir -p "${1:-$root/build}" && cd "${1:-$root/build}" && pwd)
seconds=${2:-300}
"$root/scripts/install-deps.sh"
cmake -S "$root/tests/fuzz" -B "$build/fuzz-long" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
      -DCMAKE_CXX_COMPILER=clang++ -DFUZZ_SECONDS="$seconds" -DFUZZ_SEED=0 >/dev/null
cmake --build "$build/fuzz-long" -j "$(nproc)"
status=0
ctest --test-dir "$build/fuzz-long" --output-on-failure || status=1
cat "$build"/fuzz-long/work/*/summary
exit $status

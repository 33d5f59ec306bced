#!/usr/bin/env bash
# Runs each job with every peer, best of three, and prints the times and the
# ratio peer/ozra (above 1: ozra is faster).
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
ozra="${OZRA:-$here/../../build/release/apps/ozra/ozra}"
# The peers are Debian's packages; a python3 earlier on PATH (a version
# manager's launcher, say) would add its own start-up to every run.
python="${PYTHON:-/usr/bin/python3}"
lua="${LUA:-/usr/bin/lua5.4}"
best() {
  local best=""
  for _ in 1 2 3; do
    local start end
    start=$(date +%s.%N)
    "$@" >/dev/null
    end=$(date +%s.%N)
    local t; t=$(echo "$end - $start" | bc)
    if [[ -z "$best" ]] || (( $(echo "$t < $best" | bc) )); then best=$t; fi
  done
  echo "$best"
}
# The entities template must give Jinja2's bytes exactly.
if ! cmp -s <("$ozra" "$here/entities.ozra") <("$python" "$here/entities_jinja.py"); then
  echo "entities: ozra and Jinja2 outputs differ" >&2
  exit 1
fi
for job in fib sum concat render; do
  o=$(best "$ozra" "$here/$job.ozra")
  l=$(best "$lua" "$here/$job.lua")
  p=$(best "$python" "$here/$job.py")
  printf '%-7s ozra %6.3fs  lua %6.3fs (%.2fx)  python %6.3fs (%.2fx)' "$job" "$o" "$l" \
    "$(echo "$l / $o" | bc -l)" "$p" "$(echo "$p / $o" | bc -l)"
  if [[ $job == render ]]; then
    j=$(best "$python" "$here/render_jinja.py")
    printf '  jinja2 %6.3fs (%.2fx)' "$j" "$(echo "$j / $o" | bc -l)"
  fi
  echo
done
o=$(best "$ozra" "$here/entities.ozra")
j=$(best "$python" "$here/entities_jinja.py")
printf '%-7s ozra %6.3fs  jinja2 %6.3fs (%.2fx)\n' entities "$o" "$j" "$(echo "$j / $o" | bc -l)"
# Native calls have one peer, CPython's ctypes; both load the fixture library
# that the tests build.
fixtures="${FIXTURES:-$here/../../build/release/tests/libs}"
if [[ -f "$fixtures/libozra_native_fixture.so" ]]; then
  export LD_LIBRARY_PATH="$fixtures${LD_LIBRARY_PATH:+:$LD_LIBRARY_PATH}"
  o=$(best "$ozra" "$here/native_calls.ozra")
  p=$(best "$python" "$here/native_calls.py")
  printf '%-7s ozra %6.3fs  python %6.3fs (%.2fx)\n' native "$o" "$p" "$(echo "$p / $o" | bc -l)"
fi

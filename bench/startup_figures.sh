#!/usr/bin/env bash
# Prints two figures of the Linux program under Xvfb, measured, never asserted:
#  - time from starting the program to the first script of its start page,
#  - processor time used by the idle program (its whole process tree) over 10 seconds.
# Run after scripts/build: bench/startup_figures.sh [runs]
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-5}
work=$(mktemp -d)
trap 'kill $(jobs -p) 2>/dev/null || true; rm -rf "$work"' EXIT
mkdir -p "$work/reports" "$work/home/Documents" "$work/home/run"
chmod 700 "$work/home/run"

coproc SERVER { exec node scripts/serve-pages.mjs bench/pages 0 "$work/reports"; }
read -r -t 20 word port <&"${SERVER[0]}"

export WORK="$work" PORT="$port" RUNS="$runs"
xvfb-run -a -s "-screen 0 1600x1000x24" env HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" \
  XDG_CACHE_HOME="$work/home/.cache" XDG_RUNTIME_DIR="$work/home/run" bash -c '
  openbox >/dev/null 2>&1 &
  sleep 1
  tree_ticks() {  # user + system clock ticks of a process and all its descendants
    local total=0 p
    for p in $1 $(pgrep -P "$1" 2>/dev/null); do
      [ "$p" = "$1" ] || { total=$((total + $(tree_ticks "$p"))); continue; }
      total=$((total + $(awk "{print \$14 + \$15}" /proc/$p/stat 2>/dev/null || echo 0)))
    done
    echo $total
  }
  for i in $(seq "$RUNS"); do
    rm -f "$WORK/reports/first-script"
    start=$(date +%s%3N)
    build/linux/plugin-generator-dev --start-url "http://127.0.0.1:$PORT/first-script.html" 2>/dev/null &
    app=$!
    for _ in $(seq 300); do [ -f "$WORK/reports/first-script" ] && break; sleep 0.05; done
    echo "start to first script: $(( $(cat "$WORK/reports/first-script") - start )) ms"
    if [ "$i" = "$RUNS" ]; then
      sleep 3   # let loading settle
      before=$(tree_ticks $app)
      sleep 10
      after=$(tree_ticks $app)
      hz=$(getconf CLK_TCK)
      echo "idle processor time over 10 s: $(( (after - before) * 1000 / hz )) ms (program and its engine processes)"
    fi
    kill -TERM $app; wait $app || true
  done
  kill %1 2>/dev/null || true
' 2>/dev/null

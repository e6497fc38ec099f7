#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The game's first paint against its floor, a bare window of the game's size
# (bench/bare_window), both started the same way under one Xvfb, alternately
# (the order swapped every pair, so neither always starts after the other):
# the time from launch to each one's first paint, pair by pair, and the
# median ratio, which holds on a busy machine.
# Usage: bench/first_paint.sh <game executable> <game folder of the build> <bare_window> [faces=500] [pairs=10]
# Needs Xvfb, and the benchmarks' catalogue of N faces
# (/tmp/pomurina-bench-sample-N; bench/real_window.sh or the benchmarks make it).
set -euo pipefail
game=$(readlink -f "$1")
assets=$(readlink -f "$2")
bare=$(readlink -f "$3")
faces=${4:-500}
pairs=${5:-10}
catalogue=/tmp/pomurina-bench-sample-$faces
[ -f "$catalogue/complete" ] || { echo "no catalogue of $faces faces in $catalogue (bench/real_window.sh makes it)" >&2; exit 1; }

work=$(mktemp -d)
xvfb=""
trap 'kill $xvfb 2>/dev/null || true; rm -rf "$work"' EXIT
home=$work/home
mkdir -p "$home"
cp -r "$catalogue/data" "$home/data"
cp "$assets/title.bmp" "$assets/logo.bmp" "$home/"
# The copy's writing-back must not run during the measurements.
sync
display=:$((90 + RANDOM % 50))
Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
sleep 1
export DISPLAY=$display

now() { date +%s%N; }
# Milliseconds from launch to the first paint of one program (a command line).
firstPaint() {
  local log=$work/log-$RANDOM start pid paint=""
  start=$(now)
  POMURINA_HOME=$home POMURINA_STRETCH_LOG=$log "$@" >/dev/null 2>&1 &
  pid=$!
  for _ in $(seq 400); do
    paint=$(awk '$1 == "paint" {print $2; exit}' "$log" 2>/dev/null || true)
    [ -n "$paint" ] && break
    sleep 0.01
  done
  kill "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  [ -n "$paint" ] || { echo "no paint from $1" >&2; exit 1; }
  echo $(((paint - start) / 1000000))
}

ratios=()
for ((i = 1; i <= pairs; i++)); do
  if ((i % 2)); then
    g=$(firstPaint "$game")
    b=$(firstPaint "$bare")
  else
    b=$(firstPaint "$bare")
    g=$(firstPaint "$game")
  fi
  ratio=$(awk -v g="$g" -v b="$b" 'BEGIN { printf "%.2f", g / b }')
  ratios+=("$ratio")
  echo "pair $i: game $g ms, bare window $b ms, ratio $ratio"
done
printf '%s\n' "${ratios[@]}" | sort -n | awk '{ r[NR] = $1 } END { printf "median ratio over %d pairs (%d faces): %.2f (range %.2f to %.2f)\n", NR, '"$faces"', (NR % 2 ? r[(NR + 1) / 2] : (r[NR / 2] + r[NR / 2 + 1]) / 2), r[1], r[NR] }'

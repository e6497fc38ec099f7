#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The real game under Xvfb on a catalogue of N faces (the sample faces
# repeated, in a temporary POMURINA_HOME): the time from launch to the first
# paint, the window thread's stretches (POMURINA_STRETCH_LOG) during start-up,
# a game start and the deletion of face 0, the time the deletion takes to
# reach the disk, and the peak memory.
# Usage: bench/real_window.sh <game executable> <game folder of the build> [faces=500]
# Needs Xvfb and xdotool. Prints one line per figure. A catalogue of N faces
# that the benchmarks have not made yet is made from the build's sample.
set -euo pipefail
game=$(readlink -f "$1")
assets=$(readlink -f "$2")
faces=${3:-500}
catalogue=/tmp/pomurina-bench-sample-$faces
if [ ! -f "$catalogue/complete" ]; then
  # The benchmarks' catalogue: the sample faces repeated, answers and all.
  sample=$assets/data
  samples=$(grep -ai '^count=' "$sample/FaceData.ini" | tr -d '\r' | cut -d= -f2)
  rm -rf "$catalogue"
  mkdir -p "$catalogue/data"
  {
    printf '[Faces]\r\nCount=%d\r\n' "$faces"
    for ((i = 0; i < faces; i++)); do
      from=$((i % samples))
      printf '[%d]\r\n' "$i"
      awk -v s="[$from]" '{ sub(/\r$/, "") } $0 == s { on = 1; next } /^\[/ { on = 0 } on && /=/ { printf "%s\r\n", $0 }' \
        "$sample/FaceData.ini"
      for k in 0 1 2 3 4 5; do cp "$sample/face${from}_$k.jpg" "$catalogue/data/face${i}_$k.jpg"; done
    done
  } >"$catalogue/data/FaceData.ini"
  touch "$catalogue/complete"
fi

work=$(mktemp -d)
trap 'kill $xvfb $pid 2>/dev/null || true; rm -rf "$work"' EXIT
home=$work/home
mkdir -p "$home"
cp -r "$catalogue/data" "$home/data"
cp "$assets/title.bmp" "$assets/logo.bmp" "$home/"
display=:$((90 + RANDOM % 50))
Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
sleep 1
export DISPLAY=$display

log=$work/stretches
actions=$work/actions
now() { date +%s%N; }
note() { echo "$1 $(now)" >>"$actions"; }

note launch
POMURINA_HOME=$home POMURINA_STRETCH_LOG=$log "$game" >/dev/null 2>&1 &
pid=$!
window=""
for _ in $(seq 100); do
  window=$(xdotool search --pid "$pid" --onlyvisible --name . 2>/dev/null | head -1 || true)
  [ -n "$window" ] && break
  sleep 0.05
done
[ -n "$window" ] || { echo "the window did not appear" >&2; exit 1; }
sleep 4  # the title ends after 2.5 s
note title-over
# The client area lies below the menu bar; the thumbnails' box is at (32, 64)
# of it, the command buttons at (32, 480) and (128, 440).
menu=$(xdotool getwindowgeometry "$window" | awk '/Geometry/ {split($2, g, "x"); print g[2] - 524}')
click() { xdotool mousemove --window "$window" "$1" $(($2 + menu)) click 1; }
note game-start
# PROFILE=<file>: the game start recorded with perf, call graphs included.
if [ -n "${PROFILE:-}" ]; then
  perf record -e cpu-clock -F 1000 -g -o "$PROFILE" -p "$pid" -- sleep 3 >/dev/null 2>&1 &
  perfpid=$!
  sleep 1  # perf takes a while to attach
fi
click 92 132           # thumbnail 0
sleep 1.5
[ -n "${PROFILE:-}" ] && wait "$perfpid"
# SHOTS=<folder>: what the window shows during the game and after the deletion.
[ -n "${SHOTS:-}" ] && import -window root "$SHOTS/game.png"
note game-cancel
click 72 496           # キャンセル
sleep 1
note delete
xdotool key --window "$window" alt+f
sleep 0.3
xdotool key d
sleep 0.5
click 92 132           # thumbnail 0, chosen
sleep 0.3
click 168 456          # 削除
sleep 0.5
xdotool key alt+y      # はい
note delete-confirmed
confirmed=$(now)
deleted=""
for _ in $(seq 600); do
  count=$(grep -ai '^count=' "$home/data/FaceData.ini" | tr -d '\r' | cut -d= -f2)
  if [ "$count" = "$((faces - 1))" ]; then deleted=$(now); break; fi
  sleep 0.02
done
sleep 3
[ -n "${SHOTS:-}" ] && import -window root "$SHOTS/deleted.png"
note end
peak=$(awk '/VmHWM/ {print $2}' /proc/$pid/status)
kill "$pid"
wait "$pid" 2>/dev/null || true

launch=$(awk '$1 == "launch" {print $2}' "$actions")
paint=$(awk '$1 == "paint" {print $2}' "$log")
echo "first paint after launch: $(( (paint - launch) / 1000000 )) ms"
# BARE=<bench/bare_window>: the first paint of a bare window of the game's
# size, started the same way, after the game.
if [ -n "${BARE:-}" ]; then
  barelog=$work/bare-stretches
  barestart=$(now)
  POMURINA_STRETCH_LOG=$barelog "$BARE" >/dev/null 2>&1 &
  barepid=$!
  for _ in $(seq 100); do
    grep -q '^paint' "$barelog" 2>/dev/null && break
    sleep 0.05
  done
  kill "$barepid" 2>/dev/null || true
  barepaint=$(awk '$1 == "paint" {print $2}' "$barelog")
  echo "bare window first paint after launch: $(( (barepaint - barestart) / 1000000 )) ms"
fi
echo "peak memory (VmHWM): $((peak / 1024)) MiB"
[ -n "$deleted" ] && echo "deletion from はい to the new count on disk: $(( (deleted - confirmed) / 1000000 )) ms"
echo "faces after the deletion: $(grep -ai '^count=' "$home/data/FaceData.ini" | tr -d '\r' | cut -d= -f2) (of $faces)"
# Each stretch under the action it followed.
awk -v launch="$launch" '
  FNR == NR { at[++n] = $2; name[n] = $1; next }
  $1 == "stretch" {
    label = "before launch"
    for (i = 1; i <= n; i++) if ($2 >= at[i]) label = name[i]
    printf "stretch %.1f ms, ended %.3f s after launch, during %s\n", $3, ($2 - launch) / 1e9, label
  }' "$actions" "$log"

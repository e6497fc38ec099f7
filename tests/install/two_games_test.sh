#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# two_games_test.sh <game executable> <watcher library>
# Starts the real game twice on one folder (POMURINA_HOME), with the watcher
# preloaded: while the first runs, a second start shows one message box
# 「ポムリナはすでに起動しています。」, ends with status 1 and leaves the folder
# as it was; the first is untouched, also when its lock has come to name
# another computer. Two started at the same moment on a new
# folder: exactly one of them runs. A game killed with SIGKILL leaves a lock
# that the next start takes over.
set -euo pipefail
game=$1 driver=$2
work=$(mktemp -d)
trap 'kill $(jobs -p) 2> /dev/null || true; rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; for f in "$work"/*.log; do echo "--- $f"; cat "$f"; done >&2; exit 1; }
message='driver: message box: ポムリナはすでに起動しています。'

start() {  # start <folder> <stay ms> <log>
  env POMURINA_HOME="$1" POMURINA_DRIVER_STAY_MS="$2" QT_QPA_PLATFORM=offscreen LD_PRELOAD="$driver" \
    timeout 120 "$game" > "$3" 2>&1
}
wait_for_window() {  # wait_for_window <log>
  for _ in $(seq 600); do grep -q '^driver: window shown' "$1" && return 0; sleep 0.1; done
  fail "no window in $1"
}
tree() { (cd "$1" && find . -printf '%p %s %T@\n' | sort); }

# One running, a second started on the same folder.
start "$work/home" 6000 "$work/first.log" & first=$!
wait_for_window "$work/first.log"
tree "$work/home" > "$work/tree.before"
status=0; start "$work/home" 0 "$work/second.log" || status=$?
[ "$status" -eq 1 ] || fail "the second game ended with status $status"
[ "$(grep -c '^driver: ' "$work/second.log")" -eq 1 ] && grep -qx "$message" "$work/second.log" ||
  fail "the second game did not show exactly the one message"
tree "$work/home" > "$work/tree.after"
diff "$work/tree.before" "$work/tree.after" || fail "the second game changed the folder"
status=0; wait $first || status=$?
[ "$status" -eq 0 ] || fail "the first game ended with status $status"
! grep -q '^driver: message box' "$work/first.log" || fail "the first game showed a message box"
echo "one running, one more started: $(grep '^driver: ' "$work/second.log")"

# The running game's lock written over to name another computer (or the
# computer renamed meanwhile): still refused, without the question, and the
# lock stays the running game's.
start "$work/renamed" 4000 "$work/renamed_first.log" & first=$!
wait_for_window "$work/renamed_first.log"
printf '4242\npomurina\nanother-computer\n' > "$work/renamed/.pomurina.lock"
status=0; start "$work/renamed" 0 "$work/renamed_second.log" || status=$?
[ "$status" -eq 1 ] && [ "$(grep -c '^driver: ' "$work/renamed_second.log")" -eq 1 ] &&
  grep -qx "$message" "$work/renamed_second.log" ||
  fail "a running game's lock naming another computer was not refused (status $status)"
grep -q another-computer "$work/renamed/.pomurina.lock" || fail "the running game's lock was replaced"
status=0; wait $first || status=$?
[ "$status" -eq 0 ] || fail "the first game ended with status $status"
echo "a running game's lock naming another computer: $(grep '^driver: ' "$work/renamed_second.log")"

# Two started together on a new folder.
start "$work/together" 3000 "$work/a.log" & a=$!
start "$work/together" 3000 "$work/b.log" & b=$!
sa=0; wait $a || sa=$?
sb=0; wait $b || sb=$?
shown=$(cat "$work/a.log" "$work/b.log" | grep -c '^driver: window shown' || true)
told=$(cat "$work/a.log" "$work/b.log" | grep -cx "$message" || true)
[ "$shown" -eq 1 ] && [ "$told" -eq 1 ] && [ $((sa + sb)) -eq 1 ] ||
  fail "two started together: $shown windows, $told messages, statuses $sa and $sb"
echo "two started together: A ($sa) $(grep '^driver: ' "$work/a.log" | tr '\n' ' '); B ($sb) $(grep '^driver: ' "$work/b.log" | tr '\n' ' ')"

# A game killed outright leaves its lock; the next start takes it over.
start "$work/home" 60000 "$work/killed.log" & killed=$!
wait_for_window "$work/killed.log"
# The game runs under timeout, itself under the job's shell.
guard=$(pgrep -P $killed) && pid=$(pgrep -P "$guard") || fail "the game's process was not found"
kill -KILL "$pid"
wait $killed || true
[ -e "$work/home/.pomurina.lock" ] || fail "the killed game left no lock behind"
status=0; start "$work/home" 0 "$work/after_kill.log" || status=$?
[ "$status" -eq 0 ] && grep -q '^driver: window shown' "$work/after_kill.log" ||
  fail "after a crash the next game did not start (status $status)"
echo "two games on one folder: fine"

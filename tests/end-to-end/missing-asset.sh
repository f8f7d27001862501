#!/usr/bin/env bash
# The game with one asset taken away, under the validation layer. A menu asset
# ("start"): the game reports the failed step, then "Errors have occurred.",
# and exits with -1 (255) without a crash. A trophy asset ("trophy"): keypad 1
# leaves the menu on the screen, and Escape still ends the game with 0.
# Usage: missing-asset.sh GAME WORK_FOLDER ASSETS ASSET start|trophy SENTENCE
set -euo pipefail
game=$1
work=$2
assets=$3
missing=$4
kind=$5
sentence=$6
rm -rf "$work"
mkdir -p "$work"
source "$(dirname "$0")/x-server.sh"
source "$(dirname "$0")/game-run.sh"
start_x_server 640x360
prepare_run_folder
rm "$work/run/Assets/$missing"
start_game

if [ "$kind" = start ]; then
    wait_for_exit
    [ "$status" -eq 255 ] || fail "The game exited with $status, not 255."
    expected="ERROR: $sentence
ERROR: Errors occurred during the loading of scene (index 0)
ERROR: Scene (index 1) has not been added due to previous errors.
ERROR: Scene (index 1) has not been added due to previous errors.
ERROR: Errors have occurred."
    [ "$(messages "$work/log.txt" | grep -F -A4 "ERROR: $sentence")" = "$expected" ] || fail "The log is not the expected one."
else
    wait_for_window
    wait_for_menu 640 360 || fail "The menu does not show the background."
    xdotool key KP_1
    for _ in $(seq 1 300); do
        grep -q "Errors occurred during the loading of scene (index 2)" "$work/log.txt" && break
        sleep 0.2
    done
    grep -qF "ERROR: $sentence" "$work/log.txt" || fail "The trophy scene's failed step was not reported."
    grep -q "Errors occurred during the loading of scene (index 2)" "$work/log.txt" || fail "The trophy scene was not refused."
    sleep 1
    screenshot "$work/menu.ppm"
    pnmtopng "$work/menu.ppm" >"$work/screenshot.png"
    [ "$(similarity "$work/menu.ppm" "$work/background.ppm")" -ge 25 ] || fail "The menu is no longer shown."
    xdotool key Escape
    wait_for_exit
    [ "$status" -eq 0 ] || fail "The game exited with $status."
fi
[ -e "$work/validation.txt" ] || fail "The validation layer was not loaded."
[ -s "$work/validation.txt" ] && fail "The validation layer reported messages."
exit 0

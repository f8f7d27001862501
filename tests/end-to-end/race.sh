#!/usr/bin/env bash
# A race as a player starts it, under the validation layer: Enter in the menu
# loads the race (no error) and shows the wait; Enter starts the countdown,
# and four seconds later the race clock runs; W held drives the boat (the
# speedometer's needle turns); a few seconds on, with the chase camera behind
# the boat, the picture keeps the race's look as PICTURE_STATISTICS measures
# it (a clear day, not a pale haze); R puts the boat back on the start line at
# rest (the needle back at zero); P opens the trophy scene; Escape ends the
# game with 0. The screenshots race-waiting.png, race-start.png,
# race-driving.png and race-chase.png are kept in SCREENSHOTS.
# Usage: race.sh GAME WORK_FOLDER ASSETS SCREENSHOTS PICTURE_STATISTICS
set -euo pipefail
game=$1
work=$2
assets=$3
screenshots=$4
statistics=$5
rm -rf "$work"
mkdir -p "$work" "$screenshots"
source "$(dirname "$0")/x-server.sh"
source "$(dirname "$0")/game-run.sh"
width=960
height=540
start_game_in_window ${width}x${height}

# Where the HUD stands at this size: the speedometer, a square of a fifth of
# the height centred a quarter of it above the bottom and three quarters of it
# left of the right edge, and the clock at the top centre. The needle at rest
# points left from the dial's centre, over the dial's opaque face.
dial=$((height / 5))
dial_x=$((width - dial * 3 / 4))
dial_y=$((height - dial / 4))
dial_region="$((dial_x - dial / 2)) $((dial_y - dial / 2)) $dial $((dial * 3 / 4))"
needle_region="$((dial_x - dial * 3 / 8)) $((dial_y - dial / 16)) $((dial * 5 / 16)) $((dial / 8))"
clock_region="$((width / 2 - 100)) 0 200 $((height / 10))"

# The needle's orange pixels in its region at rest: many while it lies there.
needle_pixels()
{
    # shellcheck disable=SC2086
    pamcut -left $1 -top $2 -width $3 -height $4 "$5" | ppmhist -noheader |
        awk '$1 > 180 && $2 > 60 && $2 < 180 && $3 < 90 { n += $5 } END { print n + 0 }'
}

# The menu: the screen is no longer black.
for _ in $(seq 1 150); do
    screenshot "$work/menu.ppm"
    [ "$(ppmhist -noheader "$work/menu.ppm" | wc -l)" -gt 10 ] && break
    sleep 0.2
done

xdotool key Return
for _ in $(seq 1 300); do
    grep -q "^Particle System init complete!$" "$work/log.txt" && break
    grep -q "ERROR" "$work/log.txt" && fail "The race did not load."
    sleep 0.2
done
grep -q "^Particle System init complete!$" "$work/log.txt" || fail "The race did not load."
grep -q "ERROR" "$work/log.txt" && fail "The race's load logged an error."
# The attract camera turns about the planet.
sleep 3
screenshot "$work/waiting.ppm"
pnmtopng "$work/waiting.ppm" >"$screenshots/race-waiting.png"
press_until_changed F1 "$work/waiting.ppm" "$work/waiting-later.ppm" 0 0 "$width" "$height" ||
    fail "The wait shows a still picture."

# The countdown shows the race's HUD; the clock starts after four seconds.
xdotool key Return
for _ in $(seq 1 150); do
    sleep 0.2
    screenshot "$work/countdown.ppm"
    # shellcheck disable=SC2086
    [ "$(region "$work/countdown.ppm" $dial_region)" != "$(region "$work/waiting.ppm" $dial_region)" ] && break
done
sleep 4.5
screenshot "$work/start.ppm"
pnmtopng "$work/start.ppm" >"$screenshots/race-start.png"
# shellcheck disable=SC2086
for _ in $(seq 1 100); do
    [ "$(region "$work/start.ppm" $clock_region)" != "$(region "$work/countdown.ppm" $clock_region)" ] && break
    sleep 0.2
    screenshot "$work/start.ppm"
done
# shellcheck disable=SC2086
[ "$(region "$work/start.ppm" $clock_region)" != "$(region "$work/countdown.ppm" $clock_region)" ] ||
    fail "The race clock does not run four seconds after Enter (see $screenshots/race-start.png)."
screenshot "$work/standing.ppm"
# shellcheck disable=SC2086
resting=$(($(needle_pixels $needle_region "$work/standing.ppm") * 3 / 4))
[ "$resting" -gt 20 ] || fail "The needle does not rest at zero before the start (see $screenshots/race-start.png)."

# W held: the boat speeds up and the needle leaves zero.
xdotool keydown w
moved=no
for _ in $(seq 1 100); do
    sleep 0.2
    screenshot "$work/driving.ppm"
    # shellcheck disable=SC2086
    if [ "$(needle_pixels $needle_region "$work/driving.ppm")" -lt "$resting" ]; then
        moved=yes
        break
    fi
done
sleep 1
screenshot "$work/driving.ppm"
pnmtopng "$work/driving.ppm" >"$screenshots/race-driving.png"
[ "$moved" = yes ] || fail "The speedometer's needle does not turn while W is held (see $screenshots/race-driving.png)."
# The pointer stays at the window's centre, so the chase camera is behind the boat.
sleep 3
screenshot "$work/chase.ppm"
xdotool keyup w
pnmtopng "$work/chase.ppm" >"$screenshots/race-chase.png"
"$statistics" "$screenshots/race-chase.png" --race-look ||
    fail "The race does not look like a clear day (see $screenshots/race-chase.png)."

# R: back on the start line at rest, the needle at zero as before the start.
xdotool key r
for _ in $(seq 1 100); do
    sleep 0.2
    screenshot "$work/reset.ppm"
    # shellcheck disable=SC2086
    [ "$(needle_pixels $needle_region "$work/reset.ppm")" -ge "$resting" ] && break
done
# shellcheck disable=SC2086
[ "$(needle_pixels $needle_region "$work/reset.ppm")" -ge "$resting" ] || fail "R does not stop the boat."

# P: the trophy scene.
xdotool key p
for _ in $(seq 1 300); do
    sleep 0.2
    grep -q "^test" "$work/log.txt" && grep -c "^Particle System init complete!$" "$work/log.txt" | grep -q 1 &&
        [ "$(grep -c "colorGradingPassPipelineInit" "$work/log.txt")" -ge 2 ] && break
done
grep -q "^test" "$work/log.txt" || fail "P does not leave for the trophy scene."
# The lap badge in the bottom-left corner gives way to the place badge.
badge=$((height / 4))
for _ in $(seq 1 150); do
    screenshot "$work/trophy.ppm"
    [ "$(region "$work/trophy.ppm" 0 $((height - badge)) $badge $badge)" != "$(region "$work/reset.ppm" 0 $((height - badge)) $badge $badge)" ] && break
    sleep 0.2
done
pnmtopng "$work/trophy.ppm" >"$work/trophy.png"
[ "$(region "$work/trophy.ppm" 0 $((height - badge)) $badge $badge)" != "$(region "$work/reset.ppm" 0 $((height - badge)) $badge $badge)" ] ||
    fail "P does not show the trophy scene (see $work/trophy.png)."

xdotool key Escape
wait_for_exit
[ "$status" -eq 0 ] || fail "The game exited with $status."
expect_clean_run

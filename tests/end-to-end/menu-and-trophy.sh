#!/usr/bin/env bash
# The menu shows its background and, on F1, its frames-per-second text; keypad 1
# opens the trophy scene with the "1. Place" badge and the gold goblet
# spinning; F8 to F11 change the picture; Enter goes on to the race; Escape
# ends the game with 0. All under the validation layer. The screenshots are
# kept in SCREENSHOTS.
# Usage: menu-and-trophy.sh GAME WORK_FOLDER ASSETS SCREENSHOTS
set -euo pipefail
game=$1
work=$2
assets=$3
screenshots=$4
rm -rf "$work"
mkdir -p "$work" "$screenshots"
source "$(dirname "$0")/x-server.sh"
source "$(dirname "$0")/game-run.sh"
width=1280
height=720
start_game_in_window ${width}x${height}

# The background fills the window: the screen is the picture, scaled.
wait_for_menu $width $height ||
    { pnmtopng "$work/menu.ppm" >"$screenshots/menu.png"; fail "The menu does not show the background."; }

press_until_changed F1 "$work/menu.ppm" "$work/menu-fps.ppm" 0 0 120 24 ||
    fail "F1 does not show the frames-per-second text."
sleep 2
screenshot "$work/menu-fps.ppm"
pnmtopng "$work/menu-fps.ppm" >"$screenshots/menu.png"
[ "$(similarity "$work/menu-fps.ppm" "$work/background.ppm")" -ge 25 ] || fail "The text covers the background."

# The trophy scene replaces the whole menu.
xdotool key KP_1
for _ in $(seq 1 300); do
    sleep 0.2
    screenshot "$work/trophy.ppm"
    [ "$(similarity "$work/trophy.ppm" "$work/background.ppm")" -lt 20 ] && break
done
[ "$(similarity "$work/trophy.ppm" "$work/background.ppm")" -lt 20 ] || fail "Keypad 1 does not open the trophy scene."
sleep 2
screenshot "$work/trophy.ppm"
pnmtopng "$work/trophy.ppm" >"$screenshots/trophy.png"

# The badge, a square of a quarter of the height in the bottom-left corner,
# is the "1. Place" picture rather than another place's.
badge=$((height / 4))
badge_top=$((height - badge))
pamcut -left 0 -top $badge_top -width $badge -height $badge "$work/trophy.ppm" >"$work/badge.ppm"
best=0
best_place=0
for place in 1 2 3 4 5 6; do
    scaled_picture "Textures/$place. Place.png" $badge $badge "$work/place.ppm"
    score=$(similarity "$work/badge.ppm" "$work/place.ppm")
    if [ "$score" -gt "$best" ]; then
        best=$score
        best_place=$place
    fi
done
[ "$best_place" = 1 ] || fail "The badge looks most like the \"$best_place. Place\" picture (see $screenshots/trophy.png)."

# The goblet in the middle turns (awaited, as a loaded software driver can
# take more than a second for a frame); the badge stands still meanwhile.
goblet_region="$((width * 3 / 8)) $((height / 4)) $((width / 4)) $((height / 2))"
# shellcheck disable=SC2086
shoot_until_changed "$work/trophy.ppm" "$work/trophy-later.ppm" 10 $goblet_region ||
    fail "The goblet does not spin."
[ "$(region "$work/trophy.ppm" 0 $badge_top $badge $badge)" = "$(region "$work/trophy-later.ppm" 0 $badge_top $badge $badge)" ] ||
    fail "The badge changes."

# The debug modes change what the renderer shows beside the goblet (the sky
# above it). The first colour-grading step leaves out a bloom that the sky
# does not have, the second shows the bloom alone; the point-light modes
# change nothing on a stage without point lights.
sky_region="0 0 $((width / 4)) $((height / 4))"
for keys in F9 F8 "F11 F11"; do
    screenshot "$work/before.ppm"
    read -ra presses <<<"$keys"
    for key in "${presses[@]:1}"; do
        xdotool key "${presses[0]}"
    done
    # shellcheck disable=SC2086
    press_until_changed "${presses[0]}" "$work/before.ppm" "$work/after.ppm" $sky_region ||
        fail "$keys does not change the picture."
done
xdotool key F10
grep -q "render Mode: 1$" "$work/log.txt" || fail "F9 did not step the render mode."
grep -q "render Mode: 0$" "$work/log.txt" || fail "F8 did not step the render mode back."

# Enter goes on to the race: it loads, and its wait shows no place badge.
xdotool key Return
for _ in $(seq 1 300); do
    sleep 0.2
    grep -q "^Particle System init complete!$" "$work/log.txt" || continue
    screenshot "$work/race.ppm"
    [ "$(region "$work/race.ppm" 0 $badge_top $badge $badge)" != "$(region "$work/trophy.ppm" 0 $badge_top $badge $badge)" ] && break
done
[ "$(region "$work/race.ppm" 0 $badge_top $badge $badge)" != "$(region "$work/trophy.ppm" 0 $badge_top $badge $badge)" ] ||
    fail "Enter does not go on to the race."

xdotool key Escape
wait_for_exit
[ "$status" -eq 0 ] || fail "The game exited with $status."
expect_clean_run

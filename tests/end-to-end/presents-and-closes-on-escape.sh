#!/usr/bin/env bash
# First start of the game in a folder with nothing but the assets: it writes
# "Settings.txt", shows the menu (the screen is no longer black); it closes on
# Escape and exits with 0.
# Usage: presents-and-closes-on-escape.sh GAME WORK_FOLDER ASSETS
set -euo pipefail
game=$1
work=$2
assets=$3
rm -rf "$work"
mkdir -p "$work/run"
source "$(dirname "$0")/x-server.sh"
source "$(dirname "$0")/game-run.sh"
start_x_server 640x480
prepare_run_folder

cd "$work/run"
"$game" >"$work/log.txt" 2>&1 &
game_process=$!
fail()
{
    echo "$*" >&2
    kill "$game_process" 2>/dev/null || true
    echo "Log:" >&2
    cat "$work/log.txt" >&2
    exit 1
}

timeout 30 xdotool search --sync --onlyvisible --name '^Kelvane$' >/dev/null || fail "No game window appeared."
# Pixels that are not black.
drawn_pixels()
{
    ppmhist -noheader "$work/screen.ppm" | awk '!($1 == 0 && $2 == 0 && $3 == 0) { n += $5 } END { print n + 0 }'
}
for _ in $(seq 1 100); do
    xwd -root -silent | xwdtopnm >"$work/screen.ppm" 2>/dev/null
    [ "$(drawn_pixels)" -gt "$((640 * 480 / 2))" ] && break
    sleep 0.1
done
pnmtopng "$work/screen.ppm" >"$work/screenshot.png" 2>/dev/null
[ "$(drawn_pixels)" -gt "$((640 * 480 / 2))" ] || fail "The screen does not show the menu (see $work/screenshot.png)."
rm -f "$work/screen.ppm"

# The window has the focus since it was made: on a screen without a window
# manager, moving the focus would make GLFW try to iconify the full-screen
# window, which it reports as an error.
xdotool key Escape
for _ in $(seq 1 100); do
    kill -0 "$game_process" 2>/dev/null || break
    sleep 0.1
done
kill -0 "$game_process" 2>/dev/null && fail "The game did not close on Escape."
status=0
wait "$game_process" || status=$?
[ "$status" -eq 0 ] || fail "The game exited with $status."

head -n 1 "$work/log.txt" | grep -Eq '^\[[0-9]{4}-[0-9]{2}-[0-9]{2} [0-9]{2}:[0-9]{2}:[0-9]{2}\] Info:  Kelvane \(Version: 0\.0\.0\)$' ||
    fail "The first line is not the version line."
expected='Info:  Kelvane (Version: 0.0.0)
Info:  GLFW 3.3.8 is being used.
Info:  Vulkan API 1.3.239 is supported.'
[ "$(messages "$work/log.txt")" = "$expected" ] || fail "The log is not the expected one."

settings=$(printf 'Window-Width: 640\nWindow-Height: 480\nFullscreen: true\nPreferredPresentMode: FIFO')
[ "$(cat "$work/run/Settings.txt")" = "$settings" ] || fail "Settings.txt does not hold the defaults for this screen."

#!/usr/bin/env bash
# With the loader pointed at no driver, the game reports why it cannot start,
# refuses each of the three scenes, logs "Errors have occurred.", and exits
# with -1 (255) instead of crashing.
# Usage: fails-without-vulkan-device.sh GAME WORK_FOLDER
set -euo pipefail
game=$1
work=$2
rm -rf "$work"
mkdir -p "$work/run"
source "$(dirname "$0")/x-server.sh"
start_x_server 320x240

cd "$work/run"
status=0
VK_ICD_FILENAMES="$work/no-driver.json" VK_DRIVER_FILES="$work/no-driver.json" timeout 60 "$game" >"$work/log.txt" 2>&1 ||
    status=$?
fail()
{
    echo "$*" >&2
    echo "Log:" >&2
    cat "$work/log.txt" >&2
    exit 1
}
[ "$status" -eq 255 ] || fail "The game exited with $status, not 255."
expected='Info:  Kelvane (Version: 0.0.0)
Info:  GLFW 3.3.8 is being used.
Info:  Vulkan API 1.3.239 is supported.
ERROR: Extension VK_KHR_surface is not supported
ERROR: Scene (index 0) has not been added due to previous errors.
ERROR: Scene (index 0) has not been added due to previous errors.
ERROR: Scene (index 0) has not been added due to previous errors.
ERROR: Errors have occurred.'
[ "$(messages "$work/log.txt")" = "$expected" ] || fail "The log is not the expected one."

# Sourced by the end-to-end tests that run the game's scenes: a working folder
# with the build's assets, the game under the validation layer, and
# screenshots compared with netpbm.
# Needs $work, $game and $assets; x-server.sh sourced first.

# Assets/ in $work/run as links to the build's files, so a run can take one away.
prepare_run_folder()
{
    mkdir -p "$work/run"
    cp -rs "$assets" "$work/run/Assets"
}

# Starts the game under the validation layer, its output line by line; sets game_process.
start_game()
{
    cat >"$work/vk_layer_settings.txt" <<SETTINGS
khronos_validation.debug_action = VK_DBG_LAYER_ACTION_LOG_MSG
khronos_validation.log_filename = $work/validation.txt
khronos_validation.report_flags = error,warn,perf
khronos_validation.enables = VK_VALIDATION_FEATURE_ENABLE_SYNCHRONIZATION_VALIDATION_EXT,VALIDATION_CHECK_ENABLE_SYNCHRONIZATION_VALIDATION_QUEUE_SUBMIT
SETTINGS
    (cd "$work/run" && VK_INSTANCE_LAYERS=VK_LAYER_KHRONOS_validation VK_LAYER_SETTINGS_PATH="$work" exec stdbuf -oL "$game") \
        >"$work/log.txt" 2>&1 &
    game_process=$!
}

fail()
{
    echo "$*" >&2
    [ -n "${game_process:-}" ] && kill "$game_process" 2>/dev/null
    echo "Log:" >&2
    cat "$work/log.txt" >&2
    [ -s "$work/validation.txt" ] && { echo "Validation:" >&2; cat "$work/validation.txt" >&2; }
    exit 1
}

wait_for_window()
{
    timeout 60 xdotool search --sync --onlyvisible --name '^Kelvane$' >/dev/null || fail "No game window appeared."
}

# The whole screen as a PPM file.
screenshot()
{
    xwd -root -silent | xwdtopnm >"$1" 2>/dev/null
}

# A checksum of the rectangle (left, top, width, height) of a PPM file.
region()
{
    pamcut -left "$2" -top "$3" -width "$4" -height "$5" "$1" | md5sum
}

# The mean of the red, green and blue PSNR of two PPM files of one size, in whole dB.
similarity()
{
    pnmpsnr -rgb -machine "$1" "$2" 2>/dev/null | awk '{ printf "%d\n", ($1 + $2 + $3) / 3 }'
}

# A picture of the run folder scaled to a size, as a PPM file: its colours,
# or with a fifth argument "over-black" blended as the screen-space pipelines
# blend it over a cleared frame.
scaled_picture()
{
    local mix=()
    [ "${5:-}" = over-black ] && mix=(-mix -background=black)
    pngtopnm "${mix[@]}" "$work/run/Assets/$1" | pamscale -width "$2" -height "$3" >"$4"
}

# Shoots until the shot differs from the given one in the rectangle (left,
# top, width, height), for up to the given seconds: on a software driver under
# load a frame can take longer than any fixed wait.
shoot_until_changed()
{
    local before=$1 after=$2 seconds=$3
    shift 3
    for _ in $(seq 1 $((seconds * 5))); do
        sleep 0.2
        screenshot "$after"
        [ "$(region "$after" "$@")" != "$(region "$before" "$@")" ] && return 0
    done
    return 1
}

# Presses a key, then shoots until the shot differs from the given one in the
# rectangle (left, top, width, height), for up to 30 s.
press_until_changed()
{
    local key=$1 before=$2 after=$3
    shift 3
    xdotool key "$key"
    shoot_until_changed "$before" "$after" 30 "$@"
}

# The game in a window on an X server of its own at the size given
# (WIDTHxHEIGHT), from the run folder, under the validation layer.
start_game_in_window()
{
    start_x_server "$1"
    prepare_run_folder
    start_game
    wait_for_window
}

# Shoots until the screen is the menu's background scaled to the size given
# (written to $work/background.ppm), for up to 30 s; the last shot in
# $work/menu.ppm.
wait_for_menu()
{
    scaled_picture Textures/Background.png "$1" "$2" "$work/background.ppm" over-black
    for _ in $(seq 1 150); do
        screenshot "$work/menu.ppm"
        [ "$(similarity "$work/menu.ppm" "$work/background.ppm")" -ge 25 ] && return 0
        sleep 0.2
    done
    return 1
}

# Waits up to 60 s for the game to end; sets status.
wait_for_exit()
{
    for _ in $(seq 1 300); do
        kill -0 "$game_process" 2>/dev/null || break
        sleep 0.2
    done
    kill -0 "$game_process" 2>/dev/null && fail "The game did not end."
    status=0
    wait "$game_process" || status=$?
    game_process=
}

# No validation message and no error sentence.
expect_clean_run()
{
    [ -e "$work/validation.txt" ] || fail "The validation layer was not loaded."
    [ -s "$work/validation.txt" ] && fail "The validation layer reported messages."
    grep -q "ERROR" "$work/log.txt" && fail "The log holds an error."
    return 0
}

# Sourced by the end-to-end tests: starts an X server of their own (so no other
# test's window is on its screen) and stops it when the test ends.
# Needs $work; sets DISPLAY.
start_x_server()
{
    local size=$1
    Xvfb -displayfd 3 -screen 0 "${size}x24" -nolisten tcp 3>"$work/display-number" 2>"$work/x-server.log" &
    x_server=$!
    trap 'kill "$x_server" 2>/dev/null || true' EXIT
    for _ in $(seq 1 100); do
        [ -s "$work/display-number" ] && break
        sleep 0.1
    done
    if [ ! -s "$work/display-number" ]; then
        echo "The X server did not start." >&2
        exit 1
    fi
    export DISPLAY=":$(head -n 1 "$work/display-number")"
}

# The log lines without their time stamps.
messages()
{
    sed -E 's/^\[[0-9]{4}-[0-9]{2}-[0-9]{2} [0-9]{2}:[0-9]{2}:[0-9]{2}\] //' "$1"
}

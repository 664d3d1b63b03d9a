# Sourced by the end-to-end scripts that end the trainer as a session end
# would: starts ./vemitrainer in the current folder with standard error in $2,
# waits for a window whose title matches $1, sends one SIGTERM and gives the
# trainer ten seconds to end. Returns the trainer's exit status.
term_trainer() {
    local title=$1 errors=$2
    ./vemitrainer 2>"$errors" &
    local pid=$!
    timeout 30 xdotool search --sync --name "$title" >/dev/null
    kill -TERM "$pid"
    for _ in $(seq 100); do
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.1
    done
    if kill -0 "$pid" 2>/dev/null; then
        kill -KILL "$pid"
        echo "the trainer did not end after one SIGTERM" >&2
        exit 1
    fi
    wait "$pid"
}

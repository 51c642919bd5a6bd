#!/usr/bin/env bash
# Footprint of the idle program: starts it on a private Xvfb (with openbox)
# and a fresh home folder, lets it settle, then reports over an idle period
# its resident memory, CPU use and main-thread wake-ups a minute (event-loop
# wake-ups counted with strace when it is installed, and all context
# switches of the main thread), and its
# start-up time to the first engine tick (when her memory is first written).
# A minimal Qt 6 tray program is measured the same way beside it. She starts
# as after onboarding, so no welcome window is open.
#
# With SESSION sway, the desktop is sway headless instead: the programs draw
# through its XWayland, and she reads idle time and the focused application
# from the compositor (sway refuses to run as root, and its XWayland takes
# clients of its own user only: as root, all of them run as nobody).
#
#   bench/Footprint.sh [BUILD_DIR] [IDLE_SECONDS] [SESSION]   defaults: build 120 x11
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$root/build}"
idle="${2:-120}"
session="${3:-x11}"
settle=10
program="$build/src/desktop/pelliwig"
[ -x "$program" ] || { echo "footprint: build $program first (make build)" >&2; exit 1; }

work="$(mktemp -d)"
pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    wait 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

# The yardstick, built here so the benchmarks need no Qt.
g++ -std=c++20 -O2 -fPIC "$root/bench/FootprintBaseline.cpp" -o "$work/baseline" \
    $(pkg-config --cflags --libs Qt6Widgets)

as=()  # how the measured programs run: as the desktop's user

start_x11() {
    Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
    pids+=($!)
    for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.05; done
    export DISPLAY=":$(cat "$work/display")"
    openbox --sm-disable >/dev/null 2>&1 &
    pids+=($!)
    sleep 1
}

# sway headless with XWayland; DISPLAY is the one its XWayland serves.
start_sway() {
    local run="$work/sway-run"
    mkdir -p "$run" "$work/sway-home"
    chmod 700 "$run"
    printf 'xwayland enable\noutput HEADLESS-1 resolution 1280x800\n' >"$work/sway.config"
    if [ "$(id -u)" -eq 0 ]; then
        chown 65534:65534 "$run" "$work/sway-home"
        chmod 755 "$work"
        as=(setpriv --reuid=65534 --regid=65534 --clear-groups --)
    fi
    HOME="$work/sway-home" XDG_RUNTIME_DIR="$run" WLR_BACKENDS=headless WLR_LIBINPUT_NO_DEVICES=1 \
        WLR_RENDERER=pixman "${as[@]}" sway -c "$work/sway.config" >/dev/null 2>&1 &
    pids+=($!)
    # XWayland is not sway's own child; sway gives its DISPLAY to what it runs.
    local socket="" ipc=""
    for _ in $(seq 100); do
        ipc="$(ls "$run"/sway-ipc.* 2>/dev/null | head -1 || true)"
        if [ -n "$ipc" ]; then
            swaymsg -s "$ipc" exec "printenv DISPLAY >$run/display" >/dev/null 2>&1 || true
            sleep 0.1
            [ -s "$run/display" ] && break
        fi
        sleep 0.05
    done
    [ -s "$run/display" ] || { echo "footprint: sway did not start XWayland" >&2; exit 1; }
    export DISPLAY="$(cat "$run/display")"
    socket="$(ls "$run" | grep '^wayland-' | grep -v lock | head -1)"
    export WAYLAND_DISPLAY="$run/$socket"
    export XDG_SESSION_TYPE=wayland
    sleep 1
}

case "$session" in
x11) start_x11 ;;
sway) start_sway ;;
*) echo "footprint: SESSION is x11 or sway" >&2; exit 1 ;;
esac

ticks="$(getconf CLK_TCK)"
cpu_ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }
wakeups() { awk '/^voluntary_ctxt_switches/ {v=$2} /^nonvoluntary_ctxt_switches/ {n=$2} END {print v + n}' "/proc/$1/task/$1/status"; }
rss_kb() { awk '/^VmRSS/ {print $2}' "/proc/$1/status"; }
now() { date +%s.%N; }

# Event-loop wake-ups of the main thread: its polls over several
# descriptors at once (the X round trips inside one wake-up poll one).
loop_wakeups() {
    [ -f "$1" ] || { echo -1; return; }
    grep -c 'poll(\[{fd=[0-9]*, events=[A-Z|]*}, {fd=' "$1" || true
}

# measure NAME PID FIRST_TICK: the idle figures of a settled process. The
# loop wake-ups are counted in a second window of the same length, since a
# tracer's stops would count as context switches and CPU time.
measure() {
    local name="$1" pid="$2"
    local c0 w0 t0 c1 w1 t1 l0 l1 trace="$work/trace.$2" loops=-1
    sleep "$settle"
    c0="$(cpu_ticks "$pid")"; w0="$(wakeups "$pid")"; t0="$(now)"
    sleep "$idle"
    c1="$(cpu_ticks "$pid")"; w1="$(wakeups "$pid")"; t1="$(now)"
    if command -v strace >/dev/null; then
        l0="$(now)"
        timeout "$idle" strace -p "$pid" -e trace=poll,ppoll -o "$trace" 2>/dev/null || true
        l1="$(now)"
        loops="$(awk -v n="$(loop_wakeups "$trace")" -v a="$l0" -v b="$l1" 'BEGIN {print 60 * n / (b - a)}')"
    fi
    awk -v n="$name" -v r="$(rss_kb "$pid")" -v c="$((c1 - c0))" -v hz="$ticks" \
        -v w="$((w1 - w0))" -v l="$loops" -v t0="$t0" -v t1="$t1" -v s="$3" 'BEGIN {
            el = t1 - t0
            loop = l < 0 ? "n/a" : sprintf("%.1f", l)
            printf "%-16s %8.1f MB %9.4f %% %9s /min %9.1f /min %10s\n",
                n, r / 1024, 100 * c / hz / el, loop, 60 * w / el, s
        }'
}

fresh_home() {
    local home="$work/$1"
    mkdir -p "$home/config" "$home/runtime" "$home/tmp"
    chmod 700 "$home/runtime"
    [ ${#as[@]} -eq 0 ] || chown -R 65534:65534 "$home"
    echo "$home"
}

printf "%-16s %11s %11s %14s %14s %10s\n" "program" "resident" "CPU" "loop wake-ups" "ctx switches" "first tick"

home="$(fresh_home app)"
store="$home/config/pelliwig/defaults.sqlite"
# Onboarded already: the steady state is her alone, with no welcome window.
mkdir -p "$(dirname "$store")"
sqlite3 "$store" "CREATE TABLE defaults (key TEXT PRIMARY KEY NOT NULL, value BLOB NOT NULL);
                  INSERT INTO defaults VALUES ('hasOnboarded', '{\"value\":true}');"
[ ${#as[@]} -eq 0 ] || chown -R 65534:65534 "$home"
start="$(now)"
HOME="$home" XDG_CONFIG_HOME="$home/config" XDG_RUNTIME_DIR="$home/runtime" TMPDIR="$home/tmp" \
    QT_QPA_PLATFORM=xcb "${as[@]}" "$program" >/dev/null 2>&1 &
app=$!
pids+=($app)
first=""
for _ in $(seq 1000); do
    if [ -f "$store" ] && [ -n "$(sqlite3 "$store" "select 1 from defaults where key='memory'" 2>/dev/null)" ]; then
        first="$(awk -v a="$start" -v b="$(now)" 'BEGIN {printf "%.0f ms", 1000 * (b - a)}')"
        break
    fi
    sleep 0.01
done
# She speaks once before the idle period, as she does within minutes of any
# start, so her fonts, sprites and bubble count whatever the time of day.
HOME="$home" XDG_CONFIG_HOME="$home/config" XDG_RUNTIME_DIR="$home/runtime" TMPDIR="$home/tmp" \
    QT_QPA_PLATFORM=xcb timeout 10 "${as[@]}" "$program" --preview water >/dev/null 2>&1 || true
measure "pelliwig" "$app" "${first:-none}"
kill "$app"

home="$(fresh_home baseline-home)"
HOME="$home" XDG_CONFIG_HOME="$home/config" QT_QPA_PLATFORM=xcb "${as[@]}" "$work/baseline" >/dev/null 2>&1 &
base=$!
pids+=($base)
measure "minimal Qt tray" "$base" "-"
echo "over $idle s idle after $settle s to settle, pointer still, on $DISPLAY ($session)"

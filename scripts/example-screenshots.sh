#!/usr/bin/env bash
# Takes one screenshot of each example under Xvfb into docs/examples/ (for docs/examples.md).
# Needs a build with the examples (default: build-test/, as scripts/test.sh makes it), xvfb, xdotool
# and ffmpeg.   scripts/example-screenshots.sh [BUILD_FOLDER]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build-test}
out="$root/docs/examples"
mkdir -p "$out"
export RT_UNATTENDED=1 SDL_AUDIODRIVER=dummy

shoot() { # example, then what to do before the picture (a command run on the example's display)
    local name=$1 action=${2:-true} display=:$((90 + RANDOM % 100))
    Xvfb "$display" -screen 0 320x240x24 -nolisten tcp 2>/dev/null &
    local server=$!
    sleep 1
    DISPLAY=$display "$build/examples/$name" ${EXAMPLE_ARGS:-} >/dev/null 2>&1 &
    local program=$!
    sleep 3
    DISPLAY=$display bash -c "$action"
    sleep 1
    ffmpeg -loglevel error -y -f x11grab -video_size 320x240 -i "$display" -frames:v 1 "$out/$name.png"
    kill "$program" "$server"
    wait "$program" "$server" 2>/dev/null || true
    echo "docs/examples/$name.png"
}

shoot hello_sprite "xdotool keydown Right; sleep 0.5; xdotool keyup Right"
shoot shapes_and_blending
shoot text_and_fonts
shoot mouse_and_joysticks "xdotool mousemove 200 150"
shoot high_scores
EXAMPLE_ARGS=host shoot net_chat "xdotool type --delay 100 'hello there'"
shoot path_finding "xdotool mousemove 300 220 click 1; sleep 0.3; xdotool mousemove 100 100"

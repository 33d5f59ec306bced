#!/usr/bin/env bash
# Starts the environment under a private X server with a small window
# manager and saves a PNG of each named scene into a folder:
#   tools/screenshots.sh [BUILD_DIR] [OUT_DIR]
# The scenes open the debugger fixture project, whose main file has a call
# on line 8; each scene is a list of steps for weftline-studio's --scene
# option (see apps/weftline-studio/screenshot.h).
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/dev}
out=${2:-screenshots}
studio="$build/apps/weftline-studio/weftline-studio"
project="$PWD/tests/ide/gui/data/debug/debug.ozraproj"
[[ -x $studio ]] || { echo "screenshots: build $studio first" >&2; exit 1; }
mkdir -p "$out"

scenes=(
  "main-window:"
  "menu-file:menu=File"
  "menu-run:menu=Run"
  "gutter:check,break=8,break=10,bookmark=6,caret=4"
  "breakpoint:check,break=8,caret=3"
  "execution-line:break=8,run"
  "stepped:break=8,run,step"
  "output:output,run"
)

display=:$((90 + RANDOM % 100))
home=$(mktemp -d)
Xvfb "$display" -screen 0 1280x800x24 -nolisten tcp &
xvfb=$!
cleanup() { kill "$wm" "$xvfb" 2>/dev/null || true; rm -rf "$home"; }
trap cleanup EXIT
for _ in $(seq 50); do DISPLAY=$display xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
DISPLAY=$display openbox &
wm=$!
sleep 1

for scene in "${scenes[@]}"; do
  name=${scene%%:*}
  steps=${scene#*:}
  args=("$project" --screenshot "$out/$name.png")
  [[ -n $steps ]] && args+=(--scene "$steps")
  DISPLAY=$display QT_QPA_PLATFORM=xcb WEFTLINE_HOME=$home timeout 60 "$studio" "${args[@]}"
  echo "$out/$name.png"
done

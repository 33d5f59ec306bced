#!/usr/bin/env bash
# Starts the environment under a private X server with a small window
# manager and saves a PNG of each named scene into a folder:
#   tools/screenshots.sh [BUILD_DIR] [OUT_DIR]
# Each scene names the files to open and the steps of weftline-studio's
# --scene option (see apps/weftline-studio/screenshot.h). Most open the
# debugger fixture project, whose main file calls a function on line 8.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/dev}
out=${2:-screenshots}
studio="$build/apps/weftline-studio/weftline-studio"
fixture="$PWD/tests/ide/gui/data/debug/debug.ozraproj $PWD/tests/ide/gui/data/debug/main.ozra"
template="$PWD/examples/shop/generate.ozra"
[[ -x $studio ]] || { echo "screenshots: build $studio first" >&2; exit 1; }
mkdir -p "$out"
home=$(mktemp -d)
# A project whose main file does not compile, for the error lists.
printf '<.\nvar x = 1\nx = = 2\n?? x\n.>\n' >"$home/bad.ozra"
printf '<?xml version="1.0"?>\n<project>\n  <files>\n    <file type="main">bad.ozra</file>\n  </files>\n</project>\n' >"$home/bad.ozraproj"
broken="$home/bad.ozraproj $home/bad.ozra"
shop="$PWD/examples/shop/shop.ozraproj $template"

scenes=(
  "main-window|$fixture|"
  "template-code|$template|caret=12"
  "menu-file|$fixture|menu=File"
  "menu-run|$fixture|menu=Run"
  "toolbar-paused|$fixture|break=8,run"
  "gutter|$fixture|check,break=8,break=10,bookmark=6,bookmark=8,caret=4"
  "breakpoint-line|$fixture|check,break=9,caret=3"
  "execution-line|$fixture|break=8,run"
  "stepped|$fixture|break=8,run,step"
  "output|$fixture|run"
  "find|$fixture|caret=8,find"
  "replace-multi-line|$fixture|caret=8,replace,click=MultiLine"
  "search-result|$fixture|caret=8,find,tick=ProjectFiles,click=FindNext"
  "mark-all|$fixture|caret=8,find,click=MarkAll"
  "tool-structure|$shop|check,view=Structure,caret=15"
  "tool-files|$fixture $PWD/examples/shop/shop.sql|view=Files"
  "tool-warnings|$broken|view=Warnings"
  "tool-errors|$broken|check"
  "tool-bookmarks|$fixture|bookmark=2,bookmark=6,bookmark=9,view=Bookmarks"
  "tool-breakpoints|$fixture|check,break=8,break=10,view=Breakpoints"
  "tool-command|$fixture|break=8,run,command=?x,command=?missing,command=help,command=?"
  "customize-toolbars|$fixture|customize=Toolbars"
  "customize-commands|$fixture|customize=Commands,category=Run"
)

display=:$((90 + RANDOM % 100))
Xvfb "$display" -screen 0 1280x800x24 -nolisten tcp &
xvfb=$!
cleanup() {
  kill "$wm" 2>/dev/null || true
  wait "$wm" 2>/dev/null || true
  kill "$xvfb" 2>/dev/null || true
  rm -rf "$home"
}
trap cleanup EXIT
for _ in $(seq 50); do DISPLAY=$display xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
DISPLAY=$display openbox &
wm=$!
sleep 1

for scene in "${scenes[@]}"; do
  IFS='|' read -r name file steps <<<"$scene"
  read -r -a args <<<"$file"
  args+=(--screenshot "$out/$name.png")
  [[ -n $steps ]] && args+=(--scene "$steps")
  DISPLAY=$display QT_QPA_PLATFORM=xcb WEFTLINE_HOME=$home XDG_RUNTIME_DIR=$home \
    timeout 60 "$studio" "${args[@]}" 2> >(grep -v propagateSizeHints >&2)
  echo "$out/$name.png"
done

#!/usr/bin/env bash
# Regenerates the README's pictures under docs/ from the game itself: the real binary on a
# private Xvfb, driven with xdotool and photographed with ImageMagick's import; only the
# "YOU WON!" screen, which holding Up across ten lanes rarely reaches, is drawn by the
# game's own frame of that state (tools/pictures). The game is live, so every run differs.
set -euo pipefail
cd "$(dirname "$0")/.."

if [[ -z "${LARKMERE_PICTURES_ON_XVFB:-}" ]]; then
  bash scripts/install-deps.sh --test
  cmake -S . -B build >/dev/null
  cmake --build build --target larkmere larkmere_won -j"$(nproc)"
  exec env LARKMERE_PICTURES_ON_XVFB=1 xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" "$0" "$@"
fi

mkdir -p docs
tmp=$(mktemp -d)
./build/tools/larkmere_won docs/you-won.png
./build/larkmere &
game=$!
trap 'kill "$game" 2>/dev/null || true; rm -rf "$tmp"' EXIT
window=$(xdotool search --sync --onlyvisible --name '^Larkmere$' | head -1)
xdotool windowfocus --sync "$window"

shot() { import -window "$window" "$1"; }
pixels() { compare -metric AE -fuzz 8% "$1" "$2" null: 2>&1 | awk '{ printf "%d", $1 }' || true; }
# Waits until the window differs from the picture in $1 by more than $2 pixels.
wait_change() {
  for _ in $(seq 300); do
    shot "$tmp/now.png"
    if (($(pixels "$1" "$tmp/now.png") > $2)); then return 0; fi
  done
  echo "Larkmere: pictures: the window did not change" >&2
  return 1
}
# Presses a key and waits for the window to show its effect (and a frame or two more).
press() {
  shot "$tmp/before.png"
  xdotool key "$1"
  wait_change "$tmp/before.png" "$2"
  sleep 0.3
}
# An end screen: the board's dark slate at the middle top and its wooden frame at the left.
on_end_screen() {
  [[ $(convert "$1" -format '%[fx:p{500,100}.g<0.3 && p{178,240}.r>p{178,240}.g*1.3 ? 1 : 0]' info:) == 1 ]]
}

# Black at the window's own size, the picture the first frame must differ from.
size=$(xdotool getwindowgeometry "$window" | awk '/Geometry:/ { print $2 }')
convert -size "$size" xc:black "$tmp/black.png"
wait_change "$tmp/black.png" 100000
sleep 0.5
shot docs/help-panel.png

press p 10000
xdotool keydown Up
sleep 0.8
xdotool keyup Up
sleep 0.3
shot docs/play-day.png
press n 50000 && shot docs/night.png && press n 50000
press l 50000 && shot docs/sunset.png && press l 50000
press w 50000 && shot docs/wireframe.png && press w 50000

# A run to its end, filmed in the fixed view (where Up walks straight down the field) at
# the slow speed: a moment standing, then Up held until a car or the goal ends it.
press v 10000
press 1 0
for attempt in 1 2 3 4 5; do
  frames=()
  for i in $(seq -w 1 90); do
    if ((10#$i == 6)); then xdotool keydown Up; fi
    shot "$tmp/run$i.png"
    frames+=("$tmp/run$i.png")
    if on_end_screen "$tmp/run$i.png"; then break; fi
  done
  xdotool keyup Up
  last=${frames[-1]}
  # A won run is drawn by tools/pictures; GAME OVER is what the game must show here.
  if on_end_screen "$last" && (($(pixels "$last" docs/you-won.png) > 20000)); then break; fi
  press r 10000
done
cp "$last" docs/game-over.png
convert -delay 12 -loop 0 "${frames[@]}" -delay 200 "$last" -resize 50% -fuzz 3% -layers Optimize docs/run.gif
ls -l docs

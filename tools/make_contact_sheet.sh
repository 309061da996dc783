#!/usr/bin/env bash
# Draws every gauge of the built module on its own, by day and at night with
# the panel lights on, each at its own default width, and tiles the pictures
# into docs/contact_sheet.png: a tile per gauge (day beside night, under its
# name and default width), so the
# whole art can be judged at a glance. Run it whenever the art changes.
#   bash tools/make_contact_sheet.sh [build-dir]
# Needs ImageMagick (convert, montage).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/.." && pwd)
build=${1:-$root/build}
host="$build/gaugehost"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# One window per gauge, large enough for the tallest gauge of its width.
"$host" list | awk 'NR > 2 { print $2, $3 }' > "$work/gauges"
{
  echo "[Window Titles]"
  n=0
  while read -r name width; do printf 'Window%02d=%s\n' "$n" "$name"; n=$((n + 1)); done < "$work/gauges"
  n=0
  while read -r name width; do
    printf '\n[Window%02d]\nsize_mm=%d,%d\nvisible=1\nident=%d\nbackground_color=96,96,96\n' \
      "$n" $((width + 8)) $((width * 3 + 8)) $((n + 100))
    printf 'gauge00=Ardelvine_Instr!%s, 4, 4, %d\n' "$name" "$width"
    n=$((n + 1))
  done < "$work/gauges"
} > "$work/sheet.cfg"
printf 'set 10 1\nupdate\nupdate\n' > "$work/lights.scn"

mkdir -p "$work/day" "$work/night"
"$host" render "$work/sheet.cfg" --out "$work/day" >/dev/null
"$host" render "$work/sheet.cfg" --lighting night --scenario "$work/lights.scn" --out "$work/night" >/dev/null

tiles=()
n=0
while read -r name width; do
  for when in day night; do
    picture=$(ls "$work/$when"/window-$(printf '%02d' "$n")-*.png)
    convert "$picture" -trim +repage "$work/$when-$n.png" 2>/dev/null || cp "$picture" "$work/$when-$n.png"
  done
  convert \( "$work/day-$n.png" "$work/night-$n.png" -background '#303030' -splice 6x0 +append \) \
    \( -background '#303030' -fill '#e0e0e0' -pointsize 12 label:"$name ($width)" \) \
    -gravity center -background '#303030' -append "$work/tile-$n.png"
  tiles+=("$work/tile-$n.png")
  n=$((n + 1))
done < "$work/gauges"
montage "${tiles[@]}" -tile 6x -geometry '+6+6' -background '#303030' \
  "$root/docs/contact_sheet.png"
echo "wrote $root/docs/contact_sheet.png"

#!/usr/bin/env bash
# Renders the eleven dials at five points of their sweep (examples/dials_sweep.scn)
# and tiles the pictures into examples/dials_contact_sheet.png, so a person can
# check every needle against its face at a glance. Needs ImageMagick's montage.
#   bash examples/make_dials_contact_sheet.sh [build-dir]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=${1:-$here/../build}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The sweep, with a snapshot after steps 1, 6, 11, 16 and 20.
awk '
  /^# step [0-9]+ of 20/ { step = $3 }
  { print }
  /^update/ && step != "" && (step == 1 || step == 6 || step == 11 || step == 16 || step == 20) {
    printf "snapshot step%02d\n", step; step = ""
  }
' "$here/dials_sweep.scn" > "$work/contact.scn"

"$build/gaugehost" render "$here/dials.cfg" --scenario "$work/contact.scn" --out "$work" >/dev/null
labels=()
for s in 01 06 11 16 20; do labels+=(-label "sweep step $s of 20" "$work/step$s-window-00-dials.png"); done
montage "${labels[@]}" -tile 3x -geometry +8+8 -background '#202020' -fill '#dddddd' -pointsize 18 \
  "$here/dials_contact_sheet.png"
echo "wrote $here/dials_contact_sheet.png"

#!/usr/bin/env bash
# Renders the horizons, turn coordinator, compasses and clock at each snapshot
# of examples/flight_instruments.scn and tiles the pictures into
# examples/flight_instruments_contact_sheet.png, so a person can check the
# card, needles and hands against what each step sets. Needs ImageMagick's montage.
#   bash examples/make_flight_instruments_contact_sheet.sh [build-dir]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=${1:-$here/../build}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

"$build/gaugehost" render "$here/flight_instruments.cfg" --scenario "$here/flight_instruments.scn" \
  --out "$work" >/dev/null 2>&1
labels=()
for shot in $(awk '/^snapshot / { print $2 }' "$here/flight_instruments.scn"); do
  labels+=(-label "$shot" "$work/$shot-window-00-flight-instruments.png")
done
montage "${labels[@]}" -tile 3x -geometry +8+8 -background '#202020' -fill '#dddddd' -pointsize 18 -depth 8 \
  "$here/flight_instruments_contact_sheet.png"
echo "wrote $here/flight_instruments_contact_sheet.png"

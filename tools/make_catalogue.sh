#!/bin/sh
# Writes the gauge catalogue of the built module into docs/catalogue/, the
# copy the README links and the Windows release zip carries. Run it after a
# change to a gauge's records, pictures or description:
#
#   sh tools/make_catalogue.sh [BUILD_DIR]      (default: build)
#
# The pictures are recompressed with optipng when it is installed (Debian
# package optipng), which keeps the copy about a quarter smaller; the
# pictures are the same pixel for pixel either way.
set -eu
here=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-"$here/build"}
cmake --build "$build" --target gaugehost Ardelvine_Instr >/dev/null
fresh=$(mktemp -d)
trap 'rm -rf "$fresh"' EXIT
"$build/gaugehost" catalogue "$fresh/catalogue"
if command -v optipng >/dev/null 2>&1; then
  optipng -quiet -o2 -strip all "$fresh"/catalogue/pictures/*.png
else
  echo "make_catalogue: optipng not installed, pictures left as drawn" >&2
fi
rm -rf "$here/docs/catalogue"
mv "$fresh/catalogue" "$here/docs/catalogue"
echo "docs/catalogue: $(find "$here/docs/catalogue" -type f | wc -l) files, $(du -sh "$here/docs/catalogue" | cut -f1)"

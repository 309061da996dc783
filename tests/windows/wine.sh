#!/usr/bin/env bash
# The Windows module and host under Wine. One subcommand per check:
#
#   wine.sh headers   BUILD MODULE HOST_EXE    PE32 for i386, the two data exports and
#                                              nothing else, no runtime DLLs (no Wine needed)
#   wine.sh xp        BUILD MODULE SOURCE_DIR  loads on Windows XP SP3 and later: imports in
#                                              the XP allowlist and exactly the expected ones,
#                                              no TLS, XP's header versions, Pentium III
#                                              instructions, no time stamp (no Wine needed)
#   wine.sh setup     BUILD                    the Wine prefix (a failure here is a failure)
#   wine.sh release   BUILD ZIP LINUX_BUILD SOURCE_DIR VERSION
#                                              the release zip unpacked into
#                                              BUILD/release-unpacked, where the other checks
#                                              take the module from; its README; and the zip
#                                              made again from the same files is the same
#   wine.sh resources BUILD CHECK_EXE MODULE   resources by id, type, size and depth
#   wine.sh states    BUILD HOST_EXE MODULE LINUX_BUILD SOURCE_DIR
#                                              every example panel and scenario, and the
#                                              built-in panel: Windows state == Linux state
#   wine.sh sound     BUILD HOST_EXE MODULE LINUX_BUILD
#                                              sound set-up through the real calls, and
#                                              the latch when there is no sound device
#   wine.sh bad-module BUILD HOST_EXE          a missing or broken module is refused
#
# Everything runs in a prefix of its own under BUILD, with DirectSound on
# ALSA's null device (no sound card needed) and Wine's null display driver
# (windows exist, nothing is shown). With ARD_WINE_WINDOWS=winxp the prefix
# is another one, in which Wine reports Windows XP (5.1), and each check
# writes beside the other prefix's.
set -euo pipefail

command=$1
build=$(cd "$2" && pwd)
shift 2

windows=${ARD_WINE_WINDOWS:-}
variant=${windows:+-$windows}
export WINEPREFIX="$build/wine-prefix$variant"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
# ALSA reads ~/.asoundrc; a home of our own keeps the user's untouched.
export HOME="$build/wine-home"

fail() { echo "FAIL: $*" >&2; exit 1; }

# Runs a Windows program; its text output without carriage returns.
run() { wine "$@" | tr -d '\r'; }

setup() {
  mkdir -p "$HOME"
  printf 'pcm.!default { type null }\nctl.!default { type hw card 0 }\n' > "$HOME/.asoundrc"
  if [ ! -f "$WINEPREFIX/.ardelvine-ready" ]; then
    wineboot -i || fail "wineboot could not initialise the prefix $WINEPREFIX"
    wine reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f >/dev/null \
      || fail "cannot select Wine's null display driver"
    if [ -n "$windows" ]; then wine winecfg /v "$windows" || fail "Wine cannot report Windows '$windows'"; fi
    wineserver -w
    touch "$WINEPREFIX/.ardelvine-ready"
  fi
  run cmd /c echo ready | grep -q ready || fail "Wine runs no program in $WINEPREFIX"
  case $windows in
    "") ;;
    winxp) run cmd /c ver | grep -q 'Windows 5\.1\.' || fail "Wine in $WINEPREFIX does not report Windows XP: $(run cmd /c ver)" ;;
    *) fail "no check of what Wine reports for '$windows'" ;;
  esac
}

objdump=${OBJDUMP:-i686-w64-mingw32-objdump}

headers() {
  local module=$1 host=$2 dump file
  for file in "$module" "$host"; do
    "$objdump" -f "$file" | grep -q 'file format pei-i386' || fail "$file: not a PE file for i386"
    dump=$("$objdump" -p "$file")
    grep -Eq '^Magic[[:space:]]+010b[[:space:]]+\(PE32\)' <<<"$dump" || fail "$file: not a PE32 (32-bit) image"
    # Only the system's own DLLs: the C and C++ runtimes are linked in.
    if grep -Ei 'DLL Name: (libstdc|libgcc|libwinpthread)' <<<"$dump"; then fail "$file: needs a runtime DLL"; fi
  done
  dump=$("$objdump" -p "$module")
  sed -n '/^Characteristics/,/^$/p' <<<"$dump" | grep -qx $'\tDLL' || fail "$module: not a DLL"
  local exports
  exports=$(sed -n '/^\[Ordinal\/Name Pointer\] Table/,/^$/p' <<<"$dump" | awk '/^\t\[/ {print $NF}' | sort | tr '\n' ' ')
  [ "$exports" = "ImportTable Linkage " ] || fail "$module: exports '$exports', not exactly ImportTable and Linkage"
  # Both exports are data: their addresses lie in sections that hold no code.
  local base rvas sections rva address name vma size flags found
  base=$((0x$(awk '/^ImageBase/ {print $2}' <<<"$dump")))
  rvas=$(sed -n '/^Export Address Table --/,/^$/p' <<<"$dump" | awk '/Export RVA/ {print $(NF-2)}')
  [ "$(wc -w <<<"$rvas")" = 2 ] || fail "$module: $(wc -w <<<"$rvas") export addresses"
  # "name vma size flags..." per section.
  sections=$("$objdump" -h "$module" | awk '/^ *[0-9]+ / {h=$2 " " $4 " " $3; getline; print h " " $0}')
  for rva in $rvas; do
    address=$((base + 0x$rva))
    found=""
    while read -r name vma size flags; do
      if [ "$address" -ge $((0x$vma)) ] && [ "$address" -lt $((0x$vma + 0x$size)) ]; then found="$name $flags"; fi
    done <<<"$sections"
    case $found in
      "") fail "$module: export at RVA $rva lies in no section" ;;
      *CODE*) fail "$module: export at RVA $rva is in code section ${found%% *}" ;;
    esac
  done
  echo "PE32 i386 DLL exporting exactly ImportTable and Linkage, both data; no runtime DLLs"
}

# "dll function" per import, DLL names in lower case, sorted.
imports_of() {
  "$objdump" -p "$1" | awk '
    /^\tDLL Name: / { dll = tolower($3); next }
    /^\t[0-9a-f]+\t +[0-9]+ +[^ ]+$/ && dll != "" { print dll " " $NF; next }
    /^$/ { dll = "" }' | LC_ALL=C sort
}

# Instructions a Pentium III or Athlon XP lacks: SSE2 and later on the xmm
# registers (SSE's own single-precision operations are fine), AVX, and the
# later general-purpose and x87 additions.
kSse1='movaps|movups|movss|movlps|movhps|movlhps|movhlps|movmskps|movntps|(add|sub|mul|div|sqrt|rcp|rsqrt|max|min)(ps|ss)|andn?ps|orps|xorps|cmp[a-z]*(ps|ss)|u?comiss|shufps|unpck[hl]ps|cvt(t?ss2si|si2ss|pi2ps|t?ps2pi)|[ls]dmxcsr|prefetch[a-z0-9]*'
kLater='mfence|lfence|clflush|movnti|fisttp[a-z]*|popcnt|lzcnt|tzcnt|movbe|crc32[a-z]*|andn|bextr|blsi|blsr|blsmsk|[sr][ah][lr]x|rorx|pdep|pext|adcx|adox|xgetbv|rdrand|rdseed'

xp() {
  local module=$1 source=$2 dump imports unlisted
  dump=$("$objdump" -p "$module")
  imports=$(imports_of "$module")
  [ -n "$imports" ] || fail "$module: no imports read"
  unlisted=$(grep -v '^#' "$source/tests/windows/xp_allowlist.txt" | awk 'NF {print tolower($1) " " $2}' | LC_ALL=C sort \
    | LC_ALL=C comm -23 <(echo "$imports") -)
  [ -z "$unlisted" ] || fail "$module: imports what Windows XP may lack (not in tests/windows/xp_allowlist.txt): $(echo $unlisted)"
  if ! diff <(grep -v '^#' "$source/tests/windows/module_imports.txt") <(echo "$imports") >&2; then
    fail "$module: its imports differ from tests/windows/module_imports.txt (< expected, > imported)"
  fi
  # The loader sets up no implicit thread-local storage for a library that
  # LoadLibrary loads on XP: no TLS directory, so no TLS callbacks either.
  grep -Eq '^Entry 9 0+ 0+ Thread Storage Directory' <<<"$dump" || fail "$module: has a thread-local storage directory"
  if "$objdump" -h "$module" | grep -q ' \.tls '; then fail "$module: has a .tls section"; fi
  local field
  for field in MajorOSystemVersion MajorSubsystemVersion; do
    [ "$(awk -v f="$field" '$1 == f {print $2}' <<<"$dump")" -le 5 ] || fail "$module: $field above 5 (Windows XP is 5.1)"
  done
  grep -Eq '^Time/Date[[:space:]]+Thu Jan  1 00:00:00 1970' <<<"$dump" || fail "$module: carries a link time stamp"
  local later
  later=$("$objdump" -d --no-show-raw-insn "$module" | awk -F'\t' 'NF >= 2 {print $2}' \
    | grep -E "%[xy]mm|^($kLater)( |\$)" | grep -Ev "^($kSse1) " | sort | uniq -c | sort -rn | head -5 || true)
  [ -z "$later" ] || fail "$module: instructions beyond the Pentium III:
$later"
  echo "loads on Windows XP SP3 and later: $(wc -l <<<"$imports") imports, all in the XP allowlist and as expected; no TLS; Pentium III instructions"
}

release() {
  local zip=$1 linux=$2 source=$3 version=$4 dir="$build/release-unpacked" again="$build/release-again"
  rm -rf "$dir" && mkdir -p "$dir"
  (cd "$dir" && cmake -E tar xf "$zip") || fail "$zip: cannot be unpacked"
  local entries
  entries=$(cd "$dir" && find . -type f | sed 's|^\./||' | grep -v '^catalogue/' | LC_ALL=C sort | tr '\n' ' ')
  [ "$entries" = "Ardelvine_Instr.gau README.txt " ] || fail "$zip: holds '$entries', not Ardelvine_Instr.gau and README.txt"
  # The README is for Notepad (CR LF) and names the version and every gauge
  # of the module in the panel example, with its size.
  local readme="$dir/README.txt" name width
  [ "$(grep -c $'\r$' "$readme")" = "$(wc -l < "$readme")" ] || fail "README.txt: not every line ends in CR LF"
  grep -q "^Ardelvine instruments $version for Windows"$'\r$' "$readme" || fail "README.txt: does not begin with version $version"
  # The example places each gauge at its face's own pixels (its default size
  # when it has no face).
  while read -r _ name width _ face _; do
    local w=${face%x*}
    [ "$w" -gt 0 ] || w=$width
    grep -Eq "^(// )?gauge[0-9]+=Ardelvine_Instr!$name, [0-9]+, [0-9]+, $w, [0-9]+" "$readme" \
      || fail "README.txt: no panel line for $name at its face's width $w"
  done < <("$linux/gaugehost" list | tail -n +3)
  # Made again from the unpacked module, the zip is the same byte for byte.
  rm -rf "$again"
  cmake -DMODULE="$dir/Ardelvine_Instr.gau" -DHOST="$linux/gaugehost" -DSOURCE_DIR="$source" -DVERSION="$version" \
    -DSTAGE="$again" -DZIP="$again/again.zip" -P "$source/cmake/windows_release.cmake" || fail "the release cannot be made again"
  cmp "$zip" "$again/again.zip" || fail "$zip: made again from the same files, the zip differs"
  echo "release: $(basename "$zip") unpacked into $dir; README for every gauge; made again, the same bytes"
}

resources() {
  local check=$1 module=$2
  run "$check" "$module"
}

# The panel a scenario runs on: the examples/NAME.cfg its comments name, the
# built-in panel when its comments run it on `default`, or the panel whose
# name begins its own (dials_sweep.scn -> dials.cfg).
panel_of() {
  local scenario=$1 dir named stem
  dir=$(dirname "$scenario")
  if grep -qE 'gaugehost (render|state) default' "$scenario"; then echo default; return; fi
  named=$(grep -o 'examples/[A-Za-z0-9_.-]*\.cfg' "$scenario" | head -n1 || true)
  if [ -n "$named" ] && [ -f "$dir/$(basename "$named")" ]; then echo "$dir/$(basename "$named")"; return; fi
  stem=$(basename "$scenario" .scn)
  while :; do
    if [ -f "$dir/$stem.cfg" ]; then echo "$dir/$stem.cfg"; return; fi
    case $stem in *_*) stem=${stem%_*} ;; *) return 1 ;; esac
  done
}

states() {
  local host=$1 module=$2 linux=$3 source=$4
  local out="$build/wine-states$variant" runs=0 failed=0
  rm -rf "$out" && mkdir -p "$out"
  # (name, panel, scenario) for the built-in panel, every example panel alone
  # and every example scenario on its panel.
  local cases=("default|default|")
  for panel in "$source"/examples/*.cfg; do cases+=("$(basename "$panel")|$panel|"); done
  for scenario in "$source"/examples/*.scn; do
    [ -e "$scenario" ] || continue
    panel=$(panel_of "$scenario") || fail "$scenario: no example panel to run it on (name one: 'Place examples/NAME.cfg', or show it run on 'gaugehost render default')"
    cases+=("$(basename "$scenario")|$panel|$scenario")
  done
  for entry in "${cases[@]}"; do
    IFS='|' read -r name panel scenario <<<"$entry"
    local args=(state "$panel")
    [ -n "$scenario" ] && args+=(--scenario "$scenario")
    "$linux/gaugehost" "${args[@]}" > "$out/$name.linux.json"
    run "$host" "${args[@]}" --module "$module" > "$out/$name.windows.json" || { echo "FAIL: $name: gaugehost.exe failed" >&2; failed=1; continue; }
    if "$linux/tests/state_compare" --ignore sounds "$out/$name.linux.json" "$out/$name.windows.json"; then
      echo "same state: $name"
    else
      echo "FAIL: $name: the Windows host's state differs from the Linux host's" >&2
      failed=1
    fi
    runs=$((runs + 1))
  done
  [ "$runs" -ge 3 ] || fail "only $runs panel runs compared"
  [ "$failed" = 0 ] || exit 1
}

expect_line() {
  local trace=$1 pattern=$2 what=$3
  grep -Eq "$pattern" "$trace" || { cat "$trace" >&2; fail "$what (no line like: $pattern)"; }
}
expect_no_line() {
  local trace=$1 pattern=$2 what=$3
  if grep -Eq "$pattern" "$trace"; then cat "$trace" >&2; fail "$what (a line like: $pattern)"; fi
}

sound() {
  local host=$1 module=$2 linux=$3
  local dir="$build/wine-sound$variant"
  rm -rf "$dir" && mkdir -p "$dir"
  # One sound-owning switch, installed and clicked once.
  printf '[Window00]\nsize_mm=100,100\ngauge00=Ardelvine_Instr!Battery_Switch, 10, 10\n' > "$dir/panel.cfg"
  printf 'update\nclick Battery_Switch 15 22\nupdate\n' > "$dir/click.scn"

  ARD_IMPORT_TRACE="$dir/trace.txt" run "$host" state "$dir/panel.cfg" --scenario "$dir/click.scn" --module "$module" \
    > "$dir/sound.json"
  local t="$dir/trace.txt"
  expect_line "$t" '^FindWindowA class=FS98MAIN -> found$' "the module did not find the host's main window"
  expect_line "$t" '^DirectSoundCreate -> 0x00000000$' "no DirectSound device was created"
  expect_line "$t" '^IDirectSound::SetCooperativeLevel window=set level=1 -> 0x00000000$' "the device did not take the host window"
  expect_line "$t" '^FindResourceA type=WAVE id=10 -> found$' "WAVE 10 was not found among the module's resources"
  expect_line "$t" '^mmioOpenA memory bytes=[0-9]+ flags=0x10002 -> ok$' "the WAVE resource was not opened as a memory file"
  expect_line "$t" "^mmioDescend RIFF 'WAVE' -> 0" "no RIFF WAVE form found"
  expect_line "$t" "^mmioDescend chunk 'fmt ' -> 0 size=16$" "no 16-byte fmt chunk"
  expect_line "$t" "^mmioDescend chunk 'data' -> 0 size=3828$" "no 3828-byte data chunk"
  expect_line "$t" '^GlobalAlloc flags=0x2 bytes=3828 -> ok$' "no movable block for the samples"
  expect_line "$t" '^mmioRead bytes=3828 -> 3828$' "the samples were not read whole"
  expect_line "$t" '^IDirectSound::CreateSoundBuffer size=36 flags=0x80e0 bytes=3828 rate=22050 bits=16 -> 0x00000000$' "no sound buffer"
  expect_line "$t" '^IDirectSoundBuffer::Play flags=0 -> 0x00000000$' "the click was not played"
  echo "sound set-up and click through DirectSound: ok"

  # The window class follows the host's file name (here C...): the host
  # creates its window by the same rule the module looks it up by.
  cp "$host" "$dir/Cockpit.exe"
  ARD_IMPORT_TRACE="$dir/renamed.txt" run "$dir/Cockpit.exe" state "$dir/panel.cfg" --module "$module" >/dev/null
  expect_line "$dir/renamed.txt" '^FindWindowA class=MSCFSMAIN -> found$' "a host named C... was not found under MSCFSMAIN"
  expect_line "$dir/renamed.txt" '^IDirectSound::CreateSoundBuffer .* -> 0x00000000$' "no sound buffer for the renamed host"
  echo "window class by the host's file name: ok"

  # Without a sound driver no device can be made: the first failure silences
  # the module, which then loads and plays nothing, and the switch still works.
  printf '[Window00]\nsize_mm=200,100\ngauge00=Ardelvine_Instr!Battery_Switch, 10, 10\ngauge01=Ardelvine_Instr!Avionics_Switch, 60, 10\n' > "$dir/two.cfg"
  printf 'update\nclick Battery_Switch 15 22\nclick Avionics_Switch 15 22\nupdate\n' > "$dir/two.scn"
  ARD_IMPORT_TRACE="$dir/silent.txt" WINEDLLOVERRIDES="$WINEDLLOVERRIDES;winealsa.drv=d" \
    run "$host" state "$dir/two.cfg" --scenario "$dir/two.scn" --module "$module" > "$dir/silent.json"
  t="$dir/silent.txt"
  [ "$(grep -c '^DirectSoundCreate -> 0x8' "$t")" = 2 ] || { cat "$t" >&2; fail "each switch should have tried and failed to open a device"; }
  expect_no_line "$t" '^FindResourceA type=WAVE' "a silenced module still loaded a sound"
  expect_no_line "$t" '^mmioOpenA' "a silenced module still read a sound"
  expect_no_line "$t" 'Play' "a silenced module still played"
  "$linux/gaugehost" state "$dir/two.cfg" --scenario "$dir/two.scn" > "$dir/two.linux.json"
  "$linux/tests/state_compare" --ignore sounds "$dir/two.linux.json" "$dir/silent.json" \
    || fail "the silenced switches do not work as they do on Linux"
  echo "no sound device: module silenced, switches still work: ok"
}

bad_module() {
  local host=$1 dir="$build/wine-bad$variant" output status
  rm -rf "$dir" && mkdir -p "$dir"
  printf 'not a library\n' > "$dir/Broken.gau"
  for module in "$dir/Missing.gau" "$dir/Broken.gau"; do
    status=0
    output=$(wine "$host" list --module "$module" 2>&1) || status=$?
    output=$(printf '%s' "$output" | tr -d '\r')
    [ "$status" = 2 ] || fail "$module: exit status $status, not 2"
    [ "$(printf '%s\n' "$output" | wc -l)" = 1 ] || fail "$module: not one line: $output"
    case $output in "gaugehost: $module: "*) ;; *) fail "$module: message does not name the file: $output" ;; esac
    echo "refused: $output"
  done
}

case $command in
  headers) headers "$@" ;;
  xp) xp "$@" ;;
  release) release "$@" ;;
  setup) setup ;;
  resources) resources "$@" ;;
  states) states "$@" ;;
  sound) sound "$@" ;;
  bad-module) bad_module "$@" ;;
  *) fail "unknown check $command" ;;
esac

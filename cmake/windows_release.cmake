# The release for simulator users: Ardelvine_Instr-VERSION-win32.zip with the
# Windows module, a README.txt written for them, and the gauge catalogue's
# pictures when docs/catalogue/ exists. Run by the Windows build (target
# release, cmake/windows.cmake):
#
#   cmake -DMODULE=GAU -DHOST=LINUX_GAUGEHOST -DSOURCE_DIR=DIR -DVERSION=x.y.z
#         -DSTAGE=DIR -DZIP=FILE -P cmake/windows_release.cmake
#
# The README's panel example comes from the module's own records: the gauges,
# their Linkage order and default widths from `gaugehost list`, their heights
# from `gaugehost state` on a panel of all of them, read by the Linux host
# from the Linux module built from the same sources. The example is then
# checked by that host as the simulator would read it.
#
# The zip is the same byte for byte whenever it is made from the same
# sources: files in a fixed order with fixed times and permissions, no
# owner or extra attributes (Info-ZIP's zip -X).

foreach(var MODULE HOST SOURCE_DIR VERSION STAGE ZIP)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "windows_release.cmake: ${var} not given")
  endif()
endforeach()
find_program(ZIP_PROGRAM zip)
if(NOT ZIP_PROGRAM)
  message(FATAL_ERROR "zip not found (Debian package zip)")
endif()

file(REMOVE_RECURSE ${STAGE})
file(MAKE_DIRECTORY ${STAGE}/work)

function(run_host out_var)
  execute_process(COMMAND ${HOST} ${ARGN} RESULT_VARIABLE status OUTPUT_VARIABLE output ERROR_VARIABLE errors)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "gaugehost ${ARGN}: ${errors}")
  endif()
  set(${out_var} "${output}" PARENT_SCOPE)
endfunction()

# ---------------------------------------------------------------- the gauges
run_host(listing list)
string(REPLACE "\n" ";" listing "${listing}")
set(names)
foreach(line IN LISTS listing)
  # "  3  Registration   150   25  150x25   callback": default width and height
  # in panel units, then the background bitmap's pixels.
  if(line MATCHES "^ *[0-9]+ +([A-Za-z0-9_]+) +([0-9]+) +([0-9]+) +([0-9]+)x([0-9]+)")
    list(APPEND names ${CMAKE_MATCH_1})
    set(width_${CMAKE_MATCH_1} ${CMAKE_MATCH_2})
    set(height_${CMAKE_MATCH_1} ${CMAKE_MATCH_3})
    # The example places a gauge at its face's own pixels, where its legends read.
    if(CMAKE_MATCH_4 GREATER 0)
      set(place_w_${CMAKE_MATCH_1} ${CMAKE_MATCH_4})
      set(place_h_${CMAKE_MATCH_1} ${CMAKE_MATCH_5})
    else()
      set(place_w_${CMAKE_MATCH_1} ${CMAKE_MATCH_2})
      set(place_h_${CMAKE_MATCH_1} ${CMAKE_MATCH_3})
    endif()
  endif()
endforeach()
list(LENGTH names gauge_count)
if(gauge_count EQUAL 0)
  message(FATAL_ERROR "gaugehost list named no gauge")
endif()

# ---------------------------------------------------------------- the panel example
# Every gauge at its face's own pixels (where its legends read) in Linkage order,
# in rows 1000 units wide.
# The configurable window buttons show a typical string each; of the two
# start-state gauges a panel holds one, so Engine_Off's line is a comment.
set(param_Close_Subpanel "cRADIO_STACK_PANEL cTHROTTLE_PANEL")
set(param_Radios_Toggle "tRADIO_STACK_PANEL")
set(param_GPS_Toggle "tGPS_PANEL")
set(param_Throttle_Toggle "tTHROTTLE_PANEL")
set(param_Compass_Toggle "tCOMPASS_PANEL")
set(param_Landing_View_Toggle "p1")
set(param_Invisible_Toggle "tTHROTTLE_PANEL")
set(param_Fuel_Toggle "hTOGGLE_FUEL_WINDOW")
set(param_Electricity_Toggle "b180")
set(commented_Engine_Off "the other start-state gauge: a panel holds Engine_On or Engine_Off")

set(row_width 1000)
set(x 10)
set(y 10)
set(row_height 0)
set(index 0)
set(lines)
foreach(name IN LISTS names)
  set(w ${place_w_${name}})
  set(h ${place_h_${name}})
  math(EXPR right "${x} + ${w}")
  if(right GREATER row_width)
    math(EXPR y "${y} + ${row_height} + 10")
    set(x 10)
    set(row_height 0)
  endif()
  if(h GREATER row_height)
    set(row_height ${h})
  endif()
  string(LENGTH "${index}" digits)
  set(number ${index})
  if(digits EQUAL 1)
    set(number "0${index}")
  endif()
  set(line "gauge${number}=Ardelvine_Instr!${name}, ${x}, ${y}, ${w}, ${h}")
  if(DEFINED param_${name})
    string(APPEND line ", ${param_${name}}")
  endif()
  if(DEFINED commented_${name})
    set(line "// ${line}    (${commented_${name}})")
  else()
    math(EXPR index "${index} + 1")
  endif()
  string(APPEND lines "${line}\n")
  math(EXPR x "${x} + ${w} + 10")
endforeach()
math(EXPR panel_height "${y} + ${row_height} + 10")
set(panel "[Window Titles]
Window00=Main Panel

[Window00]
size_mm=${row_width},${panel_height}
ident=MAIN_PANEL
visible=1
${lines}")
file(WRITE ${STAGE}/work/panel.cfg "${panel}")
# The example is one window, so the buttons' windows (the simulator's own and
# the user's subpanels) are not in it: check may say so, but must read every line.
execute_process(COMMAND ${HOST} check ${STAGE}/work/panel.cfg RESULT_VARIABLE status
  OUTPUT_VARIABLE check_output ERROR_VARIABLE check_output)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "the README's panel example does not pass gaugehost check:\n${check_output}\n${panel}")
endif()

# One line per gauge: its name and default size.
set(sizes)
foreach(name IN LISTS names)
  string(LENGTH "${name}" length)
  math(EXPR pad "26 - ${length}")
  string(REPEAT " " ${pad} spaces)
  string(APPEND sizes "  ${name}${spaces}${width_${name}} x ${height_${name}}\n")
endforeach()

# ---------------------------------------------------------------- the catalogue
# ard_release_catalogue: the gauge catalogue's pages and pictures, when
# docs/catalogue/ holds them, go into the zip under catalogue/; the README
# points there, or to where the catalogue is published in the repository.
set(catalogue_files)
set(catalogue_dir ${SOURCE_DIR}/docs/catalogue)
if(IS_DIRECTORY ${catalogue_dir})
  file(GLOB_RECURSE catalogue_files RELATIVE ${catalogue_dir} LIST_DIRECTORIES false ${catalogue_dir}/*)
endif()
if(catalogue_files)
  file(COPY ${catalogue_dir}/ DESTINATION ${STAGE}/files/catalogue)
  set(catalogue_text "Open catalogue\\index.html from this zip in a web browser: every gauge
pictured, with its name, size and what it does.")
else()
  set(catalogue_text "The gauge catalogue, every gauge pictured with its name, size and what it
does, is published with the module's sources as docs/catalogue/index.html.")
endif()

# ---------------------------------------------------------------- README.txt
set(title "Ardelvine instruments ${VERSION} for Windows")
string(LENGTH "${title}" title_length)
string(REPEAT "=" ${title_length} title_rule)
set(readme "${title}
${title_rule}

Ardelvine_Instr.gau is a gauge module for the simulator's 2D panels: the
${gauge_count} gauges of the cockpit of a single-engine military aircraft -
flight and engine dials, radios, switches with guard covers, warning lights,
a throttle quadrant, panel-window buttons and two invisible start-state
gauges.

It runs on Windows XP SP3 and every later Windows, 32-bit or 64-bit, on a
processor with SSE (Pentium III, Athlon XP or any later one). It needs
nothing else: no runtime to install, no other file beside it.


1. Installing
-------------

Copy Ardelvine_Instr.gau into the simulator's Gauges folder, where every
aircraft finds it, or into the aircraft's own panel folder
(Aircraft\\<aircraft>\\panel\\) to keep it with that aircraft alone. Then
place its gauges in the aircraft's panel\\panel.cfg (below) and load the
aircraft again.


2. Placing the gauges in panel.cfg
----------------------------------

A gauge line names the module by its file name without .gau:

  gaugeNN=Ardelvine_Instr!NAME, X, Y, WIDTH, HEIGHT, PARAMETERS

X and Y place the gauge's top left corner in the window's size_mm units.
WIDTH and HEIGHT may be left out: a missing width is the gauge's default
width, a missing height keeps the proportions of the gauge's picture.
PARAMETERS are for the window buttons and the registration plate (3.).
Lines are numbered gauge00, gauge01, ... without gaps in each window.

This panel holds every gauge at the size of its picture, where its legends read:

${panel}
Each gauge's name and default size (width x height):

${sizes}

3. The window buttons' parameter strings
----------------------------------------

Nine buttons do what their parameter string says: Invisible_Toggle,
Close_Subpanel, Radios_Toggle, Landing_View_Toggle, GPS_Toggle,
Throttle_Toggle, Compass_Toggle, Fuel_Toggle and Electricity_Toggle. They
differ only in their face and tooltip. An option is a lower-case letter
followed at once by its argument: write tRADIO_STACK_PANEL, not
t RADIO_STACK_PANEL (with the space the argument is no window name, and the
button acts on the main panel). Options may stand in any order, separated by
spaces, commas or nothing.

  oWINDOW  on every click: open the window
  cWINDOW  on every click: close the window
  tWINDOW  on every click: show the window if hidden, hide it if shown
           (all o options first, then all c, then all t)
  pN       on every click: the view; p0 (or p) resets it, p3 steps it
           forward three times, p-2 back twice
  aWINDOW  when the panel loads: close the window (once)
  bFACE    wear another button's face: 100, 110, 120, ... 180
  hTOOLTIP the tooltip: TOGGLE_RADIO_WINDOW, TOGGLE_GPS_WINDOW,
           TOGGLE_THROTTLE_WINDOW, TOGGLE_COMPASS_WINDOW, TOGGLE_FUEL_WINDOW,
           TOGGLE_COLLECTIVE_WINDOW, or the simulator's text number (40960 or
           more; a smaller number removes the tooltip)

WINDOW is a window's ident as a number, or one of these names: MAIN_PANEL (0),
RADIO_STACK_PANEL (50), COMPASS_PANEL (75), ANNUNCIATOR_PANEL (125),
ANNUNCIATOR2_PANEL (150), COLLECTIVE_PANEL (200), THROTTLE_PANEL (10),
MINI_CONTROLS_PANEL (100), IFR_MAIN_PANEL (175), GPS_PANEL (225),
OVERHEAD_PANEL (250). A name counts when the argument begins with it.
/, # and ' begin a comment: no option after the first of them counts.

A button without a parameter string shows and hides the main panel. A string
with no click option (b140 alone) makes a click do nothing. Nothing in a
string is ever reported as wrong: text that is no window name is read as a
number, and text without digits is window 0, the main panel.

Examples:

  gauge10=Ardelvine_Instr!Radios_Toggle, 990, 650, 19, 19, tRADIO_STACK_PANEL
  gauge11=Ardelvine_Instr!Close_Subpanel, 1015, 650, 19, 19, cRADIO_STACK_PANEL cGPS_PANEL
  gauge12=Ardelvine_Instr!Invisible_Toggle, 1040, 650, 19, 19, b150 tTHROTTLE_PANEL aTHROTTLE_PANEL

The last one wears the throttle button's face, hides the throttle window
when the panel loads and toggles it on every click.

Kneeboard_Toggle, Map_Toggle and ATC_Toggle take no string: they show the
kneeboard, the map and the air traffic control window.

Registration shows the aircraft's identifier on a plate. Its string may hold
tTEXT as its very first option (a fixed text instead), rN gN bN (the text
colour, 0 to 255) and, last of all, fFONT (a font name, the rest of the line):

  gauge13=Ardelvine_Instr!Registration, 10, 750, 150, r255 g200 b40 fCourier New


4. The start-state gauges
-------------------------

Engine_On and Engine_Off are invisible. Place one of them, anywhere, in the
main panel window. When the panel is ready and the aircraft stands with its
engine running, as a flight usually begins, it sets the cockpit's state:

  Engine_On   all radios switched on
  Engine_Off  cold and dark: fuel valve closed, levers back; battery,
              generator, avionics, pitot heat, beacon and navigation
              lights and all radios off

Both record the fuel tanks' sizes for the fuel gauge, so keep one of them in
every panel that has the fuel gauge. Do not place both.


5. No click sound?
------------------

The switches, the radios and the ADF/VOR indicators click when operated.
They play through DirectSound on the simulator's own main window. At the
first sound failure - no sound device, a device that refuses, a sound that
cannot be loaded - the module stops playing sounds until the simulator is
closed; the gauges keep working in silence. If no click is heard:

- Check that Windows plays sound at all (Control Panel, Sounds and Audio
  Devices, or Sound, and its test) and that the simulator's own sound is on.
- Close programs that may hold the sound card for themselves, then close
  the simulator and start it again: loading another aircraft is not enough.
- Start the simulator from its own program file under its own name: the
  module finds the simulator's window by the name the program file gives it.
- In a virtual machine, give it a sound card (on Windows XP one the system
  has a driver for, such as an AC'97 device).


6. Pictures of the gauges
-------------------------

${catalogue_text}
")

# Notepad of Windows XP wants CR LF line ends.
string(REPLACE "\n" "\r\n" readme "${readme}")
file(WRITE ${STAGE}/files/README.txt "${readme}")
file(COPY_FILE ${MODULE} ${STAGE}/files/Ardelvine_Instr.gau)

# ---------------------------------------------------------------- the zip
file(GLOB_RECURSE entries RELATIVE ${STAGE}/files LIST_DIRECTORIES false ${STAGE}/files/*)
list(SORT entries)
foreach(entry IN LISTS entries)
  file(CHMOD ${STAGE}/files/${entry} FILE_PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
endforeach()
# One fixed time for every file: the project's version is what dates it.
execute_process(COMMAND touch -d "2000-01-01 00:00:00 UTC" ${entries} WORKING_DIRECTORY ${STAGE}/files
  RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "cannot set the files' times")
endif()
file(REMOVE ${ZIP})
execute_process(COMMAND ${CMAKE_COMMAND} -E env TZ=UTC ${ZIP_PROGRAM} -X -D -q -9 ${ZIP} ${entries}
  WORKING_DIRECTORY ${STAGE}/files RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "zip could not write ${ZIP}")
endif()

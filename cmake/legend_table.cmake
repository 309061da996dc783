# Turns the generator's legends.tsv (LEGENDS) into the host's table of each
# bitmap's smallest legend (OUT, a C++ source), so that the host knows them
# without the build folder.
file(STRINGS ${LEGENDS} rows REGEX "^[0-9]")
list(SORT rows COMPARE NATURAL)
set(body "")
foreach(row IN LISTS rows)
  string(REPLACE "\t" ";" fields "${row}")
  list(GET fields 0 id)
  list(GET fields 3 height)
  if(NOT height STREQUAL "0.0" AND NOT height STREQUAL "0")
    string(APPEND body "    {${id}, ${height}},\n")
  endif()
endforeach()
file(WRITE ${OUT}.new "// Generated from the art generator's legends.tsv.
#include \"host/load/legends.h\"

namespace ardelvine::hostapp {

namespace {
constexpr LegendHeight kRows[] = {
${body}};
}  // namespace

std::span<const LegendHeight> legend_heights() { return kRows; }

}  // namespace ardelvine::hostapp
")
execute_process(COMMAND ${CMAKE_COMMAND} -E copy_if_different ${OUT}.new ${OUT})
file(REMOVE ${OUT}.new)

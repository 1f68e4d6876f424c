# Writes OUTPUT, the C++ tables of the handsets' pictograms, from SOURCE,
# Unicode's EmojiSources.txt: every row with a code in field 1, as
# {code, first code point, second code point or 0}, once sorted by code and
# once by text, and their names in code order from NAMES, Unicode's
# UnicodeData.txt (a keycap is its base character's name and "KEYCAP").
# Run as: cmake -DSOURCE=... -DNAMES=... -DOUTPUT=... -P GeneratePictograms.cmake
cmake_minimum_required(VERSION 3.25)

function(pad_hex value out)
  string(LENGTH "${value}" length)
  math(EXPR zeros "6 - ${length}")
  string(REPEAT "0" ${zeros} padding)
  set(${out} "${padding}${value}" PARENT_SCOPE)
endfunction()

file(READ "${SOURCE}" content)
# Fields are separated by ";", which is CMake's list separator.
string(REPLACE ";" "|" content "${content}")
string(REPLACE "\n" ";" lines "${content}")

set(by_code)
set(by_text)
set(codes)
foreach(line IN LISTS lines)
  if(NOT line MATCHES "^([0-9A-F]+)( [0-9A-F]+)*\\|([0-9A-F]*)\\|")
    continue()
  endif()
  set(code "${CMAKE_MATCH_3}")
  if(code STREQUAL "")
    continue()  # no pictogram of these handsets for this character
  endif()
  string(REGEX MATCH "^[0-9A-F ]+" text "${line}")
  string(REPLACE " " ";" points "${text}")
  list(LENGTH points count)
  if(count GREATER 2)
    message(FATAL_ERROR "${SOURCE}: a sequence of ${count} code points (${text}); the tables hold two")
  endif()
  list(GET points 0 first)
  set(second 0)
  if(count EQUAL 2)
    list(GET points 1 second)
  endif()
  pad_hex(${first} first_key)
  pad_hex(${second} second_key)
  list(APPEND codes ${code})
  list(APPEND by_code "${code}|${first}|${second}")
  list(APPEND by_text "${first_key}${second_key}|${code}|${first}|${second}")
endforeach()

list(LENGTH codes rows)
list(REMOVE_DUPLICATES codes)
list(LENGTH codes distinct)
if(rows EQUAL 0 OR NOT rows EQUAL distinct)
  message(FATAL_ERROR "${SOURCE}: ${rows} pictogram rows, ${distinct} distinct codes")
endif()
list(SORT by_code)
list(SORT by_text)

function(rows_of entries skip out)
  set(text "")
  foreach(entry IN LISTS entries)
    string(REPLACE "|" ";" fields "${entry}")
    list(SUBLIST fields ${skip} 3 fields)
    list(GET fields 0 code)
    list(GET fields 1 first)
    list(GET fields 2 second)
    string(APPEND text "    {0x${code}, 0x${first}, 0x${second}},\n")
  endforeach()
  set(${out} "${text}" PARENT_SCOPE)
endfunction()
rows_of("${by_code}" 0 code_rows)

# The names, read in one pass over UnicodeData.txt.
set(firsts)
foreach(entry IN LISTS by_code)
  string(REPLACE "|" ";" fields "${entry}")
  list(GET fields 1 first)
  list(APPEND firsts ${first})
endforeach()
list(REMOVE_DUPLICATES firsts)
list(JOIN firsts "|" alternatives)
file(READ "${NAMES}" names)
string(REPLACE ";" "|" names "${names}")
string(REGEX MATCHALL "\n(${alternatives})\\|[^|]*" named "${names}")
foreach(match IN LISTS named)
  string(REGEX MATCH "^\n([0-9A-F]+)\\|(.*)$" match "${match}")
  set(name_${CMAKE_MATCH_1} "${CMAKE_MATCH_2}")
endforeach()
set(name_rows "")
foreach(entry IN LISTS by_code)
  string(REPLACE "|" ";" fields "${entry}")
  list(GET fields 1 first)
  list(GET fields 2 second)
  if(NOT DEFINED name_${first})
    message(FATAL_ERROR "${NAMES}: no name for U+${first}")
  endif()
  set(name "${name_${first}}")
  if(second STREQUAL "20E3")
    string(APPEND name " KEYCAP")
  elseif(NOT second STREQUAL "0")
    message(FATAL_ERROR "${SOURCE}: U+${first} U+${second} is no keycap; it has no name here")
  endif()
  string(APPEND name_rows "    \"${name}\",\n")
endforeach()
rows_of("${by_text}" 1 text_rows)

file(WRITE "${OUTPUT}.new" "// Generated from ${SOURCE} by GeneratePictograms.cmake; do not edit.
// ${rows} pictograms.

inline constexpr Pictogram pictogramsByCode[] = {
${code_rows}};

inline constexpr Pictogram pictogramsByText[] = {
${text_rows}};

// Unicode's names, in the order of pictogramsByCode.
inline constexpr const char* pictogramNamesByCode[] = {
${name_rows}};
")
file(COPY_FILE "${OUTPUT}.new" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.new")

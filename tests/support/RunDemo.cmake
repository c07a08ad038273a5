# Runs a demo with --capture under the emulator: it must take its picture
# and end by itself (a menu's loop left open, for one, keeps it running
# until the test's timeout), with a BMP file to show for it.
#
# SHOWS names colours (RRGGBB) the demo puts on the screen, which the
# picture must hold, each as a run of four pixels.
#
#   cmake -DEMULATOR=wine -DDEMO=<exe> -DPICTURE=<bmp> -DARGS=<a|b|...> -DSHOWS=<c|c|...> -P RunDemo.cmake
string(REPLACE "|" ";" args "${ARGS}")
get_filename_component(folder "${PICTURE}" DIRECTORY)
file(MAKE_DIRECTORY "${folder}")
file(REMOVE "${PICTURE}")
execute_process(COMMAND ${EMULATOR} "${DEMO}" ${args} --capture "${PICTURE}"
  WORKING_DIRECTORY "${folder}" RESULT_VARIABLE result OUTPUT_QUIET ERROR_QUIET)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "${DEMO} ended with ${result}")
endif()
if(NOT EXISTS "${PICTURE}")
  message(FATAL_ERROR "${DEMO} left no picture")
endif()
file(READ "${PICTURE}" magic LIMIT 2 HEX)
file(SIZE "${PICTURE}" size)
# The smallest capture, the title bar form, is over 300 kB.
if(NOT magic STREQUAL "424d" OR size LESS 100000)  # "BM"
  message(FATAL_ERROR "${PICTURE} is no picture of a window (${size} bytes)")
endif()
# A 24-bit picture keeps each pixel as blue, green, red.
file(READ "${PICTURE}" pixels HEX)
string(REPLACE "|" ";" colours "${SHOWS}")
foreach(colour IN LISTS colours)
  string(TOLOWER "${colour}" rgb)
  string(SUBSTRING "${rgb}" 0 2 red)
  string(SUBSTRING "${rgb}" 2 2 green)
  string(SUBSTRING "${rgb}" 4 2 blue)
  string(REPEAT "${blue}${green}${red}" 4 run)
  string(FIND "${pixels}" "${run}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "${PICTURE} does not show #${colour}")
  endif()
endforeach()
message(STATUS "${PICTURE}: ${size} bytes")

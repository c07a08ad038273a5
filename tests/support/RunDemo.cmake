# Runs a demo with --capture under the emulator: it must take its picture
# and end by itself (a menu's loop left open, for one, keeps it running
# until the test's timeout), with a BMP file to show for it.
#
#   cmake -DEMULATOR=wine -DDEMO=<exe> -DPICTURE=<bmp> -DARGS=<a|b|...> -P RunDemo.cmake
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
message(STATUS "${PICTURE}: ${size} bytes")

# Runs the asset generator into OUT and fails unless every file it writes is byte-for-byte
# the committed one in SRC, with no file missing or extra on either side.
#   cmake -DGEN=<generator> -DSRC=<repo>/assets -DOUT=<scratch dir> -P check_assets.cmake
cmake_minimum_required(VERSION 3.25)

foreach(var GEN SRC OUT)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "check_assets.cmake needs -D${var}=...")
  endif()
endforeach()

file(REMOVE_RECURSE "${OUT}")
execute_process(COMMAND "${GEN}" "${OUT}" RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "asset generator failed (${status})")
endif()

file(GLOB_RECURSE generated LIST_DIRECTORIES false RELATIVE "${OUT}" "${OUT}/*")
file(GLOB_RECURSE committed LIST_DIRECTORIES false RELATIVE "${SRC}" "${SRC}/*")
list(SORT generated)
list(SORT committed)

set(problems "")
foreach(name IN LISTS generated)
  if(NOT name IN_LIST committed)
    string(APPEND problems "  generated but not committed: assets/${name}\n")
  endif()
endforeach()
foreach(name IN LISTS committed)
  if(NOT name IN_LIST generated)
    string(APPEND problems "  committed but not generated: assets/${name}\n")
  else()
    execute_process(COMMAND "${CMAKE_COMMAND}" -E compare_files "${SRC}/${name}" "${OUT}/${name}"
                    RESULT_VARIABLE differs)
    if(NOT differs EQUAL 0)
      string(APPEND problems "  differs from the generator's output: assets/${name}\n")
    endif()
  endif()
endforeach()

if(problems)
  message(FATAL_ERROR "Committed assets are out of date; regenerate them with "
                      "larkmere_assetgen <repo>/assets\n${problems}")
endif()
list(LENGTH committed count)
message(STATUS "All ${count} asset files match the generator's output")

# Regenerates the DEFAULT set into OUT with GEN and compares it with the
# committed files in SRC: the data beside the program must be what the
# generator makes, not hand-edited bytes.
file(REMOVE_RECURSE ${OUT})
file(MAKE_DIRECTORY ${OUT})
# EMU is the emulator that runs a cross-compiled generator, empty otherwise.
execute_process(COMMAND ${EMU} ${GEN} ${OUT} RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "cfg_make_default failed: ${rc}")
endif()
foreach(ext CY2 PY2 UY2 MY2)
  execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${OUT}/DEFAULT.${ext} ${SRC}/DEFAULT.${ext}
                  RESULT_VARIABLE diff)
  if(NOT diff EQUAL 0)
    message(FATAL_ERROR "data/DEFAULT.${ext} differs from the generator's output: run cfg_make_default data")
  endif()
endforeach()

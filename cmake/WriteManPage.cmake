# cmake -DPROGRAM=<program> -DOUTPUT=<file> -P WriteManPage.cmake: writes `PROGRAM --man` to
# OUTPUT, failing the build when the program fails or prints nothing.
get_filename_component(folder ${OUTPUT} DIRECTORY)
file(MAKE_DIRECTORY ${folder})
execute_process(COMMAND ${PROGRAM} --man OUTPUT_FILE ${OUTPUT}.part RESULT_VARIABLE result)
file(SIZE ${OUTPUT}.part size)
if(NOT result EQUAL 0 OR size EQUAL 0)
  file(REMOVE ${OUTPUT}.part)
  message(FATAL_ERROR "${PROGRAM} --man failed (${result})")
endif()
file(RENAME ${OUTPUT}.part ${OUTPUT})

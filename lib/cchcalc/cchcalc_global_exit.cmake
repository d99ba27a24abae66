# Runs PROGRAM and requires a clean exit: status 0, nothing on standard error, and the
# tables released exactly once, after what main printed.
execute_process(COMMAND ${PROGRAM} RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
set(expected "overlap negative\nClearing static data used for charray calc.s. \nDon't do this unless you are finished with charray objects\nCCHCalc static data cleared\n")
if(NOT status STREQUAL "0" OR NOT err STREQUAL "" OR NOT out STREQUAL expected)
  message(FATAL_ERROR "exit status: ${status}\nstandard output:\n${out}\nstandard error:\n${err}")
endif()

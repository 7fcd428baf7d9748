# SPDX-License-Identifier: GPL-3.0-or-later
# Runs the example with three emulated loggers and checks that it downloaded the second one.
file(REMOVE_RECURSE "${FOLDER}")
file(MAKE_DIRECTORY "${FOLDER}")
set(ENV{LOGGERSIM} "HX20D:sn=EX1:samples=100,HX20D:sn=EX2:samples=700,HX10D:sn=EX3:samples=50")
set(ENV{HOME} "${FOLDER}")
execute_process(COMMAND "${PROGRAM}" EX2 "${FOLDER}" RESULT_VARIABLE result OUTPUT_VARIABLE output
                TIMEOUT 60)
message("${output}")
file(GLOB downloaded "${FOLDER}/*.data")
list(LENGTH downloaded count)
if(NOT result EQUAL 0 OR NOT count EQUAL 1 OR NOT output MATCHES "MKT [0-9.-]+ °C")
    message(FATAL_ERROR "the example did not download EX2 (exit ${result}, ${count} files)")
endif()
file(STRINGS "${downloaded}" header REGEX "\"sn\":\"EX2\"" LIMIT_INPUT 4096)
if(NOT header)
    message(FATAL_ERROR "the downloaded recording is not EX2's")
endif()

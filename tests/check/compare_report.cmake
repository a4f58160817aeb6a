# Runs the check (through RUNNER, Wine for the Windows build) with OPTIONS on
# FOLDER from the folder DIR and holds its report against the file GOLDEN line
# for line, line ends aside (the Windows program writes CR LF), and its exit
# status against STATUS.
separate_arguments(options UNIX_COMMAND "${OPTIONS}")
execute_process(COMMAND ${RUNNER} ${CHECK} ${options} ${FOLDER}
    WORKING_DIRECTORY ${DIR}
    OUTPUT_VARIABLE report ERROR_VARIABLE errors RESULT_VARIABLE status)
string(REPLACE "\r\n" "\n" report "${report}")
file(READ ${GOLDEN} expected)
if(NOT report STREQUAL expected)
    message(FATAL_ERROR "the report of ${FOLDER} is not ${GOLDEN}:\n${report}${errors}")
endif()
if(NOT status STREQUAL STATUS)
    message(FATAL_ERROR "the check of ${FOLDER} exited with ${status}, not ${STATUS}: ${errors}")
endif()

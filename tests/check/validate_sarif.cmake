# Holds the check's SARIF report of the demo folder (from DIR), and the golden
# one of a folder with one of each finding (RESULTS), against the SARIF 2.1.0
# schema. The schema comes from the package of Microsoft's SARIF
# multitool, fetched once into SCHEMA_DIR by npm and held to its digest; the
# validator is python3-jsonschema (Debian's, through /usr/bin/python3).
set(package @microsoft/sarif-multitool-linux@5.7.0)
set(digest 1c49a0f2b60444c71bb14878e21e0d882198eff4c539861b133093ad89ed798c)
set(schema ${SCHEMA_DIR}/sarif-2.1.0.json)
if(NOT EXISTS ${schema})
    find_program(NPM npm)
    if(NOT NPM)
        message(FATAL_ERROR "npm is needed once to fetch the SARIF schema (${package})")
    endif()
    file(MAKE_DIRECTORY ${SCHEMA_DIR})
    execute_process(COMMAND ${NPM} pack --silent ${package}
        WORKING_DIRECTORY ${SCHEMA_DIR} OUTPUT_VARIABLE tarball RESULT_VARIABLE status
        OUTPUT_STRIP_TRAILING_WHITESPACE)
    if(NOT status EQUAL 0)
        message(FATAL_ERROR "npm pack ${package} failed: ${status}")
    endif()
    execute_process(COMMAND ${CMAKE_COMMAND} -E tar xzf ${tarball} package/sarif-2.1.0.json
        WORKING_DIRECTORY ${SCHEMA_DIR} RESULT_VARIABLE status)
    file(REMOVE ${SCHEMA_DIR}/${tarball})
    if(NOT status EQUAL 0)
        message(FATAL_ERROR "${package} holds no sarif-2.1.0.json")
    endif()
    file(RENAME ${SCHEMA_DIR}/package/sarif-2.1.0.json ${schema})
endif()
file(SHA256 ${schema} actual)
if(NOT actual STREQUAL digest)
    message(FATAL_ERROR "${schema} is not the schema of ${package}: ${actual}")
endif()

execute_process(COMMAND ${CHECK} --format=sarif demo
    WORKING_DIRECTORY ${DIR} OUTPUT_FILE ${SCHEMA_DIR}/demo.sarif RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "the check of the demo folder exited with ${status}")
endif()
if(EXISTS /usr/bin/python3)
    set(python /usr/bin/python3)
else()
    set(python python3)
endif()
execute_process(COMMAND ${python} -c [=[
import json, sys
import jsonschema
schema = json.load(open(sys.argv[1]))
errors = []
for path in sys.argv[2:]:
    for error in jsonschema.Draft202012Validator(schema).iter_errors(json.load(open(path))):
        errors.append(error)
        print(path, error.json_path, error.message[:300])
sys.exit(1 if errors else 0)
]=] ${schema} ${SCHEMA_DIR}/demo.sarif ${RESULTS} RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE out)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "a SARIF report does not meet the SARIF 2.1.0 schema:\n${out}")
endif()

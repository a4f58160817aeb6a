# Draws the launcher's windows afresh and compares them with the README's
# pictures byte for byte: the drawing is deterministic, so any difference means
# a window changed and its picture is out of date.
#   cmake -DRENDER=<render-windows> -DDOCS=<docs folder> -DSCRATCH=<folder> -P check_pictures.cmake
file(REMOVE_RECURSE ${SCRATCH})
execute_process(COMMAND ${RENDER} ${SCRATCH} RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "render-windows failed (${status})")
endif()
set(stale "")
foreach(picture IN ITEMS form1.png final-setup.png preferences.png)
    execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${SCRATCH}/${picture} ${DOCS}/${picture}
        RESULT_VARIABLE different)
    if(NOT different EQUAL 0)
        list(APPEND stale ${picture})
    endif()
endforeach()
if(stale)
    message(FATAL_ERROR "Out of date in ${DOCS}: ${stale}. Fresh drawings are in ${SCRATCH}; "
        "refresh with: render-windows ${DOCS}")
endif()

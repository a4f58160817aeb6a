# The packages of the program folder: a ZIP to unzip beside one's INI files
# and, on Linux, a DEB. Both hold what `cmake --install` lays out: the launcher
# at the top of the folder (installed by qt/ or, on Windows, by win32/, a
# single executable), the folder check beside it (check/), and README.md, with
# its pictures in docs/.
if(NOT LAUNCHER_WIDGETS AND NOT WIN32)
    return()
endif()

install(FILES ${PROJECT_SOURCE_DIR}/README.md DESTINATION .)
# The README's pictures of the windows (docs/), so that it reads the same
# offline: both front ends' in every package, as the README shows both.
install(FILES
    ${PROJECT_SOURCE_DIR}/docs/form1.png ${PROJECT_SOURCE_DIR}/docs/final-setup.png
    ${PROJECT_SOURCE_DIR}/docs/preferences.png
    ${PROJECT_SOURCE_DIR}/docs/win32-form1.png ${PROJECT_SOURCE_DIR}/docs/win32-form1-144dpi.png
    ${PROJECT_SOURCE_DIR}/docs/win32-final-setup.png
    ${PROJECT_SOURCE_DIR}/docs/win32-preferences.png
    ${PROJECT_SOURCE_DIR}/docs/win32-browse-radar.png ${PROJECT_SOURCE_DIR}/docs/win32-browse-voice.png
    DESTINATION docs)

# The same folder as the DEB's, for an install straight from the build tree.
if(CMAKE_INSTALL_PREFIX_INITIALIZED_TO_DEFAULT AND NOT WIN32)
    set(CMAKE_INSTALL_PREFIX /opt/${PROJECT_NAME} CACHE PATH "Install prefix" FORCE)
endif()

set(LAUNCHER_PACKAGE_CONTACT "Radavue Launcher developers <maintainers@radavue-launcher.example>"
    CACHE STRING "Maintainer named in the packages")

set(CPACK_VERBATIM_VARIABLES ON)
set(CPACK_PACKAGE_NAME ${PROJECT_NAME})
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Radavue Launcher developers")
set(CPACK_PACKAGE_CONTACT ${LAUNCHER_PACKAGE_CONTACT})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "Puts an air-traffic controller on line with the radar and voice clients")
set(CPACK_PACKAGE_DESCRIPTION [[
The launcher picks a controller position from the groups of config.ini, shows
its frequency, hands position, frequency and server to the radar client, writes
the ATIS text and starts the voice client and the radar client.

It reads and writes its INI files in the folder of its own executable: copy
/opt/radavue-launcher/radavue-launcher into the folder that holds them.
/opt/radavue-launcher/radavue-launcher-check FOLDER reports what the launcher
would make of a program folder's INI files.]])
# Debug information would carry the build's paths and triple the size.
set(CPACK_STRIP_FILES ON)

if(WIN32)
    set(CPACK_GENERATOR ZIP)
else()
    set(CPACK_GENERATOR ZIP DEB)
endif()

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Online air-traffic control is a part of the flight-simulation hobby.
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)

# The archive holds the folder as it is; the DEB puts it under /opt, where a
# folder that is not laid out as /usr belongs. It links nothing into /usr/bin:
# a launcher started through a link would still read and write its INI files
# in the root-owned /opt folder, since it finds its folder from its real path.
set(packaging_per_generator ${PROJECT_BINARY_DIR}/CPackPerGenerator.cmake)
file(WRITE ${packaging_per_generator}
    "if(CPACK_GENERATOR STREQUAL \"DEB\")\n"
    "    set(CPACK_PACKAGING_INSTALL_PREFIX \"/opt/${PROJECT_NAME}\")\n"
    "endif()\n")
set(CPACK_PROJECT_CONFIG_FILE ${packaging_per_generator})

include(CPack)

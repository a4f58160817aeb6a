# The packages: a ZIP of the program folder to unzip beside one's INI files,
# and on Linux a DEB that installs the launcher once for the whole system.
# The ZIP holds what `cmake --install` lays out: the launcher at the top of
# the folder (installed by qt/ or, on Windows, by win32/, a single
# executable), the folder check beside it (check/), and README.md, with its
# pictures in docs/. The DEB holds the component "system" below instead.
if(NOT LAUNCHER_WIDGETS AND NOT WIN32)
    return()
endif()

install(FILES ${PROJECT_SOURCE_DIR}/README.md DESTINATION .)
# The README's pictures of the windows (docs/), so that it reads the same
# offline: both front ends' in every package, as the README shows both.
set(readme_pictures
    ${PROJECT_SOURCE_DIR}/docs/form1.png ${PROJECT_SOURCE_DIR}/docs/final-setup.png
    ${PROJECT_SOURCE_DIR}/docs/preferences.png ${PROJECT_SOURCE_DIR}/docs/qt-long-names.png
    ${PROJECT_SOURCE_DIR}/docs/win32-long-names.png
    ${PROJECT_SOURCE_DIR}/docs/win32-form1.png ${PROJECT_SOURCE_DIR}/docs/win32-form1-144dpi.png
    ${PROJECT_SOURCE_DIR}/docs/win32-final-setup.png
    ${PROJECT_SOURCE_DIR}/docs/win32-preferences.png
    ${PROJECT_SOURCE_DIR}/docs/win32-browse-radar.png ${PROJECT_SOURCE_DIR}/docs/win32-browse-voice.png)
install(FILES ${readme_pictures} DESTINATION docs)
# The folder check's CI step the README points to, ready to copy.
set(readme_ci_step ${PROJECT_SOURCE_DIR}/docs/ci/program-folder.yml)
install(FILES ${readme_ci_step} DESTINATION docs/ci)

# A program folder of its own for an install straight from the build tree
# (`--component system --prefix /usr/local` gives the system layout).
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

One installed launcher serves any number of program folders:
"radavue-launcher FOLDER" opens one, "radavue-launcher --add-to-menu FOLDER"
puts it in the desktop's menu, and "radavue-launcher-check FOLDER" reports
what the launcher would make of its INI files.]])
# Debug information would carry the build's paths and triple the size.
set(CPACK_STRIP_FILES ON)

if(WIN32)
    set(CPACK_GENERATOR ZIP)
else()
    set(CPACK_GENERATOR ZIP DEB)
endif()

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Online air-traffic control is a part of the flight-simulation hobby, but
# Debian's section games wants its programs in /usr/games, not on PATH.
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)

# Two layouts from one build: the ZIP is the program folder (the install
# rules of the default component), the DEB the system's layout under /usr.
set(packaging_per_generator ${PROJECT_BINARY_DIR}/CPackPerGenerator.cmake)
file(WRITE ${packaging_per_generator}
    "if(CPACK_GENERATOR STREQUAL \"DEB\")\n"
    "    set(CPACK_PACKAGING_INSTALL_PREFIX \"/usr\")\n"
    "    set(CPACK_INSTALL_CMAKE_PROJECTS \"${PROJECT_BINARY_DIR};${PROJECT_NAME};system;/\")\n"
    "else()\n"
    "    set(CPACK_INSTALL_CMAKE_PROJECTS \"${PROJECT_BINARY_DIR};${PROJECT_NAME};Unspecified;/\")\n"
    "endif()\n")
set(CPACK_PROJECT_CONFIG_FILE ${packaging_per_generator})

if(NOT WIN32 AND NOT APPLE)
    # The system's layout, for the DEB only: the commands in bin, the menu
    # entry, the icon theme's pictures, man pages, AppStream metainfo, and the
    # README with its pictures, the copyright and the changelog in the doc
    # folder. Man pages and the changelog are compressed without a time stamp,
    # so two builds give the same bytes.
    set(system_parts ${PROJECT_BINARY_DIR}/system-package)
    set(packaging_dir ${PROJECT_SOURCE_DIR}/packaging)
    set(metainfo_id example.radavue_launcher.launcher)
    set(system_gz)
    foreach(page radavue-launcher.1 radavue-launcher-check.1 changelog)
        configure_file(${packaging_dir}/${page} ${system_parts}/${page} @ONLY)
        add_custom_command(OUTPUT ${system_parts}/${page}.gz
            COMMAND gzip -9nkf ${system_parts}/${page}
            DEPENDS ${system_parts}/${page} VERBATIM)
        list(APPEND system_gz ${system_parts}/${page}.gz)
    endforeach()
    configure_file(${packaging_dir}/${metainfo_id}.metainfo.xml
        ${system_parts}/${metainfo_id}.metainfo.xml @ONLY)

    # The icon theme takes each size of the Windows icon as a picture of its own.
    set(icon_sizes 16 32 48 256)
    set(icon_pngs)
    foreach(size ${icon_sizes})
        list(APPEND icon_pngs ${system_parts}/icons/${size}x${size}.png)
    endforeach()
    add_executable(icon-pngs ${packaging_dir}/icon-pngs.cpp)
    target_link_libraries(icon-pngs PRIVATE Qt6::Gui launcher_warnings)
    add_custom_command(OUTPUT ${icon_pngs}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${system_parts}/icons
        COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen
                $<TARGET_FILE:icon-pngs> ${PROJECT_SOURCE_DIR}/app/radavue-launcher.ico
                ${system_parts}/icons
        DEPENDS icon-pngs ${PROJECT_SOURCE_DIR}/app/radavue-launcher.ico VERBATIM)
    add_custom_target(system_package_parts ALL DEPENDS ${system_gz} ${icon_pngs})

    set(doc share/doc/${PROJECT_NAME})
    install(TARGETS radavue-launcher radavue-launcher-check RUNTIME DESTINATION bin
        COMPONENT system EXCLUDE_FROM_ALL)
    install(FILES ${packaging_dir}/radavue-launcher.desktop DESTINATION share/applications
        COMPONENT system EXCLUDE_FROM_ALL)
    foreach(size ${icon_sizes})
        install(FILES ${system_parts}/icons/${size}x${size}.png
            DESTINATION share/icons/hicolor/${size}x${size}/apps RENAME radavue-launcher.png
            COMPONENT system EXCLUDE_FROM_ALL)
    endforeach()
    install(FILES ${system_parts}/radavue-launcher.1.gz ${system_parts}/radavue-launcher-check.1.gz
        DESTINATION share/man/man1 COMPONENT system EXCLUDE_FROM_ALL)
    install(FILES ${system_parts}/${metainfo_id}.metainfo.xml DESTINATION share/metainfo
        COMPONENT system EXCLUDE_FROM_ALL)
    install(FILES ${PROJECT_SOURCE_DIR}/README.md ${packaging_dir}/copyright DESTINATION ${doc}
        COMPONENT system EXCLUDE_FROM_ALL)
    install(FILES ${system_parts}/changelog.gz DESTINATION ${doc}
        COMPONENT system EXCLUDE_FROM_ALL)
    install(FILES ${readme_pictures} DESTINATION ${doc}/docs COMPONENT system EXCLUDE_FROM_ALL)
    install(FILES ${readme_ci_step} DESTINATION ${doc}/docs/ci COMPONENT system EXCLUDE_FROM_ALL)
endif()

include(CPack)

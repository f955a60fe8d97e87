# What `cmake --install` puts under the prefix: the library, its headers
# (include/engine/...), the font (share/tarnwick/tw-font.ttf), the CMake
# package (lib/cmake/Tarnwick) and a pkg-config file (lib/pkgconfig).
include(CMakePackageConfigHelpers)

set(TW_PACKAGE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/Tarnwick)
set(TW_DATA_DIR ${CMAKE_INSTALL_DATADIR}/tarnwick)

# The window presenter looks for the font in the installed data folder when
# it is neither where configured nor beside the program.
set_source_files_properties(engine/display/FontLookup.cpp PROPERTIES
  COMPILE_DEFINITIONS TW_INSTALLED_DATA_DIR="${CMAKE_INSTALL_FULL_DATADIR}/tarnwick")

install(TARGETS tarnwick EXPORT TarnwickTargets ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR})
install(DIRECTORY engine/ DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/engine
        FILES_MATCHING PATTERN "*.h")
install(FILES ${TW_FONT_SOURCE} DESTINATION ${TW_DATA_DIR} RENAME tw-font.ttf)
install(EXPORT TarnwickTargets NAMESPACE Tarnwick:: DESTINATION ${TW_PACKAGE_DIR})

configure_package_config_file(cmake/TarnwickConfig.cmake.in
  ${PROJECT_BINARY_DIR}/TarnwickConfig.cmake
  INSTALL_DESTINATION ${TW_PACKAGE_DIR}
  PATH_VARS TW_DATA_DIR)
write_basic_package_version_file(${PROJECT_BINARY_DIR}/TarnwickConfigVersion.cmake
  COMPATIBILITY SameMinorVersion)
install(FILES ${PROJECT_BINARY_DIR}/TarnwickConfig.cmake
              ${PROJECT_BINARY_DIR}/TarnwickConfigVersion.cmake
              cmake/TarnwickFont.cmake
              cmake/TarnwickWeb.cmake
        DESTINATION ${TW_PACKAGE_DIR})

# The .pc file finds its prefix from its own folder, so the installed tree
# can be moved.
file(RELATIVE_PATH TW_PC_TO_PREFIX ${CMAKE_INSTALL_FULL_LIBDIR}/pkgconfig ${CMAKE_INSTALL_PREFIX})
string(REGEX REPLACE "/$" "" TW_PC_TO_PREFIX "${TW_PC_TO_PREFIX}")
configure_file(cmake/tarnwick.pc.in ${PROJECT_BINARY_DIR}/tarnwick.pc @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/tarnwick.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)

# Games that build the engine in their own tree copy the font beside their
# program with tarnwick_copy_font(<target>).
set_property(GLOBAL PROPERTY TARNWICK_FONT_FILE ${TW_FONT_SOURCE})
include(cmake/TarnwickFont.cmake)

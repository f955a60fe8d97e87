# What `cmake --install` puts under the prefix: the library, its public headers
# (include/tarnwick.h and include/engine/..., the list in engine/public-headers.txt), the font (share/tarnwick/tw-font.ttf), the CMake
# package (lib/cmake/Tarnwick) and a pkg-config file (lib/pkgconfig). From a
# browser build (emcmake) it is the browser package: the same headers and
# font, the library built for WebAssembly, the page runtime files
# (share/tarnwick/web, the list TW_WEB_RUNTIME_FILES) and a package that
# find_package(Tarnwick) finds under emcmake; no pkg-config file.
include(CMakePackageConfigHelpers)

set(TW_PACKAGE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/Tarnwick)
set(TW_DATA_DIR ${CMAKE_INSTALL_DATADIR}/tarnwick)

# The window presenter looks for the font in the installed data folder when
# it is neither where configured nor beside the program.
set_source_files_properties(engine/display/FontLookup.cpp PROPERTIES
  COMPILE_DEFINITIONS TW_INSTALLED_DATA_DIR="${CMAKE_INSTALL_FULL_DATADIR}/tarnwick")

install(TARGETS tarnwick EXPORT TarnwickTargets
        ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR}
        LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR})
# Only the public headers: the engine's insides stay in its source tree.
file(STRINGS engine/public-headers.txt TW_PUBLIC_HEADERS REGEX "^(engine/|tarnwick\\.h$)")
foreach(header IN LISTS TW_PUBLIC_HEADERS)
  get_filename_component(folder ${header} DIRECTORY)
  install(FILES ${header} DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/${folder})
endforeach()
install(FILES ${TW_FONT_SOURCE} DESTINATION ${TW_DATA_DIR} RENAME tw-font.ttf)
install(EXPORT TarnwickTargets NAMESPACE Tarnwick:: DESTINATION ${TW_PACKAGE_DIR})

if(TW_WEB)
  set(TW_WEB_PACKAGE_DIR ${TW_DATA_DIR}/web)
  install(FILES ${TW_WEB_RUNTIME_FILES} DESTINATION ${TW_WEB_PACKAGE_DIR})
  set(tw_config_template cmake/TarnwickWebConfig.cmake.in)
  set(tw_config_paths TW_DATA_DIR TW_WEB_PACKAGE_DIR)
else()
  set(tw_config_template cmake/TarnwickConfig.cmake.in)
  set(tw_config_paths TW_DATA_DIR)
endif()
configure_package_config_file(${tw_config_template}
  ${PROJECT_BINARY_DIR}/TarnwickConfig.cmake
  INSTALL_DESTINATION ${TW_PACKAGE_DIR}
  PATH_VARS ${tw_config_paths})
# A newer minor version of the same major one serves a game that asked for an
# older one (find_package(Tarnwick 4.21) takes 4.21 to 4.x); see the README.
write_basic_package_version_file(${PROJECT_BINARY_DIR}/TarnwickConfigVersion.cmake
  COMPATIBILITY SameMajorVersion)
install(FILES ${PROJECT_BINARY_DIR}/TarnwickConfig.cmake
              ${PROJECT_BINARY_DIR}/TarnwickConfigVersion.cmake
              cmake/TarnwickFont.cmake
              cmake/TarnwickWeb.cmake
        DESTINATION ${TW_PACKAGE_DIR})

# Games that build the engine in their own tree copy the font beside their
# program with tarnwick_copy_font(<target>).
set_property(GLOBAL PROPERTY TARNWICK_FONT_FILE ${TW_FONT_SOURCE})
include(cmake/TarnwickFont.cmake)

if(TW_WEB)
  return()  # pkg-config serves native builds only
endif()
# The .pc file finds its prefix from its own folder, so the installed tree
# can be moved.
file(RELATIVE_PATH TW_PC_TO_PREFIX ${CMAKE_INSTALL_FULL_LIBDIR}/pkgconfig ${CMAKE_INSTALL_PREFIX})
string(REGEX REPLACE "/$" "" TW_PC_TO_PREFIX "${TW_PC_TO_PREFIX}")
if(BUILD_SHARED_LIBS)
  set(TW_PC_REQUIRES Requires.private)
  set(TW_PC_LIBS "\nLibs.private: -lwslay")
else()
  set(TW_PC_REQUIRES Requires)
  set(TW_PC_LIBS " -lwslay")
endif()
configure_file(cmake/tarnwick.pc.in ${PROJECT_BINARY_DIR}/tarnwick.pc @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/tarnwick.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)

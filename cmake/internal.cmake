# tarnwick_internal: the engine with its insides reachable, for the engine's own
# tests, benchmarks, fuzz harnesses and tools. A static build is that already;
# beside a shared library, whose insides are hidden, the same sources are
# built once more into a static library.
if(NOT BUILD_SHARED_LIBS)
  add_library(tarnwick_internal ALIAS tarnwick)
  return()
endif()

add_library(tarnwick_internal STATIC EXCLUDE_FROM_ALL)
foreach(property SOURCES INCLUDE_DIRECTORIES COMPILE_DEFINITIONS COMPILE_OPTIONS COMPILE_FEATURES
                 INTERFACE_INCLUDE_DIRECTORIES INTERFACE_COMPILE_FEATURES)
  get_target_property(value tarnwick ${property})
  if(value)
    set_property(TARGET tarnwick_internal PROPERTY ${property} "${value}")
  endif()
endforeach()
# What the shared library links privately, a static one hands on to its users.
get_target_property(tw_links tarnwick LINK_LIBRARIES)
target_link_libraries(tarnwick_internal PRIVATE ${tw_links})
get_target_property(tw_interface_links tarnwick INTERFACE_LINK_LIBRARIES)
if(tw_interface_links)
  target_link_libraries(tarnwick_internal INTERFACE ${tw_interface_links})
endif()

# Writes the page script's tables module (TW_PAGE_TABLES_JS, a constant
# TW_TABLES) from the C++ enumerations the engine and the page exchange
# numbers by: key, button and event numbers (engine/platform/InputCodes.h)
# and the drawing list's and a polled event's layout
# (engine/platform/PageLayout.h). CMake runs again when either changes, so
# the page never holds a second, hand-typed copy.

# Sets out to the lines "    NAME: VALUE," of the enumeration called name in
# header: enumerators one or more to a line, values counted on from the last
# one given, as C++ numbers them.
function(tw_page_enum_lines header name out)
  file(READ ${header} text)
  string(REGEX REPLACE "//[^\n]*" "" text "${text}")
  if(NOT text MATCHES "enum( class)? ${name}[^{;]*{([^}]*)}")
    message(FATAL_ERROR "No enumeration ${name} in ${header}")
  endif()
  string(REGEX REPLACE "[ \t\r\n]" "" body "${CMAKE_MATCH_2}")
  string(REPLACE "," ";" items "${body}")
  set(next 0)
  set(lines "")
  foreach(item IN LISTS items)
    if(item STREQUAL "")
      continue()  # after a trailing comma
    elseif(item MATCHES "^([A-Za-z_][A-Za-z0-9_]*)=(-?[0-9]+)$")
      set(item ${CMAKE_MATCH_1})
      set(next ${CMAKE_MATCH_2})
    elseif(NOT item MATCHES "^[A-Za-z_][A-Za-z0-9_]*$")
      message(FATAL_ERROR "Enumerator '${item}' of ${name} in ${header} is not a name or a "
                          "name = number")
    endif()
    string(APPEND lines "    ${item}: ${next},\n")
    math(EXPR next "${next} + 1")
  endforeach()
  set(${out} "${lines}" PARENT_SCOPE)
endfunction()

# Table name in the page, header, enumeration name in it; one line each.
set(tw_page_tables
  "Key engine/platform/InputCodes.h Key"
  "MouseButton engine/platform/InputCodes.h MouseButton"
  "EventType engine/platform/InputCodes.h Type"
  "DrawKind engine/platform/PageLayout.h DrawKind"
  "CharacterField engine/platform/PageLayout.h CharacterField"
  "ShapeField engine/platform/PageLayout.h ShapeField"
  "PollField engine/platform/PageLayout.h PollField"
  "FitField engine/platform/PageLayout.h FitField"
  "FitTableField engine/platform/PageLayout.h FitTableField"
  "OwnFitField engine/platform/PageLayout.h OwnFitField"
)

function(tw_write_page_tables root out)
  set(js "// The numbers the page shares with the engine, written by CMake from the\n")
  string(APPEND js "// engine's headers (cmake/TarnwickPageTables.cmake): edit those, not this.\n")
  string(APPEND js "const TW_TABLES = Object.freeze({\n")
  foreach(table IN LISTS tw_page_tables)
    string(REPLACE " " ";" parts "${table}")
    list(GET parts 0 page_name)
    list(GET parts 1 header)
    list(GET parts 2 enum_name)
    tw_page_enum_lines(${root}/${header} ${enum_name} lines)
    string(APPEND js "  ${page_name}: Object.freeze({\n${lines}  }),\n")
    if(NOT CMAKE_SCRIPT_MODE_FILE)
      set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${root}/${header})
    endif()
  endforeach()
  string(APPEND js "});\n")
  file(CONFIGURE OUTPUT ${out} CONTENT "${js}" @ONLY)
endfunction()

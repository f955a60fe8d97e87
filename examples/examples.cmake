# Small games that show the engine's parts, one file each, run from the bin
# folder beside their data (example-data/). Built only when Tarnwick is the
# top-level project.
set(TW_EXAMPLES catch maze pong showcase garden roguelike)
foreach(example IN LISTS TW_EXAMPLES)
  add_executable(example_${example} examples/${example}.cpp)
  target_link_libraries(example_${example} PRIVATE tarnwick)
endforeach()

set(TW_EXAMPLE_DATA bird.txt panel.txt)
set(tw_example_outputs)
foreach(file IN LISTS TW_EXAMPLE_DATA)
  add_custom_command(OUTPUT ${TW_RUNTIME_DIR}/example-data/${file}
    COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_CURRENT_LIST_DIR}/data/${file}
            ${TW_RUNTIME_DIR}/example-data/${file}
    DEPENDS ${CMAKE_CURRENT_LIST_DIR}/data/${file}
    COMMENT "Copying the examples' data")
  list(APPEND tw_example_outputs ${TW_RUNTIME_DIR}/example-data/${file})
endforeach()
add_custom_target(example_data ALL DEPENDS ${tw_example_outputs})
add_dependencies(example_showcase example_data)

# In the browser build each example is a page of the site (pong's page joins
# a native host's WebSocket port, given in the page's URL).
foreach(example IN LISTS TW_EXAMPLES)
  set(data)
  if(example STREQUAL "showcase")
    set(data DATA)
    foreach(file IN LISTS TW_EXAMPLE_DATA)
      list(APPEND data data/${file}@/example-data/${file})
    endforeach()
  endif()
  tarnwick_web_page(example_${example} PAGE ${example} ${data})
endforeach()

# The live gallery of the browser build: site/gallery/index.html and a page
# per game of examples/gallery.txt, written by tools/gallery.cmake whenever
# the list, a listed source or the writer changes. Each links to its guide
# page under TW_GALLERY_GUIDE_URL: by default the guide's own Markdown pages,
# copied into site/guide.
set(TW_GALLERY_GUIDE_URL ../guide CACHE STRING "Where the gallery's pages find the guide")
set(tw_gallery_list ${PROJECT_SOURCE_DIR}/examples/gallery.txt)
set(tw_gallery_out ${CMAKE_BINARY_DIR}/site/gallery)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${tw_gallery_list})

# What the pages depend on: the list's names (its first column) and sources
# (its fifth).
file(STRINGS ${tw_gallery_list} tw_gallery_lines REGEX "^[^#].*\\|")
set(tw_gallery_pages ${tw_gallery_out}/index.html)
set(tw_gallery_sources)
foreach(line IN LISTS tw_gallery_lines)
  string(REPLACE "|" ";" fields "${line}")
  list(GET fields 0 name)
  list(GET fields 4 sources)
  string(STRIP "${name}" name)
  string(STRIP "${sources}" sources)
  string(REGEX REPLACE "[ \t]+" ";" sources "${sources}")
  list(APPEND tw_gallery_pages ${tw_gallery_out}/${name}.html)
  foreach(source IN LISTS sources)
    list(APPEND tw_gallery_sources ${PROJECT_SOURCE_DIR}/${source})
  endforeach()
endforeach()

add_custom_command(OUTPUT ${tw_gallery_pages}
  COMMAND ${CMAKE_COMMAND} -DLIST=${tw_gallery_list} -DSOURCE_DIR=${PROJECT_SOURCE_DIR}
          -DOUT=${tw_gallery_out} -DGUIDE_URL=${TW_GALLERY_GUIDE_URL}
          -P ${PROJECT_SOURCE_DIR}/tools/gallery.cmake
  DEPENDS ${tw_gallery_list} ${tw_gallery_sources} ${PROJECT_SOURCE_DIR}/tools/gallery.cmake
  COMMENT "Writing the gallery"
  VERBATIM)

file(GLOB tw_guide_pages CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/docs/guide/*.md)
set(tw_guide_copies)
foreach(guide IN LISTS tw_guide_pages)
  get_filename_component(file ${guide} NAME)
  add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/site/guide/${file}
    COMMAND ${CMAKE_COMMAND} -E copy ${guide} ${CMAKE_BINARY_DIR}/site/guide/${file}
    DEPENDS ${guide}
    VERBATIM)
  list(APPEND tw_guide_copies ${CMAKE_BINARY_DIR}/site/guide/${file})
endforeach()
add_custom_target(gallery ALL DEPENDS ${tw_gallery_pages} ${tw_guide_copies})

# The spectators' page, watch.html: the browser presenter's painter with the
# page script's tables, messages and font reader, and watch.js, which draws
# the frames a game serves on its spectate port. The native build and the
# browser build both copy it, with the font, into <build>/site, so any static
# server (tools/web-serve.mjs) serves it for games running beside it.
if(TW_PAGE_TABLES_JS)
  set(tw_watch_files ${TW_PAGE_TABLES_JS} ${TW_WEB_SUPPORT_DIR}/page.js
      ${TW_WEB_SUPPORT_DIR}/font.js ${TW_WEB_SUPPORT_DIR}/painter.js
      ${TW_WEB_SUPPORT_DIR}/watch.js ${TW_WEB_SUPPORT_DIR}/watch.html)
  add_custom_target(watch_page ALL
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/site
    COMMAND ${CMAKE_COMMAND} -E copy_if_different ${tw_watch_files} ${CMAKE_BINARY_DIR}/site
    COMMAND ${CMAKE_COMMAND} -E copy_if_different ${TW_FONT_SOURCE} ${CMAKE_BINARY_DIR}/site/tw-font.ttf
    DEPENDS ${tw_watch_files}
    VERBATIM)
endif()

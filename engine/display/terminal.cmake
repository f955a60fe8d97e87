# Display sources: the terminal presenter, drawing through curses. Curses is
# linked privately: no curses type appears in a header.
set(CURSES_NEED_NCURSES TRUE)
find_package(Curses REQUIRED)
target_sources(tarnwick PRIVATE
  engine/display/TerminalPresenter.cpp
)
target_include_directories(tarnwick PRIVATE ${CURSES_INCLUDE_DIRS})
target_link_libraries(tarnwick PRIVATE ${CURSES_LIBRARIES})

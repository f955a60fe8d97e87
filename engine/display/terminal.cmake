# Display sources: the terminal presenter, drawing through curses. Curses is
# linked privately: no curses type appears in a header.
set(CURSES_NEED_NCURSES TRUE)
find_package(Curses REQUIRED)
target_sources(tarnwick PRIVATE
  engine/display/TerminalPresenter.cpp
)
target_include_directories(tarnwick PRIVATE ${CURSES_INCLUDE_DIRS})
# Installed, the library names the target Tarnwick::curses, which the
# package's configuration file makes from the curses found on the user's side.
target_link_libraries(tarnwick PRIVATE $<BUILD_INTERFACE:${CURSES_LIBRARIES}>
                                       $<INSTALL_INTERFACE:Tarnwick::curses>)

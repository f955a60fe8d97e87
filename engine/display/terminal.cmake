# Display sources: the terminal presenter, drawing through curses (its
# wide-character library, for characters beyond ASCII). Curses is linked
# privately: no curses type appears in a header.
set(CURSES_NEED_NCURSES TRUE)
set(CURSES_NEED_WIDE TRUE)
# A build folder first configured for the narrow library keeps it cached.
if(CURSES_NCURSES_LIBRARY AND NOT CURSES_NCURSES_LIBRARY MATCHES "ncursesw")
  unset(CURSES_NCURSES_LIBRARY CACHE)
  unset(CURSES_FORM_LIBRARY CACHE)
endif()
find_package(Curses REQUIRED)
target_sources(tarnwick PRIVATE
  engine/display/TerminalPresenter.cpp
)
target_include_directories(tarnwick PRIVATE ${CURSES_INCLUDE_DIRS})
# Installed, the library names the target Tarnwick::curses, which the
# package's configuration file makes from the curses found on the user's side.
target_link_libraries(tarnwick PRIVATE $<BUILD_INTERFACE:${CURSES_LIBRARIES}>
                                       $<INSTALL_INTERFACE:Tarnwick::curses>)

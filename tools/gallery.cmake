# Writes the live gallery: OUT/index.html, and for each game of the list
# OUT/NAME.html, its page playing in a frame beside its source code (escaped
# as HTML) with a link to its guide page.
#   cmake -DLIST=examples/gallery.txt -DSOURCE_DIR=REPO -DOUT=SITE/gallery
#         -DGUIDE_URL=../guide -P tools/gallery.cmake
# The list's lines are "name | page | title | guide | sources | description";
# lines starting with '#' are comments.

function(html_escape out text)
  string(REPLACE "&" "&amp;" text "${text}")
  string(REPLACE "<" "&lt;" text "${text}")
  string(REPLACE ">" "&gt;" text "${text}")
  string(REPLACE "\"" "&quot;" text "${text}")
  set(${out} "${text}" PARENT_SCOPE)
endfunction()

set(style [=[
  body { margin: 0; background: #111; color: #ddd; font: 15px/1.45 sans-serif; }
  header, main, footer { padding: 8px 16px; }
  a { color: #8cf; }
  h1 { font-size: 20px; margin: 4px 0; }
  .play { display: flex; flex-wrap: wrap; gap: 16px; align-items: flex-start; }
  .game { flex: 3 1 560px; }
  .game iframe { width: 100%; aspect-ratio: 5 / 3; border: 1px solid #333; background: #000; }
  .source { flex: 2 1 400px; min-width: 0; }
  .source h2 { font: 600 14px monospace; margin: 12px 0 4px; }
  pre { background: #1b1b1b; border: 1px solid #333; padding: 8px; overflow: auto;
        max-height: 80vh; font: 13px/1.4 monospace; tab-size: 4; margin: 0; }
  ul.games { list-style: none; padding: 0; display: grid; gap: 12px;
             grid-template-columns: repeat(auto-fill, minmax(280px, 1fr)); }
  ul.games li { border: 1px solid #333; padding: 10px; background: #181818; }
  ul.games a { font-weight: 600; font-size: 16px; }
]=])

function(page_head out title)
  html_escape(title "${title}")
  set(${out} "<!doctype html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n\
<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n\
<title>${title}</title>\n<style>${style}</style>\n</head>\n<body>\n" PARENT_SCOPE)
endfunction()

# One game's page: the game in a frame (focused, so keys reach it), its guide
# page and each source file.
function(game_page name page title guide sources description)
  page_head(html "${title}: Tarnwick gallery")
  html_escape(title "${title}")
  html_escape(description "${description}")
  string(APPEND html "<header><a href=\"index.html\">All games</a>\n<h1>${title}</h1>\n\
<p>${description} <a id=\"guide\" href=\"${GUIDE_URL}/${guide}.md\">Read about it in the guide</a>.</p>\n\
</header>\n<main class=\"play\">\n<div class=\"game\"><iframe id=\"game\" src=\"../${page}.html\" \
title=\"${title}\" onload=\"this.contentWindow.focus()\"></iframe>\n\
<p>Click the game to give it the keys.</p></div>\n<div class=\"source\">\n")
  foreach(source IN LISTS sources)
    if(NOT EXISTS ${SOURCE_DIR}/${source})
      message(FATAL_ERROR "gallery: ${name} lists ${source}, which does not exist")
    endif()
    file(READ ${SOURCE_DIR}/${source} code)
    html_escape(code "${code}")
    string(APPEND html "<h2>${source}</h2>\n<pre data-file=\"${source}\"><code>${code}</code></pre>\n")
  endforeach()
  string(APPEND html "</div>\n</main>\n</body>\n</html>\n")
  file(WRITE ${OUT}/${name}.html "${html}")
endfunction()

file(STRINGS ${LIST} lines)
page_head(index "Tarnwick gallery")
string(APPEND index "<header><h1>Tarnwick gallery</h1>\n<p>Each game plays in the page beside \
its source code.</p></header>\n<main><ul class=\"games\">\n")
file(MAKE_DIRECTORY ${OUT})
foreach(line IN LISTS lines)
  if(line MATCHES "^[ \t]*(#|$)")
    continue()
  endif()
  string(REPLACE "|" ";" fields "${line}")
  list(LENGTH fields count)
  if(NOT count EQUAL 6)
    message(FATAL_ERROR "gallery: ${LIST}: a line needs six fields separated by '|': ${line}")
  endif()
  set(values)
  foreach(field IN LISTS fields)
    string(STRIP "${field}" field)
    list(APPEND values "${field}")
  endforeach()
  list(GET values 0 name)
  list(GET values 1 page)
  list(GET values 2 title)
  list(GET values 3 guide)
  list(GET values 4 sources)
  list(GET values 5 description)
  string(REGEX REPLACE "[ \t]+" ";" sources "${sources}")
  game_page(${name} ${page} "${title}" ${guide} "${sources}" "${description}")
  html_escape(title "${title}")
  html_escape(description "${description}")
  string(APPEND index "<li><a href=\"${name}.html\">${title}</a><br>${description}</li>\n")
endforeach()
string(APPEND index "</ul></main>\n</body>\n</html>\n")
file(WRITE ${OUT}/index.html "${index}")

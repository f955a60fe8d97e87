# Doxygen input filter: the engine's headers document themselves with plain
# "//" comments. This turns them into Doxygen's form on the way in, so the
# headers stay as they are:
#   - the opening comment block becomes the file's description (\file);
#   - a comment line of its own documents the declaration below it (///);
#   - a comment after a declaration ("int x;  // unit") documents it (///<).
# Each output line stands for one input line, so line numbers stay right.
BEGIN { opening = 1 }
{
  if (opening && $0 ~ /^\/\/ /) {
    sub(/^\/\/ /, "")
    print "/// " $0 (FNR == 1 ? " \\file" : "")
    next
  }
  opening = 0
  if ($0 ~ /^[ \t]*\/\/ / || $0 ~ /^[ \t]*\/\/$/) {
    sub(/\/\//, "///")
    print
    next
  }
  if ($0 ~ /[;,{][ \t]+\/\/ / && $0 !~ /"[^"]*\/\/[^"]*"/) {
    sub(/[ \t]+\/\/ /, "  ///< ")
  }
  print
}

# Prints the namespace-level declarations of a public header that a shared
# library, built with hidden symbols, would not export: classes, structs,
# functions and extern data without TW_API. Templates live in the header and
# need no export. The engine's headers declare namespace members unindented;
# a declaration wrapped over several lines is read as one, and a comment
# after it is ignored.
function report(text) { print start ": " text }
{ sub(/[ \t]*\/\/.*$/, "") }
pending != "" {
  sub(/^[ \t]+/, "", $0)
  pending = pending " " $0
  if ($0 ~ /[;{]/) { line = pending; pending = "" } else next
}
pending == "" && line == "" {
  line = $0
  start = FNR
  if (line ~ /^[A-Za-z_][^;{]*\($/ || line ~ /^[A-Za-z_][^;{]*\([^)]*,$/) { pending = line; line = ""; next }
}
{
  if (line ~ /^template/) { after_template = 1; line = ""; next }
  if (line ~ /^(class|struct) [A-Za-z_][A-Za-z_0-9]*( final)?[ \t]*(:|\{|$)/ && !after_template) report(line)
  if (line ~ /^[A-Za-z_][A-Za-z_0-9:<>,*& ]* [*&]?([A-Za-z_][A-Za-z_0-9]*|operator[^(]*)\(.*\)( const)?( noexcept)?;$/ &&
      line !~ /^(TW_API|inline|constexpr|static_assert|typedef|using|friend|return|extern|class|struct|static)/ &&
      !after_template) report(line)
  if (line ~ /^extern / && line !~ /TW_API/) report(line)
  if (line !~ /^[ \t]*$/) after_template = 0
  line = ""
}

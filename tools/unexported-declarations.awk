# Prints the namespace-level declarations of a public header that a shared
# library, built with hidden symbols, would not export: classes, structs,
# functions and extern data without TW_API. Templates live in the header and
# need no export. The engine's headers declare namespace members unindented.
/^template/ { after_template = 1; next }
/^(class|struct) [A-Za-z_][A-Za-z_0-9]*( final)?( :| \{|$)/ && !/;[ \t]*$/ && !after_template {
  print FNR ": " $0
}
/^[A-Za-z_][A-Za-z_0-9:<>,*& ]* [*&]?([A-Za-z_][A-Za-z_0-9]*|operator[^(]*)\(.*\)( const)?;$/ &&
  !/^(TW_API|inline|constexpr|static_assert|typedef|using|friend|return|extern|const |class|struct)/ &&
  !after_template {
  print FNR ": " $0
}
/^extern / && !/TW_API/ { print FNR ": " $0 }
!/^[ \t]*$/ { after_template = 0 }

// The C library's character locale (LC_CTYPE), taken from the environment
// while a terminal is shown so that curses writes the terminal's encoding,
// and the number of columns a character takes in it. The rest of the
// program keeps the locale it started with.
#pragma once

#include <string>

namespace tw {
namespace platform {

class CharacterLocale {
 public:
  // Takes the character locale from the environment (LC_ALL, LC_CTYPE,
  // LANG); true when it encodes characters in UTF-8. A locale the system
  // lacks leaves the current one.
  bool useEnvironment();
  // Puts back the locale that was in force before useEnvironment.
  void restore();
  bool isUtf8() const;

  // Columns the current locale gives code (0 or 2 for some, 1 for most);
  // -1 for what it cannot show at all.
  static int columns(char32_t code);

 private:
  std::string saved;  // the locale before useEnvironment; "" when none is held
  bool utf8 = false;
};

}  // namespace platform
}  // namespace tw

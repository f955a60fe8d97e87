#include "engine/platform/CharacterLocale.h"

#include <clocale>
#include <cstring>
#include <cwchar>

#include <langinfo.h>

namespace tw {
namespace platform {

bool CharacterLocale::useEnvironment() {
  restore();
  const char* current = std::setlocale(LC_CTYPE, nullptr);
  saved = current != nullptr ? current : "C";
  std::setlocale(LC_CTYPE, "");
  const char* codeset = nl_langinfo(CODESET);
  utf8 = codeset != nullptr &&
         (std::strcmp(codeset, "UTF-8") == 0 || std::strcmp(codeset, "utf8") == 0);
  return utf8;
}

void CharacterLocale::restore() {
  if (!saved.empty()) std::setlocale(LC_CTYPE, saved.c_str());
  saved.clear();
  utf8 = false;
}

bool CharacterLocale::isUtf8() const { return utf8; }

int CharacterLocale::columns(char32_t code) { return wcwidth(static_cast<wchar_t>(code)); }

}  // namespace platform
}  // namespace tw

// Which of the engine's symbols a game links against. The library is built with
// every symbol hidden; the public classes and functions carry TW_API, so a
// shared libtarnwick exports them and nothing of the engine's insides.
#pragma once

#if defined(__GNUC__) || defined(__clang__)
#define TW_API __attribute__((visibility("default")))
#else
#define TW_API
#endif

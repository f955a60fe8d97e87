#include "engine/core/RecordIO.h"

#include <cstring>
#include <iostream>
#include <new>
#include <sstream>
#include <utility>

#include "engine/core/LogManager.h"
#include "engine/core/RepeatedLog.h"

namespace tw {

namespace {
// A value's bytes exactly as they lie in memory.
template <typename T>
void writeRaw(std::iostream& stream, const T& value) {
  char bytes[sizeof(T)];
  std::memcpy(bytes, &value, sizeof(T));
  stream.write(bytes, sizeof(T));
}

template <typename T>
bool readRaw(std::iostream& stream, T& value) {
  char bytes[sizeof(T)];
  if (!stream.read(bytes, sizeof(T))) return false;
  std::memcpy(&value, bytes, sizeof(T));
  return true;
}
}  // namespace

void writeInt(std::iostream& stream, std::int32_t value) { writeRaw(stream, value); }
void writeMask(std::iostream& stream, std::uint32_t value) { writeRaw(stream, value); }
void writeFloat(std::iostream& stream, float value) { writeRaw(stream, value); }

void writeBool(std::iostream& stream, bool value) {
  const char byte = value ? 1 : 0;
  stream.write(&byte, 1);
}

void writeCount(std::iostream& stream, std::uint64_t value) { writeRaw(stream, value); }

void writeString(std::iostream& stream, const std::string& value) {
  writeCount(stream, static_cast<std::uint64_t>(value.size()));
  stream.write(value.data(), static_cast<std::streamsize>(value.size()));
}

bool readInt(std::iostream& stream, std::int32_t& value) { return readRaw(stream, value); }
bool readMask(std::iostream& stream, std::uint32_t& value) { return readRaw(stream, value); }
bool readFloat(std::iostream& stream, float& value) { return readRaw(stream, value); }

bool readBool(std::iostream& stream, bool& value) {
  // Read as a byte: loading an arbitrary byte as a bool is undefined.
  char byte = 0;
  if (!stream.read(&byte, 1)) return false;
  value = byte != 0;
  return true;
}

bool readCount(std::iostream& stream, std::uint64_t& value) { return readRaw(stream, value); }

std::uint64_t bytesLeft(std::iostream& stream) {
  if (!stream.good()) return 0;
  const std::streampos here = stream.tellg();
  if (here == std::streampos(-1)) return 0;
  stream.seekg(0, std::ios::end);
  const std::streampos end = stream.tellg();
  stream.seekg(here);
  if (end == std::streampos(-1) || end < here) return 0;
  return static_cast<std::uint64_t>(end - here);
}

bool readString(std::iostream& stream, std::string& value, const char* where) {
  std::uint64_t count = 0;
  if (!readCount(stream, count)) return false;
  std::string text;
  bool allocated = count <= bytesLeft(stream);
  if (allocated) {
    try {
      text.resize(static_cast<size_t>(count));
    } catch (const std::bad_alloc&) {
      allocated = false;
    }
  }
  if (!allocated) {
    LogManager::getInstance().writeLog("%s: Error! Cannot allocate %llu bytes.", where,
                                       static_cast<unsigned long long>(count));
    failStream(stream);
    return false;
  }
  if (count > 0 && !stream.read(&text[0], static_cast<std::streamsize>(count))) return false;
  // The text ends at its first zero character, as a C string would.
  const size_t zero = text.find('\0');
  if (zero != std::string::npos) text.resize(zero);
  value = std::move(text);
  return true;
}

void failStream(std::iostream& stream) { stream.setstate(std::ios::failbit); }

int noStream(const char* where) {
  LogManager::getInstance().writeLog("%s: Error! Stream is NULL.", where);
  return -1;
}

namespace {
RepeatedLog& refusedRecords() {
  static RepeatedLog counter("records refused as corrupt");
  return counter;
}
}  // namespace

bool readingQuietly() { return refusedRecords().getCount() > 0; }

bool countRefusedRecord(const char* where) { return refusedRecords().count(where); }

const char* boolText(bool value) { return value ? "true" : "false"; }

}  // namespace tw

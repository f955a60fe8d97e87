// The primitive encodings of serialization records: fixed-size values in the
// machine's byte order with no padding, strings as a 64-bit count and the
// characters. Readers never trust a count beyond the bytes the stream still holds.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <string>

namespace tw {

void writeInt(std::iostream& stream, std::int32_t value);
void writeMask(std::iostream& stream, std::uint32_t value);
void writeFloat(std::iostream& stream, float value);
void writeBool(std::iostream& stream, bool value);
void writeCount(std::iostream& stream, std::uint64_t value);
void writeString(std::iostream& stream, const std::string& value);

// Each reader leaves value unchanged and returns false when the stream ran
// dry or was already failed.
bool readInt(std::iostream& stream, std::int32_t& value);
bool readMask(std::iostream& stream, std::uint32_t& value);
bool readFloat(std::iostream& stream, float& value);
// Any non-zero byte reads as true.
bool readBool(std::iostream& stream, bool& value);
bool readCount(std::iostream& stream, std::uint64_t& value);

// Bytes between the read position and the end of the stream; 0 for a failed
// or unseekable stream.
std::uint64_t bytesLeft(std::iostream& stream);

// Reads a count and that many characters, keeping those before the first zero
// character. A count larger than the bytes left cannot be genuine: it logs
// "<where>: Error! Cannot allocate %llu bytes.", fails the stream and returns
// false without allocating.
bool readString(std::iostream& stream, std::string& value, const char* where);

// Marks the stream failed after a record was found corrupt, so the caller's
// stream check reports it and no later read trusts the position.
void failStream(std::iostream& stream);

// Logs "<where>: Error! Stream is NULL." and returns -1.
int noStream(const char* where);

// Records refused as corrupt, counted: a peer sending broken records over
// and over would otherwise fill the log. The first refusal is logged in full;
// while readingQuietly() is true, the lines a refusal passes on its way are
// hushed (RepeatedLog::Hush) and countRefusedRecord() says only the counts.
bool readingQuietly();
// Counts one refused record; true for the first, which the caller then names.
bool countRefusedRecord(const char* where);

// "true" or "false", for the serialization log lines.
const char* boolText(bool value);

}  // namespace tw

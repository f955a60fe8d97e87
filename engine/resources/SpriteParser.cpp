#include "engine/resources/SpriteParser.h"

#include <climits>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <new>
#include <optional>
#include <sstream>

#include "engine/core/ColorBlend.h"
#include "engine/core/LogManager.h"
#include "engine/core/Unicode.h"
#include "engine/world/Sprite.h"

namespace tw {

namespace {

const char* const END_OF_FRAME = "end";
const char* const BYTE_ORDER_MARK = "\xEF\xBB\xBF";

LogManager& logger() { return LogManager::getInstance(); }

std::string formatted(const char* fmt, va_list args) {
  va_list again;
  va_copy(again, args);
  const int length = std::vsnprintf(nullptr, 0, fmt, args);
  std::string text(length > 0 ? static_cast<std::size_t>(length) : 0, '\0');
  if (length > 0) std::vsnprintf(&text[0], text.size() + 1, fmt, again);
  va_end(again);
  return text;
}

// "1 frame", "3 frames".
std::string counted(int n, const char* thing) {
  return std::to_string(n) + " " + thing + (n == 1 ? "" : "s");
}

// "U+2500 '─'": the character itself only when it is safe to print.
std::string named(char32_t code) {
  std::string name = codePointName(code);
  const CellFit fit = cellFit(code);
  if (fit == CellFit::NARROW || fit == CellFit::WIDE) {
    name += " '";
    appendUtf8(name, code);
    name += "'";
  }
  return name;
}

// What keeps the character c (starting at bytes) out of a cell, in words;
// "" when it fits one.
std::string characterFault(const char* bytes, const Utf8Character& c) {
  if (c.fault == Utf8Fault::NONE && cellFit(c.code) == CellFit::NARROW) return "";
  std::string hex;
  for (std::size_t i = 0; i < c.length; i++) {
    char byte[8];
    std::snprintf(byte, sizeof byte, "%s0x%02X", i == 0 ? "" : " ",
                  static_cast<unsigned char>(bytes[i]));
    hex += byte;
  }
  switch (c.fault) {
    case Utf8Fault::NOT_UTF8: return "not UTF-8 (the byte " + hex + ")";
    case Utf8Fault::CUT_SHORT:
      // A lone lead byte is most often a letter of another encoding (Latin-1).
      if (c.length == 1) return "not UTF-8 (the byte " + hex + ")";
      return "a UTF-8 character cut short (" + hex + ")";
    case Utf8Fault::OVERLONG:
      return "an over-long UTF-8 form of " + named(c.code) + " (" + hex + ")";
    case Utf8Fault::SURROGATE:
      return "the surrogate " + codePointName(c.code) + ", which UTF-8 may not carry (" + hex + ")";
    case Utf8Fault::BEYOND_UNICODE: return "beyond Unicode (" + hex + ")";
    case Utf8Fault::NONE: break;
  }
  switch (cellFit(c.code)) {
    case CellFit::CONTROL: return "the control character " + codePointName(c.code);
    case CellFit::WIDE:
      return named(c.code) + ", which is double width: a cell holds one narrow character";
    case CellFit::ZERO_WIDTH:
      return codePointName(c.code) + ", which has no width of its own: a cell holds one character";
    case CellFit::NARROW: break;
  }
  return "";
}

// Counts row's characters into characters. False at the first one that
// does not fit a cell: characters is then its column (from 1), fault why.
bool readRow(const std::string& row, int& characters, std::string& fault) {
  characters = 0;
  for (std::size_t at = 0; at < row.size();) {
    const Utf8Character c = decodeUtf8(row.data() + at, row.size() - at);
    characters++;
    fault = characterFault(row.data() + at, c);
    if (!fault.empty()) return false;
    at += c.length;
  }
  return true;
}

// The number of frames in what is left of a robust body: its "end" lines,
// and rows after the last one.
int framesIn(const SpriteParser::Lines& body) {
  int frames = 0;
  bool rows_open = false;
  for (const std::string& line : body) {
    rows_open = line != END_OF_FRAME;
    if (!rows_open) frames++;
  }
  return frames + (rows_open ? 1 : 0);
}

// Removes every line that starts with keyword and returns the value of the
// last one (the text after keyword and one separator). found tells whether
// any matched; warn_earlier says whether an earlier value deserves a warning.
template <typename WarnIf>
std::string takeKeyword(SpriteParser::Lines& lines, const std::string& keyword, const char* who,
                        bool& found, WarnIf warn_earlier) {
  std::string value;
  found = false;
  for (auto it = lines.begin(); it != lines.end();) {
    if (it->compare(0, keyword.size(), keyword) != 0) {
      ++it;
      continue;
    }
    if (found && warn_earlier(value)) {
      logger().writeLog(1, "%s(): Warning! '%s' matches multiple lines.", who,
                        printable(*it).c_str());
    }
    value = it->size() > keyword.size() ? it->substr(keyword.size() + 1) : "";
    found = true;
    it = lines.erase(it);
  }
  return value;
}

}  // namespace

SpriteParser::SpriteParser(std::istream& in_stream)
    : in(in_stream),
      line_count(0),
      line_end(LineEnd::LINE_FEED),
      problems(nullptr),
      problem_count(0),
      frame_number(1),
      frame_total(0),
      header_end(0) {}

void SpriteParser::setProblemList(std::vector<SpriteProblem>* list) { problems = list; }

void SpriteParser::setFileName(const std::string& name) { file_name = name; }

int SpriteParser::logError(const char* fmt, ...) const {
  // Formatted once at full length (a row quoted back may be long).
  va_list args;
  va_start(args, fmt);
  std::string text = formatted(fmt, args);
  va_end(args);
  // The indent that set a detail line under its heading is not needed once
  // every line names the file.
  if (!file_name.empty()) text.erase(0, text.find_first_not_of(" \t"));
  return logger().writeLog("%s", text.c_str());
}

void SpriteParser::problem(int line, const char* fmt, ...) {
  problem_count++;
  if (problems == nullptr) return;
  va_list args;
  va_start(args, fmt);
  problems->push_back(SpriteProblem{line, formatted(fmt, args)});
  va_end(args);
}

// A line read as "" because the file ended: at its end, or inside a last
// line without its line feed.
void SpriteParser::endOfDataProblem(int line, const std::string& missing) {
  if (line_end == LineEnd::NO_LINE_FEED) {
    problem(line, "the last line does not end with a line feed");
  } else {
    problem(line, "the file ends before %s", missing.c_str());
  }
}

Sprite* SpriteParser::loadSprite() {
  if (file_name.empty()) return pickFormatAndLoad();
  // Every line written meanwhile, the sprite's own included, names the file.
  LogManager& log = LogManager::getInstance();
  const std::string outer = log.getLinePrefix();
  log.setLinePrefix("'" + file_name + "': ");
  Sprite* p_sprite = pickFormatAndLoad();
  log.setLinePrefix(outer);
  return p_sprite;
}

Sprite* SpriteParser::pickFormatAndLoad() {
  const std::string first = getLine(false);  // only to pick the format
  const LineEnd first_end = line_end;
  in.clear();
  in.seekg(0);
  if (first == "<HEADER>") {
    logger().writeLog(5, "RM::loadSprite(): assuming robust sprite file format.");
    return loadRobustSprite();
  }
  if (leadingInt(first) > 0) {
    logger().writeLog(5, "RM::loadSprite(): assuming simple sprite file format.");
    return loadSimpleSprite();
  }
  logError("RM::loadSprite(): Error! Unknown sprite file format.");
  logError("RM::loadSprite(): First line is '%s'.", printable(first).c_str());
  if (first_end == LineEnd::END_OF_FILE) {
    problem(1, "the file is empty");
  } else if (first_end == LineEnd::NO_LINE_FEED) {
    problem(1, "the last line does not end with a line feed");
  } else {
    problem(1, "the first line must be <HEADER> or the number of frames, not '%s'",
            printable(first).c_str());
  }
  return nullptr;
}

int SpriteParser::getLineCount() const { return line_count; }

std::string SpriteParser::getLine(bool count) {
  if (count) line_count++;
  const bool first = in.tellg() == std::streampos(0);
  std::string line;
  std::getline(in, line);
  // A line must end in a line feed: end of file inside or before it is an error.
  if (in.eof() || in.fail()) {
    line_end = line.empty() && in.eof() ? LineEnd::END_OF_FILE : LineEnd::NO_LINE_FEED;
    logError("getLine(): Error! Unexpected end of file.");
    return "";
  }
  line_end = LineEnd::LINE_FEED;
  if (!line.empty() && line.back() == '\r') line.pop_back();
  if (first && line.compare(0, 3, BYTE_ORDER_MARK) == 0) line.erase(0, 3);
  return line;
}

int SpriteParser::leadingInt(const std::string& text) {
  const long value = std::strtol(text.c_str(), nullptr, 10);
  if (value > INT_MAX) return INT_MAX;
  if (value < INT_MIN) return INT_MIN;
  return static_cast<int>(value);
}

bool SpriteParser::colorFromName(const std::string& name, bool allow_default, Color& color) {
  static const char* const NAMES[] = {"black", "red",     "green", "yellow",
                                      "blue",  "magenta", "cyan",  "white"};
  static const Color COLORS[] = {BLACK, RED, GREEN, YELLOW, BLUE, MAGENTA, CYAN, WHITE};
  for (int i = 0; i < 8; i++) {
    if (name == NAMES[i]) {
      color = COLORS[i];
      return true;
    }
  }
  if (allow_default && name == "default") {
    color = WHITE;
    return true;
  }
  return false;
}

int SpriteParser::matchLineInt(Lines& lines, const std::string& keyword) {
  // An earlier match is worth a warning unless it read as -1 (absent).
  bool found = false;
  const std::string value = takeKeyword(lines, keyword, "matchLineInt", found,
                                        [](const std::string& v) { return leadingInt(v) != -1; });
  return found ? leadingInt(value) : -1;
}

std::string SpriteParser::matchLineStr(Lines& lines, const std::string& keyword) {
  bool found = false;
  return takeKeyword(lines, keyword, "matchLineStr", found,
                     [](const std::string& v) { return !v.empty(); });
}

SpriteParser::Lines SpriteParser::readData(const std::string& name) {
  return readSection(name, getLine());
}

SpriteParser::Lines SpriteParser::readSection(const std::string& name, const std::string& first) {
  const std::string open = "<" + name + ">";
  const std::string close = "</" + name + ">";
  std::string line = first;
  if (line != open) {
    logError("readData(): Error line %d! Expected '%s', have '%s'.", line_count, open.c_str(),
             printable(line).c_str());
    if (line_end != LineEnd::LINE_FEED) {
      endOfDataProblem(line_count, open);
    } else {
      problem(line_count, "expected %s, found '%s'", open.c_str(), printable(line).c_str());
    }
    return Lines();
  }
  Lines data;
  for (line = getLine(); line != close; line = getLine()) {
    if (line.empty()) {
      logError("readData(): Error! Stop at line %d, never encountered '%s'.", line_count,
               close.c_str());
      if (line_end != LineEnd::LINE_FEED) {
        endOfDataProblem(line_count, close);
      } else {
        problem(line_count, "an empty line in the %s section, where no line may be empty",
                name.c_str());
      }
      return Lines();
    }
    data.push_back(line);
  }
  if (data.empty()) problem(line_count, "the %s section is empty", name.c_str());
  return data;
}

Frame SpriteParser::readFrame(Lines& body, int width, int height, int& body_line) {
  std::string rows;
  for (int row = 0; row < height; row++) {
    if (body.empty()) {
      logError("\tError! Line %d: No more frame data before 'end'.", body_line);
      if (row > 0) {
        problem(body_line, "missing end: the body ends after %d of the %d rows of frame %d", row,
                height, frame_number);
      } else if (frame_total >= frame_number) {
        problem(body_line, "the header says %s, the body has %d",
                counted(frame_total, "frame").c_str(), frame_number - 1);
      } else {
        problem(body_line, "the body has no frame %d", frame_number);
      }
      return Frame();
    }
    const std::string& line = body.front();
    logger().writeLog(20, "\tLine %2d: '%s'", body_line, printable(line).c_str());
    if (!rowIsGood(line, width, body_line, row)) return Frame();
    rows += line;
    body.pop_front();
    body_line++;
  }
  if (body.empty()) {
    logError("\tError! Line %d: No more frame data before 'end'.", body_line);
    problem(body_line, "missing end: the body ends after the %s of frame %d",
            counted(height, "row").c_str(), frame_number);
    return Frame();
  }
  if (body.front() != END_OF_FRAME) {
    logError("\tError! Line %d: Expected '%s'.", body_line, END_OF_FRAME);
    logError("\tLine %d: '%s'", body_line, printable(body.front()).c_str());
    problem(body_line, "missing end after the %s of frame %d, found '%s'",
            counted(height, "row").c_str(), frame_number, printable(body.front()).c_str());
    return Frame();
  }
  body.pop_front();
  body_line++;
  return Frame(width, height, rows);
}

// A robust body row: UTF-8, one narrow character per cell, width of them.
bool SpriteParser::rowIsGood(const std::string& row, int width, int line, int row_index) {
  int characters = 0;
  std::string fault;
  if (!readRow(row, characters, fault)) {
    logError("\tError! Line %d: Character %d is %s.", line, characters, fault.c_str());
    logError("\tLine %d: '%s'", line, printable(row).c_str());
    problem(line, "row %d of frame %d, character %d: %s", row_index + 1, frame_number, characters,
            fault.c_str());
    return false;
  }
  if (characters != width) {
    logError("\tError! Line %d: Line length is %d (frame width is %d).", line, characters, width);
    logError("\tLine %d: '%s'", line, printable(row).c_str());
    problem(line, "row %d of frame %d has %s, the width is %d", row_index + 1, frame_number,
            counted(characters, "character").c_str(), width);
    return false;
  }
  return true;
}

// ------------------------------------------------------------ simple format

// missing says what the line holds as the log says it, what as a problem does.
bool SpriteParser::readSimpleLine(const char* missing, const char* what, std::string& line) {
  line = getLine();
  logger().writeLog(20, "\tLine %2d: '%s'", line_count, printable(line).c_str());
  if (!line.empty()) return true;
  logError("RM::loadSimpleSprite(): Error! Unexpected end of file.");
  logError("\tMissing %s.", missing);
  if (line_end != LineEnd::LINE_FEED) {
    endOfDataProblem(line_count, what);
  } else {
    problem(line_count, "an empty line where %s should be", what);
  }
  return false;
}

bool SpriteParser::readSimpleHeader(int& frames, int& width, int& height, int& slowdown,
                                    Color& color) {
  const char* const who = "RM::loadSimpleSprite()";
  std::string line;
  if (!readSimpleLine("frames (an integer)", "the number of frames", line)) return false;
  frames = leadingInt(line);
  if (frames < 1) {
    logError("%s: Error line %d! Number of frames is %d.", who, line_count, frames);
    problem(line_count, "the number of frames is %d; it must be at least 1", frames);
    return false;
  }
  const struct {
    const char* missing;  // as the log says it
    const char* name;     // as the log says it
    const char* word;
    int least;
    int& value;
  } numbers[] = {{"width (an integer)", "Width", "width", 1, width},
                 {"height (an integer)", "Height", "height", 1, height},
                 {"slowdown (an integer)", "Slowdown", "slowdown", 0, slowdown}};
  for (const auto& n : numbers) {
    if (!readSimpleLine(n.missing, (std::string("the ") + n.word).c_str(), line)) return false;
    n.value = leadingInt(line);
    if (n.value < n.least) {
      logError("%s: Error line %d! %s is '%s'.", who, line_count, n.name, printable(line).c_str());
      problem(line_count, "the %s is '%s'; it must be a number of at least %d", n.word,
              printable(line).c_str(), n.least);
      return false;
    }
  }
  if (!readSimpleLine("color (a string)", "the colour", line)) return false;
  if (!colorFromName(line, false, color)) {
    logError("%s: Error line %d! Unrecognized color '%s'.", who, line_count,
             printable(line).c_str());
    logError("  Valid colors are: black, red, green, yellow,");
    logError("                    blue, magenta, cyan or white.");
    problem(line_count, "unknown colour '%s' (black, red, green, yellow, blue, magenta, cyan or "
            "white)", printable(line).c_str());
    return false;
  }
  return true;
}

bool SpriteParser::readSimpleRow(const Sprite& sprite, int frame, int frames, int row,
                                 std::string& rows) {
  const std::string line = getLine();
  if (line.empty()) {
    logError("RM::loadSimpleSprite(): Error! Unexpected end of file.");
    logError("\tReading frame %d of %d, row %d of %d.", frame + 1, frames, row + 1,
             sprite.getHeight());
    if (line_end == LineEnd::LINE_FEED) {
      problem(line_count, "row %d of frame %d is empty, the width is %d", row + 1, frame + 1,
              sprite.getWidth());
    } else if (line_end == LineEnd::NO_LINE_FEED) {
      problem(line_count, "the last line does not end with a line feed");
    } else if (row == 0) {
      problem(line_count, "the header says %s, the file has %d", counted(frames, "frame").c_str(),
              frame);
    } else {
      problem(line_count, "the file ends after %d of the %d rows of frame %d", row,
              sprite.getHeight(), frame + 1);
    }
    return false;
  }
  int characters = 0;
  std::string fault;
  const bool readable = readRow(line, characters, fault);
  if (!readable || characters != sprite.getWidth()) {
    logError("RM::loadSimpleSprite(): Error line %d!", line_count);
    logError("\tLine %2d: '%s'", line_count, printable(line).c_str());
    if (!readable) {
      logError("\tCharacter %d is %s.", characters, fault.c_str());
      problem(line_count, "row %d of frame %d, character %d: %s", row + 1, frame + 1, characters,
              fault.c_str());
    } else {
      logError("\tWidth is %d, expected %d.", characters, sprite.getWidth());
      problem(line_count, "row %d of frame %d has %s, the width is %d", row + 1, frame + 1,
              counted(characters, "character").c_str(), sprite.getWidth());
    }
    return false;
  }
  logger().writeLog(20, "\tLine %2d: '%s'", line_count, printable(line).c_str());
  rows += line;
  return true;
}

bool SpriteParser::readSimpleFrames(Sprite& sprite, int frames) {
  // frames comes from the file: the loop ends at the first missing row, and
  // memory grows only with rows actually read.
  for (int i = 0; i < frames; i++) {
    logger().writeLog(15, "RM::loadSimpleSprite(): Reading frame %d of %d.", i, frames);
    std::string rows;
    for (int row = 0; row < sprite.getHeight(); row++) {
      if (!readSimpleRow(sprite, i, frames, row, rows)) return false;
    }
    if (sprite.addFrame(Frame(sprite.getWidth(), sprite.getHeight(), rows)) != 0) {
      logError("RM::loadSimpleSprite(): Error! Cannot add Frame.");
      logError("\tFramecount is %d, max is %d.", sprite.getFrameCount() + 1,
               sprite.getMaxFrameCount());
      problem(line_count, "more frames than the sprite can hold (%d)", sprite.getMaxFrameCount());
      return false;
    }
  }
  return true;
}

bool SpriteParser::simpleFileEndsHere(int frames) {
  // Read directly: reaching the end of the file is the good outcome here.
  line_count++;
  std::string line;
  std::getline(in, line);
  if (!line.empty() && line.back() == '\r') line.pop_back();
  if (in.eof() && line.empty()) return true;
  logError("RM::loadSimpleSprite(): Error line %d!", line_count);
  logError("\tExtra file data: '%s'", printable(line).c_str());
  if (line.empty()) {
    problem(line_count, "an empty line after the last frame, where the file must end");
  } else {
    problem(line_count, "more after the last frame (the header says %s): '%s'",
            counted(frames, "frame").c_str(), printable(line).c_str());
  }
  return false;
}

Sprite* SpriteParser::loadSimpleSprite() {
  int frames = 0, width = 0, height = 0, slowdown = 0;
  Color color = COLOR_DEFAULT;
  if (!readSimpleHeader(frames, width, height, slowdown, color)) return nullptr;
  logger().writeLog(5, "\t      Frames: %d", frames);
  logger().writeLog(5, "\t       Width: %d", width);
  logger().writeLog(5, "\t      Height: %d", height);
  logger().writeLog(5, "\t    Slowdown: %d", slowdown);
  logger().writeLog(5, "\t       Color: %s", colorToString(color).c_str());

  Sprite* sprite = new (std::nothrow) Sprite(frames);
  if (sprite == nullptr || sprite->getMaxFrameCount() != frames) {
    logError("RM::loadSimpleSprite(): Error! Unable to create Sprite.");
    problem(1, "no room for %s", counted(frames, "frame").c_str());
    delete sprite;
    return nullptr;
  }
  sprite->setWidth(width);
  sprite->setHeight(height);
  sprite->setSlowdown(slowdown);
  sprite->setColor(color);
  sprite->setTransparency(0);
  if (!readSimpleFrames(*sprite, frames) || !simpleFileEndsHere(frames)) {
    delete sprite;
    return nullptr;
  }
  return sprite;
}

// ------------------------------------------------------------ robust format

bool SpriteParser::readRobustHeader(int& frames, int& width, int& height, int& slowdown,
                                    char32_t& transparency, std::string& color_text) {
  const char* const who = "RM::loadRobustSprite()";
  Lines header = readData("HEADER");
  if (header.empty()) return false;
  header_end = line_count;
  logger().writeLog(20, "ResourceManager::loadRobustSprite(): After header, line number: '%d'",
                    line_count);
  frames = matchLineInt(header, "frames");
  width = matchLineInt(header, "width");
  height = matchLineInt(header, "height");
  const char* missing = frames == -1 ? "frames" : width == -1 ? "width" : height == -1 ? "height"
                                                                                        : nullptr;
  if (missing != nullptr) {
    logError("%s: Error! Missing '%s' in header.", who, missing);
    problem(line_count, "the header has no '%s' line", missing);
    return false;
  }
  color_text = matchLineStr(header, "color");
  if (color_text.empty()) {
    logger().writeLog(5, "%s: Warning! No '%s' in header.", who, "color");
    color_text = "default";
  }
  if (!readTransparency(matchLineStr(header, "transparency"), transparency)) return false;
  slowdown = matchLineInt(header, "slowdown");
  if (slowdown == -1) {
    logger().writeLog(5, "%s: Note! No '%s' in header.", who, "slowdown");
    slowdown = 0;
  }
  if (!header.empty()) {
    logger().writeLog(1, "%s: Warning! Unused HEADER lines:", who);
    for (const std::string& line : header) {
      logger().writeLog(1, "\t'%s'", printable(line).c_str());
    }
  }
  return true;
}

// The first character of value (a blank for the three characters `" "`);
// none for an empty value.
bool SpriteParser::readTransparency(const std::string& value, char32_t& transparency) {
  const char* const who = "RM::loadRobustSprite()";
  transparency = 0;
  if (value.empty()) {
    logger().writeLog(5, "%s: Note! No '%s' in header.", who, "transparency");
    return true;
  }
  if (value == "\" \"") {
    logger().writeLog(5, "%s: transparency is 'space'", who);
    transparency = U' ';
    return true;
  }
  const Utf8Character first = decodeUtf8(value.data(), value.size());
  const std::string fault = characterFault(value.data(), first);
  if (!fault.empty()) {
    logError("%s: Error! Transparency is %s.", who, fault.c_str());
    problem(header_end, "the transparent character is %s", fault.c_str());
    return false;
  }
  transparency = first.code;
  return true;
}

bool SpriteParser::readRobustFrames(Sprite& sprite, Lines& body, int frames, int& body_line) {
  const char* const who = "RM::loadRobustSprite()";
  frame_total = frames;
  // frames comes from the file: the loop ends at the first frame the body lacks.
  for (int i = 0; i < frames; i++) {
    const int frame_line = body_line;  // a frame that cannot be added is reported here
    const int problems_before = problem_count;
    frame_number = i + 1;
    Frame frame = readFrame(body, sprite.getWidth(), sprite.getHeight(), body_line);
    if (frame.getStringRef().empty()) {
      logError("%s: Error! No frame data to add.", who);
      if (problem_count == problems_before) {
        problem(header_end, "the height is %d; a frame needs at least 1 row", sprite.getHeight());
      }
      return false;
    }
    if (sprite.addFrame(frame) != 0) {
      logError("%s: Error! Cannot add Frame.", who);
      logError("\tFramecount is %d, max is %d", sprite.getFrameCount() + 1,
               sprite.getMaxFrameCount());
      problem(frame_line, "more frames than the sprite can hold (%d)", sprite.getMaxFrameCount());
      return false;
    }
  }
  if (body.empty()) return true;
  problem(body_line, "the header says %s, the body has %d", counted(frames, "frame").c_str(),
          frames + framesIn(body));
  logError("%s: Error! Extra BODY:", who);
  for (const std::string& line : body) {
    logError("\tLine %d: %s", body_line, printable(line).c_str());
    body_line++;
  }
  return false;
}

bool SpriteParser::readRobustFooter(const std::string& open) {
  Lines footer = readSection("FOOTER", open);
  if (footer.empty()) return false;
  if (matchLineStr(footer, "version").empty()) {
    logError("RM::loadRobustSprite(): Error! Missing '%s' in FOOTER (line %d).", "version",
             line_count);
    problem(line_count, "the footer needs a version line, such as 'version 1'");
    return false;
  }
  if (!footer.empty()) {
    logger().writeLog(1, "RM::loadRobustSprite(): Warning! Unused FOOTER lines:");
    for (const std::string& line : footer) {
      logger().writeLog(1, "\t'%s'", printable(line).c_str());
    }
  }
  return true;
}

Sprite* SpriteParser::loadRobustSprite() {
  const char* const who = "RM::loadRobustSprite()";
  int frames = 0, width = 0, height = 0, slowdown = 0;
  char32_t transparency = 0;
  std::string color_text;
  if (!readRobustHeader(frames, width, height, slowdown, transparency, color_text)) return nullptr;
  logger().writeLog(5, "\t      Frames: %d", frames);
  logger().writeLog(5, "\t       Width: %d", width);
  logger().writeLog(5, "\t      Height: %d", height);
  logger().writeLog(5, "\t    Slowdown: %d", slowdown);
  if (transparency != 0) {
    std::string shown;
    appendUtf8(shown, transparency);
    logger().writeLog(5, "\tTransparency: '%s'", shown.c_str());
  } else {
    logger().writeLog(5, "\tTransparency: (none)");
  }

  int body_line = line_count + 2;  // the body's first line follows "<BODY>"
  Lines body = readData("BODY");
  if (body.empty()) return nullptr;
  logger().writeLog(20, "ResourceManager::loadRobustSprite(): After reading body: line number is '%d'",
                 line_count);

  Sprite* sprite = new (std::nothrow) Sprite(frames);
  if (sprite == nullptr || sprite->getMaxFrameCount() != frames) {
    logError("%s: Error! Unable to create Sprite.", who);
    problem(header_end, "the header says %d frames; the number must be 0 or more", frames);
    delete sprite;
    return nullptr;
  }
  sprite->setWidth(width);
  sprite->setHeight(height);
  sprite->setSlowdown(slowdown);
  sprite->setTransparentCharacter(transparency);
  Color color = COLOR_DEFAULT;
  if (!colorFromName(color_text, true, color)) {
    logError("%s: Error! Unrecognized color '%s'.", who, printable(color_text).c_str());
    logError("  Valid colors are: black, red, green, yellow,");
    logError("                    blue, magenta, cyan and white.");
    problem(header_end, "unknown colour '%s' (black, red, green, yellow, blue, magenta, cyan, "
            "white or default)", printable(color_text).c_str());
    delete sprite;
    return nullptr;
  }
  sprite->setColor(color);
  logger().writeLog(5, "\t       Color: %s", colorToString(color).c_str());
  if (!readRobustFrames(*sprite, body, frames, body_line)) {
    delete sprite;
    return nullptr;
  }
  // An optional colour layer lies between the body and the footer.
  std::string next = getLine();
  if (next == "<COLORS>" && !readRobustColors(*sprite, next)) {
    delete sprite;
    return nullptr;
  }
  if (next == "<COLORS>") next = getLine();
  if (!readRobustFooter(next)) {
    delete sprite;
    return nullptr;
  }
  return sprite;
}

namespace {

// The colours letters name before any palette line: '.' the sprite's own
// colour (no colour of the cell's own), then the eight engine colours.
const char BASE_LETTERS[] = "krgybmcw";

bool hexChannels(const std::string& text, Rgb& out) {
  if (text.size() != 7 || text[0] != '#') return false;
  unsigned value = 0;
  for (std::size_t i = 1; i < 7; i++) {
    const char c = text[i];
    const int digit = c >= '0' && c <= '9' ? c - '0'
                      : c >= 'a' && c <= 'f' ? c - 'a' + 10
                      : c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1;
    if (digit < 0) return false;
    value = value * 16 + static_cast<unsigned>(digit);
  }
  out = Rgb{static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 8),
            static_cast<std::uint8_t>(value)};
  return true;
}

// "#rrggbb" or a colour's name (the engine's eight and the named ones).
bool colorValue(const std::string& text, Rgb& out) {
  return hexChannels(text, out) || namedColor(text, out);
}

}  // namespace

// "palette X FOREGROUND [BACKGROUND]": letter X stands for those colours.
bool SpriteParser::readPaletteLine(const std::string& line, int line_number,
                                   Palette& palette) {
  std::istringstream words(line.substr(8));
  std::string letter, fg, bg, extra;
  words >> letter >> fg >> bg >> extra;
  CellColors colors;
  const bool letter_ok = letter.size() == 1 && letter[0] > ' ' && letter[0] < 0x7f && letter[0] != '.';
  if (!letter_ok || !colorValue(fg, colors.fg) || (!bg.empty() && !colorValue(bg, colors.bg)) ||
      !extra.empty()) {
    logError("RM::loadRobustSprite(): Error! Bad palette line %d: '%s'.", line_number,
             printable(line).c_str());
    problem(line_number, "a palette line is 'palette LETTER COLOUR [BACKGROUND]' with a letter "
            "other than '.' and colours as #rrggbb or names, not '%s'", printable(line).c_str());
    return false;
  }
  colors.has_background = !bg.empty();
  palette[static_cast<unsigned char>(letter[0])] = colors;
  return true;
}

// One frame's rows of colour letters, then "end".
bool SpriteParser::readColorFrame(Lines& rows, const Sprite& sprite,
                                  const Palette& palette, int& line_number,
                                  std::vector<CellColors>& colors) {
  const Rgb own = colorToRgb(sprite.getColor());
  colors.clear();
  for (int row = 0; row <= sprite.getHeight(); row++, line_number++) {
    const bool last = row == sprite.getHeight();
    const std::string line = rows.empty() ? "" : rows.front();
    bool ok = !rows.empty() && (last ? line == "end" : line.size() == static_cast<std::size_t>(sprite.getWidth()));
    for (std::size_t i = 0; ok && !last && i < line.size(); i++) {
      const unsigned char letter = static_cast<unsigned char>(line[i]);
      ok = letter == '.' || palette[letter].has_value();
      colors.push_back(letter == '.' ? CellColors{own, Rgb(), false}
                                     : palette[letter].value_or(CellColors()));
    }
    if (!ok) {
      logError("RM::loadRobustSprite(): Error! Bad COLORS line %d for frame %d.", line_number,
               frame_number);
      problem(line_number, "frame %d of the colours needs %s of %d known colour letters, then end",
              frame_number, counted(sprite.getHeight(), "row").c_str(), sprite.getWidth());
      return false;
    }
    rows.pop_front();
  }
  return true;
}

// Palette lines, then a frame of colour letters for every frame of the body.
bool SpriteParser::readRobustColors(Sprite& sprite, const std::string& open) {
  int line_number = line_count + 1;
  Lines lines = readSection("COLORS", open);
  if (lines.empty()) return false;
  Palette palette(256);
  for (int i = 0; i < 8; i++) {
    palette[static_cast<unsigned char>(BASE_LETTERS[i])] =
        CellColors{colorToRgb(static_cast<Color>(i)), Rgb(), false};
  }
  while (!lines.empty() && lines.front().compare(0, 8, "palette ") == 0) {
    if (!readPaletteLine(lines.front(), line_number++, palette)) return false;
    lines.pop_front();
  }
  std::vector<CellColors> colors;
  for (int i = 0; i < sprite.getFrameCount(); i++) {
    frame_number = i + 1;
    if (!readColorFrame(lines, sprite, palette, line_number, colors)) return false;
    sprite.setCellColors(i, colors);
  }
  if (lines.empty()) return true;
  logError("RM::loadRobustSprite(): Error! Extra COLORS lines from line %d.", line_number);
  problem(line_number, "the colours have more frames than the body's %d", sprite.getFrameCount());
  return false;
}

}  // namespace tw

#include "engine/resources/SpriteParser.h"

#include <climits>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <new>

#include "engine/core/LogManager.h"
#include "engine/world/Sprite.h"

namespace tw {

namespace {

const char* const END_OF_FRAME = "end";

LogManager& logger() { return LogManager::getInstance(); }

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
      logger().writeLog(1, "%s(): Warning! '%s' matches multiple lines.", who, it->c_str());
    }
    value = it->size() > keyword.size() ? it->substr(keyword.size() + 1) : "";
    found = true;
    it = lines.erase(it);
  }
  return value;
}

}  // namespace

SpriteParser::SpriteParser(std::istream& in_stream)
    : in(in_stream), line_count(0), problems(nullptr) {}

void SpriteParser::setProblemList(std::vector<SpriteProblem>* list) { problems = list; }

int SpriteParser::report(int line, const char* fmt, ...) {
  // Formatted once at full length (a row quoted back may be long), then
  // logged as it stands, so the log reads as if written directly.
  va_list args;
  va_start(args, fmt);
  va_list again;
  va_copy(again, args);
  const int length = std::vsnprintf(nullptr, 0, fmt, args);
  va_end(args);
  std::string text(length > 0 ? static_cast<std::size_t>(length) : 0, '\0');
  if (length > 0) std::vsnprintf(&text[0], text.size() + 1, fmt, again);
  va_end(again);
  if (problems != nullptr) problems->push_back(SpriteProblem{line, text});
  return logger().writeLog("%s", text.c_str());
}

Sprite* SpriteParser::loadSprite() {
  const std::string first = getLine(false);  // only to pick the format
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
  report(1, "RM::loadSprite(): Error! Unknown sprite file format.");
  report(1, "RM::loadSprite(): First line is '%s'.", first.c_str());
  return nullptr;
}

int SpriteParser::getLineCount() const { return line_count; }

std::string SpriteParser::getLine(bool count) {
  if (count) line_count++;
  std::string line;
  std::getline(in, line);
  // A line must end in a line feed: end of file inside or before it is an error.
  if (in.eof() || in.fail()) {
    report(count ? line_count : line_count + 1, "getLine(): Error! Unexpected end of file.");
    return "";
  }
  if (!line.empty() && line.back() == '\r') line.pop_back();
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
  const std::string open = "<" + name + ">";
  const std::string close = "</" + name + ">";
  std::string line = getLine();
  if (line != open) {
    report(line_count, "readData(): Error line %d! Expected '%s', have '%s'.", line_count,
                   open.c_str(), line.c_str());
    return Lines();
  }
  Lines data;
  for (line = getLine(); line != close; line = getLine()) {
    if (line.empty()) {
      report(line_count, "readData(): Error! Stop at line %d, never encountered '%s'.", line_count,
                     close.c_str());
      return Lines();
    }
    data.push_back(line);
  }
  return data;
}

Frame SpriteParser::readFrame(Lines& body, int width, int height, int& body_line) {
  std::string rows;
  for (int row = 0; row < height; row++) {
    if (body.empty()) {
      report(body_line, "\tError! Line %d: No more frame data before 'end'.", body_line);
      return Frame();
    }
    const std::string& line = body.front();
    logger().writeLog(20, "\tLine %2d: '%s'", body_line, line.c_str());
    if (static_cast<long>(line.size()) != width) {
      report(body_line, "\tError! Line %d: Line length is %d (frame width is %d).", body_line,
                     static_cast<int>(line.size()), width);
      report(body_line, "\tLine %d: '%s'", body_line, line.c_str());
      return Frame();
    }
    rows += line;
    body.pop_front();
    body_line++;
  }
  if (body.empty()) {
    report(body_line, "\tError! Line %d: No more frame data before 'end'.", body_line);
    return Frame();
  }
  if (body.front() != END_OF_FRAME) {
    report(body_line, "\tError! Line %d: Expected '%s'.", body_line, END_OF_FRAME);
    report(body_line, "\tLine %d: '%s'", body_line, body.front().c_str());
    return Frame();
  }
  body.pop_front();
  body_line++;
  return Frame(width, height, rows);
}

// ------------------------------------------------------------ simple format

bool SpriteParser::readSimpleLine(const char* missing, std::string& line) {
  line = getLine();
  logger().writeLog(20, "\tLine %2d: '%s'", line_count, line.c_str());
  if (!line.empty()) return true;
  report(line_count, "RM::loadSimpleSprite(): Error! Unexpected end of file.");
  report(line_count, "\tMissing %s.", missing);
  return false;
}

bool SpriteParser::readSimpleHeader(int& frames, int& width, int& height, int& slowdown,
                                    Color& color) {
  const char* const who = "RM::loadSimpleSprite()";
  std::string line;
  if (!readSimpleLine("frames (an integer)", line)) return false;
  frames = leadingInt(line);
  if (frames < 1) {
    report(line_count, "%s: Error line %d! Number of frames is %d.", who, line_count, frames);
    return false;
  }
  if (!readSimpleLine("width (an integer)", line)) return false;
  width = leadingInt(line);
  if (width < 1) {
    report(line_count, "%s: Error line %d! Width is '%s'.", who, line_count, line.c_str());
    return false;
  }
  if (!readSimpleLine("height (an integer)", line)) return false;
  height = leadingInt(line);
  if (height < 1) {
    report(line_count, "%s: Error line %d! Height is '%s'.", who, line_count, line.c_str());
    return false;
  }
  if (!readSimpleLine("slowdown (an integer)", line)) return false;
  slowdown = leadingInt(line);
  if (slowdown < 0) {
    report(line_count, "%s: Error line %d! Slowdown is '%s'.", who, line_count, line.c_str());
    return false;
  }
  if (!readSimpleLine("color (a string)", line)) return false;
  if (!colorFromName(line, false, color)) {
    report(line_count, "%s: Error line %d! Unrecognized color '%s'.", who, line_count, line.c_str());
    report(line_count, "  Valid colors are: black, red, green, yellow,");
    report(line_count, "                    blue, magenta, cyan or white.");
    return false;
  }
  return true;
}

bool SpriteParser::readSimpleRow(const Sprite& sprite, int frame, int frames, int row,
                                 std::string& rows) {
  const std::string line = getLine();
  if (line.empty()) {
    report(line_count, "RM::loadSimpleSprite(): Error! Unexpected end of file.");
    report(line_count, "\tReading frame %d of %d, row %d of %d.", frame + 1, frames, row + 1,
                   sprite.getHeight());
    return false;
  }
  if (static_cast<long>(line.size()) != sprite.getWidth()) {
    report(line_count, "RM::loadSimpleSprite(): Error line %d!", line_count);
    report(line_count, "\tLine %2d: '%s'", line_count, line.c_str());
    report(line_count, "\tWidth is %d, expected %d.", static_cast<int>(line.size()),
                   sprite.getWidth());
    return false;
  }
  logger().writeLog(20, "\tLine %2d: '%s'", line_count, line.c_str());
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
      report(line_count, "RM::loadSimpleSprite(): Error! Cannot add Frame.");
      report(line_count, "\tFramecount is %d, max is %d.", sprite.getFrameCount() + 1,
                     sprite.getMaxFrameCount());
      return false;
    }
  }
  return true;
}

bool SpriteParser::simpleFileEndsHere() {
  // Read directly: reaching the end of the file is the good outcome here.
  line_count++;
  std::string line;
  std::getline(in, line);
  if (!line.empty() && line.back() == '\r') line.pop_back();
  if (in.eof() && line.empty()) return true;
  report(line_count, "RM::loadSimpleSprite(): Error line %d!", line_count);
  report(line_count, "\tExtra file data: '%s'", line.c_str());
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
    report(line_count, "RM::loadSimpleSprite(): Error! Unable to create Sprite.");
    delete sprite;
    return nullptr;
  }
  sprite->setWidth(width);
  sprite->setHeight(height);
  sprite->setSlowdown(slowdown);
  sprite->setColor(color);
  sprite->setTransparency(0);
  if (!readSimpleFrames(*sprite, frames) || !simpleFileEndsHere()) {
    delete sprite;
    return nullptr;
  }
  return sprite;
}

// ------------------------------------------------------------ robust format

bool SpriteParser::readRobustHeader(int& frames, int& width, int& height, int& slowdown,
                                    char& transparency, std::string& color_text) {
  const char* const who = "RM::loadRobustSprite()";
  Lines header = readData("HEADER");
  if (header.empty()) return false;
  logger().writeLog(20, "ResourceManager::loadRobustSprite(): After header, line number: '%d'",
                 line_count);
  frames = matchLineInt(header, "frames");
  width = matchLineInt(header, "width");
  height = matchLineInt(header, "height");
  const char* missing = frames == -1 ? "frames" : width == -1 ? "width" : height == -1 ? "height"
                                                                                        : nullptr;
  if (missing != nullptr) {
    report(line_count, "%s: Error! Missing '%s' in header.", who, missing);
    return false;
  }
  color_text = matchLineStr(header, "color");
  if (color_text.empty()) {
    logger().writeLog(5, "%s: Warning! No '%s' in header.", who, "color");
    color_text = "default";
  }
  const std::string transparent = matchLineStr(header, "transparency");
  transparency = 0;
  if (transparent.empty()) {
    logger().writeLog(5, "%s: Note! No '%s' in header.", who, "transparency");
  } else if (transparent == "\" \"") {
    logger().writeLog(5, "%s: transparency is 'space'", who);
    transparency = ' ';
  } else {
    transparency = transparent[0];
  }
  slowdown = matchLineInt(header, "slowdown");
  if (slowdown == -1) {
    logger().writeLog(5, "%s: Note! No '%s' in header.", who, "slowdown");
    slowdown = 0;
  }
  if (!header.empty()) {
    logger().writeLog(1, "%s: Warning! Unused HEADER lines:", who);
    for (const std::string& line : header) logger().writeLog(1, "\t'%s'", line.c_str());
  }
  return true;
}

bool SpriteParser::readRobustFrames(Sprite& sprite, Lines& body, int frames, int& body_line) {
  const char* const who = "RM::loadRobustSprite()";
  // frames comes from the file: the loop ends at the first frame the body lacks.
  for (int i = 0; i < frames; i++) {
    const int frame_line = body_line;  // a frame that cannot be added is reported here
    Frame frame = readFrame(body, sprite.getWidth(), sprite.getHeight(), body_line);
    if (frame.getStringRef().empty()) {
      report(frame_line, "%s: Error! No frame data to add.", who);
      return false;
    }
    if (sprite.addFrame(frame) != 0) {
      report(frame_line, "%s: Error! Cannot add Frame.", who);
      report(frame_line, "\tFramecount is %d, max is %d", sprite.getFrameCount() + 1,
                     sprite.getMaxFrameCount());
      return false;
    }
  }
  if (body.empty()) return true;
  report(body_line, "%s: Error! Extra BODY:", who);
  for (const std::string& line : body) {
    report(body_line, "\tLine %d: %s", body_line, line.c_str());
    body_line++;
  }
  return false;
}

bool SpriteParser::readRobustFooter() {
  Lines footer = readData("FOOTER");
  if (footer.empty()) return false;
  if (matchLineStr(footer, "version").empty()) {
    report(line_count, "RM::loadRobustSprite(): Error! Missing '%s' in FOOTER (line %d).", "version",
                   line_count);
    return false;
  }
  if (!footer.empty()) {
    logger().writeLog(1, "RM::loadRobustSprite(): Warning! Unused FOOTER lines:");
    for (const std::string& line : footer) logger().writeLog(1, "\t'%s'", line.c_str());
  }
  return true;
}

Sprite* SpriteParser::loadRobustSprite() {
  const char* const who = "RM::loadRobustSprite()";
  int frames = 0, width = 0, height = 0, slowdown = 0;
  char transparency = 0;
  std::string color_text;
  if (!readRobustHeader(frames, width, height, slowdown, transparency, color_text)) return nullptr;
  const int header_end = line_count;  // problems of header values point here
  logger().writeLog(5, "\t      Frames: %d", frames);
  logger().writeLog(5, "\t       Width: %d", width);
  logger().writeLog(5, "\t      Height: %d", height);
  logger().writeLog(5, "\t    Slowdown: %d", slowdown);
  if (transparency != 0) {
    logger().writeLog(5, "\tTransparency: '%c'", transparency);
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
    report(header_end, "%s: Error! Unable to create Sprite.", who);
    delete sprite;
    return nullptr;
  }
  sprite->setWidth(width);
  sprite->setHeight(height);
  sprite->setSlowdown(slowdown);
  sprite->setTransparency(transparency);
  Color color = COLOR_DEFAULT;
  if (!colorFromName(color_text, true, color)) {
    report(header_end, "%s: Error! Unrecognized color '%s'.", who, color_text.c_str());
    report(header_end, "  Valid colors are: black, red, green, yellow,");
    report(header_end, "                    blue, magenta, cyan and white.");
    delete sprite;
    return nullptr;
  }
  sprite->setColor(color);
  logger().writeLog(5, "\t       Color: %s", colorToString(color).c_str());
  if (!readRobustFrames(*sprite, body, frames, body_line) || !readRobustFooter()) {
    delete sprite;
    return nullptr;
  }
  return sprite;
}

}  // namespace tw

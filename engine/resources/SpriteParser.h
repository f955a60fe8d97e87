// Reads one sprite file, in the simple or the robust text format, from an open
// stream into a new Sprite, logging every problem with its line number and,
// when asked, handing each problem to the caller too, said in the file's
// terms. Frame rows are UTF-8, one narrow character per cell. The caller
// opens the file and owns the result.
#pragma once

#include <deque>
#include <istream>
#include <optional>
#include <string>
#include <vector>

#include "engine/core/Color.h"
#include "engine/world/Frame.h"

namespace tw {

class Sprite;

// One problem, with the file line it is about (1 for the first line) and
// what is wrong in the file's terms ("the header says 3 frames, the body has
// 2"), printable as it stands: bytes of the file that could upset a terminal
// are quoted as `\xNN`.
struct SpriteProblem {
  int line;
  std::string text;
};

class SpriteParser {
 public:
  // The lines of one robust section, in file order. Frames are taken off the
  // front, so a double-ended queue keeps a long body linear to read.
  using Lines = std::deque<std::string>;

  // Parses from in; the line counter starts at 0.
  explicit SpriteParser(std::istream& in);

  // Every problem found from now on is also appended to list (not owned;
  // null for none). The log gets its own lines either way.
  void setProblemList(std::vector<SpriteProblem>* list);
  // The file being read: loadSprite names it at the start of every line
  // logged meanwhile ("'sprites/rock.txt': Error! Line 19: ..."); "" for none.
  void setFileName(const std::string& name);

  // Picks the format from the first line (robust when it is "<HEADER>",
  // simple when it starts with a positive number) and reads the sprite; null
  // when the format is unknown or the file has a problem.
  Sprite* loadSprite();

  // A new sprite (caller owns it) or null; never a partly read sprite. The
  // label is left for the caller to set.
  Sprite* loadSimpleSprite();
  Sprite* loadRobustSprite();

  // The next line without its line feed and one trailing carriage return
  // (and the first line without a UTF-8 byte order mark). A line that does
  // not end in a line feed is an error and reads as "". With count set, the
  // line counter moves on by one.
  std::string getLine(bool count = true);
  // The inner lines of section name ("<name>" ... "</name>"); empty on error.
  Lines readData(const std::string& name);
  // The same when the section's first line, open, is already read.
  Lines readSection(const std::string& name, const std::string& open);
  // Takes the next frame (height rows of width characters, then "end") off
  // the front of body. body_line is the file's line number of body's first
  // line and moves on with every line taken. An empty frame on error.
  Frame readFrame(Lines& body, int width, int height, int& body_line);
  int getLineCount() const;

  // The value of the line starting with keyword (after one separator
  // character), removed from lines; -1 / "" when no line matches.
  static int matchLineInt(Lines& lines, const std::string& keyword);
  static std::string matchLineStr(Lines& lines, const std::string& keyword);
  // The leading integer of text (blanks and a sign allowed, the rest ignored),
  // 0 when there is none, saturated at the int range.
  static int leadingInt(const std::string& text);
  // The eight lower-case colour names as whole words, plus "default" (white)
  // when allow_default is set; false when unknown.
  static bool colorFromName(const std::string& name, bool allow_default, Color& color);

 private:
  Sprite* pickFormatAndLoad();
  // How the last line read ended.
  enum class LineEnd { LINE_FEED, NO_LINE_FEED, END_OF_FILE };

  bool readSimpleLine(const char* missing, const char* what, std::string& line);
  bool readSimpleHeader(int& frames, int& width, int& height, int& slowdown, Color& color);
  bool readSimpleFrames(Sprite& sprite, int frames);
  bool readSimpleRow(const Sprite& sprite, int frame, int frames, int row, std::string& rows);
  bool simpleFileEndsHere(int frames);
  bool readRobustHeader(int& frames, int& width, int& height, int& slowdown,
                        char32_t& transparency, std::string& color_text);
  bool readTransparency(const std::string& value, char32_t& transparency);
  bool readRobustFrames(Sprite& sprite, Lines& body, int frames, int& body_line);
  bool readRobustFooter(const std::string& open);
  bool readRobustColors(Sprite& sprite, const std::string& open);
  // The colours each letter of a colour layer stands for (none: unknown).
  using Palette = std::vector<std::optional<CellColors>>;
  bool readPaletteLine(const std::string& line, int line_number, Palette& palette);
  bool readColorFrame(Lines& rows, const Sprite& sprite, const Palette& palette,
                      int& line_number, std::vector<CellColors>& colors);
  bool rowIsGood(const std::string& row, int width, int line, int row_index);
  void endOfDataProblem(int line, const std::string& missing);

  // Writes one unlevelled log line (printf style).
  int logError(const char* fmt, ...) const __attribute__((format(printf, 2, 3)));
  // Hands one problem on, in the file's terms (printf style).
  void problem(int line, const char* fmt, ...) __attribute__((format(printf, 3, 4)));

  std::istream& in;
  int line_count;                        // lines read so far with counting on
  LineEnd line_end;                      // how the last line read ended
  std::vector<SpriteProblem>* problems;  // not owned; null when nobody asked
  int problem_count;                     // problems found, handed on or not
  int frame_number;                      // the frame being read, from 1
  int frame_total;                       // the frames the header says the body has
  int header_end;                        // the line problems of header values are about
  std::string file_name;                 // named on every error line; "" for none
};

}  // namespace tw

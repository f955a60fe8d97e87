// One small number the game keeps between runs of the program (the best
// score, the mute choice), as a text file in Veld's data folder. Reading
// never fails the game: every problem is logged and reported as a status.
#pragma once

#include <string>

namespace veld {

class SaveFile {
 public:
  enum Status {
    FOUND,       // value holds the number
    MISSING,     // no file yet
    BAD,         // empty, corrupt, out of range or too large: unusable
    UNREADABLE,  // there but cannot be read: its number may still be good
  };

  // The file name inside folder (folder "" means nothing can be kept).
  SaveFile(std::string folder, std::string name);

  // $XDG_DATA_HOME/veld, else ~/.local/share/veld ("" when neither is known).
  static std::string defaultFolder();
  // A number of 1 to 9 digits, with an optional line feed; false otherwise.
  static bool parse(const std::string& bytes, int& value);

  Status read(int& value) const;
  // Replaces the file whole (temporary file, flush, rename). 0, or -1 logged.
  int write(int value) const;
  // Removes the temporary file a write left when its game was killed.
  void removeLeftovers() const;
  std::string path() const;

 private:
  std::string folder;
  std::string name;
};

}  // namespace veld

// What Veld remembers about its player between runs of the program (the best
// score and the mute choice, each in a SaveFile), and the sound switch that
// follows the mute choice. A replay takes both from its recording and writes
// nothing, so it plays out as the recorded run did.
#pragma once

#include <string>

namespace veld {

class Profile {
 public:
  static Profile& get();

  // Reads the best score and the mute choice from folder, first removing
  // what a game killed while writing them left.
  void load(const std::string& folder);
  int getBest() const { return best; }
  // A finished run's score: kept as the best when it beats it (true then).
  // The file is rewritten only when it holds no higher score.
  bool offerScore(int score);

  bool isMuted() const { return muted; }
  // Switches music and sound effects off or back on, and keeps the choice.
  void toggleMute();
  // Starts the looping music, now or when sound is switched back on.
  void startMusic();
  // Plays a loaded sound effect once, unless muted.
  void playSound(const char* label) const;

 private:
  Profile() = default;
  void keepBest(int score) const;

  std::string folder;
  int best = 0;
  bool muted = false;
  bool music_wanted = false;
};

}  // namespace veld

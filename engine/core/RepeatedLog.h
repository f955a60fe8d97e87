// A log message that may repeat without bound (a send that would block, a
// connection reset, a record asking for attributes it cannot have): the first
// is written in full by its caller, later ones only as counts.
#pragma once

#include <string>

namespace tw {

// Counts one kind of repeated message. The caller writes the first occurrence
// itself; the tenth, hundredth, thousandth ... are each said as one count line,
// and the total as one line when the counter is closed (its connection closed,
// or the log stopped at the end of the game). The log manager closes every
// open counter before its file is closed.
class RepeatedLog {
 public:
  // what names the repeated event in the count lines, as a plural noun phrase
  // ("sends on socket 7 would have blocked").
  explicit RepeatedLog(std::string what);
  ~RepeatedLog();
  RepeatedLog(const RepeatedLog&) = delete;
  RepeatedLog& operator=(const RepeatedLog&) = delete;

  // Counts one more occurrence; true for the first since the counter opened
  // or was last closed, which the caller then logs in full. At 10, 100, 1000
  // ... writes "<where>: Warning! <count> <what> so far."
  bool count(const char* where);
  // Writes "<where>: Note! <count> <what> in all." when more than one was
  // counted, and starts counting afresh.
  void close(const char* where);
  long long getCount() const;

  // Closes every counter in the process (the log manager does it on shut-down).
  static void closeAll(const char* where);

  // While a Hush made with on true lives, the log writes nothing: the lines
  // a counted repeat passes on its way (a stream's end, a field out of
  // range) are said for the first occurrence only.
  class Hush {
   public:
    explicit Hush(bool on);
    ~Hush();
    Hush(const Hush&) = delete;
    Hush& operator=(const Hush&) = delete;

   private:
    bool on;
  };
  static bool isHushed();

 private:
  std::string what;
  long long occurrences;
  // Every live counter is on one list, so that closeAll finds them.
  RepeatedLog* p_previous;
  RepeatedLog* p_next;
};

}  // namespace tw

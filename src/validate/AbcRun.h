#pragma once
// The state of one run of the ABC validator over the work list: the mode, the
// options, the answers given once per run, and what it knows of the tune it is in.
#include <optional>
#include <string>
#include <vector>

namespace quorrel {

struct TAbcOptions {
  bool renumber = false;     // "Renumber tunes"
  bool countBars = false;    // "Count bars"
  bool fieldOrder = false;   // "Check field order"
  bool checkSquare = false;  // "Check [ ]"
  bool checkChords = false;  // "Check chords"
};

struct TAbcRun {
  explicit TAbcRun(std::vector<std::string>& workList) : lines(workList) {}

  std::vector<std::string>& lines;  // the work list
  bool reformat = false;            // mend what can be mended instead of stopping
  bool wholeFile = false;
  bool notInSite = false;
  TAbcOptions options;
  // Each of the two questions is asked once a run; a Yes holds for every tune after.
  bool insertMetre = false;
  bool insertTempo = false;
  // "U:" before the first tune: decoration signs have meanings of their own.
  bool decorationsDefined = false;
  // The number the next tune gets when tunes are renumbered (0: the first keeps its own).
  long nextNumber = 0;
};

struct TAbcTune {
  size_t first = 0;  // its "X:" line
  long number = 0;
  std::string title;
  bool titleSeen = false;
  std::optional<size_t> metreLine, keyLine, tempoLine;
  std::string metre;
  char lastHeaderField = 0;
  bool voices = false;              // a "V:" field: the tune has several voices
  bool decorationsDefined = false;  // a "U:" field
  bool beatSeen = false;            // "%%MIDI beat"
  bool gchordSeen = false;          // "%%MIDI gchord" or "[I:MIDI=gchord"
  bool musicSeen = false;
  std::optional<size_t> firstMusicLine;
  bool repeatStartSeen = false;                // "|:"
  std::vector<std::string> chordNamesDefined;  // "%%MIDI chordname" lines added or found
  bool noValidate = false;
  // Bar lines counted in voice 1 and in the voice now read (0: a voice not numbered).
  std::optional<int> voice1Bars;
  int voice = 0;
  int voiceBars = 0;
  size_t voiceLine = 0;
};

// A stop of the run: the message (empty when the run has spoken already), its help
// context, and the line at fault.
struct TAbcStop {
  std::string message;
  int helpTopic = 0;
  size_t line = 0;
};

[[noreturn]] inline void StopAbc(std::string message, size_t line, int helpContext = 0) {
  throw TAbcStop{std::move(message), helpContext, line};
}

}  // namespace quorrel

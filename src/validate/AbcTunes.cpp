#include "validate/AbcTunes.h"

#include <cstdint>
#include <string>

#include "platform/Chars.h"
#include "platform/Help.h"
#include "shell/DBoxUnit.h"
#include "validate/AbcFields.h"
#include "validate/AbcLines.h"
#include "validate/AbcMessages.h"
#include "validate/AbcMusicLines.h"
#include "validate/AbcWalk.h"
#include "validate/TextMarkers.h"

namespace quorrel {

namespace {

// Lines the tempo question looks ahead from the first music line for a "Q:" field.
constexpr size_t kTempoLookAhead = 6;

bool BeginsBlock(const std::string& line) {
  return line.starts_with("%%begin");
}

// A field of this letter exactly as written: "m:" is a macro, not a metre.
bool IsField(const std::string& line, char letter) {
  return line.size() >= 2 && line[0] == letter && line[1] == ':';
}

// The line after a %%begin block's %%end.
size_t PastBlock(const TAbcRun& run, size_t begin) {
  for (size_t i = begin + 1; i < run.lines.size(); ++i) {
    if (run.lines[i].starts_with("%%end")) return i + 1;
  }
  StopAbc(AbcBeginWithoutEnd, begin);
}

// The line after a %%chords section's %%endchords, or the tune's end.
size_t PastChords(const TAbcRun& run, size_t begin) {
  size_t i = begin + 1;
  for (; i < run.lines.size() && !IsBlankLine(run.lines[i]); ++i) {
    if (run.lines[i].starts_with("%%endchords")) return i + 1;
  }
  return i;
}

// The voice a music line switches to with an in-line "[V:n]" at its start.
std::optional<std::string> InlineVoice(const std::string& line) {
  if (!line.starts_with("[V:")) return std::nullopt;
  const size_t close = line.find(']');
  if (close == std::string::npos) return std::nullopt;
  return line.substr(3, close - 3);
}

class TTuneWalk {
 public:
  TTuneWalk(TAbcRun& run, size_t first) : run_(run), i_(first) { tune_.first = first; }

  // Checks the tune and returns the line after it: its closing blank line, or the
  // end of the text.
  size_t Walk() {
    NumberLine();
    ++i_;
    while (i_ < run_.lines.size() && !IsBlankLine(Line())) {
      const std::string& line = Line();
      if (HasTextMarker(TTextMarker::AbcNoValidate, line)) tune_.noValidate = true;
      if (line.size() == 1 && line != "%") StopAbc(AbcShortLine, i_);
      if (BeginsBlock(line)) {
        i_ = PastBlock(run_, i_);
      } else if (line.starts_with("%%chords")) {
        i_ = PastChords(run_, i_);
      } else if (IsCommentLine(TrimBlanks(line))) {  // blanks before a comment make no music
        DirectiveLine();
        ++i_;
      } else if (IsFieldOf(line, 'X')) {
        if (!run_.reformat) StopAbc(AbcSecondX, i_);
        Insert(i_, "");  // the blank line that ends this tune
        break;
      } else if (IsFieldLine(line)) {
        if (FieldLine()) ++i_;
      } else {
        MusicLine();
        ++i_;
      }
    }
    return EndOfTune();
  }

 private:
  std::string& Line() { return run_.lines[i_]; }

  // A line put in before line at: the lines the walk knows of move down with it.
  void Insert(size_t at, std::string line) {
    run_.lines.insert(run_.lines.begin() + static_cast<std::ptrdiff_t>(at), std::move(line));
    for (std::optional<size_t>* known :
         {&tune_.metreLine, &tune_.keyLine, &tune_.tempoLine, &tune_.firstMusicLine}) {
      if (*known && **known >= at) ++**known;
    }
    if (tune_.voiceLine >= at) ++tune_.voiceLine;
    if (i_ >= at) ++i_;
  }

  void NumberLine() {
    Line() = MendedField(Line());
    const std::optional<long> number = TuneNumber(Line());
    if (run_.wholeFile && run_.options.renumber) {
      const long wanted = run_.nextNumber > 0 ? run_.nextNumber : number.value_or(1);
      if (!number && FieldValue(Line()).empty()) {
        Line() = "X:" + std::to_string(wanted);
      } else if (number && *number != wanted) {
        Line() = WithTuneNumber(Line(), wanted);
      }
      run_.nextNumber = wanted + 1;
    }
    tune_.number = TuneNumber(Line()).value_or(0);
    if (Line().size() > 8) ShowMsg(Line() + AbcXCommentNotice);
    if (FieldValue(Line()).empty()) StopAbc(AbcNoFieldValue, i_, AbcFieldValueHelp);
    tune_.lastHeaderField = 'X';
  }

  // An information field. False when re-formatting deleted it.
  bool FieldLine() {
    std::string& line = Line();
    line = MendedField(line);
    const char letter = line[0];
    if (letter == 'K' || letter == 'V') line = WithoutClefWord(line);
    const std::string value(TrimBlanks(FieldValue(line)));
    if (value.empty() && letter != 'T' && letter != 'W' && letter != 'w') {
      if (!run_.reformat) StopAbc(AbcNoFieldValue, i_, AbcFieldValueHelp);
      run_.lines.erase(run_.lines.begin() + static_cast<std::ptrdiff_t>(i_));
      return false;
    }
    switch (letter) {
      case 'K':
        if (!IsKnownKey(value)) StopAbc(AbcBadKey, i_);
        if (!tune_.keyLine) tune_.keyLine = i_;
        break;
      case 'U':
        tune_.decorationsDefined = true;
        break;
      case 'V':
        tune_.voices = true;
        NewVoice(value);
        break;
      case 'Q':
        if (!run_.notInSite && !IsTempoWithBeat(value)) StopAbc(AbcDeprecatedTempo, i_);
        if (!tune_.tempoLine) tune_.tempoLine = i_;
        break;
      case 'M':
        if (!tune_.metreLine) {
          tune_.metreLine = i_;
          tune_.metre = value;
        }
        break;
      case 'T':
        if (!tune_.titleSeen) tune_.title = value;
        tune_.titleSeen = true;
        break;
      default:
        break;
    }
    if (!tune_.musicSeen) tune_.lastHeaderField = letter;
    return true;
  }

  // A comment, or a directive for the music programs.
  void DirectiveLine() {
    const std::string& line = Line();
    if (line.starts_with("%%MIDI gchord ")) {
      if (!tune_.metreLine) StopAbc(AbcGchordBeforeMetre, i_);
      tune_.gchordSeen = true;
    } else if (line.starts_with("%%gchord ")) {
      StopAbc(AbcOldGchord, i_);
    } else if (line.starts_with("%%MIDI beat")) {
      tune_.beatSeen = true;
    } else if (line.starts_with("%%MIDI chordname ")) {
      const std::string name = line.substr(17, line.find(' ', 17) - 17);
      tune_.chordNamesDefined.push_back(name);
    }
  }

  void MusicLine() {
    if (!tune_.musicSeen) FirstMusicLine();
    tune_.musicSeen = true;
    if (!tune_.firstMusicLine) tune_.firstMusicLine = i_;
    if (IsQuotedPartLine(Line())) StopAbc(AbcPartLetterLine, i_);
    MendMusic();
    // A comment taken out may leave too little behind.
    if (Line().size() == 1) StopAbc(AbcShortLine, i_);
    Repeats();
    LineEnd();
    Signs();
    ChordDefinitions();
    if (const std::optional<std::string> voice = InlineVoice(Line())) NewVoice(*voice);
    if (Line().find("[I:MIDI=gchord") != std::string::npos) tune_.gchordSeen = true;
    tune_.voiceBars += CountBarLines(Line());
  }

  // The mends of a music line.
  void MendMusic() {
    // A comment that switches checks off stays: it is the user's, for the next run.
    std::string line =
        HasTextMarker(TTextMarker::AbcNoValidate, Line()) ? Line() : WithoutInlineComment(Line());
    line = WithHalvesShort(line);
    line = WithBlanksAtRepeats(line);
    Line() = WithoutBlankBeforeContinuation(line);
  }

  // The chord definitions the line's guitar chords need, once after the metre.
  void ChordDefinitions() {
    for (const std::string& name : ChordNamesNeeded(Line())) {
      if (!tune_.metreLine) break;
      bool defined = false;
      for (const std::string& known : tune_.chordNamesDefined) defined = defined || known == name;
      if (defined) continue;
      tune_.chordNamesDefined.push_back(name);
      Insert(*tune_.metreLine + 1, ChordNameLine(name));
    }
  }

  // An end of repeat needs its start: the tune's music starts with one when it has
  // only one voice.
  void Repeats() {
    const size_t end = FindInMusic(Line(), ":|");
    const size_t start = FindInMusic(Line(), "|:");
    if (end == std::string::npos || tune_.repeatStartSeen ||
        (start != std::string::npos && start < end)) {
      if (start != std::string::npos) tune_.repeatStartSeen = true;
      return;
    }
    if (tune_.voices) StopAbc(AbcMissingRepeatStart, i_);
    run_.lines[*tune_.firstMusicLine].insert(0, "|: ");
    tune_.repeatStartSeen = true;
  }

  // The walk over the line's signs.
  void Signs() {
    TAbcWalk walk;
    walk.line = i_;
    walk.reformat = run_.reformat;
    walk.decorationsDefined = tune_.decorationsDefined || run_.decorationsDefined;
    walk.checkSquare = run_.options.checkSquare;
    walk.checkChords = run_.options.checkChords;
    Line() = WalkMusicLine(Line(), walk);
    tune_.voiceBars += walk.fullBarRests;
  }

  void LineEnd() {
    if (tune_.noValidate || run_.notInSite) return;
    const bool nextInTune = i_ + 1 < run_.lines.size() && !IsBlankLine(run_.lines[i_ + 1]);
    switch (CheckLineEnd(Line(), nextInTune ? run_.lines[i_ + 1] : "")) {
      case TLineEnd::Slash:
        StopAbc(AbcSlashAtEnd, i_);
      case TLineEnd::NoBar:
        StopAbc(AbcNoBarAtEnd, i_);
      case TLineEnd::Fine:
        break;
    }
  }

  // Before the music: the key, the order of the header and the metre and tempo.
  void FirstMusicLine() {
    if (!tune_.keyLine) StopAbc(AbcNoKeyBefore + Line() + AbcNoKeyAfter, i_);
    if (run_.options.fieldOrder && !tune_.voices && tune_.lastHeaderField != 'K' &&
        tune_.lastHeaderField != 'I') {
      ShowHelpContext(AbcFieldOrderHelp);
      StopAbc("", i_);
    }
    if (!tune_.metreLine && !FieldAhead('M', SIZE_MAX)) AddMetre();
    if (!tune_.tempoLine && !FieldAhead('Q', kTempoLookAhead)) AddTempo();
  }

  // Whether one of the next lines of the tune is a field of the letter.
  bool FieldAhead(char letter, size_t lines) const {
    for (size_t k = 1; k <= lines && i_ + k < run_.lines.size(); ++k) {
      const std::string& line = run_.lines[i_ + k];
      if (IsBlankLine(line)) return false;
      if (IsField(line, letter)) return true;
    }
    return false;
  }

  void AddMetre() {
    if (!run_.insertMetre) {
      if (!AskYesNo(tune_.title + AbcNoMetreQuestion)) StopAbc(AbcEnterMetre, *tune_.keyLine);
      run_.insertMetre = true;
    }
    const size_t at = *tune_.keyLine;
    Insert(at, AbcNoMetreLine);
    tune_.metreLine = at;
    tune_.metre = FieldValue(AbcNoMetreLine);
  }

  // After the metre; in a tune whose metre comes later, before the key, which stays
  // the header's last field.
  void AddTempo() {
    const size_t at = tune_.metreLine ? *tune_.metreLine + 1 : *tune_.keyLine;
    if (!run_.insertTempo) {
      if (!AskYesNo(tune_.title + AbcNoTempoQuestion)) StopAbc(AbcEnterTempo, at > 0 ? at - 1 : 0);
      run_.insertTempo = true;
    }
    Insert(at, TempoLineFor(tune_.metre));
    tune_.tempoLine = at;
  }

  void NewVoice(const std::string& value) {
    EndVoice();
    tune_.voice = VoiceNumber(value).value_or(0);
    tune_.voiceBars = 0;
    tune_.voiceLine = i_;
  }

  // The voice read so far has as many bar lines as voice 1.
  void EndVoice() {
    if (tune_.voice == 1) {
      tune_.voice1Bars = tune_.voiceBars;
      return;
    }
    if (tune_.voice < 2 || !tune_.voice1Bars || !run_.options.countBars || tune_.noValidate ||
        tune_.voiceBars == *tune_.voice1Bars) {
      return;
    }
    StopAbc("Voice 1 has " + std::to_string(*tune_.voice1Bars) + " bar lines but voice " +
                std::to_string(tune_.voice) + " has " + std::to_string(tune_.voiceBars),
            tune_.voiceLine, AbcBarCountHelp);
  }

  // The checks and additions at the tune's end (line i_, its closing blank line or
  // the end of the text); returns where the tune now ends.
  size_t EndOfTune() {
    EndVoice();
    if (!run_.reformat && !tune_.titleSeen) {
      StopAbc(AbcNoTitle + (AbcErrorInTuneEnding + std::to_string(i_)), i_ - 1);
    }
    if (tune_.metreLine && tune_.metre.starts_with("3") && !tune_.beatSeen) {
      Insert(*tune_.metreLine + 1, AbcBeatLine);
    }
    if (tune_.metreLine && !tune_.gchordSeen && !tune_.voices) {
      if (tune_.metre == "3/2") {
        const bool chordRestChord = AskYesNo(tune_.title + AbcMinuetQuestion);
        Insert(*tune_.metreLine + 1, chordRestChord ? AbcChordRestChordLine : AbcOomChaLine);
      } else if (tune_.metre == "6/4") {
        Insert(*tune_.metreLine + 1, AbcSixFourGchordLine);
        ShowMsg("Tune " + std::to_string(tune_.number) +
                " is 6/4 time with no bass line - added gchord.");
      }
    }
    // One blank line after a tune is enough.
    while (i_ + 1 < run_.lines.size() && IsBlankLine(run_.lines[i_]) &&
           IsBlankLine(run_.lines[i_ + 1])) {
      run_.lines.erase(run_.lines.begin() + static_cast<std::ptrdiff_t>(i_ + 1));
    }
    return i_;
  }

  TAbcRun& run_;
  TAbcTune tune_;
  size_t i_;
};

}  // namespace

void WalkTunes(TAbcRun& run, size_t from) {
  size_t i = from;
  while (i < run.lines.size()) {
    const std::string& line = run.lines[i];
    // Before a tune: blank lines, comments and directives are passed over.
    if (BeginsBlock(line)) {
      i = PastBlock(run, i);
      continue;
    }
    if (IsBlankLine(line) || IsCommentLine(line)) {
      ++i;
      continue;
    }
    if (!IsFieldOf(line, 'X')) {
      if (!run.reformat) StopAbc(AbcNoXStart, i);
      if (IsFieldOf(line, 'U')) run.decorationsDefined = true;
      // Text between tunes is set off by a blank line and passed over, so that it is
      // never taken for a tune again.
      if (i > 0 && !IsBlankLine(run.lines[i - 1])) {
        run.lines.insert(run.lines.begin() + static_cast<std::ptrdiff_t>(i), "");
        ++i;
      }
      while (i < run.lines.size() && !IsBlankLine(run.lines[i]) && !IsFieldOf(run.lines[i], 'X')) {
        ++i;
      }
      continue;
    }
    i = TTuneWalk(run, i).Walk();
    if (!run.wholeFile) return;
  }
}

}  // namespace quorrel

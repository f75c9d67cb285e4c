#include "music/Abc2midiMessages.h"

#include <cstddef>
#include <initializer_list>

#include "music/AbcWorkFiles.h"
#include "music/ToolMessages.h"
#include "platform/Chars.h"
#include "shell/DBoxUnit.h"

namespace quorrel {

namespace {

bool Has(const std::string& text, const char* part) {
  return text.find(part) != std::string::npos;
}

bool HasAny(const std::string& text, std::initializer_list<const char*> parts) {
  for (const char* part : parts) {
    if (Has(text, part)) return true;
  }
  return false;
}

bool IsNoteLetter(char c) {
  return (c >= 'A' && c <= 'G') || (c >= 'a' && c <= 'g');
}

// The first number of a message; -1 when it has none.
long FirstNumber(const std::string& message) {
  size_t start = message.find_first_of("0123456789");
  if (start == std::string::npos) return -1;
  size_t end = start;
  while (end < message.size() && IsDigit(message[end])) ++end;
  if (end - start > 9) return -1;
  return std::stol(message.substr(start, end - start));
}

// A chord name abc2midi rejects that the score takes: a ";" inside quotes, a bare
// bass note ("/A" or "/"), or one of the annotations "/;", "-" and "?".
bool ChordAnnotation(const std::string& line) {
  bool inQuotes = false;
  for (size_t i = 0; i < line.size(); ++i) {
    if (line[i] == '"') {
      inQuotes = !inQuotes;
    } else if (line[i] == ';' && inQuotes) {
      return true;
    }
  }
  for (size_t at = line.find("\"/"); at != std::string::npos; at = line.find("\"/", at + 1)) {
    if (at + 2 < line.size() && (line[at + 2] == '"' || IsNoteLetter(line[at + 2]))) return true;
  }
  return HasAny(line, {"\"/;", "\"-\"", "\"?\"", ";\\0"});
}

// A bar length abc2midi miscounts: triplets counted as the score counts them, or
// held notes.
bool DurationExcused(const std::string& line, const std::string& text) {
  return (Has(text, "%%tuplets 1") && Has(line, "(3")) || Has(line, "fermata") || Has(line, "H");
}

// "Malformed note" at a segno sign: the column after the line's "-" (0-based) holds
// "S"; a message without a column excuses any line holding "S".
bool SegnoExcused(const std::string& message, const std::string& line) {
  size_t at = message.find("line-char");
  if (at == std::string::npos) return Has(line, "S");
  size_t dash = message.find('-', at + 9);
  if (dash == std::string::npos) return false;
  size_t end = message.find(' ', dash + 1);
  std::string digits = message.substr(dash + 1, end == std::string::npos ? end : end - dash - 1);
  if (digits.empty() || digits.size() > 9) return false;
  for (char c : digits) {
    if (!IsDigit(c)) return false;
  }
  size_t column = std::stoul(digits);
  return column < line.size() && line[column] == 'S';
}

// Whether a Warning or Error line is kept.
bool KeepWarningOrError(const std::string& message, const TAbc2midiFilter& filter) {
  if (filter.playAll && Has(message, "First V: field occurs")) {
    ShowErrorAndAbort("Cannot use Play All if later tune has \"V:\" commands.");
  }
  if (Has(message, "in part specification")) return false;
  if (message.starts_with("Warning") && Has(message, "instruction") && Has(message, "ignored")) {
    return false;
  }
  const bool chordMessage =
      HasAny(message, {"Guitar chord does not start", "Unrecognized chord name"});
  const bool durationMessage = HasAny(message, {"units instead of", "time units while"});
  const bool malformedNote = Has(message, "Malformed note");
  if (!chordMessage && !durationMessage && !malformedNote) return true;
  if (!Has(message, " in line") || Has(message, "past end of tune")) return true;
  const long number = FirstNumber(message);
  if (number < 0 || Has(message, "cannot compute")) return false;
  const std::string line = GetDocumentLine(number);
  if (chordMessage && ChordAnnotation(line)) return false;
  if (durationMessage && DurationExcused(line, filter.text)) return false;
  if (malformedNote && SegnoExcused(message, line)) return false;
  return true;
}

}  // namespace

std::vector<std::string> FilterAbc2midiMessages(const std::vector<std::string>& messages,
                                                const TAbc2midiFilter& filter) {
  std::vector<std::string> kept;
  bool overlayNoteGiven = false;
  for (const std::string& message : messages) {
    std::string shown = message;
    if (Has(message, "File open failed")) {
      DeleteWorkFile(TempMidiFile());
      shown = TempMidiFile() + ": " + message + "  Please try again!";
    }
    if (HasAny(message, {"variant ending", "Bad variant list"})) {
      if (overlayNoteGiven) continue;
      if (Has(filter.text, "&")) {
        shown += "  (This may be an ABC2MIDI bug when using \"&\" for Voice overlay)";
        overlayNoteGiven = true;
      }
      kept.push_back(shown);
      continue;
    }
    if (overlayNoteGiven && Has(message, "quarter notes long")) {
      kept.push_back(shown + "  (probably same bug)");
      continue;
    }
    const bool warningOrError = message.starts_with("Warning") || message.starts_with("Error");
    if (!warningOrError ||
        HasAny(message, {"Ignoring string 'middle'", "clef= is overriding", "Field not allowed",
                         "Different length notes in tuple", "Line of music without lyrics"})) {
      continue;
    }
    if (KeepWarningOrError(message, filter)) kept.push_back(shown);
  }
  return kept;
}

}  // namespace quorrel

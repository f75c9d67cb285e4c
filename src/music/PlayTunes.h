#pragma once
// "Play", "Play all" and "Play && show score": the tune at the caret (or the whole
// file) rewritten as the ABC options ask, turned into a MIDI file by abc2midi and
// played in the player bar or by the desktop's MIDI program; abc2midi's messages
// worth reading go to the report viewer.
#include <string>
#include <vector>

namespace quorrel {

inline constexpr int PianoPartHelp = 55723;

// The voice characters to be heard; "" plays every voice.
extern std::string ChosenVoices;
// The typesetter's messages of "Play && show score", shown above abc2midi's.
extern std::vector<std::string> ScoreMessages;

// TWebForm.PlayClick. sender is the component name of the item: "Play", "PlayAll",
// "PlayScore"; "Accomp" plays the tune file the MIDI directive editor wrote;
// "CreateMIDI" only converts. Does nothing unless the document is a tune.
void PlayClick(const std::string& sender);

// "Play raw": prepares the tune at the caret so that the preparation's errors show;
// plays nothing.
void PlayRawClick();

// RemoveChords: the chord symbols of every tune body blanked; then the offer to
// show the text without them and stop.
void RemoveChords(std::string& text);

// The Play items, the player bar's section and speed commands, and the timer's
// handler.
void InstallPlayCommands();

// Back to the state of a freshly started program.
void ResetPlayTunes();

}  // namespace quorrel

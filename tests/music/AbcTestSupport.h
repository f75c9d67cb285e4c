#pragma once
// Shared by the tests of the music tools: a current document in the in-memory
// editor, tune texts written with "\n" for readability, and the real programs run
// on a prepared tune.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "shell/MyRich.h"

namespace quorrel::test {

// "\n" becomes CR LF, as the documents hold their text.
std::string Crlf(const std::string& text);
// CR LF back to "\n", to compare with texts written in the tests.
std::string Lf(const std::string& text);

// Makes text the current document (CurrentText and a fresh in-memory editor) with
// the caret at the 0-based CurrentText offset; the path names the document.
TMyRich& OpenDocument(const std::string& text, size_t caretOffset = 0,
                      const std::string& path = "/tmp/Tunes.abc");
// Offset of the first occurrence of needle in CurrentText (fails when absent).
size_t OffsetOf(const std::string& needle);

// Runs body and says whether it ended in the silent abort.
bool Aborts(const std::function<void()>& body);

// A settings file in the test's documents folder as MainIni and SettingsIni.
void OpenSettings();

// Writes the prepared text as the tune file for abc2midi, runs it (the MIDI file to
// TempMidiFile) and loads its messages into ReadList.
void RunAbc2midi(const std::string& prepared);
// The same with abcm2ps (PostScript to AbcPsFile, messages from its error output).
void RunAbcm2ps(const std::string& prepared);
// The messages of ReadList that report an error (not abcm2ps's layout complaints).
std::vector<std::string> ErrorMessages();

}  // namespace quorrel::test

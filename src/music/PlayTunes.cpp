#include "music/PlayTunes.h"

#include "music/Abc2midiMessages.h"
#include "music/AbcOptions.h"
#include "music/AbcTools.h"
#include "music/AbcWorkFiles.h"
#include "music/MidiFormState.h"
#include "music/MyPlayer.h"
#include "music/PlayRewrites.h"
#include "music/PlayerBar.h"
#include "music/PlayerJob.h"
#include "music/PlayerSections.h"
#include "music/ReportView.h"
#include "music/ScoreOutput.h"
#include "music/ToolMessages.h"
#include "music/TunePrep.h"
#include "platform/Abort.h"
#include "platform/CodePage.h"
#include "platform/Help.h"
#include "platform/Launcher.h"
#include "platform/Paths.h"
#include "platform/Processes.h"
#include "platform/ResetRegistry.h"
#include "shell/CommandNames.h"
#include "shell/Commands.h"
#include "shell/DBoxUnit.h"
#include "shell/Documents.h"
#include "shell/DocumentsOpen.h"
#include "shell/FastStrings.h"
#include "shell/Hooks.h"
#include "shell/MenuModel.h"
#include "shell/MyRich.h"
#include "shell/RunPrograms.h"
#include "shell/Saving.h"
#include "shell/ShellRoutines.h"
#include "shell/ShellState.h"
#include "shell/StatusBar.h"
#include "shell/TextLines.h"
#include "shell/Timer.h"

namespace quorrel {

std::string ChosenVoices;
std::vector<std::string> ScoreMessages;

namespace {

// Retries of the MIDI work file's deletion, 500 ms apart, while a player lets go.
constexpr int kDeleteRetries = 3;
constexpr uint32_t kDeleteRetryMs = 500;
// The desktop's MIDI program is given a moment to take the file.
constexpr uint32_t kExternalPlayerMs = 1000;

std::string Abc2midiProgram() {
  if (!Abc2MidiPath.empty()) return Abc2MidiPath;
  return AbcOption("abc2midiu") ? "abc2midiu" : "abc2midi";
}

// Whether an abc2midi we started is still at work.
bool Abc2midiRunning(const std::string& program) {
  const std::string name = ExtractFileName(NativePath(program));
  for (const TProcessInfo& process : StartedProcesses()) {
    if (process.running && ExtractFileName(process.program) == name) return true;
  }
  return false;
}

int CountLinesEqual(const std::string& text, const std::string& wanted) {
  int count = 0;
  for (const std::string& line : LinesWithoutEnds(text)) count += line == wanted ? 1 : 0;
  return count;
}

// An error file left by an earlier run that will not go: an abc2midi of ours still
// holds it.
void ClearErrorFile(const std::string& errorFile) {
  if (DeleteWorkFile(errorFile)) return;
  KillProcessByName("abc2midi");
  KillProcessByName("abc2midiu");
  DeleteWorkFile(errorFile);
}

// A MIDI file of an earlier tune must never be played as this one.
void ClearMidiFile() {
  const std::string midiFile = TempMidiFile();
  auto present = [&] { return FileExists(midiFile) || DirectoryExists(midiFile); };
  DeleteWorkFile(midiFile);
  for (int retry = 0; present() && retry < kDeleteRetries; ++retry) {
    PlayerSleep(kDeleteRetryMs);
    DeleteWorkFile(midiFile);
  }
  DeleteFileOrAbort(midiFile);
  // Whatever stands in the way and cannot go, nothing may be played from it.
  if (present()) Abort();
}

// The text of the tune at the caret with the rewrites of the tune options.
TTextLines TuneLines(const std::string& sender) {
  std::string text;
  if (sender == "Accomp") {
    ReadFileBytes(TempAbcFile(), text);
  } else {
    text = PrepareCurrentTune();
  }
  if (AbcOption("NoChords")) RemoveChords(text);
  if (text.find('\r') == std::string::npos || CountLinesEqual(CurrentText, "X:1") >= 2) {
    ShowErrorAndAbort("Please validate this file first.");
  }
  TTextLines lines = LinesWithoutEnds(text);
  if (AbcOption("PlayPiano")) {
    SetAbcOption("PlaySel", false);
    std::optional<std::string> voices = PianoVoices(lines);
    if (!voices) {
      ShowHelpContext(PianoPartHelp);
      Abort();
    }
    ChosenVoices = *voices;
  }
  if (!ChosenVoices.empty()) MuteVoices(lines, ChosenVoices);
  LyricsOff(lines);
  BarsForClosingBrackets(lines);
  return lines;
}

// abc2midi's messages worth reading, in the report viewer.
void ShowAbc2midiMessages(const std::string& errorFile, const std::string& text, bool playAll) {
  std::string bytes;
  ReadFileBytes(errorFile, bytes);
  ReadList = LinesWithoutEnds(bytes);
  if (!MidiFormActive) MapToolMessages(!playAll);
  if (!AbcOption("ShowAll")) {
    TAbc2midiFilter filter;
    filter.text = text;
    filter.playAll = playAll;
    ReadList = FilterAbc2midiMessages(ReadList, filter);
  }
  if ((ReadList.empty() && ScoreMessages.empty()) || MidiFormOpen) return;
  ReadList.insert(ReadList.begin(), "Messages from ABC2MIDI");
  ReadList.insert(ReadList.begin(), ScoreMessages.begin(), ScoreMessages.end());
  ShowToolErrors();
}

void PlayTune(const std::string& sender) {
  const bool playAll = sender == "PlayAll";
  CloseReportViewer();
  Player.CloseDevice();
  ScoreMessages.clear();
  SplitMarkerExpanded = false;
  if (sender == "PlayScore") {
    PSClick(sender);
    SplitMarkerExpanded = false;
  }
  if (!AbcOption("IntPlayer")) KillWindowsByTitle("Media Player");
  CurrentCommand = PlayCommand;
  BeginBusy();
  if (CurrentEditor &&
      (CurrentEditor->Modified() || StartsWithNoCase(CurrentFileName, "Untitled") ||
       StartsWithNoCase(ExtractFileName(CurrentFileName), "Untitled"))) {
    SaveClick();
  }
  const std::string documentFile = CurrentFileName;

  const std::string errorFile = AbcErrorFile();
  ClearErrorFile(errorFile);
  std::vector<std::string> output = {"-o"};
  if (AbcOption("ShowAll")) output = {"-v", "1", "-o"};
  ClearMidiFile();
  if (sender != "Accomp") DeleteFileOrAbort(TempAbcFile());

  TTextLines lines;
  if (playAll) {
    // Decided from the text: abc2midi does not say so when the first tune has
    // voices too, and its messages may not be read at all.
    if (LaterTuneHasVoices(CurrentText)) {
      ShowErrorAndAbort("Cannot use Play All if later tune has \"V:\" commands.");
    }
    int tunes = 1;
    lines = PlayAllLines(CurrentText, tunes);
    if (tunes > 10 &&
        !AskYesNo("Do you really want to play " + std::to_string(tunes) + " tunes?")) {
      Abort();
    }
  } else {
    lines = TuneLines(sender);
  }
  if (AbcOption("Ignore")) IgnorePrograms(lines);
  if (AbcOption("Metronome")) AddMetronome(lines);
  if (AbcOption("Slow")) SlowTempo(lines);
  const bool hasParts = FillBassChords(lines);
  AddClosingBar(lines, hasParts);
  if (AbcOption("abc2midiu")) RespellForAbc2midiu(lines);
  const std::string text = JoinTextLines(lines);
  if (!WriteTuneFile(TempAbcFile(), text, TAbcReader::Abc2midi)) {
    ShowErrorAndAbort("Unable to create\r" + TempAbcFile());
  }
  const bool noValidate = text.find("NoValidate") != std::string::npos;

  std::string abcFile = TempAbcFile();
  if (AbcOption("Debug")) {
    if (documentFile != TempAbcFile() && AskYesNo("Show generated ABC?")) {
      ChosenVoices.clear();
      OpenThisHook(TempAbcFile());
    }
    if (AskYesNo("Use straight input ABC - no tricks?")) abcFile = documentFile;
  }

  ShowStatus("Converting ABC to MIDI");
  Player.CloseDevice();
  const std::string program = Abc2midiProgram();
  std::vector<std::string> arguments = {NativePath(abcFile)};
  arguments.insert(arguments.end(), output.begin(), output.end());
  arguments.push_back(NativePath(TempMidiFile()));
  TRunOptions options;
  options.stdoutFile = NativePath(errorFile);
  if (!RunHidden(NativePath(program), arguments, AbcProgramsHelp, options)) Abort();
  bool converted = true;
  try {
    WaitForOutputFile(NativePath(TempMidiFile()));
  } catch (const EAbort&) {
    converted = false;
  }
  // Whatever abc2midi has written so far is not a MIDI file to play.
  if (Abc2midiRunning(program)) {
    KillProcessByName(ExtractFileName(NativePath(program)));
    DeleteWorkFile(TempMidiFile());
    if (converted)
      ShowMsg("Unable to create\r" + NativePath(TempMidiFile()) + "\rPlease try again.");
    converted = false;
  }
  if (sender == "CreateMIDI" && converted) return;

  if (converted && !CheckAllRun) {
    if (AbcOption("IntPlayer")) {
      SetPanel();
      Player.FileName = TempMidiFile();
      Player.OpenFile();
      Timer().SetEnabled(true);
      Player.Play();
    } else {
      ShellOpen(TempMidiFile());
      PlayerSleep(kExternalPlayerMs);
    }
    ShowStatus("");
  }

  const bool directiveEditorBusy =
      MidiFormOpen && (MidiFormItem == "Percussion" || MidiFormItem == sender);
  if (AbcOption("ShowErrors") && !AbcOption("Metronome") && !noValidate && !directiveEditorBusy) {
    ShowAbc2midiMessages(errorFile, text, playAll);
  }
  DeleteWorkFile(errorFile);
  CurrentCommand.clear();
}

}  // namespace

void PlayClick(const std::string& sender) {
  if (!IsAbc) return;
  // The busy state ends however the run ends.
  struct BusyEnd {
    ~BusyEnd() { StdCursor(); }
  } busyEnd;
  PlayTune(sender);
}

void PlayRawClick() {
  PrepareCurrentTune();
}

void RemoveChords(std::string& text) {
  BlankChordSymbols(text);
  if (AskYesNo("Show ABC without chords and stop?")) {
    OpenTextHook(text);
    Abort();
  }
}

void InstallPlayCommands() {
  TMenuModel& menu = MainMenu();
  for (const char* name : {"Play", "PlayAll", "PlayScore"}) {
    if (menu.Find(name)) {
      menu.SetHandler(name, [](const TMenuItem& item) { PlayClick(item.name); });
    }
  }
  if (menu.Find("PlayRaw")) menu.SetHandler("PlayRaw", [](const TMenuItem&) { PlayRawClick(); });
  if (menu.Find("Slow")) menu.SetHandler("Slow", [](const TMenuItem&) { SlowClick(); });
  Timer().SetOnTimer(OnTimer);
}

void ResetPlayTunes() {
  ChosenVoices.clear();
  ScoreMessages.clear();
}

namespace {
const TResetEntry resetPlayTunes(ResetPlayTunes);
}  // namespace

}  // namespace quorrel

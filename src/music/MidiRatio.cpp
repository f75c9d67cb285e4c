#include "music/MidiRatio.h"

#include "music/AbcEdits.h"
#include "music/AbcOptions.h"
#include "music/TunePrep.h"
#include "platform/ResetRegistry.h"
#include "shell/DBoxUnit.h"
#include "shell/Documents.h"
#include "shell/MyRich.h"
#include "shell/ShellState.h"

namespace quorrel {

namespace {

constexpr int kRatioHelp = 55220;
constexpr char kRatioLine[] = "%%MIDI ratio 3 1\r\n";

}  // namespace

bool RatioOffered = false;

void OfferMidiRatio() {
  if (!CurrentEditor || !AbcOption("CheckChords")) return;
  if (!AskYesNoHelp("As you're using broken rhythm, would you like \"%%MIDI ratio 3 1\" added?",
                    kRatioHelp)) {
    return;
  }
  GetEditorText();
  // The tune being typed: the one at the caret.
  FindTuneStart();
  const size_t at = MidiRatioLineAt(CurrentText, TuneStart - 1, TuneBounds[0]);
  if (at == std::string::npos) return;
  TMyRich& editor = *CurrentEditor;
  const size_t caret = TextOffsetOf(editor.SelStart());
  editor.Select(EditorPosOf(at), 0);
  editor.SetSelText(kRatioLine);
  GetEditorText();
  // The caret stays on the character it was on.
  const size_t added = sizeof(kRatioLine) - 1;
  editor.Select(EditorPosOf(caret >= at ? caret + added : caret), 0);
}

void ResetMidiRatio() {
  RatioOffered = false;
}

namespace {
const TResetEntry resetMidiRatio(ResetMidiRatio);
}  // namespace

}  // namespace quorrel

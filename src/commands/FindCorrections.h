#pragma once
// The corrections a validator coloured (CorrectionColour), visited one after
// another: "Find correction", and Next while the Find dialog's text is
// "[Corrections]". Positions are the current editor's.
#include <cstddef>

namespace quorrel {

class TMyRich;

// The pseudo search text of the corrections.
inline constexpr char CorrectionsText[] = "[Corrections]";

// The first character at or after from in the correction colour (never a line
// end); npos when there is none.
size_t NextCorrection(const TMyRich& editor, size_t from);

// TWebForm.FindCorrClick: the caret to the next correction from the caret (from the
// start when the caret is within the last two characters), and the Find dialog's
// text to "[Corrections]" so that Next goes on.
void FindCorrClick();

// Find or Next with "[Corrections]": Next after a correction found moves past the
// characters of that correction first. True when one was found.
bool FindCorrectionRun(bool next);

}  // namespace quorrel

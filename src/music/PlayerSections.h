#pragma once
// The player bar's repeated section (A to B, or A to the end), seeking by a click
// on the gauge, and half speed. PlayStart and PlayEnd (milliseconds, 0 and 0 for
// no section) are kept in the settings as [System] "MStart" and "MEnd".
#include <cstdint>

namespace quorrel {

// Set by a click on the gauge: the section does not loop until it is drawn again.
extern bool GaugeSeeked;

// Checks the section against the length, keeps it in the settings and draws it.
// A file without notes stops the player with a message.
void GoRepeat();

void SecAClick();  // "Start repeated section": here (or the start, when not playing)
void SecBClick();  // "End repeated section": here
void SecEClick();  // "Repeat to end of tune"
void Sec0Click();  // "Cancel repeated section"

// A click on the gauge at x pixels from its left: playing goes on from there.
void MGaugeClick(int x);
// The position a click at x on a gauge of that width stands for.
int64_t GaugeTarget(int x, int gaugeWidth, int64_t length);

// The "Slow" option has changed: the section follows the new speed and the tune
// plays again.
void SlowClick();
// "Play at half speed" and "Back to normal speed": toggle "Slow".
void SlowBtnClick();

// Back to no click on the gauge.
void ResetPlayerSections();

}  // namespace quorrel

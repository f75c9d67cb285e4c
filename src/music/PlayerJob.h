#pragma once
// The main form's timer handler: every 25 ms while the player plays it follows the
// player (elapsed time, slider, the repeated section's loop); at 500 ms it runs the
// editor's blink job.
namespace quorrel {

// One tick of the player job.
void PlayerJob();

// TWebForm.OnTimer.
void OnTimer();

}  // namespace quorrel

// The synthesizer library is loaded when the first tune plays, not as the program
// starts: with its sound back ends it is some thirty libraries, a good part of the
// start-up. These are the library's functions the player calls, each passing the
// call on; without the library each reports failure as the library itself would.
#include <fluidsynth.h>

#include "platform/LazyLibrary.h"

namespace {

void* Library() {
  static void* const library = quorrel::OpenLazyLibrary("libfluidsynth.so.3", "libfluidsynth.so");
  return library;
}

}  // namespace

extern "C" {

fluid_log_function_t fluid_set_log_function(int level, fluid_log_function_t fun, void* data) {
  LAZY_PASS_ON(Library(), fluid_set_log_function, nullptr, level, fun, data);
}

fluid_settings_t* new_fluid_settings(void) {
  LAZY_PASS_ON(Library(), new_fluid_settings, nullptr);
}
void delete_fluid_settings(fluid_settings_t* settings) {
  LAZY_PASS_ON_VOID(Library(), delete_fluid_settings, settings);
}
int fluid_settings_setint(fluid_settings_t* settings, const char* name, int val) {
  LAZY_PASS_ON(Library(), fluid_settings_setint, FLUID_FAILED, settings, name, val);
}
int fluid_settings_setnum(fluid_settings_t* settings, const char* name, double val) {
  LAZY_PASS_ON(Library(), fluid_settings_setnum, FLUID_FAILED, settings, name, val);
}
int fluid_settings_setstr(fluid_settings_t* settings, const char* name, const char* str) {
  LAZY_PASS_ON(Library(), fluid_settings_setstr, FLUID_FAILED, settings, name, str);
}

fluid_synth_t* new_fluid_synth(fluid_settings_t* settings) {
  LAZY_PASS_ON(Library(), new_fluid_synth, nullptr, settings);
}
void delete_fluid_synth(fluid_synth_t* synth) {
  LAZY_PASS_ON_VOID(Library(), delete_fluid_synth, synth);
}
int fluid_synth_sfload(fluid_synth_t* synth, const char* filename, int reset_presets) {
  LAZY_PASS_ON(Library(), fluid_synth_sfload, FLUID_FAILED, synth, filename, reset_presets);
}
int fluid_synth_noteon(fluid_synth_t* synth, int chan, int key, int vel) {
  LAZY_PASS_ON(Library(), fluid_synth_noteon, FLUID_FAILED, synth, chan, key, vel);
}
int fluid_synth_noteoff(fluid_synth_t* synth, int chan, int key) {
  LAZY_PASS_ON(Library(), fluid_synth_noteoff, FLUID_FAILED, synth, chan, key);
}
int fluid_synth_cc(fluid_synth_t* synth, int chan, int ctrl, int val) {
  LAZY_PASS_ON(Library(), fluid_synth_cc, FLUID_FAILED, synth, chan, ctrl, val);
}
int fluid_synth_sysex(fluid_synth_t* synth, const char* data, int len, char* response,
                      int* response_len, int* handled, int dryrun) {
  LAZY_PASS_ON(Library(), fluid_synth_sysex, FLUID_FAILED, synth, data, len, response, response_len,
               handled, dryrun);
}
int fluid_synth_pitch_bend(fluid_synth_t* synth, int chan, int val) {
  LAZY_PASS_ON(Library(), fluid_synth_pitch_bend, FLUID_FAILED, synth, chan, val);
}
int fluid_synth_program_change(fluid_synth_t* synth, int chan, int program) {
  LAZY_PASS_ON(Library(), fluid_synth_program_change, FLUID_FAILED, synth, chan, program);
}
int fluid_synth_channel_pressure(fluid_synth_t* synth, int chan, int val) {
  LAZY_PASS_ON(Library(), fluid_synth_channel_pressure, FLUID_FAILED, synth, chan, val);
}
int fluid_synth_key_pressure(fluid_synth_t* synth, int chan, int key, int val) {
  LAZY_PASS_ON(Library(), fluid_synth_key_pressure, FLUID_FAILED, synth, chan, key, val);
}
int fluid_synth_write_float(fluid_synth_t* synth, int len, void* lout, int loff, int lincr,
                            void* rout, int roff, int rincr) {
  LAZY_PASS_ON(Library(), fluid_synth_write_float, FLUID_FAILED, synth, len, lout, loff, lincr,
               rout, roff, rincr);
}

fluid_audio_driver_t* new_fluid_audio_driver2(fluid_settings_t* settings, fluid_audio_func_t func,
                                              void* data) {
  LAZY_PASS_ON(Library(), new_fluid_audio_driver2, nullptr, settings, func, data);
}
void delete_fluid_audio_driver(fluid_audio_driver_t* driver) {
  LAZY_PASS_ON_VOID(Library(), delete_fluid_audio_driver, driver);
}

}  // extern "C"

// The synthesizer library is loaded when the first tune plays, not as the program
// starts: with its sound back ends it is some thirty libraries, a good part of the
// start-up. These are the library's functions the player calls, each passing the
// call on; without the library each reports failure as the library itself would.
#include <dlfcn.h>
#include <fluidsynth.h>

namespace {

void* Library() {
  static void* const library = [] {
    void* handle = ::dlopen("libfluidsynth.so.3", RTLD_NOW | RTLD_LOCAL);
    return handle ? handle : ::dlopen("libfluidsynth.so", RTLD_NOW | RTLD_LOCAL);
  }();
  return library;
}

template <typename Function>
Function* Load(const char* name) {
  void* library = Library();
  return library ? reinterpret_cast<Function*>(::dlsym(library, name)) : nullptr;
}

}  // namespace

// The library's own failure results: nullptr for a new object, FLUID_FAILED else.
#define FLUID_PASS_ON(name, failed, ...)                 \
  static auto* const call = Load<decltype(name)>(#name); \
  return call ? call(__VA_ARGS__) : failed

#define FLUID_PASS_ON_VOID(name, ...)                    \
  static auto* const call = Load<decltype(name)>(#name); \
  if (call) call(__VA_ARGS__)

extern "C" {

fluid_log_function_t fluid_set_log_function(int level, fluid_log_function_t fun, void* data) {
  FLUID_PASS_ON(fluid_set_log_function, nullptr, level, fun, data);
}

fluid_settings_t* new_fluid_settings(void) {
  FLUID_PASS_ON(new_fluid_settings, nullptr);
}
void delete_fluid_settings(fluid_settings_t* settings) {
  FLUID_PASS_ON_VOID(delete_fluid_settings, settings);
}
int fluid_settings_setint(fluid_settings_t* settings, const char* name, int val) {
  FLUID_PASS_ON(fluid_settings_setint, FLUID_FAILED, settings, name, val);
}
int fluid_settings_setnum(fluid_settings_t* settings, const char* name, double val) {
  FLUID_PASS_ON(fluid_settings_setnum, FLUID_FAILED, settings, name, val);
}
int fluid_settings_setstr(fluid_settings_t* settings, const char* name, const char* str) {
  FLUID_PASS_ON(fluid_settings_setstr, FLUID_FAILED, settings, name, str);
}

fluid_synth_t* new_fluid_synth(fluid_settings_t* settings) {
  FLUID_PASS_ON(new_fluid_synth, nullptr, settings);
}
void delete_fluid_synth(fluid_synth_t* synth) {
  FLUID_PASS_ON_VOID(delete_fluid_synth, synth);
}
int fluid_synth_sfload(fluid_synth_t* synth, const char* filename, int reset_presets) {
  FLUID_PASS_ON(fluid_synth_sfload, FLUID_FAILED, synth, filename, reset_presets);
}
int fluid_synth_noteon(fluid_synth_t* synth, int chan, int key, int vel) {
  FLUID_PASS_ON(fluid_synth_noteon, FLUID_FAILED, synth, chan, key, vel);
}
int fluid_synth_noteoff(fluid_synth_t* synth, int chan, int key) {
  FLUID_PASS_ON(fluid_synth_noteoff, FLUID_FAILED, synth, chan, key);
}
int fluid_synth_cc(fluid_synth_t* synth, int chan, int ctrl, int val) {
  FLUID_PASS_ON(fluid_synth_cc, FLUID_FAILED, synth, chan, ctrl, val);
}
int fluid_synth_sysex(fluid_synth_t* synth, const char* data, int len, char* response,
                      int* response_len, int* handled, int dryrun) {
  FLUID_PASS_ON(fluid_synth_sysex, FLUID_FAILED, synth, data, len, response, response_len, handled,
                dryrun);
}
int fluid_synth_pitch_bend(fluid_synth_t* synth, int chan, int val) {
  FLUID_PASS_ON(fluid_synth_pitch_bend, FLUID_FAILED, synth, chan, val);
}
int fluid_synth_program_change(fluid_synth_t* synth, int chan, int program) {
  FLUID_PASS_ON(fluid_synth_program_change, FLUID_FAILED, synth, chan, program);
}
int fluid_synth_channel_pressure(fluid_synth_t* synth, int chan, int val) {
  FLUID_PASS_ON(fluid_synth_channel_pressure, FLUID_FAILED, synth, chan, val);
}
int fluid_synth_key_pressure(fluid_synth_t* synth, int chan, int key, int val) {
  FLUID_PASS_ON(fluid_synth_key_pressure, FLUID_FAILED, synth, chan, key, val);
}
int fluid_synth_write_float(fluid_synth_t* synth, int len, void* lout, int loff, int lincr,
                            void* rout, int roff, int rincr) {
  FLUID_PASS_ON(fluid_synth_write_float, FLUID_FAILED, synth, len, lout, loff, lincr, rout, roff,
                rincr);
}

fluid_audio_driver_t* new_fluid_audio_driver2(fluid_settings_t* settings, fluid_audio_func_t func,
                                              void* data) {
  FLUID_PASS_ON(new_fluid_audio_driver2, nullptr, settings, func, data);
}
void delete_fluid_audio_driver(fluid_audio_driver_t* driver) {
  FLUID_PASS_ON_VOID(delete_fluid_audio_driver, driver);
}

}  // extern "C"

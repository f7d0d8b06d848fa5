#pragma once

#include <fluidsynth.h>

namespace marlo {

// FluidSynth's functions, loaded when the first MIDI file plays rather than linked: the
// synthesizer brings some thirty libraries (JACK, SDL, libsndfile and theirs) whose loading
// every start of the program would pay for.
struct FluidSynthLibrary {
    decltype(&::delete_fluid_player) delete_fluid_player;
    decltype(&::delete_fluid_settings) delete_fluid_settings;
    decltype(&::delete_fluid_synth) delete_fluid_synth;
    decltype(&::fluid_player_add_mem) fluid_player_add_mem;
    decltype(&::fluid_player_get_current_tick) fluid_player_get_current_tick;
    decltype(&::fluid_player_get_status) fluid_player_get_status;
    decltype(&::fluid_player_play) fluid_player_play;
    decltype(&::fluid_player_seek) fluid_player_seek;
    decltype(&::fluid_player_stop) fluid_player_stop;
    decltype(&::fluid_set_log_function) fluid_set_log_function;
    decltype(&::fluid_settings_setint) fluid_settings_setint;
    decltype(&::fluid_settings_setnum) fluid_settings_setnum;
    decltype(&::fluid_settings_setstr) fluid_settings_setstr;
    decltype(&::fluid_synth_all_sounds_off) fluid_synth_all_sounds_off;
    decltype(&::fluid_synth_get_active_voice_count) fluid_synth_get_active_voice_count;
    decltype(&::fluid_synth_sfload) fluid_synth_sfload;
    decltype(&::fluid_synth_system_reset) fluid_synth_system_reset;
    decltype(&::fluid_synth_write_float) fluid_synth_write_float;
    decltype(&::new_fluid_player) new_fluid_player;
    decltype(&::new_fluid_settings) new_fluid_settings;
    decltype(&::new_fluid_synth) new_fluid_synth;
};

// The loaded library, or nullptr when FluidSynth is not installed (MIDI files then cannot play).
const FluidSynthLibrary* fluidSynthLibrary();

}  // namespace marlo

#include "platform/media/FluidSynthLibrary.h"

#include <dlfcn.h>

#include <mutex>

namespace marlo {
namespace {

template <typename F>
bool bind(void* library, const char* name, F& function) {
    function = reinterpret_cast<F>(dlsym(library, name));
    return function != nullptr;
}

const FluidSynthLibrary* load() {
    void* library = nullptr;
    for (const char* name : {"libfluidsynth.so.3", "libfluidsynth.so"}) {
        library = dlopen(name, RTLD_NOW | RTLD_LOCAL);
        if (library != nullptr) {
            break;
        }
    }
    if (library == nullptr) {
        return nullptr;
    }
    static FluidSynthLibrary api;
    const bool complete =
        bind(library, "delete_fluid_player", api.delete_fluid_player) &&
        bind(library, "delete_fluid_settings", api.delete_fluid_settings) &&
        bind(library, "delete_fluid_synth", api.delete_fluid_synth) &&
        bind(library, "fluid_player_add_mem", api.fluid_player_add_mem) &&
        bind(library, "fluid_player_get_current_tick", api.fluid_player_get_current_tick) &&
        bind(library, "fluid_player_get_status", api.fluid_player_get_status) &&
        bind(library, "fluid_player_play", api.fluid_player_play) &&
        bind(library, "fluid_player_seek", api.fluid_player_seek) &&
        bind(library, "fluid_player_stop", api.fluid_player_stop) &&
        bind(library, "fluid_set_log_function", api.fluid_set_log_function) &&
        bind(library, "fluid_settings_setint", api.fluid_settings_setint) &&
        bind(library, "fluid_settings_setnum", api.fluid_settings_setnum) &&
        bind(library, "fluid_settings_setstr", api.fluid_settings_setstr) &&
        bind(library, "fluid_synth_all_sounds_off", api.fluid_synth_all_sounds_off) &&
        bind(library, "fluid_synth_get_active_voice_count",
             api.fluid_synth_get_active_voice_count) &&
        bind(library, "fluid_synth_sfload", api.fluid_synth_sfload) &&
        bind(library, "fluid_synth_system_reset", api.fluid_synth_system_reset) &&
        bind(library, "fluid_synth_write_s16", api.fluid_synth_write_s16) &&
        bind(library, "new_fluid_player", api.new_fluid_player) &&
        bind(library, "new_fluid_settings", api.new_fluid_settings) &&
        bind(library, "new_fluid_synth", api.new_fluid_synth);
    // Stays loaded for the rest of the run: a synthesizer made from it may live that long.
    return complete ? &api : nullptr;
}

}  // namespace

const FluidSynthLibrary* fluidSynthLibrary() {
    static std::once_flag once;
    static const FluidSynthLibrary* api = nullptr;
    std::call_once(once, [] { api = load(); });
    return api;
}

}  // namespace marlo

#include "platform/media/FluidSynthLibrary.h"

#include "platform/media/RuntimeLibrary.h"

#include <mutex>

namespace marlo {
namespace {

const FluidSynthLibrary* load() {
    void* library = openRuntimeLibrary({"libfluidsynth.so.3", "libfluidsynth.so"});
    if (library == nullptr) {
        return nullptr;
    }
    static FluidSynthLibrary api;
    const bool complete =
        bindRuntimeSymbol(library, "delete_fluid_player", api.delete_fluid_player) &&
        bindRuntimeSymbol(library, "delete_fluid_settings", api.delete_fluid_settings) &&
        bindRuntimeSymbol(library, "delete_fluid_synth", api.delete_fluid_synth) &&
        bindRuntimeSymbol(library, "fluid_player_add_mem", api.fluid_player_add_mem) &&
        bindRuntimeSymbol(library, "fluid_player_get_current_tick",
                          api.fluid_player_get_current_tick) &&
        bindRuntimeSymbol(library, "fluid_player_get_status", api.fluid_player_get_status) &&
        bindRuntimeSymbol(library, "fluid_player_play", api.fluid_player_play) &&
        bindRuntimeSymbol(library, "fluid_player_seek", api.fluid_player_seek) &&
        bindRuntimeSymbol(library, "fluid_player_stop", api.fluid_player_stop) &&
        bindRuntimeSymbol(library, "fluid_set_log_function", api.fluid_set_log_function) &&
        bindRuntimeSymbol(library, "fluid_settings_setint", api.fluid_settings_setint) &&
        bindRuntimeSymbol(library, "fluid_settings_setnum", api.fluid_settings_setnum) &&
        bindRuntimeSymbol(library, "fluid_settings_setstr", api.fluid_settings_setstr) &&
        bindRuntimeSymbol(library, "fluid_synth_all_sounds_off", api.fluid_synth_all_sounds_off) &&
        bindRuntimeSymbol(library, "fluid_synth_get_active_voice_count",
                          api.fluid_synth_get_active_voice_count) &&
        bindRuntimeSymbol(library, "fluid_synth_sfload", api.fluid_synth_sfload) &&
        bindRuntimeSymbol(library, "fluid_synth_system_reset", api.fluid_synth_system_reset) &&
        bindRuntimeSymbol(library, "fluid_synth_write_float", api.fluid_synth_write_float) &&
        bindRuntimeSymbol(library, "new_fluid_player", api.new_fluid_player) &&
        bindRuntimeSymbol(library, "new_fluid_settings", api.new_fluid_settings) &&
        bindRuntimeSymbol(library, "new_fluid_synth", api.new_fluid_synth);
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

#include "platform/media/MpvLibrary.h"

#include "platform/media/RuntimeLibrary.h"

#include <mutex>

namespace marlo {
namespace {

const MpvLibrary* load() {
    void* library = openRuntimeLibrary({"libmpv.so.2", "libmpv.so.1", "libmpv.so"});
    if (library == nullptr) {
        return nullptr;
    }
    static MpvLibrary api;
    const bool complete =
        bindRuntimeSymbol(library, "mpv_create", api.create) &&
        bindRuntimeSymbol(library, "mpv_initialize", api.initialize) &&
        bindRuntimeSymbol(library, "mpv_terminate_destroy", api.terminateDestroy) &&
        bindRuntimeSymbol(library, "mpv_set_option_string", api.setOptionString) &&
        bindRuntimeSymbol(library, "mpv_command_async", api.commandAsync) &&
        bindRuntimeSymbol(library, "mpv_wait_event", api.waitEvent) &&
        bindRuntimeSymbol(library, "mpv_set_wakeup_callback", api.setWakeupCallback) &&
        bindRuntimeSymbol(library, "mpv_observe_property", api.observeProperty) &&
        bindRuntimeSymbol(library, "mpv_set_property_async", api.setPropertyAsync) &&
        bindRuntimeSymbol(library, "mpv_get_property", api.getProperty) &&
        bindRuntimeSymbol(library, "mpv_get_property_async", api.getPropertyAsync) &&
        bindRuntimeSymbol(library, "mpv_render_context_create", api.renderCreate) &&
        bindRuntimeSymbol(library, "mpv_render_context_set_update_callback",
                          api.renderSetUpdateCallback) &&
        bindRuntimeSymbol(library, "mpv_render_context_update", api.renderUpdate) &&
        bindRuntimeSymbol(library, "mpv_render_context_render", api.renderRender) &&
        bindRuntimeSymbol(library, "mpv_render_context_free", api.renderFree);
    // The library stays loaded for the rest of the run: mpv's threads may still be in it.
    return complete ? &api : nullptr;
}

}  // namespace

const MpvLibrary* mpvLibrary() {
    static std::once_flag once;
    static const MpvLibrary* api = nullptr;
    std::call_once(once, [] { api = load(); });
    return api;
}

}  // namespace marlo

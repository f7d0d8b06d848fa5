#include "platform/media/MpvLibrary.h"

#include <dlfcn.h>

#include <mutex>

namespace marlo {
namespace {

template <typename F>
bool bind(void* library, const char* name, F& function) {
    function = reinterpret_cast<F>(dlsym(library, name));
    return function != nullptr;
}

const MpvLibrary* load() {
    void* library = nullptr;
    for (const char* name : {"libmpv.so.2", "libmpv.so.1", "libmpv.so"}) {
        library = dlopen(name, RTLD_NOW | RTLD_LOCAL);
        if (library != nullptr) {
            break;
        }
    }
    if (library == nullptr) {
        return nullptr;
    }
    static MpvLibrary api;
    const bool complete = bind(library, "mpv_create", api.create) &&
                          bind(library, "mpv_initialize", api.initialize) &&
                          bind(library, "mpv_terminate_destroy", api.terminateDestroy) &&
                          bind(library, "mpv_set_option_string", api.setOptionString) &&
                          bind(library, "mpv_command_async", api.commandAsync) &&
                          bind(library, "mpv_wait_event", api.waitEvent) &&
                          bind(library, "mpv_set_wakeup_callback", api.setWakeupCallback) &&
                          bind(library, "mpv_observe_property", api.observeProperty) &&
                          bind(library, "mpv_set_property_async", api.setPropertyAsync) &&
                          bind(library, "mpv_get_property", api.getProperty);
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

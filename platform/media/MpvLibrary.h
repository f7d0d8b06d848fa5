#pragma once

#include <mpv/client.h>
#include <mpv/render.h>

namespace marlo {

// libmpv's functions, loaded when the first file is played rather than linked: linking libmpv
// and the codec libraries it brings costs over 100 ms before the main window can appear.
struct MpvLibrary {
    decltype(&::mpv_create) create;
    decltype(&::mpv_initialize) initialize;
    decltype(&::mpv_terminate_destroy) terminateDestroy;
    decltype(&::mpv_set_option_string) setOptionString;
    decltype(&::mpv_command_async) commandAsync;
    decltype(&::mpv_wait_event) waitEvent;
    decltype(&::mpv_set_wakeup_callback) setWakeupCallback;
    decltype(&::mpv_observe_property) observeProperty;
    decltype(&::mpv_set_property_async) setPropertyAsync;
    decltype(&::mpv_get_property) getProperty;
    decltype(&::mpv_get_property_async) getPropertyAsync;
    // The render API, for drawing video into our own windows.
    decltype(&::mpv_render_context_create) renderCreate;
    decltype(&::mpv_render_context_set_update_callback) renderSetUpdateCallback;
    decltype(&::mpv_render_context_update) renderUpdate;
    decltype(&::mpv_render_context_render) renderRender;
    decltype(&::mpv_render_context_free) renderFree;
};

// The loaded library, or nullptr when libmpv is not installed (files then cannot play).
const MpvLibrary* mpvLibrary();

}  // namespace marlo

#pragma once

// Xlib's default error handler ends the process. JUCE replaces it only in stand-alone applications, and
// a plug-in's own copy of JUCE never does; under Xvfb with no window manager some window-manager requests
// fail harmlessly. Test programs that open windows keep this handler installed instead.

#include <dlfcn.h>

#include <atomic>

namespace testing_support
{
inline std::atomic<int>& quietXErrorCount()
{
    static std::atomic<int> count{0};
    return count;
}

// Installs (again) a handler that counts X errors and carries on. Does nothing without libX11.
inline void installQuietXErrorHandler()
{
    using Handler = int (*)(void* display, void* event);
    using SetHandler = Handler (*)(Handler);
    static void* const x11 = dlopen("libX11.so.6", RTLD_LAZY);
    if (x11 == nullptr)
        return;
    if (auto* setHandler = reinterpret_cast<SetHandler>(dlsym(x11, "XSetErrorHandler")))
        setHandler(
            [](void*, void*)
            {
                ++quietXErrorCount();
                return 0;
            });
}
} // namespace testing_support

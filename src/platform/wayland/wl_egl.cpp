// OpenGL on Wayland: EGL configs as pixel formats, a desktop-GL compatibility context, swaps paced
// by the compositor's frame callbacks, and the last frame kept for a scene that draws over it.
//
// The scene fades the frame before instead of clearing it, so a swap must give back the buffer
// just shown. Wayland promises nothing of the kind: a driver may hand back an older buffer. Where
// the surface can be told to preserve its buffer, it is; otherwise the buffer age says after each
// swap whether the next buffer holds the last frame, and the first time it does not, the window
// draws into a buffer of its own from then on and each swap shows a copy of it.
#include <EGL/egl.h>
#include <EGL/eglext.h>
#include <GL/gl.h>
#include <GL/glext.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/wayland/wl_state.h"
#include "platform/win32/extension_list.h"
#include "platform/win32/pixel_format_match.h"

namespace smokedrift::wl {

namespace {

template <typename Fn>
void load(Fn& fn, const char* name) {
    fn = reinterpret_cast<Fn>(eglGetProcAddress(name));
}

bool loadFramebufferCalls() {
    FramebufferCalls& fb = state().framebuffer;
    if (fb.loaded) return fb.blitFramebuffer != nullptr;
    fb.loaded = true;
    load(fb.genFramebuffers, "glGenFramebuffers");
    load(fb.bindFramebuffer, "glBindFramebuffer");
    load(fb.framebufferRenderbuffer, "glFramebufferRenderbuffer");
    load(fb.checkFramebufferStatus, "glCheckFramebufferStatus");
    load(fb.deleteFramebuffers, "glDeleteFramebuffers");
    load(fb.genRenderbuffers, "glGenRenderbuffers");
    load(fb.bindRenderbuffer, "glBindRenderbuffer");
    load(fb.renderbufferStorage, "glRenderbufferStorage");
    load(fb.deleteRenderbuffers, "glDeleteRenderbuffers");
    load(fb.blitFramebuffer, "glBlitFramebuffer");
    const bool all = fb.genFramebuffers && fb.bindFramebuffer && fb.framebufferRenderbuffer &&
                     fb.checkFramebufferStatus && fb.deleteFramebuffers && fb.genRenderbuffers && fb.bindRenderbuffer &&
                     fb.renderbufferStorage && fb.deleteRenderbuffers;
    if (!all) fb.blitFramebuffer = nullptr;
    return fb.blitFramebuffer != nullptr;
}

// Every output's process meets the same missing OpenGL: the first to meet it says so for the run.
void tellOnce(const char* line) {
    Group* group = state().group;
    if (group == nullptr || !group->failureTold.exchange(true)) std::fputs(line, stderr);
}

EGLDisplay eglDisplay() {
    WlState& s = state();
    if (s.eglDisplay != EGL_NO_DISPLAY || display() == nullptr) return s.eglDisplay;
    EGLDisplay d = eglGetPlatformDisplay(EGL_PLATFORM_WAYLAND_KHR, s.display, nullptr);
    if (d == EGL_NO_DISPLAY || !eglInitialize(d, nullptr, nullptr)) {
        tellOnce("EGL: no OpenGL for this Wayland display\n");
        return EGL_NO_DISPLAY;
    }
    if (!eglBindAPI(EGL_OPENGL_API)) {
        tellOnce("EGL: desktop OpenGL is not offered\n");
        eglTerminate(d);
        return EGL_NO_DISPLAY;
    }
    s.eglDisplay = d;
    return d;
}

bool hasExtension(const char* name) {
    return platform::listsExtension(eglQueryString(state().eglDisplay, EGL_EXTENSIONS), name);
}

int attribute(EGLConfig config, EGLint name) {
    EGLint value = 0;
    eglGetConfigAttrib(state().eglDisplay, config, name, &value);
    return value;
}

void listConfigs() {
    WlState& s = state();
    if (s.configCount >= 0) return;
    // Listed once, whatever the outcome: a failure is told once, not at each pixel-format call.
    s.configCount = 0;
    if (eglDisplay() == EGL_NO_DISPLAY) return;
    const EGLint wanted[] = {EGL_SURFACE_TYPE, EGL_WINDOW_BIT,        EGL_RENDERABLE_TYPE,
                             EGL_OPENGL_BIT,   EGL_COLOR_BUFFER_TYPE, EGL_RGB_BUFFER,
                             EGL_NONE};
    EGLint count = 0;
    if (!eglChooseConfig(s.eglDisplay, wanted, s.configs, MAX_CONFIGS, &count)) count = 0;
    s.configCount = count;
    if (count == 0) tellOnce("EGL: the compositor's display offers no OpenGL window formats\n");
}

BYTE bits(EGLConfig config, EGLint name) { return static_cast<BYTE>(attribute(config, name)); }

PIXELFORMATDESCRIPTOR describe(EGLConfig c) {
    PIXELFORMATDESCRIPTOR f = {};
    f.nSize = sizeof(PIXELFORMATDESCRIPTOR);
    f.nVersion = 1;
    // Wayland surfaces are always shown by swapping.
    f.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
    f.iPixelType = PFD_TYPE_RGBA;
    f.cRedBits = bits(c, EGL_RED_SIZE);
    f.cGreenBits = bits(c, EGL_GREEN_SIZE);
    f.cBlueBits = bits(c, EGL_BLUE_SIZE);
    f.cAlphaBits = bits(c, EGL_ALPHA_SIZE);
    f.cColorBits = static_cast<BYTE>(f.cRedBits + f.cGreenBits + f.cBlueBits);
    f.cDepthBits = bits(c, EGL_DEPTH_SIZE);
    f.cStencilBits = bits(c, EGL_STENCIL_SIZE);
    f.iLayerType = PFD_MAIN_PLANE;
    return f;
}

EGLContext contextOf(HGLRC context) {
    const std::uintptr_t index = reinterpret_cast<std::uintptr_t>(context);
    return (index >= 1 && index <= MAX_CONTEXTS) ? state().contexts[index - 1] : EGL_NO_CONTEXT;
}

// The own buffer: colour with alpha (the sprites add up in it) and depth, the window's size.
bool allocateOwnBuffer(WlSurface& w) {
    const FramebufferCalls& fb = state().framebuffer;
    if (!loadFramebufferCalls()) return false;
    if (w.historyFramebuffer == 0) {
        fb.genFramebuffers(1, &w.historyFramebuffer);
        fb.genRenderbuffers(1, &w.historyColor);
        fb.genRenderbuffers(1, &w.historyDepth);
    }
    fb.bindRenderbuffer(GL_RENDERBUFFER, w.historyColor);
    fb.renderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, w.width, w.height);
    fb.bindRenderbuffer(GL_RENDERBUFFER, w.historyDepth);
    fb.renderbufferStorage(GL_RENDERBUFFER, GL_DEPTH_COMPONENT24, w.width, w.height);
    fb.bindRenderbuffer(GL_RENDERBUFFER, 0);
    fb.bindFramebuffer(GL_FRAMEBUFFER, w.historyFramebuffer);
    fb.framebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, w.historyColor);
    fb.framebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, w.historyDepth);
    if (fb.checkFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE) {
        fb.bindFramebuffer(GL_FRAMEBUFFER, 0);
        std::fprintf(stderr, "EGL: cannot keep the frame in a buffer of its own\n");
        return false;
    }
    w.historyWidth = w.width;
    w.historyHeight = w.height;
    // A new buffer starts black, as the window's first frames are.
    GLfloat clear[4] = {};
    glGetFloatv(GL_COLOR_CLEAR_VALUE, clear);
    const GLboolean scissor = glIsEnabled(GL_SCISSOR_TEST);
    if (scissor) glDisable(GL_SCISSOR_TEST);
    glClearColor(0, 0, 0, 0);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glClearColor(clear[0], clear[1], clear[2], clear[3]);
    if (scissor) glEnable(GL_SCISSOR_TEST);
    return true;
}

void useOwnBuffer(WlSurface& w) {
    if (w.history == History::OwnBuffer && w.historyFramebuffer != 0) return;
    if (allocateOwnBuffer(w)) {
        w.history = History::OwnBuffer;
    } else {
        w.history = History::Trusted;  // nothing better to be had
    }
}

// The copy of the own buffer the compositor gets, into whatever buffer the driver handed back.
void presentOwnBuffer(const WlSurface& w) {
    const FramebufferCalls& fb = state().framebuffer;
    const GLboolean scissor = glIsEnabled(GL_SCISSOR_TEST);
    if (scissor) glDisable(GL_SCISSOR_TEST);
    fb.bindFramebuffer(GL_READ_FRAMEBUFFER, w.historyFramebuffer);
    fb.bindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
    fb.blitFramebuffer(0, 0, w.width, w.height, 0, 0, w.width, w.height, GL_COLOR_BUFFER_BIT, GL_NEAREST);
    if (scissor) glEnable(GL_SCISSOR_TEST);
}

// How the window's picture survives a swap, decided when its surface is made.
History chooseHistory(EGLConfig config, EGLSurface surface) {
    // For comparing the two paths on a driver that keeps its buffer anyway: "copy" keeps the
    // history in the own buffer, "direct" draws straight into the driver's.
    const char* forced = std::getenv("SMOKEDRIFT_FRAME_HISTORY");
    if (forced != nullptr && std::strcmp(forced, "copy") == 0) return History::OwnBuffer;
    if (forced != nullptr && std::strcmp(forced, "direct") == 0) return History::Trusted;
    if ((attribute(config, EGL_SURFACE_TYPE) & EGL_SWAP_BEHAVIOR_PRESERVED_BIT) &&
        eglSurfaceAttrib(state().eglDisplay, surface, EGL_SWAP_BEHAVIOR, EGL_BUFFER_PRESERVED)) {
        return History::Preserved;
    }
    return hasExtension("EGL_EXT_buffer_age") ? History::BufferAge : History::OwnBuffer;
}

void frameShown(void* data, wl_callback* callback, uint32_t) {
    auto* w = static_cast<WlSurface*>(data);
    wl_callback_destroy(callback);
    for (wl_callback*& pending : w->framesInFlight) {
        if (pending == callback) pending = nullptr;
    }
}

const wl_callback_listener frameListener = {frameShown};

// WGL_EXT_swap_control's entry point: 1 draws once per refresh of the output, which the
// compositor tells with a frame callback; the swap itself never waits, so input is read while
// the output is off.
BOOL WINAPI swapInterval(int interval) {
    WlSurface* w = findSurface(state().currentWindow);
    if (w == nullptr) return FALSE;
    w->pacedByFrames = interval > 0;
    return TRUE;
}

}  // namespace

void resizeDrawable(WlSurface& w) {
    if (w.eglWindow != nullptr) wl_egl_window_resize(w.eglWindow, w.width, w.height, 0, 0);
    if (w.history == History::OwnBuffer && w.historyFramebuffer != 0 && state().currentWindow == w.handle) {
        allocateOwnBuffer(w);
    }
}

void releaseDrawable(WlSurface& w) {
    const FramebufferCalls& fb = state().framebuffer;
    WlState& s = state();
    for (wl_callback*& pending : w.framesInFlight) {
        if (pending != nullptr) wl_callback_destroy(pending);
        pending = nullptr;
    }
    if (s.currentWindow == w.handle && w.historyFramebuffer != 0) {
        fb.deleteFramebuffers(1, &w.historyFramebuffer);
        fb.deleteRenderbuffers(1, &w.historyColor);
        fb.deleteRenderbuffers(1, &w.historyDepth);
    }
    if (s.currentWindow == w.handle) {
        eglMakeCurrent(s.eglDisplay, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
        s.currentWindow = nullptr;
        s.currentContext = EGL_NO_CONTEXT;
    }
    if (w.eglSurface != EGL_NO_SURFACE) eglDestroySurface(s.eglDisplay, w.eglSurface);
    if (w.eglWindow != nullptr) wl_egl_window_destroy(w.eglWindow);
    w.eglSurface = EGL_NO_SURFACE;
    w.eglWindow = nullptr;
}

int choosePixelFormat(const PIXELFORMATDESCRIPTOR& want) {
    listConfigs();
    const WlState& s = state();
    // Every Wayland surface is shown by swapping: a single-buffered ask takes the closest too.
    return closestPixelFormat(
        s.configCount, [&s](int i) { return describe(s.configs[i]); }, want, false);
}

int describePixelFormat(int format, PIXELFORMATDESCRIPTOR* descriptor) {
    listConfigs();
    const WlState& s = state();
    if (format >= 1 && format <= s.configCount) *descriptor = describe(s.configs[format - 1]);
    return s.configCount;
}

bool setPixelFormat(HWND window, int format) {
    listConfigs();
    WlState& s = state();
    WlSurface* w = findSurface(window);
    if (w == nullptr || w->pixelFormat != 0 || format < 1 || format > s.configCount) return false;
    const EGLConfig config = s.configs[format - 1];
    w->eglWindow = wl_egl_window_create(w->surface, w->width, w->height);
    w->eglSurface = w->eglWindow != nullptr
                        ? eglCreatePlatformWindowSurface(s.eglDisplay, config, w->eglWindow, nullptr)
                        : EGL_NO_SURFACE;
    if (w->eglSurface == EGL_NO_SURFACE) {
        std::fprintf(stderr, "EGL: cannot make a drawable of the surface\n");
        releaseDrawable(*w);
        return false;
    }
    w->pixelFormat = format;
    w->history = chooseHistory(config, w->eglSurface);
    return true;
}

HGLRC createContext(HWND window) {
    WlState& s = state();
    const WlSurface* w = findSurface(window);
    if (w == nullptr || w->pixelFormat == 0) return nullptr;
    const EGLint compatibility[] = {EGL_CONTEXT_OPENGL_PROFILE_MASK, EGL_CONTEXT_OPENGL_COMPATIBILITY_PROFILE_BIT,
                                    EGL_NONE};
    for (int i = 0; i < MAX_CONTEXTS; ++i) {
        if (s.contexts[i] != EGL_NO_CONTEXT) continue;
        s.contexts[i] = eglCreateContext(s.eglDisplay, s.configs[w->pixelFormat - 1], EGL_NO_CONTEXT, compatibility);
        if (s.contexts[i] == EGL_NO_CONTEXT) {
            std::fprintf(stderr, "EGL: cannot create an OpenGL rendering context\n");
            return nullptr;
        }
        return reinterpret_cast<HGLRC>(static_cast<std::uintptr_t>(i + 1));
    }
    return nullptr;
}

bool makeCurrent(HWND window, HGLRC context) {
    WlState& s = state();
    if (s.eglDisplay == EGL_NO_DISPLAY) return false;
    if (context == nullptr) {
        s.currentWindow = nullptr;
        s.currentContext = EGL_NO_CONTEXT;
        return eglMakeCurrent(s.eglDisplay, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
    }
    WlSurface* w = findSurface(window);
    const EGLContext egl = contextOf(context);
    if (w == nullptr || w->eglSurface == EGL_NO_SURFACE || egl == EGL_NO_CONTEXT) return false;
    if (!eglMakeCurrent(s.eglDisplay, w->eglSurface, w->eglSurface, egl)) {
        std::fprintf(stderr, "EGL: cannot make the rendering context current\n");
        return false;
    }
    s.currentWindow = w->handle;
    s.currentContext = egl;
    // Frame callbacks pace the drawing; a swap that waited for the compositor would stop the
    // messages too.
    eglSwapInterval(s.eglDisplay, 0);
    if (w->history == History::OwnBuffer) useOwnBuffer(*w);
    return true;
}

bool deleteContext(HGLRC context) {
    WlState& s = state();
    const EGLContext egl = contextOf(context);
    if (egl == EGL_NO_CONTEXT) return false;
    if (s.currentContext == egl) makeCurrent(nullptr, nullptr);
    eglDestroyContext(s.eglDisplay, egl);
    s.contexts[reinterpret_cast<std::uintptr_t>(context) - 1] = EGL_NO_CONTEXT;
    // Its objects went with it.
    for (WlSurface& w : s.surfaces) w.historyFramebuffer = w.historyColor = w.historyDepth = 0;
    return true;
}

PROC procAddress(LPCSTR name) {
    if (std::strcmp(name, "wglSwapIntervalEXT") == 0) {
        return reinterpret_cast<PROC>(reinterpret_cast<void (*)()>(&swapInterval));
    }
    return nullptr;
}

bool swapBuffers(HWND window) {
    const FramebufferCalls& fb = state().framebuffer;
    WlState& s = state();
    WlSurface* w = findSurface(window);
    if (w == nullptr || w->eglSurface == EGL_NO_SURFACE) return false;
    const bool own = w->history == History::OwnBuffer && w->historyFramebuffer != 0 && s.currentWindow == w->handle;
    if (own) presentOwnBuffer(*w);
    for (wl_callback*& pending : w->framesInFlight) {
        if (!w->pacedByFrames || pending != nullptr) continue;
        // Asked for before the swap commits the surface, so it answers for this frame.
        pending = wl_surface_frame(w->surface);
        wl_callback_add_listener(pending, &frameListener, w);
        break;
    }
    const EGLBoolean swapped = eglSwapBuffers(s.eglDisplay, w->eglSurface);
    if (swapped) surfaceShown(*w);
    if (own) fb.bindFramebuffer(GL_FRAMEBUFFER, w->historyFramebuffer);
    if (w->history == History::BufferAge && s.currentWindow == w->handle) {
        EGLint age = 0;
        if (!eglQuerySurface(s.eglDisplay, w->eglSurface, EGL_BUFFER_AGE_EXT, &age) || age != 1) useOwnBuffer(*w);
    }
    return swapped;
}

}  // namespace smokedrift::wl

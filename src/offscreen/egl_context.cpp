#include "offscreen/egl_context.h"

#include <EGL/egl.h>
#include <EGL/eglext.h>

namespace smokedrift {

namespace {

EGLDisplay openDisplay() {
    auto getPlatformDisplay =
        reinterpret_cast<PFNEGLGETPLATFORMDISPLAYEXTPROC>(eglGetProcAddress("eglGetPlatformDisplayEXT"));
    if (getPlatformDisplay == nullptr) {
        return EGL_NO_DISPLAY;
    }
    return getPlatformDisplay(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
}

}  // namespace

bool EglContext::create(int width, int height, std::string& error) {
    EGLDisplay dpy = openDisplay();
    if (dpy == EGL_NO_DISPLAY || !eglInitialize(dpy, nullptr, nullptr)) {
        error = "EGL: no usable display (Mesa's surfaceless platform is needed)";
        return false;
    }
    display = dpy;
    // The sprites blend against destination alpha, so the alpha bits are not optional.
    const EGLint configAttribs[] = {EGL_SURFACE_TYPE,
                                    EGL_PBUFFER_BIT,
                                    EGL_RED_SIZE,
                                    8,
                                    EGL_GREEN_SIZE,
                                    8,
                                    EGL_BLUE_SIZE,
                                    8,
                                    EGL_ALPHA_SIZE,
                                    8,
                                    EGL_DEPTH_SIZE,
                                    16,
                                    EGL_RENDERABLE_TYPE,
                                    EGL_OPENGL_BIT,
                                    EGL_NONE};
    EGLConfig config = nullptr;
    EGLint found = 0;
    if (!eglChooseConfig(dpy, configAttribs, &config, 1, &found) || found < 1) {
        error = "EGL: no RGBA8 configuration with depth for desktop OpenGL";
        return false;
    }
    if (!eglBindAPI(EGL_OPENGL_API)) {
        error = "EGL: desktop OpenGL is not available";
        return false;
    }
    const EGLint surfaceAttribs[] = {EGL_WIDTH, width, EGL_HEIGHT, height, EGL_NONE};
    EGLSurface surf = eglCreatePbufferSurface(dpy, config, surfaceAttribs);
    if (surf == EGL_NO_SURFACE) {
        error = "EGL: cannot create a " + std::to_string(width) + "x" + std::to_string(height) + " pbuffer";
        return false;
    }
    surface = surf;
    EGLContext ctx = eglCreateContext(dpy, config, EGL_NO_CONTEXT, nullptr);
    if (ctx == EGL_NO_CONTEXT) {
        error = "EGL: cannot create an OpenGL context";
        return false;
    }
    context = ctx;
    if (!eglMakeCurrent(dpy, surf, surf, ctx)) {
        error = "EGL: cannot make the context current";
        return false;
    }
    return true;
}

EglContext::~EglContext() {
    if (display == nullptr) {
        return;
    }
    eglMakeCurrent(display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
    if (context != nullptr) eglDestroyContext(display, context);
    if (surface != nullptr) eglDestroySurface(display, surface);
    eglTerminate(display);
}

}  // namespace smokedrift

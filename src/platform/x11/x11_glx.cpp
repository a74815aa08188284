// Pixel formats and WGL over GLX. The formats are the GLX frame-buffer configurations that can
// draw to a window, numbered from 1. Setting a format on a window creates a child window with
// that configuration's visual which the context draws into; input still reaches the parent.
#include <cstdio>
#include <cstring>

#include "platform/win32/extension_list.h"
#include "platform/win32/pixel_format_match.h"
#include "platform/x11/x11_state.h"

namespace smokedrift::x11 {

namespace {

int attribute(GLXFBConfig config, int name) {
    int value = 0;
    glXGetFBConfigAttrib(state().display, config, name, &value);
    return value;
}

void listConfigs() {
    X11State& s = state();
    if (s.configCount >= 0 || display() == nullptr) return;
    s.configCount = 0;
    int count = 0;
    GLXFBConfig* all = glXGetFBConfigs(s.display, s.screen, &count);
    for (int i = 0; i < count && s.configCount < MAX_CONFIGS; ++i) {
        const GLXFBConfig c = all[i];
        if (!(attribute(c, GLX_DRAWABLE_TYPE) & GLX_WINDOW_BIT) || !(attribute(c, GLX_RENDER_TYPE) & GLX_RGBA_BIT) ||
            !attribute(c, GLX_X_RENDERABLE) || attribute(c, GLX_VISUAL_ID) == 0) {
            continue;
        }
        s.configs[s.configCount++] = c;
    }
    if (all != nullptr) XFree(all);
    // The saver cannot start without a format; the one line says why.
    if (s.configCount == 0) std::fprintf(stderr, "GLX: the display offers no OpenGL window formats\n");
}

BYTE bits(GLXFBConfig config, int name) { return static_cast<BYTE>(attribute(config, name)); }

PIXELFORMATDESCRIPTOR describe(GLXFBConfig c) {
    PIXELFORMATDESCRIPTOR f = {};
    f.nSize = sizeof(PIXELFORMATDESCRIPTOR);
    f.nVersion = 1;
    f.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | (attribute(c, GLX_DOUBLEBUFFER) ? PFD_DOUBLEBUFFER : 0);
    f.iPixelType = PFD_TYPE_RGBA;
    f.cRedBits = bits(c, GLX_RED_SIZE);
    f.cGreenBits = bits(c, GLX_GREEN_SIZE);
    f.cBlueBits = bits(c, GLX_BLUE_SIZE);
    f.cAlphaBits = bits(c, GLX_ALPHA_SIZE);
    f.cColorBits = static_cast<BYTE>(f.cRedBits + f.cGreenBits + f.cBlueBits);
    f.cAccumRedBits = bits(c, GLX_ACCUM_RED_SIZE);
    f.cAccumGreenBits = bits(c, GLX_ACCUM_GREEN_SIZE);
    f.cAccumBlueBits = bits(c, GLX_ACCUM_BLUE_SIZE);
    f.cAccumAlphaBits = bits(c, GLX_ACCUM_ALPHA_SIZE);
    f.cAccumBits = static_cast<BYTE>(f.cAccumRedBits + f.cAccumGreenBits + f.cAccumBlueBits + f.cAccumAlphaBits);
    f.cDepthBits = bits(c, GLX_DEPTH_SIZE);
    f.cStencilBits = bits(c, GLX_STENCIL_SIZE);
    f.cAuxBuffers = bits(c, GLX_AUX_BUFFERS);
    f.iLayerType = PFD_MAIN_PLANE;
    return f;
}

GLXContext contextOf(HGLRC context) {
    const std::uintptr_t index = reinterpret_cast<std::uintptr_t>(context);
    return (index >= 1 && index <= MAX_CONTEXTS) ? state().contexts[index - 1] : nullptr;
}

// The drawable of a window: the child window that carries the pixel format.
Window drawableOf(HWND window) {
    const X11Surface* w = findSurface(xidOf(window));
    return w != nullptr ? w->glChild : 0;
}

bool hasExtension(const char* name) {
    return platform::listsExtension(glXQueryExtensionsString(state().display, state().screen), name);
}

// WGL_EXT_swap_control's entry point over whichever GLX swap control the server offers; it sets
// the interval of the drawable the calling thread draws to.
BOOL WINAPI swapInterval(int interval) {
    Display* d = state().display;
    const GLXDrawable drawable = glXGetCurrentDrawable();
    if (d == nullptr || drawable == 0) return FALSE;
    if (hasExtension("GLX_EXT_swap_control")) {
        using Fn = void (*)(Display*, GLXDrawable, int);
        auto fn = reinterpret_cast<Fn>(glXGetProcAddressARB(reinterpret_cast<const GLubyte*>("glXSwapIntervalEXT")));
        if (fn == nullptr) return FALSE;
        fn(d, drawable, interval);
        return TRUE;
    }
    if (hasExtension("GLX_MESA_swap_control")) {
        using Fn = int (*)(unsigned);
        auto fn = reinterpret_cast<Fn>(glXGetProcAddressARB(reinterpret_cast<const GLubyte*>("glXSwapIntervalMESA")));
        return fn != nullptr && fn(static_cast<unsigned>(interval)) == 0 ? TRUE : FALSE;
    }
    return FALSE;
}

}  // namespace

int choosePixelFormat(const PIXELFORMATDESCRIPTOR& want) {
    listConfigs();
    const X11State& s = state();
    return closestPixelFormat(
        s.configCount, [&s](int i) { return describe(s.configs[i]); }, want, true);
}

int describePixelFormat(int format, PIXELFORMATDESCRIPTOR* descriptor) {
    listConfigs();
    const X11State& s = state();
    if (format >= 1 && format <= s.configCount) *descriptor = describe(s.configs[format - 1]);
    return s.configCount;
}

bool setPixelFormat(HWND window, int format) {
    listConfigs();
    X11State& s = state();
    X11Surface* w = findSurface(xidOf(window));
    if (w == nullptr || w->pixelFormat != 0 || format < 1 || format > s.configCount) return false;
    XVisualInfo* visual = glXGetVisualFromFBConfig(s.display, s.configs[format - 1]);
    if (visual == nullptr) {
        std::fprintf(stderr, "GLX: the pixel format has no X visual\n");
        return false;
    }
    XSetWindowAttributes attributes = {};
    w->colormap = XCreateColormap(s.display, s.root, visual->visual, AllocNone);
    attributes.colormap = w->colormap;
    attributes.background_pixel = 0;
    attributes.border_pixel = 0;
    w->glChild = XCreateWindow(s.display, w->xid, 0, 0, static_cast<unsigned>(w->width),
                               static_cast<unsigned>(w->height), 0, visual->depth, InputOutput, visual->visual,
                               CWColormap | CWBackPixel | CWBorderPixel, &attributes);
    XFree(visual);
    if (w->glChild == 0) {
        std::fprintf(stderr, "GLX: cannot create a window for the pixel format\n");
        return false;
    }
    XMapWindow(s.display, w->glChild);
    w->pixelFormat = format;
    return true;
}

HGLRC createContext(HWND window) {
    X11State& s = state();
    const X11Surface* w = findSurface(xidOf(window));
    if (w == nullptr || w->pixelFormat == 0) return nullptr;
    for (int i = 0; i < MAX_CONTEXTS; ++i) {
        if (s.contexts[i] != nullptr) continue;
        s.contexts[i] = glXCreateNewContext(s.display, s.configs[w->pixelFormat - 1], GLX_RGBA_TYPE, nullptr, True);
        if (s.contexts[i] == nullptr) {
            std::fprintf(stderr, "GLX: cannot create a rendering context\n");
            return nullptr;
        }
        return reinterpret_cast<HGLRC>(static_cast<std::uintptr_t>(i + 1));
    }
    return nullptr;
}

bool makeCurrent(HWND window, HGLRC context) {
    Display* d = state().display;
    if (d == nullptr) return false;
    if (context == nullptr) return glXMakeContextCurrent(d, None, None, nullptr);
    const Window drawable = drawableOf(window);
    const GLXContext glx = contextOf(context);
    if (drawable == 0 || glx == nullptr) return false;
    if (glXMakeContextCurrent(d, drawable, drawable, glx)) return true;
    std::fprintf(stderr, "GLX: cannot make the rendering context current\n");
    return false;
}

bool deleteContext(HGLRC context) {
    const GLXContext glx = contextOf(context);
    if (glx == nullptr) return false;
    glXDestroyContext(state().display, glx);
    state().contexts[reinterpret_cast<std::uintptr_t>(context) - 1] = nullptr;
    return true;
}

PROC procAddress(LPCSTR name) {
    if (state().display == nullptr) return nullptr;
    if (std::strcmp(name, "wglSwapIntervalEXT") == 0 &&
        (hasExtension("GLX_EXT_swap_control") || hasExtension("GLX_MESA_swap_control"))) {
        return reinterpret_cast<PROC>(reinterpret_cast<void (*)()>(&swapInterval));
    }
    return nullptr;
}

// The server's "fixed" font stands in for the system font a Windows DC has selected.
bool fontBitmaps(DWORD first, DWORD count, DWORD listBase) {
    Display* d = state().display;
    if (d == nullptr) return false;
    XFontStruct* font = XLoadQueryFont(d, "fixed");
    if (font == nullptr) return false;
    glXUseXFont(font->fid, static_cast<int>(first), static_cast<int>(count), static_cast<int>(listBase));
    // Mesa's lists give glyphs without pixels (the space) no advance, nor does a bitmap without
    // data in a list; one unset pixel with the font's width does.
    if (first <= ' ' && ' ' < first + count) {
        const XCharStruct* space = font->per_char != nullptr && ' ' >= font->min_char_or_byte2
                                       ? &font->per_char[' ' - font->min_char_or_byte2]
                                       : &font->max_bounds;
        glNewList(listBase + (' ' - first), GL_COMPILE);
        static const GLubyte unset = 0;
        glBitmap(1, 1, 0, 0, static_cast<GLfloat>(space->width), 0, &unset);
        glEndList();
    }
    XFreeFont(d, font);
    return true;
}

bool swapBuffers(HWND window) {
    const Window drawable = drawableOf(window);
    if (drawable == 0) return false;
    glXSwapBuffers(state().display, drawable);
    return true;
}

}  // namespace smokedrift::x11

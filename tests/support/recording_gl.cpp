#include "recording_gl.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <array>
#include <cmath>
#include <cstring>

namespace recgl {

namespace {

using Matrix = std::array<float, 16>;  // column-major, as OpenGL keeps it

constexpr Matrix identity() { return {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}; }

struct State {
    bool recording = true;
    std::vector<Call> calls;
    std::vector<Matrix> modelview{identity()};
    std::vector<Matrix> projection{identity()};
    std::vector<Matrix> texture{identity()};
    GLenum mode = GL_MODELVIEW;
    GLuint nextTexture = 1;
    GLuint nextList = 1;
    std::vector<unsigned char> upload;

    // Room for a real GL's stack depth, so pushing a matrix never allocates.
    State() {
        modelview.reserve(32);
        projection.reserve(4);
        texture.reserve(4);
    }
};

// Never destroyed: the engine's static textures delete their names at exit, after any ordinary
// static here would be gone.
State& state() {
    static State* s = new State;
    return *s;
}

std::vector<Matrix>& stack() {
    State& s = state();
    if (s.mode == GL_PROJECTION) return s.projection;
    if (s.mode == GL_TEXTURE) return s.texture;
    return s.modelview;
}

Matrix multiply(const Matrix& a, const Matrix& b) {
    Matrix r{};
    for (int c = 0; c < 4; ++c)
        for (int row = 0; row < 4; ++row) {
            double sum = 0;
            for (int k = 0; k < 4; ++k) sum += static_cast<double>(a[k * 4 + row]) * b[c * 4 + k];
            r[c * 4 + row] = static_cast<float>(sum);
        }
    return r;
}

void multiplyCurrent(const Matrix& m) { stack().back() = multiply(stack().back(), m); }

void multiplyCurrentD(const double* m) {
    Matrix f;
    for (int i = 0; i < 16; ++i) f[i] = static_cast<float>(m[i]);
    multiplyCurrent(f);
}

std::size_t bytesPerPixel(GLenum format) {
    switch (format) {
    case GL_RGBA: return 4;
    case GL_RGB: return 3;
    case GL_LUMINANCE_ALPHA: return 2;
    default: return 1;
    }
}

}  // namespace

const std::vector<Call>& calls() { return state().calls; }

void reset() {
    // Names stay unique across resets, as they would within one context.
    const GLuint texture = state().nextTexture, list = state().nextList;
    const bool recording = state().recording;
    state() = State{};
    state().nextTexture = texture;
    state().nextList = list;
    state().recording = recording;
}

std::vector<Call> callsNamed(const std::string& name) {
    std::vector<Call> out;
    for (const Call& c : state().calls)
        if (c.name == name) out.push_back(c);
    return out;
}

std::size_t count(const std::string& name) { return callsNamed(name).size(); }

std::vector<std::string> names() {
    std::vector<std::string> out;
    for (const Call& c : state().calls) out.push_back(c.name);
    return out;
}

const std::vector<unsigned char>& lastUpload() { return state().upload; }

void record(const char* name, std::initializer_list<double> args) {
    if (state().recording) state().calls.push_back({name, std::vector<double>(args)});
}

void record(const char* name, std::vector<double> args) {
    if (state().recording) state().calls.push_back({name, std::move(args)});
}

void setRecording(bool on) { state().recording = on; }

}  // namespace recgl

using recgl::record;

extern "C" {

// Primitives and vertex attributes.
void glBegin(GLenum mode) { record("glBegin", {double(mode)}); }
void glEnd() { record("glEnd", {}); }
void glVertex2f(GLfloat x, GLfloat y) { record("glVertex2f", {x, y}); }
void glVertex3f(GLfloat x, GLfloat y, GLfloat z) { record("glVertex3f", {x, y, z}); }
void glVertex3fv(const GLfloat* v) { record("glVertex3f", {v[0], v[1], v[2]}); }
void glTexCoord2d(GLdouble s, GLdouble t) { record("glTexCoord2d", {s, t}); }
void glTexCoord2f(GLfloat s, GLfloat t) { record("glTexCoord2f", {s, t}); }
void glColor3f(GLfloat r, GLfloat g, GLfloat b) { record("glColor3f", {r, g, b}); }
void glColor4f(GLfloat r, GLfloat g, GLfloat b, GLfloat a) { record("glColor4f", {r, g, b, a}); }
void glColor4fv(const GLfloat* v) { record("glColor4f", {v[0], v[1], v[2], v[3]}); }
void glNormal3f(GLfloat x, GLfloat y, GLfloat z) { record("glNormal3f", {x, y, z}); }

// State.
void glEnable(GLenum cap) { record("glEnable", {double(cap)}); }
void glDisable(GLenum cap) { record("glDisable", {double(cap)}); }
GLboolean glIsEnabled(GLenum cap) {
    record("glIsEnabled", {double(cap)});
    return GL_FALSE;
}
void glBlendFunc(GLenum s, GLenum d) { record("glBlendFunc", {double(s), double(d)}); }
void glDepthMask(GLboolean flag) { record("glDepthMask", {double(flag)}); }
void glDepthFunc(GLenum f) { record("glDepthFunc", {double(f)}); }
void glAlphaFunc(GLenum f, GLclampf ref) { record("glAlphaFunc", {double(f), ref}); }
void glClear(GLbitfield mask) { record("glClear", {double(mask)}); }
void glClearColor(GLclampf r, GLclampf g, GLclampf b, GLclampf a) { record("glClearColor", {r, g, b, a}); }
void glViewport(GLint x, GLint y, GLsizei w, GLsizei h) {
    record("glViewport", {double(x), double(y), double(w), double(h)});
}
void glLineWidth(GLfloat w) { record("glLineWidth", {w}); }
void glPointSize(GLfloat s) { record("glPointSize", {s}); }
void glCullFace(GLenum m) { record("glCullFace", {double(m)}); }
void glFrontFace(GLenum m) { record("glFrontFace", {double(m)}); }
void glShadeModel(GLenum m) { record("glShadeModel", {double(m)}); }
void glPolygonMode(GLenum f, GLenum m) { record("glPolygonMode", {double(f), double(m)}); }
void glHint(GLenum t, GLenum m) { record("glHint", {double(t), double(m)}); }
void glFinish() { record("glFinish", {}); }
void glFlush() { record("glFlush", {}); }
GLenum glGetError() { return GL_NO_ERROR; }

// Lighting, material and fog.
void glLightModeli(GLenum p, GLint v) { record("glLightModeli", {double(p), double(v)}); }
void glLightModelfv(GLenum p, const GLfloat* v) { record("glLightModelfv", {double(p), v[0], v[1], v[2], v[3]}); }
void glColorMaterial(GLenum f, GLenum m) { record("glColorMaterial", {double(f), double(m)}); }
void glMateriali(GLenum f, GLenum p, GLint v) { record("glMateriali", {double(f), double(p), double(v)}); }
void glMaterialf(GLenum f, GLenum p, GLfloat v) { record("glMaterialf", {double(f), double(p), v}); }
void glMaterialfv(GLenum f, GLenum p, const GLfloat* v) {
    if (p == GL_SHININESS) {
        record("glMaterialfv", {double(f), double(p), v[0]});
    } else {
        record("glMaterialfv", {double(f), double(p), v[0], v[1], v[2], v[3]});
    }
}
void glLightf(GLenum l, GLenum p, GLfloat v) { record("glLightf", {double(l), double(p), v}); }
void glLightfv(GLenum l, GLenum p, const GLfloat* v) {
    const int n = (p == GL_SPOT_DIRECTION) ? 3
                  : (p == GL_SPOT_EXPONENT || p == GL_SPOT_CUTOFF || p == GL_CONSTANT_ATTENUATION ||
                     p == GL_LINEAR_ATTENUATION || p == GL_QUADRATIC_ATTENUATION)
                      ? 1
                      : 4;
    std::vector<double> args{double(l), double(p)};
    for (int i = 0; i < n; ++i) args.push_back(v[i]);
    record("glLightfv", std::move(args));
}
void glFogi(GLenum p, GLint v) { record("glFogi", {double(p), double(v)}); }
void glFogf(GLenum p, GLfloat v) { record("glFogf", {double(p), v}); }
void glFogfv(GLenum p, const GLfloat* v) {
    if (p == GL_FOG_COLOR) {
        record("glFogfv", {double(p), v[0], v[1], v[2], v[3]});
    } else {
        record("glFogfv", {double(p), v[0]});
    }
}

// Matrices: recorded and carried out.
void glMatrixMode(GLenum m) {
    record("glMatrixMode", {double(m)});
    recgl::state().mode = m;
}
void glLoadIdentity() {
    record("glLoadIdentity", {});
    recgl::stack().back() = recgl::identity();
}
void glPushMatrix() {
    record("glPushMatrix", {});
    recgl::stack().push_back(recgl::stack().back());
}
void glPopMatrix() {
    record("glPopMatrix", {});
    if (recgl::stack().size() > 1) recgl::stack().pop_back();
}
void glLoadMatrixf(const GLfloat* m) {
    record("glLoadMatrixf", {});
    std::memcpy(recgl::stack().back().data(), m, sizeof(float) * 16);
}
void glMultMatrixf(const GLfloat* m) {
    record("glMultMatrixf", {});
    recgl::Matrix f;
    std::memcpy(f.data(), m, sizeof(float) * 16);
    recgl::multiplyCurrent(f);
}
void glTranslatef(GLfloat x, GLfloat y, GLfloat z) {
    record("glTranslatef", {x, y, z});
    recgl::multiplyCurrent({1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, x, y, z, 1});
}
void glScalef(GLfloat x, GLfloat y, GLfloat z) {
    record("glScalef", {x, y, z});
    recgl::multiplyCurrent({x, 0, 0, 0, 0, y, 0, 0, 0, 0, z, 0, 0, 0, 0, 1});
}
void glRotatef(GLfloat angle, GLfloat x, GLfloat y, GLfloat z) {
    record("glRotatef", {angle, x, y, z});
    const double len = std::sqrt(double(x) * x + double(y) * y + double(z) * z);
    if (len == 0) return;
    const double ux = x / len, uy = y / len, uz = z / len;
    const double a = angle * M_PI / 180.0, c = std::cos(a), s = std::sin(a), t = 1 - c;
    const double m[16] = {t * ux * ux + c,
                          t * ux * uy + s * uz,
                          t * ux * uz - s * uy,
                          0,
                          t * ux * uy - s * uz,
                          t * uy * uy + c,
                          t * uy * uz + s * ux,
                          0,
                          t * ux * uz + s * uy,
                          t * uy * uz - s * ux,
                          t * uz * uz + c,
                          0,
                          0,
                          0,
                          0,
                          1};
    recgl::multiplyCurrentD(m);
}
void glOrtho(GLdouble l, GLdouble r, GLdouble b, GLdouble t, GLdouble n, GLdouble f) {
    record("glOrtho", {l, r, b, t, n, f});
    const double m[16] = {2 / (r - l),
                          0,
                          0,
                          0,
                          0,
                          2 / (t - b),
                          0,
                          0,
                          0,
                          0,
                          -2 / (f - n),
                          0,
                          -(r + l) / (r - l),
                          -(t + b) / (t - b),
                          -(f + n) / (f - n),
                          1};
    recgl::multiplyCurrentD(m);
}
void glFrustum(GLdouble l, GLdouble r, GLdouble b, GLdouble t, GLdouble n, GLdouble f) {
    record("glFrustum", {l, r, b, t, n, f});
    const double m[16] = {2 * n / (r - l),
                          0,
                          0,
                          0,
                          0,
                          2 * n / (t - b),
                          0,
                          0,
                          (r + l) / (r - l),
                          (t + b) / (t - b),
                          -(f + n) / (f - n),
                          -1,
                          0,
                          0,
                          -2 * f * n / (f - n),
                          0};
    recgl::multiplyCurrentD(m);
}
void glGetFloatv(GLenum p, GLfloat* v) {
    record("glGetFloatv", {double(p)});
    const recgl::State& s = recgl::state();
    if (p == GL_MODELVIEW_MATRIX) std::memcpy(v, s.modelview.back().data(), sizeof(float) * 16);
    if (p == GL_PROJECTION_MATRIX) std::memcpy(v, s.projection.back().data(), sizeof(float) * 16);
}
void glGetIntegerv(GLenum p, GLint* v) {
    record("glGetIntegerv", {double(p)});
    *v = p == GL_MAX_TEXTURE_SIZE ? 16384 : 0;  // llvmpipe's
}
const GLubyte* glGetString(GLenum name) {
    record("glGetString", {double(name)});
    return reinterpret_cast<const GLubyte*>(name == GL_RENDERER ? "recording GL" : "smokedrift tests");
}
void glScissor(GLint x, GLint y, GLsizei w, GLsizei h) {
    record("glScissor", {double(x), double(y), double(w), double(h)});
}
void glPushAttrib(GLbitfield mask) { record("glPushAttrib", {double(mask)}); }
void glPopAttrib() { record("glPopAttrib", {}); }

// Textures.
void glGenTextures(GLsizei n, GLuint* names) {
    for (GLsizei i = 0; i < n; ++i) names[i] = recgl::state().nextTexture++;
    record("glGenTextures", {double(n), double(names[0])});
}
void glDeleteTextures(GLsizei n, const GLuint* names) { record("glDeleteTextures", {double(n), double(names[0])}); }
void glBindTexture(GLenum target, GLuint name) { record("glBindTexture", {double(target), double(name)}); }
void glTexParameteri(GLenum target, GLenum p, GLint v) {
    record("glTexParameteri", {double(target), double(p), double(v)});
}
void glTexEnvf(GLenum target, GLenum p, GLfloat v) { record("glTexEnvf", {double(target), double(p), v}); }
void glTexEnvi(GLenum target, GLenum p, GLint v) { record("glTexEnvi", {double(target), double(p), double(v)}); }
void glTexEnvfv(GLenum target, GLenum p, const GLfloat* v) {
    record("glTexEnvfv", {double(target), double(p), v[0], v[1], v[2], v[3]});
}
void glPixelStorei(GLenum p, GLint v) { record("glPixelStorei", {double(p), double(v)}); }
void glTexImage2D(GLenum target, GLint level, GLint internal, GLsizei w, GLsizei h, GLint border, GLenum format,
                  GLenum type, const GLvoid* pixels) {
    record("glTexImage2D", {double(target), double(level), double(internal), double(w), double(h), double(border),
                            double(format), double(type)});
    auto& up = recgl::state().upload;
    const std::size_t n = (w > 0 && h > 0) ? std::size_t(w) * h * recgl::bytesPerPixel(format) : 0;
    up.assign(n, 0);
    if (pixels != nullptr && n > 0) std::memcpy(up.data(), pixels, n);
}
void glTexSubImage2D(GLenum target, GLint level, GLint x, GLint y, GLsizei w, GLsizei h, GLenum format, GLenum type,
                     const GLvoid* pixels) {
    record("glTexSubImage2D",
           {double(target), double(level), double(x), double(y), double(w), double(h), double(format), double(type)});
    auto& up = recgl::state().upload;
    const std::size_t n = (w > 0 && h > 0) ? std::size_t(w) * h * recgl::bytesPerPixel(format) : 0;
    up.assign(n, 0);
    if (pixels != nullptr && n > 0) std::memcpy(up.data(), pixels, n);
}
void glCopyTexSubImage2D(GLenum target, GLint level, GLint xo, GLint yo, GLint x, GLint y, GLsizei w, GLsizei h) {
    record("glCopyTexSubImage2D",
           {double(target), double(level), double(xo), double(yo), double(x), double(y), double(w), double(h)});
}
void glCopyTexImage2D(GLenum target, GLint level, GLenum internal, GLint x, GLint y, GLsizei w, GLsizei h,
                      GLint border) {
    record("glCopyTexImage2D", {double(target), double(level), double(internal), double(x), double(y), double(w),
                                double(h), double(border)});
}
void glReadPixels(GLint x, GLint y, GLsizei w, GLsizei h, GLenum format, GLenum type, GLvoid*) {
    record("glReadPixels", {double(x), double(y), double(w), double(h), double(format), double(type)});
}
void glDrawPixels(GLsizei w, GLsizei h, GLenum format, GLenum type, const GLvoid*) {
    record("glDrawPixels", {double(w), double(h), double(format), double(type)});
}
void glRasterPos2i(GLint x, GLint y) { record("glRasterPos2i", {double(x), double(y)}); }
void glPixelZoom(GLfloat x, GLfloat y) { record("glPixelZoom", {x, y}); }
void glCopyPixels(GLint x, GLint y, GLsizei w, GLsizei h, GLenum type) {
    record("glCopyPixels", {double(x), double(y), double(w), double(h), double(type)});
}
void glListBase(GLuint base) { record("glListBase", {double(base)}); }
void glCallLists(GLsizei n, GLenum type, const GLvoid*) { record("glCallLists", {double(n), double(type)}); }

// Display lists.
GLuint glGenLists(GLsizei range) {
    const GLuint first = recgl::state().nextList;
    recgl::state().nextList += static_cast<GLuint>(range);
    record("glGenLists", {double(range), double(first)});
    return first;
}
void glNewList(GLuint list, GLenum mode) { record("glNewList", {double(list), double(mode)}); }
void glEndList() { record("glEndList", {}); }
void glCallList(GLuint list) { record("glCallList", {double(list)}); }
void glDeleteLists(GLuint list, GLsizei range) { record("glDeleteLists", {double(list), double(range)}); }

// GLU.
void gluPerspective(GLdouble fovy, GLdouble aspect, GLdouble n, GLdouble f) {
    record("gluPerspective", {fovy, aspect, n, f});
    const double t = 1.0 / std::tan(fovy * M_PI / 360.0);
    const double m[16] = {t / aspect, 0, 0, 0, 0, t, 0, 0, 0, 0, (f + n) / (n - f), -1, 0, 0, 2 * f * n / (n - f), 0};
    recgl::multiplyCurrentD(m);
}
void gluLookAt(GLdouble ex, GLdouble ey, GLdouble ez, GLdouble cx, GLdouble cy, GLdouble cz, GLdouble ux, GLdouble uy,
               GLdouble uz) {
    record("gluLookAt", {ex, ey, ez, cx, cy, cz, ux, uy, uz});
    double f[3] = {cx - ex, cy - ey, cz - ez};
    const double fl = std::sqrt(f[0] * f[0] + f[1] * f[1] + f[2] * f[2]);
    if (fl == 0) return;
    for (double& v : f) v /= fl;
    double s[3] = {f[1] * uz - f[2] * uy, f[2] * ux - f[0] * uz, f[0] * uy - f[1] * ux};
    const double sl = std::sqrt(s[0] * s[0] + s[1] * s[1] + s[2] * s[2]);
    if (sl == 0) return;
    for (double& v : s) v /= sl;
    const double u[3] = {s[1] * f[2] - s[2] * f[1], s[2] * f[0] - s[0] * f[2], s[0] * f[1] - s[1] * f[0]};
    const double m[16] = {s[0], u[0], -f[0], 0, s[1], u[1], -f[1], 0, s[2], u[2], -f[2], 0, 0, 0, 0, 1};
    recgl::multiplyCurrentD(m);
    const double tr[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, -ex, -ey, -ez, 1};
    recgl::multiplyCurrentD(tr);
}
GLint gluBuild2DMipmaps(GLenum target, GLint components, GLsizei w, GLsizei h, GLenum format, GLenum type,
                        const void*) {
    record("gluBuild2DMipmaps",
           {double(target), double(components), double(w), double(h), double(format), double(type)});
    return 0;
}

}  // extern "C"

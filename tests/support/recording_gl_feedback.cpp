// GL entry points the feedback effect needs beyond the common recording set.
#include <GL/gl.h>

#include "recording_gl.h"

extern "C" {

void glRecti(GLint x1, GLint y1, GLint x2, GLint y2) {
    recgl::record("glRecti", {double(x1), double(y1), double(x2), double(y2)});
}

}  // extern "C"

// Entry points the three-dimensional pass needs beyond the core recording GL.
#include <GL/gl.h>

#include "recording_gl.h"

extern "C" {

void glColor3d(GLdouble r, GLdouble g, GLdouble b) { recgl::record("glColor3d", {r, g, b}); }
void glVertex3d(GLdouble x, GLdouble y, GLdouble z) { recgl::record("glVertex3d", {x, y, z}); }

}  // extern "C"

#pragma once
// One place that pulls in the OpenGL 1.1 and GLU declarations for the engine.
#if defined(_WIN32)
#include <windows.h>
#endif
#include <GL/gl.h>
#include <GL/glu.h>

#pragma once
// The OpenGL rendering context on the saver window.
#include "platform/win32/win32_api.h"

namespace smokedrift {

// Double-buffered RGBA with an alpha channel: the sprites blend against destination alpha.
extern const PIXELFORMATDESCRIPTOR pixelFormatDescriptor;

// The format to set on the window: the system's choice, or, when that choice has no alpha bits,
// the closest listed format that has them (without destination alpha the sprites draw nothing).
int choosePixelFormatWithAlpha(HDC dc);

// Creates the context on the window and makes it current; false when there is none to be had
// (no OpenGL on this display), after which only releaseGraphics may follow.
bool initGraphics(HWND window, HDC& deviceContext, HGLRC& renderContext);
void releaseGraphics(HWND window, HDC deviceContext, HGLRC renderContext);

}  // namespace smokedrift

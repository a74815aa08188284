#pragma once
// The headless modes report what OpenGL refused instead of writing an empty picture.
#include <string>

namespace smokedrift {

// True when OpenGL recorded no error since the last check; else false with a one-line reason
// naming `what` and every error recorded.
bool noGlError(const char* what, std::string& error);

// The largest texture side the current context accepts.
int maxTextureSize();

}  // namespace smokedrift

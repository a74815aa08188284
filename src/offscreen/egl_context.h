#pragma once
#include <string>

namespace smokedrift {

// A headless OpenGL context (Mesa's surfaceless platform, an RGBA8 pbuffer with a depth buffer)
// made current on the calling thread for as long as the object lives.
class EglContext {
public:
    EglContext() = default;
    ~EglContext();
    EglContext(const EglContext&) = delete;
    EglContext& operator=(const EglContext&) = delete;

    // False with a one-line reason in `error` when no usable display, config or context exists.
    bool create(int width, int height, std::string& error);

private:
    void* display = nullptr;
    void* surface = nullptr;
    void* context = nullptr;
};

}  // namespace smokedrift

#pragma once
// The frame-rate display xscreensaver's hacks show with --fps: frames a second over the last
// second and the process's CPU load, in the lower-left corner, drawn after the scene. The frame
// buffer keeps each frame for the next one to fade, so the pixels under the text are kept before
// it is drawn and put back after the swap: the scene's trails go on as if the text were not there.
#include <cstdint>

namespace smokedrift {

class FpsOverlay {
public:
    static constexpr int FIRST_CHAR = 32;
    static constexpr int CHAR_COUNT = 96;
    static constexpr int BOX_WIDTH = 240;  // room for the text in the platform's fixed font
    static constexpr int BOX_HEIGHT = 20;

    FpsOverlay() = default;
    virtual ~FpsOverlay() = default;

    // The display lists of the characters 32 to 127, made by the platform's font service.
    void useGlyphs(unsigned listBase);
    // Once per drawn frame, with the clock's seconds and the process's CPU seconds so far.
    void countFrame(double seconds, double cpuSeconds);
    // After the scene's frame, before the swap.
    void draw(int windowWidth, int windowHeight);
    // After the swap: the scene's pixels back where the text was.
    void restore();

    char text[48] = "";

private:
    void selectWindowPixels() const;

    unsigned glyphs = 0;
    int frames = 0;
    double windowStart = -1;  // seconds at the start of the current second
    double cpuStart = 0;
    int boxWidth = 0, boxHeight = 0, windowW = 0, windowH = 0;
    bool saved = false;
    std::uint8_t under[BOX_WIDTH * BOX_HEIGHT * 4] = {};
};

}  // namespace smokedrift

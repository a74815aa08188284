#pragma once
// Drawing the frame smaller. The scene draws into a block of W/k × H/k pixels in the lower-left
// corner of the back buffer; the block is copied into a texture and drawn over the whole window
// with linear filtering: k² less fill, for a picture that is soft anyway. OpenGL 1.1 has no
// off-screen target and the scaled-up picture covers the block, so before the next frame the
// block is drawn back from the texture texel for pixel (each frame builds on the last, and the
// sprites read destination alpha, which the texture keeps).
//
// Features: divisors 1 to MAX_RENDER_SCALE; the divisor and the window's size may change between
// frames, and the picture so far is resampled into the new block, so the trails go on.
// Limits: the texture's sides are powers of two of at most GL_MAX_TEXTURE_SIZE (1024 on the
// Windows software renderer); a divisor that does not fit gives way to the next larger one that
// does, or to 1. At 1 nothing here makes a single OpenGL call.
#include "textures/texture.h"

namespace smokedrift {

constexpr int MAX_RENDER_SCALE = 4;

// A side of the block for a side of the window and divisor k: rounded up, so the block covers the
// whole window.
constexpr int drawnSide(int windowSide, int k) { return k <= 1 ? windowSide : (windowSide + k - 1) / k; }

// The texture's side for a side of the block: room for one texel of edge on each side (linear
// filtering at the block's edges reads one texel beyond them), rounded up to a power of two.
int scaleTextureSide(int drawnSide);

// Whether divisor k can draw a window of this size where a texture side is at most `maxTextureSide`.
bool scaleFits(int k, int width, int height, int maxTextureSide);

// The divisor drawn for a wanted one: k where it fits, else the next larger one that does, else 1.
int fittingScale(int k, int width, int height, int maxTextureSide);

class RenderScale {
public:
    RenderScale();
    virtual ~RenderScale() = default;

    // Before a frame, with the divisor wanted and the window's size. When either changed, the
    // picture so far goes over to the new block (or, back at 1, to the whole window); otherwise
    // the block is drawn back from the texture.
    void begin(int k, int width, int height);
    // After the scene: the block into the texture, then scaled up over the window. With an
    // `interrupted` question, it is asked once the scene is drawn and between bands of the
    // scaling up (each about `bandPixels` of the window); on true the frame stops there and end()
    // returns false. The texture then holds the last whole frame, or this one once copied, so the
    // next frame starts from a whole picture either way.
    bool end(bool (*interrupted)() = nullptr);
    // The feedback effect's capture while the frame is drawn smaller: the window's block
    // (0, 0, w, h), scaled up as the full-size frame holds it, becomes the image of `into`. False
    // when the window has no room beside the block to scale it up in (a tiny window); then the
    // caller copies as at full size.
    bool copyWindowBlock(Texture& into, int w, int h);
    // Deletes the texture; the context is still current.
    void release();

    int divisor() const { return current; }
    // Window pixels per band of an interruptible scaling up: about 2 ms of llvmpipe's filtering.
    int bandPixels = 1 << 19;
    // Drawn pixels per window pixel; 1 at divisor 1.
    float scaleX = 1;
    float scaleY = 1;

    Texture texture;  // the block between frames, one texel of edge around it

private:
    int fitting(int k, int w, int h);
    void change(int k, int w, int h);
    void drawBlock(float blockW, float blockH, int x, int y, int w, int h, int filter);

    int current = 1;
    int width = 0, height = 0;  // the window at the last begin()
    int drawnW = 0, drawnH = 0;
    int maxTextureSide = 0;     // asked once per context, when first needed
    bool holdsPicture = false;  // the texture holds the block of the frame before
};

}  // namespace smokedrift

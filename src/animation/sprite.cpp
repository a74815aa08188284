#include "animation/sprite.h"

#include <cmath>

#include "base/blend_mode.h"
#include "base/gl.h"
#include "base/random.h"
#include "base/textured_quad.h"

namespace smokedrift {

Sprite::Sprite() {
    // The oscillators (members) have drawn their values already; the order of the draws below
    // fixes which random number goes where, so the shipped scene starts the same on every run.
    x = 0;
    y = 0;
    scaleX = 1;
    scaleY = 1;
    angle = static_cast<float>(randomUpTo(360));
    const double sign = randomUpTo(2.0) < 1.0 ? 1.0 : -1.0;
    spin = static_cast<float>((randomUpTo(160) + 160) * sign);
    red = static_cast<float>(randomUpTo(0.9) + 0.1);
    green = static_cast<float>(randomUpTo(0.9) + 0.1);
    blue = static_cast<float>(randomUpTo(0.9) + 0.1);
    alpha = 1;
    size = 700;
    blendSource = 5;
    blendDest = 1;

    auto configure = [](Oscillator& o, double range, double base, double scale, double offset) {
        o.frequency = randomUpTo(range) + base;
        o.scale = scale;
        o.offset = offset;
    };
    configure(oscX, 0.6, 0.3, 600, -300);
    configure(oscY, 0.6, 0.3, 400, -200);
    configure(oscScaleX, 0.5, 0.3, 2, 0.3);
    configure(oscScaleY, 0.5, 0.3, 2, 0.3);
    configure(oscRed, 0.8, 0.4, 1, 0);
    configure(oscGreen, 0.8, 0.4, 1, 0);
    configure(oscBlue, 0.8, 0.4, 1, 0);
    configure(oscAlpha, 0.8, 0.4, 1, 0);
}

void Sprite::update(float step) {
    // Each oscillator is updated and read before the next one draws its random number.
    const double s = step;
    oscX.update(s);
    x = static_cast<float>(oscX.value());
    oscY.update(s);
    y = static_cast<float>(oscY.value());
    oscAlpha.update(s);
    alpha = static_cast<float>(oscAlpha.value());
    oscScaleX.update(s);
    scaleX = static_cast<float>(oscScaleX.value());
    oscScaleY.update(s);
    scaleY = static_cast<float>(oscScaleY.value());
    oscRed.update(s);
    red = static_cast<float>(oscRed.value());
    oscGreen.update(s);
    green = static_cast<float>(oscGreen.value());
    oscBlue.update(s);
    blue = static_cast<float>(oscBlue.value());
}

float advanceAngle(float angle, double delta) {
    double a = std::fmod(static_cast<double>(angle) + delta, 360.0);
    if (a < 0) a += 360.0;
    float result = static_cast<float>(a);
    if (result >= 360.0f) result = 0.0f;  // a tiny negative can round up to 360 as a float
    return result;
}

void Sprite::draw(float areaWidth, float areaHeight, float dt) {
    const float cx = areaWidth / 2;
    const float cy = areaHeight / 2;
    setBlendMode(blendSource, blendDest);
    // Premultiplied: with ONE_MINUS_DST_ALPHA, ONE the sprite adds light only where the frame
    // buffer is still transparent.
    glColor4f(red * alpha, green * alpha, blue * alpha, alpha);
    glPushMatrix();
    glTranslatef(cx + x, cy + y, 0);
    angle = advanceAngle(angle, static_cast<double>(spin * 0.02f * dt));
    glRotatef(angle, 0, 0, 1);
    glTranslatef(-0.5f * size * scaleX, -0.5f * size * scaleY, 0);
    drawTexturedQuad(0, 0, scaleX * size, scaleY * size);
    glPopMatrix();
}

}  // namespace smokedrift

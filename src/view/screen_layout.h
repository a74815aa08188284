#pragma once
#include "view/viewport.h"

namespace smokedrift {

constexpr int MAX_VIEWPORTS = 10;

// The window the saver draws into: its size, the viewport table, the letterbox band, the fade
// quad with which every frame begins, and the feedback effect's mode.
class ScreenLayout {
public:
    ScreenLayout();
    virtual ~ScreenLayout() = default;

    void setSize(float w, float h);
    void setFadeColor(float r, float g, float b, float a);
    void useViewport(int i);
    void beginOverlay(int i);
    void layoutViewports();
    void drawFade() const;

    float width = 100;
    float height = 100;
    float fadeAlpha = 1.0f;
    float left = 0, top = 100, right = 100, bottom = 0;
    float fadeColor[4] = {0, 0, 0, 1};
    float windowWidth = 100;
    float windowHeight = 100;
    float bandFraction = 0;
    int viewportCount = 1;
    int currentViewport = 0;
    int effectMode = 0;
    Viewport viewports[MAX_VIEWPORTS];
    // Drawn pixels per window pixel: below 1 while the frame is drawn smaller and scaled up
    // (RenderScale); viewports shrink by it, projections keep window units.
    float drawScaleX = 1;
    float drawScaleY = 1;
};

}  // namespace smokedrift

#pragma once
#include "textures/texture.h"
#include "view/render_scale.h"
#include "view/screen_layout.h"

namespace smokedrift {

// Room of the tile tables on each axis; the random choices use at most 60.
constexpr int MAX_TILES = 61;

// Tile motions of FeedbackEffect::pattern, applied in ascending order of the bits.
enum TileMotion : int {
    MOVE_X = 1,
    MOVE_Y = 2,
    MOVE_Z = 4,
    PUSH_LEFT = 8,
    PUSH_RIGHT = 16,
    PUSH_DOWN = 32,
    PUSH_UP = 64,
    PUSH_AWAY = 128,
    PUSH_NEAR = 256,
    SPIN_X = 512,
    SPIN_Y = 1024,
    SPIN_Z = 2048,
    SHRINK = 4096,
};

// Copies the picture drawn so far into a texture and draws it back as a grid of tiles that drift
// apart, tumble and shrink, or as a picture that scrolls. The layout's effectMode selects what the
// frame loop does with it: 1 captures every frame, 2 shows the tiles. The tile tables are members
// by value, so the one global effect keeps them in static storage.
class FeedbackEffect {
public:
    FeedbackEffect() = default;
    virtual ~FeedbackEffect() = default;

    // Centres the two-dimensional scene on the texture-sized block in the lower left corner.
    void fitLayoutToTexture();
    // Copies that block into the texture, paints it black and lays out a new grid of tiles.
    void capture();
    // Loads the perspective view of the picture plane and draws the tiles.
    void drawExploded(float dt);
    void drawTiles(float dt);
    void drawSlide(float dt);
    // The BLACK type at 256 × 256; the generator's result.
    int loadBlankTexture();

    int pattern = PUSH_AWAY;
    int tilesX = 1;
    int tilesY = 1;
    int nextPattern = 0;  // if not 0, the pattern of the next capture
    float slide = 0;      // 0 none, (0, 1] vertical scroll, above 1 horizontal scroll
    float slideScale = 1;
    float tileWidth = 0, tileHeight = 0;
    float halfTileWidth = 0, halfTileHeight = 0;
    float nextTiles = 0;  // if not 0, the tile count on both axes of the next capture
    float tileScale = 1;
    float motionSpeed = 1;
    ScreenLayout* layout = nullptr;  // not owned
    RenderScale* scale = nullptr;    // not owned; null or at divisor 1, captures copy the frame as it is
    Texture texture;
    float tileX[MAX_TILES][MAX_TILES] = {};
    float tileY[MAX_TILES][MAX_TILES] = {};
    float tileZ[MAX_TILES][MAX_TILES] = {};
    float tileVelX[MAX_TILES][MAX_TILES] = {};
    float tileVelY[MAX_TILES][MAX_TILES] = {};
    float tileVelZ[MAX_TILES][MAX_TILES] = {};
    float tileAngleX[MAX_TILES][MAX_TILES] = {};
    float tileSpinX[MAX_TILES][MAX_TILES] = {};
    float tileAngleY[MAX_TILES][MAX_TILES] = {};
    float tileSpinY[MAX_TILES][MAX_TILES] = {};
    float tileAngleZ[MAX_TILES][MAX_TILES] = {};
    float tileSpinZ[MAX_TILES][MAX_TILES] = {};

private:
    void copyBlock();
    void chooseTileCounts(float r);
    int choosePattern();
    void layOutTiles(float ratio);
    void moveTile(int i, int j, float s);
};

}  // namespace smokedrift

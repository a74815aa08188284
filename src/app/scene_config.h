#pragma once

namespace smokedrift {

// Once per saver window, with the context current: sizes the layout to the window, configures
// the scene and draws the first fade.
void initScene(int width, int height);

// Writes every tunable value of the scene, in a fixed order, and builds what needs a context.
void configureScene();

}  // namespace smokedrift

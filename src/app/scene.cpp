#include "app/scene.h"

#include <new>

#include "base/random.h"

namespace smokedrift {

Scene scene;

void Scene::resize(int width, int height) {
    pendingWidth = width < 0 ? 0 : width;
    pendingHeight = height < 0 ? 0 : height;
}

void Scene::applyPendingSize() {
    if (pendingWidth < 0) return;
    const float w = static_cast<float>(pendingWidth);
    const float h = static_cast<float>(pendingHeight);
    pendingWidth = pendingHeight = -1;
    if (w == screenLayout.windowWidth && h == screenLayout.windowHeight) return;
    // The bands, the fade and the sprite field are laid out from the layout's size every frame.
    screenLayout.setSize(w, h);
}

void Scene::release() {
    for (Texture& t : textures) t.release();
    feedbackEffect.texture.release();
    renderScale.release();
    starField.release();
}

void renewScene(Scene& s) {
    for (Texture& t : s.textures) t.glName = 0;
    s.feedbackEffect.texture.glName = 0;
    s.renderScale.texture.glName = 0;
    s.starField.displayList = 0;
    s.~Scene();
    resetRandom();
    resetTextureState();
    ::new (&s) Scene();
}

}  // namespace smokedrift

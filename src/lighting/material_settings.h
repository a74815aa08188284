#pragma once
#include "lighting/light.h"

namespace smokedrift {

// Intensity factors, spot parameters, shininess and a colour; apply() combines the colour with
// a light's colour into the global ambient, the light's three terms and the material specular.
// The material's ambient and diffuse follow the current colour (colour material is on).
class MaterialSettings {
public:
    MaterialSettings() = default;
    virtual ~MaterialSettings() = default;

    void setIntensities(float ambient_, float diffuse_, float specular_, float materialSpecular_);  // sends nothing
    void apply(const Light& light) const;

    float ambient = 0.25f;
    float diffuse = 0.5f;
    float specular = 0.75f;
    float materialSpecular = 0.99f;
    float spotExponent = 1.0f;
    float spotCutoff = 180.0f;  // 180: no spot cone
    int shininess = 20;
    ColorRBG color;
};

}  // namespace smokedrift

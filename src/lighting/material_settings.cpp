#include "lighting/material_settings.h"

#include "base/gl.h"

namespace smokedrift {

void MaterialSettings::setIntensities(float ambient_, float diffuse_, float specular_, float materialSpecular_) {
    ambient = ambient_;
    diffuse = diffuse_;
    specular = specular_;
    materialSpecular = materialSpecular_;
}

void MaterialSettings::apply(const Light& light) const {
    const GLenum l = light.glLight();
    if (l == 0) return;
    const float red = color.red * light.color.red;
    const float green = color.green * light.color.green;
    const float blue = color.blue * light.color.blue;
    const float ta[4] = {ambient * red, ambient * green, ambient * blue, 1.0f};
    const float td[4] = {diffuse * red, diffuse * green, diffuse * blue, 1.0f};
    const float ts[4] = {specular * red, specular * green, specular * blue, 1.0f};
    const float tm[4] = {materialSpecular * red, materialSpecular * green, materialSpecular * blue, 1.0f};
    glLightModelfv(GL_LIGHT_MODEL_AMBIENT, ta);
    glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, tm);
    glLightfv(l, GL_AMBIENT, ta);
    glLightfv(l, GL_DIFFUSE, td);
    glLightfv(l, GL_SPECULAR, ts);
    glLightf(l, GL_SPOT_EXPONENT, spotExponent);
    glLightf(l, GL_SPOT_CUTOFF, spotCutoff);
    glMateriali(GL_FRONT_AND_BACK, GL_SHININESS, shininess);
}

}  // namespace smokedrift

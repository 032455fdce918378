// A software preview of models: orthographic, z-buffered, textured and flat-lit frames drawn
// into a picture, so the art can be looked at without the engine. Faces seen from behind are
// drawn magenta: on a closed, correctly wound mesh none of them can show.
#pragma once

#include <vector>

#include "asset/images/image_write.h"
#include "asset/models/model_md2.h"

namespace tam::asset {

struct PreviewModel {
    const Md2View* view;
    const Picture* skin;
};

struct PreviewCamera {
    float azimuth = 30;    // degrees about Z from +X (the models face +X)
    float elevation = 20;  // degrees above the horizon
    float unitsAcross = 100;
    float centreZ = 2;
};

// Draws `frame` of each model into a cell of `pic` with its top-left corner at (x0, y0).
void DrawPreview(Picture& pic, int x0, int y0, int cell, const std::vector<PreviewModel>& models,
                 int frame, const PreviewCamera& cam);

}  // namespace tam::asset

// Placeholder: the skybox is being written.
#include "render/skybox.h"

namespace tam {

bool TSkyBox::SetTextures(uint32_t, uint32_t, uint32_t, uint32_t, uint32_t, uint32_t) { return false; }
void TSkyBox::SetSize(float) {}
void TSkyBox::Draw(float, float, float) const {}

}  // namespace tam

// Placeholder: the texture registry is being written.
#include "images/texture.h"

namespace tam {

CTexture::CTexture(uint32_t name, std::string fileName) : name_(name), fileName_(std::move(fileName)) {}
CTexture::~CTexture() = default;
TextureState& Tex() {
    static TextureState t;
    return t;
}
void ResetTextures() { Tex() = TextureState{}; }
uint32_t LoadTexture(std::string_view) { return 0; }
bool LoadDefaultTextures() { return true; }

}  // namespace tam

// Placeholder: the MD2 model is being written.
#include "models/md2.h"

namespace tam {

CMD2Model::CMD2Model() {}
bool CMD2Model::LoadMd2(const std::string&) { return false; }
bool CMD2Model::LoadMd2(std::span<const uint8_t>) { return false; }
bool CMD2Model::SetSkin(const std::string&) { return false; }
void CMD2Model::SelectAnimation(int) {}
void CMD2Model::Advance(float) {}
void CMD2Model::Draw(float) {}

}  // namespace tam

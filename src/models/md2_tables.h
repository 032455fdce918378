// The MD2 format's lookup tables: the 162 vertex normals in the format's order, and the shade
// factors per light-angle row and normal index.
#pragma once

namespace tam {

inline constexpr int kNormalCount = 162;
extern const float NormalTable[kNormalCount][3];
extern const float ShadeTable[16][256];

}  // namespace tam

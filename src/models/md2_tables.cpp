// Placeholder: the MD2 normal and shade tables are being written.
#include "models/md2_tables.h"

namespace tam {

const float NormalTable[kNormalCount][3] = {};
const float ShadeTable[16][256] = {};

}  // namespace tam

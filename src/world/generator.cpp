// Placeholder: the island generator is being written.
#include "world/map.h"

namespace tam {

bool CreateMap() { return true; }

}  // namespace tam

// The program's own pseudo-random source: a 32-bit linear congruential generator kept in
// WorldState. It is never seeded, so every run draws the same sequence (spawn points, islands).
#include "world/map.h"

namespace tam {

int32_t RandomDraw() {
    uint32_t& s = World().rngState;
    s = s * 1103515245u + 12345u;
    return static_cast<int32_t>((s >> 16) & 0x7FFFu);  // 0..32767
}

int32_t RandomBelow(int32_t n) {
    if (n == 0) return 0;
    return RandomDraw() % n;  // remainder of a signed division: 0..|n|-1
}

}  // namespace tam

// Placeholder: the map loader, drawing and fog are being written.
#include "world/map.h"

namespace tam {

WorldState& World() {
    static WorldState w;
    return w;
}
void ResetWorld() { World() = WorldState{}; }
int32_t RandomDraw() { return 0; }
int32_t RandomBelow(int32_t) { return 0; }
bool ParseMap(std::span<const uint8_t>, MapState&) { return false; }
bool LoadMap(const std::string&) { return false; }
void DrawMap(float) {}
void FogSetup() {}
void FogOn() {}
void FogOff() {}
void FogMode(int) {}
void FogDensity(float) {}

}  // namespace tam

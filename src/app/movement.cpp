// Placeholder: spawning and the movement step are being written.
#include "app/players.h"

namespace tam {

void SpawnPlayer(int) {}
void MovePlayer(int, float) {}

}  // namespace tam

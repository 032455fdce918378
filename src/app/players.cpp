// The player table's one instance.
#include "app/players.h"

namespace tam {

PlayerTable& Plr() {
    static PlayerTable table;
    return table;
}

void ResetPlayers() { Plr() = PlayerTable{}; }

}  // namespace tam

// The tamberlo executable.
#include "app/app.h"

int main() { return 0; }

// The saved-game tests stand on the same small headless world as the world tests.
#include "../world/world_fixture.cpp"

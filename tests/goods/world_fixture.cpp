// The goods screens draw over the world: they share the world tests' small headless world.
#include "../world/world_fixture.cpp"

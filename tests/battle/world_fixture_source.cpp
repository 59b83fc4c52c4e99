// The world tests' headless fixture, built into this program too: fights are drawn on the
// same small painted world.
#include "../world/world_fixture.cpp"

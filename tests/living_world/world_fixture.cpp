// The small headless world of the world tests, shared rather than copied.
#include "../world/world_fixture.cpp"

// What CTRL or ENTER does in the world: chests, talks, shops and the city encounter.
#pragma once

void Interact();

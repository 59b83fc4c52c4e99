// Where an installed game keeps its data set: beside the program, in the share folder of the
// prefix it was installed into (/usr/games/tamsel reads /usr/share/games/tamsel), so a copy
// installed under any prefix finds its own data wherever it is started from.
#pragma once

#include <string>

namespace platform {

// The data folder of the installed game, or empty when the program does not run from an
// installed tree (no folder with pic/ there).
std::string InstalledDataDirectory();

// The same, for a program file at the given path (for tests).
std::string InstalledDataDirectoryFor(const std::string& programPath);

}  // namespace platform

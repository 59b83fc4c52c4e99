// The player's folders as the desktop names them: the home folder, the configuration folder
// and the pictures folder.
#pragma once

#include <string>

namespace platform {

// $HOME, else the home folder of the user's account entry, else ".".
std::string HomeDirectory();

// The folder an XDG base-directory variable names (XDG_CONFIG_HOME, XDG_DATA_HOME, …) when it
// is set to an absolute path, else HOME/fallbackUnderHome (".config", ".local/share").
std::string XdgBaseDirectory(const char* variable, const char* fallbackUnderHome);

// Where screenshots go: $XDG_PICTURES_DIR, else the XDG_PICTURES_DIR line of the desktop's
// user-dirs.dirs file, else ~/Pictures.
std::string PicturesDirectory();

// The value of a KEY="VALUE" line of a user-dirs.dirs file, with "$HOME" expanded; empty when
// the key is missing or its value is not an absolute path.
std::string UserDirsValue(const std::string& fileText, const std::string& key,
                          const std::string& home);

}  // namespace platform

#pragma once
// The program's folders under the user's XDG base folders, made when missing. Both
// end with "/"; paths are Windows-1252 like all the program's text.
#include <string>

namespace quorrel {

// $XDG_CONFIG_HOME/Quorrel/ (else ~/.config/Quorrel/): the registry stand-in.
std::string UserConfigFolder();
// $XDG_DATA_HOME/Quorrel/ (else ~/.local/share/Quorrel/): files the user makes,
// such as the words added to the speller.
std::string UserDataFolder();

}  // namespace quorrel

#pragma once

#include <string>

namespace tallyflow {

// The home directory as GLib finds it: $HOME, else the password database;
// empty without either.
std::string HomeDirectory();

// Under root, who owns the nearest existing folder of `dir` when that is
// another user (a home reached through sudo -E): a name, or "uid N" for one
// the password database does not know. Empty otherwise.
std::string ForeignOwner(const std::string &dir);

} // namespace tallyflow

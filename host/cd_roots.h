// The CD roots a game is looked for on: every mounted iso9660 or udf file
// system, in mount order, then the folders named in $KVR_CDROM (a copied
// disc), separated by ':'.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// The roots from a mount table in /proc/mounts form and a $KVR_CDROM value
// (null when unset). Each root ends with '/'.
std::vector<std::string> Cd_Roots_From(std::string_view mount_table, const char* cdrom_env);

// The roots of this machine now.
std::vector<std::string> Cd_Roots();

// The settings model as one JSON object, for autorun --dump-settings: every
// key of every section under the file's own key names (without their
// index), values as read; strings converted from Windows-1252 to UTF-8.
#pragma once

#include <string>

#include "autorun/settings.h"

std::string Settings_Json(const CAutorunSettings& settings, const std::string& launcher_dir);

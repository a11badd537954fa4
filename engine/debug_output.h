// The engine's debug output: loader errors and unknown plug-in names, one line
// at a time. Silent unless a sink is set (kvr_viewer sets stderr when
// tracing is on; tools print it; tests collect it).
#pragma once

#include <functional>
#include <string_view>

using DebugSink = std::function<void(std::string_view line)>;

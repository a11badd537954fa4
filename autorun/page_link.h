// Page links that run buttons: a link whose URL has the scheme "rw:" names
// a button of the settings; following it runs that button instead of
// navigating.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "autorun/settings.h"

// The button name of a link as the web view reports its URL (UTF-8);
// nothing when the URL does not start with "rw:" (any case). The web view
// percent-encodes the characters outside ASCII (as UTF-8, upper-case hex)
// and blanks after a '#'; those codes are undone first, so the name is the
// one the page wrote. Then every "%20" becomes a blank and the scheme is
// dropped. The name is returned in Windows-1252, as the settings hold names;
// a character it has no code for becomes '?'.
std::optional<std::string> Link_Button_Name(std::string_view uri);

// The first button of that Name, ignoring ASCII case; null when none.
const CButtonData* Find_Button(const std::vector<CButtonData>& buttons, const std::string& name);

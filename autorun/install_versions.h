// Versions of the program that opens a file type, for install entries due
// only when that program is missing or older than a version.
#pragma once

#include <string>

// 0 when equal, 1 when a is newer, 2 when a is older. Each text gives four
// 16-bit components separated by '.' (missing ones 0, beyond four ignored);
// every character adds a decimal digit, a non-digit counting as 0, and a
// component wraps at 65536.
int CompareVersions(const std::string& a, const std::string& b);

// The version of a program, "%hu.%02hu" (short) or "%hu.%hu.%hu.%hu" from
// four 16-bit parts. Native programs carry no version resource; their
// version is the one of the Debian package that installed the file, as
// dpkg's database in `dpkg_dir` records it: the epoch dropped, the upstream
// version up to its first character that is neither a digit nor '.', its
// first four parts. A file no installed package holds (a program in
// /usr/local, a script on the disc) has no version, and an install entry
// that asks for a minimum viewer version is then due, as the rule is for
// any viewer whose version cannot be read.
bool GetFileVersionText(const std::string& file, bool short_form, std::string& text,
                        const std::string& dpkg_dir = "/var/lib/dpkg");

// The program the desktop opens files of that extension with: an empty
// probe file "xyzyxz123123.<extension>" is made in the temporary folder, its
// default application asked of GIO, and the probe removed. `path` is the
// application's executable as an absolute path.
bool FindViewer(const std::string& extension, std::string& path);

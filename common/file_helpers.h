#pragma once

#include <string>
#include <string_view>

namespace morvane::common {

// Paths: "/" separates folders and a leading "/" makes a path absolute. Paths read from
// maps written on Windows are understood too: "\" separates as well, and a drive path
// ("C:\maps\a.gif") counts as absolute.

// True for an existing file that is not a folder; false for anything else, never throws.
bool FileExists(std::string_view path);
// True for an existing folder.
bool DirExists(std::string_view path);

// path taken relative to base (a folder when it ends with a separator, else a file whose
// folder is meant). An absolute path or a drive path comes back as it is. "." steps are
// dropped and each ".." goes one folder up, never above the root (or the start of a
// relative base). A path that begins with "\" (the old platform's drive root) is taken
// inside base. Parts are joined with base's own separator.
std::string ResolveRelativePath(std::string_view path, std::string_view base);

// Splits path into its drive ("/" for an absolute path, "C:\" for a drive path, else
// ""), folder ("dir/sub/"), name and extension (".gif"), after checking it against the
// naming rules of level: 0 short names (8.3, and none of the blank and "[],;=+"), 1 long
// names (none of |:<>"*?), 2 or more only what no file name may hold (NUL). A path that
// breaks the rules gives "" and touches no output. At level 1 the name keeps its
// extension. The result: the one part of folder, name and extension asked for when
// exactly one is and the drive is not; the drive when none of the three is; else the
// path unchanged.
std::string SplitFileName(std::string_view path, std::string* drive = nullptr,
                          std::string* folder = nullptr, std::string* name = nullptr,
                          std::string* extension = nullptr, int level = 0);

// An existing folder to start a file dialog in: the folder of folderOrPath (a text that
// ends with a separator is a folder itself) when it exists, else fallback when that is
// an existing folder, else the user's home folder. Folders come back with a trailing
// separator.
std::string ValidFolderOrDefault(std::string_view folderOrPath, std::string_view fallback);

}  // namespace morvane::common

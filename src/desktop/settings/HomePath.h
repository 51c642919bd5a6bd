#pragma once

#include <string>
#include <string_view>

namespace pelliwig {

// `path` with the home folder written as "~": the home folder itself is "~",
// anything inside it "~/…". Other paths, and any path when there is no usable
// home (empty or "/"), come back unchanged. A folder whose name merely starts
// like the home folder ("/home/al" and "/home/alice") is not inside it.
std::string abbreviateHome(std::string_view path, std::string_view home);

// The user's home folder in the file system's encoding.
std::string homeFolder();

// `path` as the settings show it: the home folder written as "~".
std::string shownPath(std::string_view path);

}  // namespace pelliwig

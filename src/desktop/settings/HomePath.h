#pragma once

#include <string>
#include <string_view>

namespace pelliwig {

// `path` with the home folder written as "~": the home folder itself is "~",
// anything inside it "~/…". Other paths, and any path when there is no usable
// home (empty or "/"), come back unchanged. A folder whose name merely starts
// like the home folder ("/home/al" and "/home/alice") is not inside it.
std::string abbreviateHome(std::string_view path, std::string_view home);

}  // namespace pelliwig

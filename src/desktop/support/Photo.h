#pragma once

#include <string>
#include <string_view>

#include <QImage>
#include <QSize>

namespace pelliwig::Photo {

// Whether an image decoder for the file extension (without the dot, any
// case) is installed; HEIC and WebP need optional Qt image plug-ins.
bool canDecode(std::string_view extension);

// The picture at `path`, turned upright, scaled to cover `size` and cropped
// to it around its centre; a null image when it cannot be read.
QImage loadFilling(const std::string& path, QSize size);

}  // namespace pelliwig::Photo

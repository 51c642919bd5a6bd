#pragma once

#include <string>

#include <QImage>
#include <QSize>

namespace pelliwig::Photo {

// The picture at `path`, turned upright, scaled to cover `size` and cropped
// to it around its centre; a null image when it cannot be read.
QImage loadFilling(const std::string& path, QSize size);

}  // namespace pelliwig::Photo

// The painters of every picture the game loads. Each returns the finished image; main
// decides file names and formats.
#pragma once

#include "Image.h"

namespace assetgen {

Image paintDuckTexture();
Image paintGrassTexture();
Image paintBlackboardTexture();
// The duck badge icon, size x size pixels with a transparent background.
Image paintIcon(int size);

}  // namespace assetgen

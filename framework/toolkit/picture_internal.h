// What the toolkit's controls need of a Picture.
#pragma once

#include "framework/runtime/runtime.h"

class QImage;

// The picture's image (borrowed; it lives as long as the picture), or nil for nil.
const QImage* ToolkitPictureImage(Object* picture);

// Pictures, opened from the application's resource folder.
#pragma once

#include "framework/runtime/runtime.h"

struct Picture {
    static ClassRecord* dunder_Lookup();
    static void dunder_ctblinit();
};

// Picture._OpenFromApp: the picture in the named file of the application's resource folder
// (a new reference), or nil when the file is missing or is not a picture.
// The folder: "resources" beside the executable in the build tree, and
// "<prefix>/share/corvane-conversion" once installed (the executable in "<prefix>/bin").
Ref<Object> PictureOpenFromApp(String fileName);
// Width and height in pixels.
int64_t RuntimePictureWidth(Object* picture);
int64_t RuntimePictureHeight(Object* picture);

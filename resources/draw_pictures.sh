#!/bin/sh
# Rebuilds resources/Checks.png, resources/corvane.png and resources/corvane2.png
# from draw_pictures.cpp. Not part of the regular build.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
bin=/tmp/corvane_draw_pictures
g++ -std=c++20 -fPIC -O1 -o "$bin" "$here/draw_pictures.cpp" $(pkg-config --cflags --libs Qt6Gui)
QT_QPA_PLATFORM=offscreen "$bin" "$here"

// The window's size in pixels: the window, the overlays and the boards all lay out on it.
#pragma once

constexpr int WindowWidth = 1000;
constexpr int WindowHeight = 480;

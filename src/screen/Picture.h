// The designed 1000 x 480 picture in a window of any size: drawn as always into a picture
// of that size, then scaled whole into the largest centred rectangle of the same shape,
// with black bars around it. At exactly 1000 x 480 the picture is drawn straight to the
// window, as it always was.
#pragma once

#include <SDL2/SDL.h>
#include <string>

// Where the picture goes in a drawable of the given size, in pixels, origin bottom-left
// (as glViewport and glBlitFramebuffer count).
struct PictureRect {
    int x = 0, y = 0, width = 0, height = 0;
};
PictureRect fitPicture(int drawableWidth, int drawableHeight, int pictureWidth, int pictureHeight);

// Between the window's desktop fullscreen and its windowed size; true when fullscreen now.
bool toggleFullscreen(SDL_Window* window);

class ScaledPicture {
public:
    ScaledPicture(int width, int height) : width_(width), height_(height) {}
    // Before a pass draws: the target the pass draws into, with its viewport.
    void begin(SDL_Window* window);
    // Before the swap: the picture, scaled, into the window's back buffer.
    void present();
    // Whether the last pass drew into the offscreen picture.
    bool scaling() const { return scaling_; }

private:
    bool prepare(std::string& why);
    int width_, height_;
    int drawableWidth_ = 0, drawableHeight_ = 0;
    bool scaling_ = false;
    bool failed_ = false;  // said once why; then drawn unscaled in the corner
    unsigned framebuffer_ = 0, colour_ = 0, depth_ = 0;
};

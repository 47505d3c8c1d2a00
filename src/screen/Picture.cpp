// GL 3.0's framebuffer objects hold the picture; the blit scales it with linear filtering.
#include "screen/Picture.h"

#include <GL/gl.h>
#include <GL/glext.h>
#include <cstdio>

namespace {
PFNGLGENFRAMEBUFFERSPROC genFramebuffers = nullptr;
PFNGLBINDFRAMEBUFFERPROC bindFramebuffer = nullptr;
PFNGLGENRENDERBUFFERSPROC genRenderbuffers = nullptr;
PFNGLBINDRENDERBUFFERPROC bindRenderbuffer = nullptr;
PFNGLRENDERBUFFERSTORAGEPROC renderbufferStorage = nullptr;
PFNGLFRAMEBUFFERRENDERBUFFERPROC framebufferRenderbuffer = nullptr;
PFNGLCHECKFRAMEBUFFERSTATUSPROC checkFramebufferStatus = nullptr;
PFNGLBLITFRAMEBUFFERPROC blitFramebuffer = nullptr;

template <typename F>
bool load(F& function, const char* name) {
    function = reinterpret_cast<F>(SDL_GL_GetProcAddress(name));
    return function != nullptr;
}
}  // namespace

PictureRect fitPicture(int drawableWidth, int drawableHeight, int pictureWidth, int pictureHeight) {
    if (drawableWidth <= 0 || drawableHeight <= 0 || pictureWidth <= 0 || pictureHeight <= 0) return {};
    // Compare the two shapes in integers: the wider drawable gets bars left and right.
    PictureRect rect;
    if (static_cast<long long>(drawableWidth) * pictureHeight > static_cast<long long>(drawableHeight) * pictureWidth) {
        rect.height = drawableHeight;
        rect.width = static_cast<int>(static_cast<long long>(drawableHeight) * pictureWidth / pictureHeight);
    } else {
        rect.width = drawableWidth;
        rect.height = static_cast<int>(static_cast<long long>(drawableWidth) * pictureHeight / pictureWidth);
    }
    rect.x = (drawableWidth - rect.width) / 2;
    rect.y = (drawableHeight - rect.height) / 2;
    return rect;
}

bool toggleFullscreen(SDL_Window* window) {
    if (window == nullptr) return false;
    const bool fullscreen = (SDL_GetWindowFlags(window) & SDL_WINDOW_FULLSCREEN) == 0;
    if (SDL_SetWindowFullscreen(window, fullscreen ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0) != 0) {
        std::fprintf(stderr, "Larkmere: cannot %s fullscreen: %s\n", fullscreen ? "switch to" : "leave", SDL_GetError());
        return !fullscreen;
    }
    return fullscreen;
}

bool ScaledPicture::prepare(std::string& why) {
    if (framebuffer_ != 0) return true;
    if (!load(genFramebuffers, "glGenFramebuffers") || !load(bindFramebuffer, "glBindFramebuffer") ||
        !load(genRenderbuffers, "glGenRenderbuffers") || !load(bindRenderbuffer, "glBindRenderbuffer") ||
        !load(renderbufferStorage, "glRenderbufferStorage") || !load(framebufferRenderbuffer, "glFramebufferRenderbuffer") ||
        !load(checkFramebufferStatus, "glCheckFramebufferStatus") || !load(blitFramebuffer, "glBlitFramebuffer")) {
        why = "the OpenGL driver has no framebuffer objects";
        return false;
    }
    GLuint buffers[2] = {};
    genRenderbuffers(2, buffers);
    colour_ = buffers[0];
    depth_ = buffers[1];
    bindRenderbuffer(GL_RENDERBUFFER, colour_);
    renderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, width_, height_);
    bindRenderbuffer(GL_RENDERBUFFER, depth_);
    renderbufferStorage(GL_RENDERBUFFER, GL_DEPTH_COMPONENT24, width_, height_);
    bindRenderbuffer(GL_RENDERBUFFER, 0);
    GLuint framebuffer = 0;
    genFramebuffers(1, &framebuffer);
    framebuffer_ = framebuffer;
    bindFramebuffer(GL_FRAMEBUFFER, framebuffer_);
    framebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, colour_);
    framebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, depth_);
    const GLenum status = checkFramebufferStatus(GL_FRAMEBUFFER);
    bindFramebuffer(GL_FRAMEBUFFER, 0);
    if (status != GL_FRAMEBUFFER_COMPLETE) {
        why = "the OpenGL driver cannot draw into an offscreen picture";
        return false;
    }
    return true;
}

void ScaledPicture::begin(SDL_Window* window) {
    SDL_GL_GetDrawableSize(window, &drawableWidth_, &drawableHeight_);
    scaling_ = !failed_ && (drawableWidth_ != width_ || drawableHeight_ != height_);
    if (scaling_) {
        std::string why;
        if (!prepare(why)) {
            std::fprintf(stderr, "Larkmere: cannot scale the picture to a %d x %d window: %s; drawn at %d x %d\n",
                         drawableWidth_, drawableHeight_, why.c_str(), width_, height_);
            failed_ = true;
            scaling_ = false;
        } else {
            bindFramebuffer(GL_FRAMEBUFFER, framebuffer_);
        }
    }
    // The window's own viewport follows its size only at the first context switch.
    glViewport(0, 0, width_, height_);
}

void ScaledPicture::present() {
    if (!scaling_) return;
    const PictureRect to = fitPicture(drawableWidth_, drawableHeight_, width_, height_);
    bindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
    glViewport(0, 0, drawableWidth_, drawableHeight_);
    // The bars: a clear of the whole window, whatever the pass left in its clear colour.
    GLfloat clearColour[4];
    glGetFloatv(GL_COLOR_CLEAR_VALUE, clearColour);
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    glClearColor(clearColour[0], clearColour[1], clearColour[2], clearColour[3]);
    blitFramebuffer(0, 0, width_, height_, to.x, to.y, to.x + to.width, to.y + to.height, GL_COLOR_BUFFER_BIT, GL_LINEAR);
    bindFramebuffer(GL_FRAMEBUFFER, 0);
}

// SDL's game controller layer: its built-in mappings and SDL_GAMECONTROLLERCONFIG give every
// known pad the same buttons and axes.
#include "pad/Gamepads.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace {
Sint16 stronger(Sint16 a, Sint16 b) { return std::abs(static_cast<int>(b)) > std::abs(static_cast<int>(a)) ? b : a; }
}  // namespace

Gamepads::~Gamepads() {
    for (SDL_GameController* pad : pads_) SDL_GameControllerClose(pad);
}

void Gamepads::deviceEvent(const SDL_Event& event) {
    if (event.type == SDL_CONTROLLERDEVICEADDED) {
        SDL_GameController* pad = SDL_GameControllerOpen(event.cdevice.which);
        if (pad == nullptr) {
            std::fprintf(stderr, "Larkmere: cannot use the game controller \"%s\": %s\n",
                         SDL_GameControllerNameForIndex(event.cdevice.which), SDL_GetError());
            return;
        }
        // SDL hands out the same handle again for a pad already open.
        if (std::find(pads_.begin(), pads_.end(), pad) == pads_.end()) {
            pads_.push_back(pad);
        } else {
            SDL_GameControllerClose(pad);
        }
    } else if (event.type == SDL_CONTROLLERDEVICEREMOVED) {
        SDL_GameController* gone = SDL_GameControllerFromInstanceID(event.cdevice.which);
        const auto found = std::find(pads_.begin(), pads_.end(), gone);
        if (gone != nullptr && found != pads_.end()) {
            pads_.erase(found);
            SDL_GameControllerClose(gone);
        }
    }
}

PadState Gamepads::read() const {
    PadState state;
    for (SDL_GameController* pad : pads_) {
        state.leftX = stronger(state.leftX, SDL_GameControllerGetAxis(pad, SDL_CONTROLLER_AXIS_LEFTX));
        state.leftY = stronger(state.leftY, SDL_GameControllerGetAxis(pad, SDL_CONTROLLER_AXIS_LEFTY));
        state.rightX = stronger(state.rightX, SDL_GameControllerGetAxis(pad, SDL_CONTROLLER_AXIS_RIGHTX));
        state.rightY = stronger(state.rightY, SDL_GameControllerGetAxis(pad, SDL_CONTROLLER_AXIS_RIGHTY));
        state.up = state.up || SDL_GameControllerGetButton(pad, SDL_CONTROLLER_BUTTON_DPAD_UP);
        state.down = state.down || SDL_GameControllerGetButton(pad, SDL_CONTROLLER_BUTTON_DPAD_DOWN);
        state.left = state.left || SDL_GameControllerGetButton(pad, SDL_CONTROLLER_BUTTON_DPAD_LEFT);
        state.right = state.right || SDL_GameControllerGetButton(pad, SDL_CONTROLLER_BUTTON_DPAD_RIGHT);
    }
    return state;
}

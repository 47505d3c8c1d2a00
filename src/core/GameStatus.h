// The one record of a run: game state, speed setting, drawing switches, score and play time.
#pragma once

#include <cstdint>

enum class GameState : int32_t { Playing = 0, Paused = 1, Won = 2, GameOver = 3 };

enum class GameSpeed : int32_t { Slow = 0, Normal = 1, Fast = 2 };

struct GameStatus {
    GameState state = GameState::Paused;
    GameSpeed gameSpeed = GameSpeed::Normal;
    bool texturesEnabled = true;
    bool wireframe = false;
    bool smoothShading = true;
    int32_t progress = 0;        // only ever lowered while playing; its negation is the score
    int32_t elapsedSeconds = 0;  // whole seconds of play

    // Created with the defaults on first use and kept until the process ends.
    static GameStatus& instance();
};

// The run's status record lives on the heap for the whole process.
#include "core/GameStatus.h"

GameStatus& GameStatus::instance() {
    static GameStatus* status = new GameStatus();
    return *status;
}

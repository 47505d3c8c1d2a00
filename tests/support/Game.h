// The real larkmere binary on the test's display, driven as a player and a window manager would
// drive it: keys and mouse through xdotool, screenshots of its window, its sound, exit and stderr.
#pragma once

#include <X11/Xlib.h>
#include <functional>

#include "support/Image.h"  // with the strings, vectors and optionals it speaks of

// What the game played, read from the stream SDL's disk audio driver records: 16-bit mono
// samples at the game's mixing rate, written as they are played.
constexpr int StreamRate = 22050;

// The samples of a raw stream, or of a WAV file's data (its 44-byte header skipped).
std::vector<int16_t> readSamples(const std::string& path, bool wav = false);
// Where the sound from assets/sounds/<name>.wav starts in the stream, if it does at or after the
// sample `from` and by the sample `by`, give or take half a second of the recording's own
// buffering: the first offset whose window matches it with a normalised correlation of at least
// 0.6. The growing stream is polled until that is settled, for a minute at most.
std::optional<size_t> playedBetween(const std::string& stream, const std::string& name, size_t from, size_t by);
// A shell command's exit status and standard output.
std::pair<int, std::string> shell(const std::string& command);
// The XDG_DATA_HOME every game of this test process gets: a temporary folder, never the
// player's own, so records written by tests stay with the tests.
const std::string& testDataHome();

class Game {
public:
    // Starts the game (binary: its command line) in dir on the test's display, with extra "NAME=value" variables
    // and "-u NAME" to unset one. The game runs in a process group of its own that dies with the test.
    explicit Game(const std::string& dir = LARKMERE_SOURCE_DIR, std::vector<std::string> env = {}, const std::string& binary = LARKMERE_BINARY);
    // Kills the game if it still runs.
    ~Game();

    // Waits for the mapped window titled "Larkmere" and gives it the keyboard focus.
    bool findWindow();
    // An xdotool command ("key p", "keydown Up", "mousemove_relative -- 9 0");
    // returns what it printed.
    std::string xdotool(const std::string& command);
    // The window manager's close button: WM_DELETE_WINDOW sent to the window.
    void requestClose();
    // Screenshots of the window until one satisfies ok: that one, or none by the deadline. The
    // shot that settles it, the match or the last one seen, is saved as <name>.png.
    std::optional<Image> waitFor(const std::string& name, std::function<bool(const Image&)> ok, double seconds = 60);
    Image screenshot(const std::string& name) { return waitFor(name, [](auto&) { return true; }).value_or(Image{}); }
    // The exit status, or none while the game still runs after the deadline.
    std::optional<int> waitForExit(double seconds = 30);
    // Its standard error so far, without SDL's notice that it records the sound to a file.
    std::string errors() const;

private:
    Display* display_ = nullptr;
    Window window_ = 0;
    pid_t pid_ = -1;
    std::optional<int> status_;
    std::string errorsPath_ = "/tmp/larkmere-stderr-XXXXXX";  // made unique by mkstemp
};

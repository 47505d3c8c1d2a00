// Drives the real larkmere binary for end-to-end tests: its own Xvfb, a working directory
// holding the assets, xdotool for keys and mouse, screenshots of its window.
#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <sys/types.h>

#include "support/Image.h"
#include "support/Xvfb.h"

struct RunResult {
    std::string output;  // what the command printed on standard output and error
    int status = -1;     // exit status, or -1 when it did not exit normally
};

// Runs a shell command with a time limit; the whole process group is killed on timeout.
RunResult runCommand(const std::string& command, int timeoutMs = 20000);

struct GameOptions {
    bool withDisplay = true;                     // start a private Xvfb and set DISPLAY
    bool withAssets = true;                      // the working directory holds ./assets
    std::map<std::string, std::string> env;      // extra environment
    std::string workDir;                         // empty: a fresh temporary directory
};

class GameProcess {
public:
    explicit GameProcess(GameOptions options = {});
    ~GameProcess();  // kills the game (if running), removes the work dir, stops Xvfb
    GameProcess(const GameProcess&) = delete;
    GameProcess& operator=(const GameProcess&) = delete;

    // Waits until the window titled "Larkmere" is mapped; returns its X id or "".
    std::string waitForWindow(int timeoutMs = 20000);
    const std::string& windowId() const { return window_; }

    // Key names as xdotool knows them ("Escape", "q", "Up").
    void tapKey(const std::string& key);           // press and release
    void keyDown(const std::string& key);
    void keyUp(const std::string& key);
    void holdKey(const std::string& key, int ms);  // press, wait, release
    void moveMouseRelative(int dx, int dy);
    void closeWindow();                            // the window manager's close request

    // Screenshot of the game window (import -window); saved under the work dir too.
    Image screenshot(const std::string& name = "shot");
    // Waits for the game to exit; nullopt on timeout. Status is the exit code.
    std::optional<int> waitForExit(int timeoutMs = 5000);
    bool running();
    std::string output() const;  // standard output and error of the game so far
    // Sleeps a little so the game draws a few more passes.
    static void pause(int ms);

    const std::string& workDir() const { return workDir_; }
    const std::string& display() const;
    std::optional<std::pair<int, int>> windowSize();

private:
    std::string xdotool(const std::string& args);

    GameOptions options_;
    std::unique_ptr<XvfbServer> server_;
    std::string workDir_;
    bool ownWorkDir_ = false;
    std::string logPath_;
    std::string window_;
    pid_t pid_ = -1;
    std::optional<int> exitStatus_;
};

// Directory where e2e screenshots are kept for people to look at.
std::string screenshotDir();

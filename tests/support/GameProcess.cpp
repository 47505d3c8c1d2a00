// End-to-end driver of the real game binary.
#include "support/GameProcess.h"

#include <X11/Xlib.h>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <poll.h>
#include <sstream>
#include <stdexcept>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {
using Clock = std::chrono::steady_clock;

int elapsedMs(Clock::time_point since) {
    return static_cast<int>(std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - since).count());
}

std::string shellQuote(const std::string& text) {
    std::string quoted = "'";
    for (char c : text) {
        if (c == '\'') quoted += "'\\''";
        else quoted += c;
    }
    return quoted + "'";
}

int decodeStatus(int raw) {
    if (WIFEXITED(raw)) return WEXITSTATUS(raw);
    if (WIFSIGNALED(raw)) return 128 + WTERMSIG(raw);
    return -1;
}
}  // namespace

RunResult runCommand(const std::string& command, int timeoutMs) {
    RunResult result;
    int fds[2];
    if (pipe(fds) != 0) return result;
    pid_t pid = fork();
    if (pid < 0) return result;
    if (pid == 0) {
        setpgid(0, 0);
        prctl(PR_SET_PDEATHSIG, SIGKILL);
        close(fds[0]);
        dup2(fds[1], 1);
        dup2(fds[1], 2);
        execl("/bin/sh", "sh", "-c", command.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    close(fds[1]);
    const auto start = Clock::now();
    pollfd pfd{fds[0], POLLIN, 0};
    bool timedOut = false;
    while (true) {
        const int left = timeoutMs - elapsedMs(start);
        if (left <= 0) {
            timedOut = true;
            break;
        }
        int ready = poll(&pfd, 1, left);
        if (ready < 0 && errno == EINTR) continue;
        if (ready <= 0) {
            timedOut = ready == 0;
            break;
        }
        char buffer[4096];
        ssize_t n = read(fds[0], buffer, sizeof buffer);
        if (n <= 0) break;
        result.output.append(buffer, static_cast<size_t>(n));
    }
    close(fds[0]);
    if (timedOut) kill(-pid, SIGKILL);
    int raw = 0;
    waitpid(pid, &raw, 0);
    result.status = timedOut ? -1 : decodeStatus(raw);
    return result;
}

std::string screenshotDir() {
    const char* fromEnv = std::getenv("LARKMERE_SCREENSHOT_DIR");
    std::string dir = fromEnv ? fromEnv : std::string(LARKMERE_SOURCE_DIR) + "/build/screenshots";
    mkdir(dir.c_str(), 0755);
    return dir;
}

GameProcess::GameProcess(GameOptions options) : options_(std::move(options)) {
    if (options_.withDisplay) server_ = std::make_unique<XvfbServer>();
    if (options_.workDir.empty()) {
        char pattern[] = "/tmp/larkmere-e2e-XXXXXX";
        if (!mkdtemp(pattern)) throw std::runtime_error("mkdtemp failed");
        workDir_ = pattern;
        ownWorkDir_ = true;
        if (options_.withAssets) {
            const std::string assets = std::string(LARKMERE_SOURCE_DIR) + "/assets";
            if (symlink(assets.c_str(), (workDir_ + "/assets").c_str()) != 0) {
                throw std::runtime_error("cannot link the assets");
            }
        }
    } else {
        workDir_ = options_.workDir;
    }
    logPath_ = workDir_ + "/game.log";
    pid_ = fork();
    if (pid_ < 0) throw std::runtime_error("fork failed");
    if (pid_ == 0) {
        setpgid(0, 0);
        prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (chdir(workDir_.c_str()) != 0) _exit(126);
        int log = open(logPath_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (log >= 0) {
            dup2(log, 1);
            dup2(log, 2);
        }
        if (server_) setenv("DISPLAY", server_->display().c_str(), 1);
        else unsetenv("DISPLAY");
        unsetenv("WAYLAND_DISPLAY");
        for (const auto& [name, value] : options_.env) setenv(name.c_str(), value.c_str(), 1);
        execl(LARKMERE_BINARY, "larkmere", static_cast<char*>(nullptr));
        _exit(127);
    }
}

GameProcess::~GameProcess() {
    if (pid_ > 0 && !exitStatus_) {
        kill(-pid_, SIGKILL);
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
    }
    if (ownWorkDir_) runCommand("rm -rf " + shellQuote(workDir_), 10000);
    server_.reset();
}

const std::string& GameProcess::display() const {
    static const std::string none;
    return server_ ? server_->display() : none;
}

std::string GameProcess::xdotool(const std::string& args) {
    return runCommand("DISPLAY=" + display() + " xdotool " + args, 10000).output;
}

std::string GameProcess::waitForWindow(int timeoutMs) {
    const auto start = Clock::now();
    while (elapsedMs(start) < timeoutMs && running()) {
        RunResult found = runCommand("DISPLAY=" + display() + " xdotool search --onlyvisible --name '^Larkmere$'", 5000);
        std::istringstream lines(found.output);
        std::string id;
        if (found.status == 0 && (lines >> id) && !id.empty()) {
            window_ = id;
            // No window manager runs on the test display: give the window the input focus.
            xdotool("windowfocus --sync " + window_);
            return window_;
        }
        pause(100);
    }
    return {};
}

void GameProcess::tapKey(const std::string& key) { xdotool("key --delay 40 " + key); }
void GameProcess::keyDown(const std::string& key) { xdotool("keydown " + key); }
void GameProcess::keyUp(const std::string& key) { xdotool("keyup " + key); }

void GameProcess::holdKey(const std::string& key, int ms) {
    keyDown(key);
    pause(ms);
    keyUp(key);
}

void GameProcess::moveMouseRelative(int dx, int dy) {
    xdotool("mousemove_relative -- " + std::to_string(dx) + " " + std::to_string(dy));
}

void GameProcess::closeWindow() {
    // The close button's request: WM_DELETE_WINDOW sent to the window as a client message.
    Display* dpy = XOpenDisplay(display().c_str());
    if (!dpy) return;
    const Window target = static_cast<Window>(std::stoul(window_));
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = target;
    event.xclient.message_type = XInternAtom(dpy, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(dpy, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(dpy, target, False, NoEventMask, &event);
    XFlush(dpy);
    XCloseDisplay(dpy);
}

Image GameProcess::screenshot(const std::string& name) {
    const std::string path = screenshotDir() + "/" + name + ".png";
    runCommand("DISPLAY=" + display() + " import -window " + window_ + " png:" + shellQuote(path), 15000);
    return loadImage(path);
}

std::optional<std::pair<int, int>> GameProcess::windowSize() {
    RunResult geometry = runCommand("DISPLAY=" + display() + " xdotool getwindowgeometry --shell " + window_, 5000);
    int width = -1, height = -1;
    std::istringstream lines(geometry.output);
    std::string line;
    while (std::getline(lines, line)) {
        if (line.rfind("WIDTH=", 0) == 0) width = std::stoi(line.substr(6));
        if (line.rfind("HEIGHT=", 0) == 0) height = std::stoi(line.substr(7));
    }
    if (width < 0 || height < 0) return std::nullopt;
    return std::make_pair(width, height);
}

std::optional<int> GameProcess::waitForExit(int timeoutMs) {
    if (exitStatus_) return exitStatus_;
    const auto start = Clock::now();
    while (true) {
        int raw = 0;
        pid_t done = waitpid(pid_, &raw, WNOHANG);
        if (done == pid_) {
            exitStatus_ = decodeStatus(raw);
            return exitStatus_;
        }
        if (elapsedMs(start) >= timeoutMs) return std::nullopt;
        pause(20);
    }
}

bool GameProcess::running() { return !waitForExit(0).has_value(); }

std::string GameProcess::output() const {
    std::ifstream log(logPath_);
    std::stringstream text;
    text << log.rdbuf();
    return text.str();
}

void GameProcess::pause(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

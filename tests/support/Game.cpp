// Starts the game through a shell that sets its directory, environment and stderr file, and
// reads its window straight from the X server (XGetImage), fast enough to poll.
#include "support/Game.h"

#include <X11/Xutil.h>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <numeric>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

using Clock = std::chrono::steady_clock;

const std::string& testDataHome() {
    static char name[] = "/tmp/larkmere-data-XXXXXX";
    static const std::string folder = mkdtemp(name);
    return folder;
}

Game::Game(const std::string& dir, std::vector<std::string> env, const std::string& binary) {
    close(mkstemp(errorsPath_.data()));
    // The test process may have chosen a video driver of its own, for its text masks.
    std::string command = "cd '" + dir + "' && exec env -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER";
    // env takes its -u options before any NAME=value. No sound card here: a device that takes
    // the sound and plays it nowhere, unless the test chooses a driver itself (a later
    // assignment wins).
    for (const std::string& var : env) command += var.rfind("-u ", 0) == 0 ? " " + var : "";
    // The game speaks the design's texts unless a test asks for a language.
    command += " -u LANGUAGE -u LC_ALL -u LC_MESSAGES LANG=C XDG_DATA_HOME=" + testDataHome() + " SDL_AUDIODRIVER=dummy";
    for (const std::string& var : env) command += var.rfind("-u ", 0) == 0 ? "" : " " + var;
    command += " " + binary + " 2>" + errorsPath_;
    pid_ = fork();
    if (pid_ == 0) {
        setpgid(0, 0);
        prctl(PR_SET_PDEATHSIG, SIGKILL);
        execl("/bin/sh", "sh", "-c", command.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    setpgid(pid_, pid_);  // here too, so that a kill right after the fork reaches the group
}

Game::~Game() {
    if (pid_ > 0 && !waitForExit(0) && kill(-pid_, SIGKILL) == 0) waitpid(pid_, nullptr, 0);
    if (display_ != nullptr) XCloseDisplay(display_);
    std::remove(errorsPath_.c_str());
}

bool Game::findWindow() {
    // Polled rather than left to `search --sync`: a game that dies at start-up ends the wait at
    // once, and a search that errors out while windows come and go is simply made again.
    const auto deadline = Clock::now() + std::chrono::seconds(60);
    while ((window_ = std::strtoul(xdotool("search --onlyvisible --name '^Larkmere$'").c_str(), nullptr, 10)) == 0 &&
           Clock::now() < deadline && !waitForExit(0))
        usleep(100000);
    // No window manager runs on the test display: the test hands the focus over itself. Mapped
    // last, the game's window lies above the test's own, whose text masks it no longer needs.
    xdotool("windowfocus --sync " + std::to_string(window_));
    // A window that is gone must fail a screenshot, not end the test process.
    XSetErrorHandler([](Display*, XErrorEvent*) { return 0; });
    return window_ != 0 && (display_ = XOpenDisplay(nullptr)) != nullptr;
}

std::pair<int, std::string> shell(const std::string& command) {
    FILE* out = popen(command.c_str(), "r");
    std::string printed;
    for (int c; out != nullptr && (c = std::fgetc(out)) != EOF;) printed += static_cast<char>(c);
    const int status = out != nullptr ? pclose(out) : -1;
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, printed};
}

std::string Game::xdotool(const std::string& command) { return shell("timeout 60 xdotool " + command).second; }

void Game::requestClose() {
    XEvent event{};
    event.xclient = {ClientMessage, 0, False, display_, window_, XInternAtom(display_, "WM_PROTOCOLS", False), 32, {}};
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(display_, "WM_DELETE_WINDOW", False));
    XSendEvent(display_, window_, False, NoEventMask, &event);
    XFlush(display_);
}

std::optional<Image> Game::waitFor(const std::string& name, std::function<bool(const Image&)> ok, double seconds) {
    const auto deadline = Clock::now() + std::chrono::duration<double>(seconds);
    Image shot;
    bool matched = false;
    do {
        XWindowAttributes size{};
        XGetWindowAttributes(display_, window_, &size);  // 0 x 0 once the window is gone: no image
        XImage* image = XGetImage(display_, window_, 0, 0, size.width, size.height, AllPlanes, ZPixmap);
        shot = Image{image != nullptr ? size.width : 0, image != nullptr ? size.height : 0, {}};
        for (int i = 0; i < shot.width * shot.height; ++i) {  // 24-bit TrueColor, the bottom row first
            const unsigned long pixel = XGetPixel(image, i % shot.width, shot.height - 1 - i / shot.width);
            shot.bgr.insert(shot.bgr.end(), {uint8_t(pixel), uint8_t(pixel >> 8), uint8_t(pixel >> 16)});
        }
        if (image != nullptr) XDestroyImage(image);
        matched = shot.width > 0 && ok(shot);
        if (!matched) usleep(50000);  // leaves the game the processor to draw its next frame
    } while (!matched && Clock::now() < deadline);
    std::filesystem::create_directories(LARKMERE_SCREENSHOTS);
    saveImage(shot, LARKMERE_SCREENSHOTS "/" + name + ".png");
    return matched ? std::optional<Image>(shot) : std::nullopt;
}

std::string Game::errors() const {
    std::ifstream file(errorsPath_);
    std::string text{std::istreambuf_iterator<char>(file), {}};
    for (size_t at; (at = text.find("CRITICAL: ")) != std::string::npos;) text.erase(at, text.find('\n', at) + 1 - at);
    return text;
}

std::optional<int> Game::waitForExit(double seconds) {
    const auto deadline = Clock::now() + std::chrono::duration<double>(seconds);
    int raw = 0;
    while (!status_ && waitpid(pid_, &raw, WNOHANG) != pid_) {
        if (Clock::now() >= deadline) return std::nullopt;
        usleep(20000);
    }
    // A game killed by a signal never reads as a clean exit.
    if (!status_) status_ = WIFEXITED(raw) ? WEXITSTATUS(raw) : 128 + WTERMSIG(raw);
    return status_;
}

// Finding a known sound in a recorded stream by normalised cross-correlation.
std::vector<int16_t> readSamples(const std::string& path, bool wav) {
    std::ifstream file(path, std::ios::binary);
    if (wav) file.seekg(44);
    const std::string bytes{std::istreambuf_iterator<char>(file), {}};
    std::vector<int16_t> samples(bytes.size() / 2);
    for (size_t i = 0; i < samples.size(); ++i) samples[i] = static_cast<int16_t>(uint8_t(bytes[2 * i]) | uint8_t(bytes[2 * i + 1]) << 8);
    return samples;
}

std::optional<size_t> playedBetween(const std::string& stream, const std::string& name, size_t from, size_t by) {
    const std::vector<int16_t> sound = readSamples(LARKMERE_SOURCE_DIR "/assets/sounds/" + name + ".wav", true);
    const double soundEnergy = std::inner_product(sound.begin(), sound.end(), sound.begin(), 0.0);
    const auto deadline = Clock::now() + std::chrono::seconds(60);
    const size_t last = by + StreamRate / 2;  // the recording's own buffering
    size_t searched = from;  // offsets before this were tried on an earlier reading
    do {
        const std::vector<int16_t> heard = readSamples(stream);
        for (; searched + sound.size() <= heard.size() && searched <= last; ++searched) {
            const auto window = heard.begin() + searched;
            const double dot = std::inner_product(sound.begin(), sound.end(), window, 0.0);
            const double energy = std::inner_product(window, window + sound.size(), window, 0.0);
            if (energy > 0 && dot / std::sqrt(energy * soundEnergy) >= 0.6) return searched;
        }
        if (searched > last) return std::nullopt;
        usleep(100000);
    } while (Clock::now() < deadline);
    return std::nullopt;
}

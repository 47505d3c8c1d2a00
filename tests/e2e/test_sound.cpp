// Muting through the real binary, heard in the stream SDL's disk driver records.
#include <gtest/gtest.h>

#include <algorithm>

#include "support/Game.h"
#include "support/Sound.h"

namespace {
bool silentFrom(const std::string& stream, size_t from) {
    const std::vector<int16_t> samples = readSamples(stream);
    return std::all_of(samples.begin() + std::min(from, samples.size()), samples.end(), [](int16_t s) { return s == 0; });
}
}  // namespace

TEST(GameSound, MuteKeepsTheStreamSilentAndMTogglesIt) {
    const std::string heard = "/tmp/larkmere-muted-" + std::to_string(getpid()) + ".raw";
    Game game(true, LARKMERE_SOURCE_DIR, {"SDL_AUDIODRIVER=disk", "SDL_DISKAUDIOFILE=" + heard}, LARKMERE_BINARY " --mute");
    ASSERT_TRUE(game.findWindow()) << game.errors();
    const auto help = game.waitFor("mute_help", [](const Image& s) { return s.at(500, 5).b > 40; });
    ASSERT_TRUE(help);
    // The stream is polled through the screenshot loop: the pictures are not looked at.
    const auto streamReaches = [&](const char* name, std::function<bool()> ok) { return game.waitFor(name, [&](const Image&) { return ok(); }).has_value(); };

    game.xdotool("key p");  // unmuted, play would start with a quack
    ASSERT_TRUE(game.waitFor("mute_playing", [&](const Image& s) { return countDifferent(*help, s, {170, 50, 830, 430}, 8) > 10000; }));
    const size_t playing = streamLength(heard);
    ASSERT_TRUE(streamReaches("mute_a_second_played", [&] { return streamLength(heard) > playing + StreamRate; }));
    EXPECT_TRUE(silentFrom(heard, 0)) << "--mute: nothing from the start to a second into play";

    size_t mark = streamLength(heard);
    game.xdotool("key m");
    EXPECT_TRUE(streamReaches("mute_m_sounds", [&] { return !silentFrom(heard, mark); })) << "M brings the sound back";
    game.xdotool("key m");
    // Silent again: half a second without a sample once the sounds have faded.
    EXPECT_TRUE(streamReaches("mute_m_silences", [&] {
        mark = std::max(mark, streamLength(heard) - std::min(streamLength(heard), size_t(StreamRate / 2)));
        return !silentFrom(heard, 0) && silentFrom(heard, mark) && streamLength(heard) >= mark + StreamRate / 2;
    }));
    game.xdotool("key Escape");
    EXPECT_EQ(game.waitForExit(), 0);
    std::remove(heard.c_str());
}

// SDL2_mixer calls. Channels: 0 and 1 carry the ambience (one fades out while the other
// fades in), 2-3 footsteps, 4-7 whooshes, 8 the quack, 9 the crash or the tune.
#include "audio/SoundPlayer.h"

#include <SDL2/SDL.h>
#include <SDL2/SDL_mixer.h>

#include "core/Language.h"

namespace {
constexpr int Channels = 10, QuackChannel = 8, EndChannel = 9;
constexpr int StepGroup = 1, WhooshGroup = 2;
constexpr int FadeMs = 30, AmbienceFadeMs = 400;
// A small buffer keeps a crash within a frame or two of the picture.
constexpr int MixRate = 22050, MixBufferSamples = 512;

int mixVolume(float volume) { return static_cast<int>(volume * MIX_MAX_VOLUME + 0.5f); }

int channelFor(Sound sound) {
    switch (sound) {
        case Sound::Walk1:
        case Sound::Walk2: {
            const int free = Mix_GroupAvailable(StepGroup);
            return free >= 0 ? free : Mix_GroupOldest(StepGroup);
        }
        case Sound::Whoosh: {
            const int free = Mix_GroupAvailable(WhooshGroup);
            return free >= 0 ? free : Mix_GroupOldest(WhooshGroup);
        }
        case Sound::Quack: return QuackChannel;
        default: return EndChannel;
    }
}
}  // namespace

bool SoundPlayer::open(std::string& reason) {
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) < 0) {
        reason = formatText(tr("cannot start audio (%s)"), SDL_GetError());
        return false;
    }
    if (Mix_OpenAudio(MixRate, AUDIO_S16SYS, 1, MixBufferSamples) < 0) {
        reason = formatText(tr("cannot open the audio device (%s)"), Mix_GetError());
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    open_ = true;
    for (int i = 0; i < SoundCount; ++i) {
        chunks_[i] = Mix_LoadWAV(soundFile(static_cast<Sound>(i)));
        if (chunks_[i] == nullptr) {
            reason = std::string(soundFile(static_cast<Sound>(i))) + ": " + Mix_GetError();
            close();
            return false;
        }
    }
    Mix_AllocateChannels(Channels);
    Mix_GroupChannels(2, 3, StepGroup);
    Mix_GroupChannels(4, 7, WhooshGroup);
    return true;
}

void SoundPlayer::close() {
    if (!open_) return;
    Mix_HaltChannel(-1);
    for (Mix_Chunk*& chunk : chunks_) {
        if (chunk != nullptr) Mix_FreeChunk(chunk);
        chunk = nullptr;
    }
    Mix_CloseAudio();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    open_ = false;
}

void SoundPlayer::apply(const SoundCues& cues) {
    if (!open_) return;
    // Short fades rather than halts: a sound cut mid-wave clicks.
    if (cues.stopAll) {
        Mix_FadeOutChannel(-1, FadeMs);
        ambienceChannel_ = -1;
    } else if (cues.stopMotion) {
        Mix_FadeOutGroup(StepGroup, FadeMs);
        Mix_FadeOutGroup(WhooshGroup, FadeMs);
    }
    for (const SoundStart& start : cues.start) {
        const int channel = channelFor(start.sound);
        Mix_HaltChannel(channel);
        Mix_Volume(channel, mixVolume(start.volume));
        Mix_PlayChannel(channel, chunks_[static_cast<int>(start.sound)], 0);
    }
    if (!cues.ambience) return;
    if (ambienceChannel_ < 0 || cues.ambienceLoop != ambienceLoop_) {
        if (ambienceChannel_ >= 0) Mix_FadeOutChannel(ambienceChannel_, AmbienceFadeMs);
        ambienceChannel_ = ambienceChannel_ == 0 ? 1 : 0;
        ambienceLoop_ = cues.ambienceLoop;
        Mix_HaltChannel(ambienceChannel_);
        Mix_Volume(ambienceChannel_, mixVolume(cues.ambienceVolume));
        Mix_FadeInChannel(ambienceChannel_, chunks_[static_cast<int>(ambienceLoop_)], -1, AmbienceFadeMs);
        ambienceVolume_ = cues.ambienceVolume;
    } else if (cues.ambienceVolume != ambienceVolume_) {
        Mix_Volume(ambienceChannel_, mixVolume(cues.ambienceVolume));
        ambienceVolume_ = cues.ambienceVolume;
    }
}

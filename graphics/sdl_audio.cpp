// SDL 1.2's one audio device, fed by the mixer (sdl_audio.hpp). SDL converts
// the mixer's 16-bit stereo to whatever the device takes.
#include "sdl_audio.hpp"

#include "mixer.hpp"

namespace kavex::sdl_audio {

namespace {

sdl_side::sound_filler device_fill = nullptr;
bool device_open = false;

extern "C" void on_audio(void*, Uint8* stream, int length) {
    device_fill(reinterpret_cast<std::int16_t*>(stream), length / (2 * detail::sound_channels));
}

}  // namespace

bool open(sdl_side::sound_filler fill, std::string& reason) {
    SDL_AudioSpec wanted{};
    wanted.freq = detail::sound_rate;
    wanted.format = AUDIO_S16SYS;
    wanted.channels = detail::sound_channels;
    wanted.samples = 1024;  // 23 ms: a hit sounds with the frame that shows it
    wanted.callback = on_audio;
    device_fill = fill;
    if (SDL_OpenAudio(&wanted, nullptr) < 0) {
        reason = SDL_GetError();
        return false;
    }
    device_open = true;
    SDL_PauseAudio(0);
    return true;
}

bool is_open() { return device_open; }

void close() {
    if (!device_open) return;
    device_open = false;
    SDL_CloseAudio();
}

}  // namespace kavex::sdl_audio

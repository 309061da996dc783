// OpenAL Soft under the device-and-buffer model of audio.h.
//
// One ALC device and context serve every AudioDevice handle. Each AudioBuffer
// keeps its bytes (for lock and unlock) and plays through two OpenAL sources
// started and stopped together: the left source carries the first channel on
// the left output only, the right source the last channel on the right output
// only (direct channels, no spatial panning). Pan is then two plain gains, so
// its hundredths of a decibel come out exactly, which no positional panning
// law would give.
#include "platform/audio.h"

#define AL_ALEXT_PROTOTYPES
#include <AL/al.h>
#include <AL/alc.h>
#include <AL/alext.h>
#include <dlfcn.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include "platform/fault.h"

namespace ardelvine::platform {

struct AudioDevice {
    int unused;
};

struct AudioBuffer {
    AudioDevice* device;
    std::uint32_t flags;
    WaveFormat format;
    std::vector<unsigned char> data;
    bool locked;
    void* locked_first;
    std::uint32_t locked_first_bytes;
    void* locked_second;
    std::uint32_t locked_second_bytes;
    ALuint al_buffers[2];
    ALuint sources[2];
    std::uint32_t pending_frame;  // where play starts when not playing or paused
    bool looping;
    std::int32_t volume;
    std::int32_t pan;
    std::uint32_t frequency;
    std::uint32_t origin;
};

namespace {

struct Mixer {
    ALCdevice* device;
    ALCcontext* context;
    bool loopback;
};

struct AudioState {
    Mixer mixer{};
    std::vector<std::unique_ptr<AudioDevice>> devices;
    std::vector<std::unique_ptr<AudioBuffer>> buffers;
    bool capture = false;
    bool output_missing = false;  // the default output device could not be opened
    std::FILE* capture_file = nullptr;
    bool write_error = false;
    std::uint64_t captured_frames = 0;
    std::uint64_t rendered_frames = 0;
    double clock = 0.0;
    std::vector<AudioPlayRecord> log;
    std::size_t logged = 0;  // log.size(), kept where a caller can read it
    // False once a look at every source found none playing, until the next
    // play: a quiet panel then asks the mixer nothing per update, however
    // many clicks are loaded.
    bool maybe_sounding = false;

    ~AudioState();
};

AudioState& state() {
    static AudioState s;
    return s;
}

// ---------------------------------------------------------------- mixer

// Sound-card libraries print their own errors to the terminal, twenty lines
// and more on a machine without a card, each time a device is tried. The
// host reports a missing device once, in its own words, so both libraries
// are asked to keep quiet: OpenAL Soft through its log level (unless the user
// chose one), and ALSA, which OpenAL Soft loads, through its error handler.
void silent_alsa_handler(const char*, int, const char*, int, const char*, ...) {}

void quieten_sound_libraries() {
    static bool done = false;
    if (done) return;
    done = true;
    setenv("ALSOFT_LOGLEVEL", "0", 0);
    if (void* alsa = dlopen("libasound.so.2", RTLD_NOW | RTLD_GLOBAL)) {
        using Handler = void (*)(const char*, int, const char*, int, const char*, ...);
        using SetHandler = int (*)(Handler);
        if (auto set = reinterpret_cast<SetHandler>(dlsym(alsa, "snd_lib_error_set_handler"))) set(&silent_alsa_handler);
        // Kept loaded: the handler must stay in place for OpenAL Soft's use.
    }
}

bool open_mixer(bool loopback) {
    Mixer& m = state().mixer;
    if (m.device != nullptr) return true;
    if (!loopback) quieten_sound_libraries();
    ALCdevice* device = loopback ? alcLoopbackOpenDeviceSOFT(nullptr) : alcOpenDevice(nullptr);
    if (device == nullptr) {
        if (!loopback) state().output_missing = true;
        return false;
    }
    const ALCint loopback_attributes[] = {ALC_FORMAT_CHANNELS_SOFT, ALC_STEREO_SOFT,
                                          ALC_FORMAT_TYPE_SOFT,     ALC_FLOAT_SOFT,
                                          ALC_FREQUENCY,            static_cast<ALCint>(kCaptureRate),
                                          ALC_OUTPUT_LIMITER_SOFT,  ALC_FALSE,
                                          0};
    ALCcontext* context = alcCreateContext(device, loopback ? loopback_attributes : nullptr);
    if (context == nullptr || alcMakeContextCurrent(context) == ALC_FALSE) {
        if (context != nullptr) alcDestroyContext(context);
        alcCloseDevice(device);
        return false;
    }
    m = Mixer{device, context, loopback};
    return true;
}

void close_mixer() {
    Mixer& m = state().mixer;
    if (m.device == nullptr) return;
    alcMakeContextCurrent(nullptr);
    alcDestroyContext(m.context);
    alcCloseDevice(m.device);
    m = Mixer{};
}

void close_mixer_if_unused() {
    if (state().devices.empty() && !state().capture) close_mixer();
}

bool anything_sounding();

void render(std::uint64_t frames) {
    AudioState& s = state();
    if (s.mixer.device == nullptr || !s.mixer.loopback) return;
    constexpr std::uint64_t kChunk = 1024;
    float mix[kChunk * 2];
    std::int16_t pcm[kChunk * 2];
    // Nothing playing: the mix is silence and no source's state can change, so
    // the mixer need not run (this is every update of a quiet panel).
    if (!anything_sounding()) {
        // Silence is written only where there is a file to take it.
        if (s.capture_file != nullptr) std::fill(std::begin(pcm), std::end(pcm), std::int16_t{0});
        while (frames > 0) {
            const std::uint64_t n = std::min(frames, kChunk);
            if (s.capture_file != nullptr) {
                if (std::fwrite(pcm, sizeof pcm[0] * 2, n, s.capture_file) != n) s.write_error = true;
                s.captured_frames += n;
            }
            s.rendered_frames += n;
            frames -= n;
        }
        return;
    }
    while (frames > 0) {
        const std::uint64_t n = std::min(frames, kChunk);
        alcRenderSamplesSOFT(s.mixer.device, mix, static_cast<ALCsizei>(n));
        if (s.capture_file != nullptr) {
            for (std::uint64_t i = 0; i < n * 2; ++i)
                pcm[i] = static_cast<std::int16_t>(std::lround(std::clamp(mix[i], -1.0f, 1.0f) * 32767.0f));
            if (std::fwrite(pcm, sizeof pcm[0] * 2, n, s.capture_file) != n) s.write_error = true;
            s.captured_frames += n;
        }
        s.rendered_frames += n;
        frames -= n;
    }
}

// ---------------------------------------------------------------- capture file

void put16(unsigned char* p, std::uint32_t v) {
    p[0] = static_cast<unsigned char>(v);
    p[1] = static_cast<unsigned char>(v >> 8);
}

void put32(unsigned char* p, std::uint32_t v) {
    put16(p, v);
    put16(p + 2, v >> 16);
}

// A 16-bit stereo PCM WAVE header for `frames` frames.
bool write_wave_header(std::FILE* file, std::uint64_t frames) {
    const std::uint64_t bytes64 = frames * 4;
    const std::uint32_t bytes = bytes64 > 0xFFFFFFDBu ? 0xFFFFFFDBu : static_cast<std::uint32_t>(bytes64);
    unsigned char h[44];
    std::memcpy(h, "RIFF", 4);
    put32(h + 4, 36 + bytes);
    std::memcpy(h + 8, "WAVEfmt ", 8);
    put32(h + 16, 16);
    put16(h + 20, WAVE_FORMAT_PCM);
    put16(h + 22, 2);
    put32(h + 24, kCaptureRate);
    put32(h + 28, kCaptureRate * 4);
    put16(h + 32, 4);
    put16(h + 34, 16);
    std::memcpy(h + 36, "data", 4);
    put32(h + 40, bytes);
    return std::fseek(file, 0, SEEK_SET) == 0 && std::fwrite(h, sizeof h, 1, file) == 1;
}

// ---------------------------------------------------------------- buffers

bool known_device(const AudioDevice* device) {
    for (const auto& d : state().devices)
        if (d.get() == device) return true;
    return false;
}

AudioBuffer* known_buffer(const AudioBuffer* buffer) {
    for (const auto& b : state().buffers)
        if (b.get() == buffer) return b.get();
    return nullptr;
}

// True when no OpenAL error is pending; clears it either way.
bool al_ok() { return alGetError() == AL_NO_ERROR; }

ALint source_state(const AudioBuffer& b) {
    ALint value = AL_INITIAL;
    alGetSourcei(b.sources[0], AL_SOURCE_STATE, &value);
    return value;
}

bool anything_sounding() {
    AudioState& s = state();
    if (!s.maybe_sounding) return false;
    for (const auto& b : s.buffers)
        if (source_state(*b) == AL_PLAYING) return true;
    s.maybe_sounding = false;
    return false;
}

bool started(ALint source_state) { return source_state == AL_PLAYING || source_state == AL_PAUSED; }

std::uint32_t frame_count(const AudioBuffer& b) {
    return static_cast<std::uint32_t>(b.data.size() / b.format.block_align);
}

double centibels_to_gain(std::int32_t hundredths_db) { return std::pow(10.0, hundredths_db / 2000.0); }

void apply_gains(const AudioBuffer& b) {
    const double gain = centibels_to_gain(b.volume);
    const double left = gain * (b.pan > 0 ? centibels_to_gain(-b.pan) : 1.0);
    const double right = gain * (b.pan < 0 ? centibels_to_gain(b.pan) : 1.0);
    alSourcef(b.sources[0], AL_GAIN, static_cast<ALfloat>(left));
    alSourcef(b.sources[1], AL_GAIN, static_cast<ALfloat>(right));
}

void apply_pitch(const AudioBuffer& b) {
    const double pitch = static_cast<double>(b.frequency) / b.format.samples_per_second;
    for (ALuint source : b.sources) alSourcef(source, AL_PITCH, static_cast<ALfloat>(pitch));
}

// Builds the two stereo halves from the WAVE's bytes and hands them to the
// sources, keeping where and whether the sound was playing.
bool upload(AudioBuffer& b) {
    const ALint was = source_state(b);
    ALint frame = 0;
    if (started(was)) alGetSourcei(b.sources[0], AL_SAMPLE_OFFSET, &frame);
    alSourceStopv(2, b.sources);
    for (ALuint source : b.sources) alSourcei(source, AL_BUFFER, 0);

    const std::size_t width = b.format.bits_per_sample / 8u;
    const unsigned char silence = width == 1 ? 0x80 : 0x00;
    const std::uint32_t frames = frame_count(b);
    std::vector<unsigned char> half(frames * width * 2, silence);
    const std::size_t channel[2] = {0, b.format.channels - 1u};
    bool ok = al_ok();
    for (int side = 0; side < 2; ++side) {
        std::fill(half.begin(), half.end(), silence);
        for (std::uint32_t f = 0; f < frames; ++f)
            std::memcpy(&half[(f * 2 + side) * width], &b.data[f * b.format.block_align + channel[side] * width],
                        width);
        alBufferData(b.al_buffers[side], width == 1 ? AL_FORMAT_STEREO8 : AL_FORMAT_STEREO16, half.data(),
                     static_cast<ALsizei>(half.size()), static_cast<ALsizei>(b.format.samples_per_second));
        alSourcei(b.sources[side], AL_BUFFER, static_cast<ALint>(b.al_buffers[side]));
        ok = al_ok() && ok;
    }
    if (started(was) && ok) {
        for (ALuint source : b.sources) alSourcei(source, AL_SAMPLE_OFFSET, frame);
        if (was == AL_PLAYING) {
            alSourcePlayv(2, b.sources);
            state().maybe_sounding = true;
        }
        else alSourcePausev(2, b.sources);
        ok = al_ok();
    }
    return ok;
}

void destroy_buffer(AudioBuffer& b) {
    if (state().mixer.context == nullptr) return;
    alSourceStopv(2, b.sources);
    alDeleteSources(2, b.sources);
    alDeleteBuffers(2, b.al_buffers);
    al_ok();
}

void erase_buffer(AudioBuffer* buffer) {
    auto& list = state().buffers;
    for (auto it = list.begin(); it != list.end(); ++it) {
        if (it->get() == buffer) {
            destroy_buffer(**it);
            list.erase(it);
            return;
        }
    }
}

bool valid_format(const WaveFormat* f) {
    return f != nullptr && f->format_tag == WAVE_FORMAT_PCM && (f->channels == 1 || f->channels == 2) &&
           (f->bits_per_sample == 8 || f->bits_per_sample == 16) &&
           f->block_align == f->channels * f->bits_per_sample / 8 &&
           f->samples_per_second >= AUDIO_FREQUENCY_MIN && f->samples_per_second <= AUDIO_FREQUENCY_MAX;
}

// The buffer behind a handle for a control call, or null when the step is
// refused, the handle unknown, or the control not asked for at creation.
AudioBuffer* control(AudioBuffer* buffer, FaultStep step, std::uint32_t needed_flag = 0) {
    if (fault_step(step)) return nullptr;
    AudioBuffer* b = known_buffer(buffer);
    if (b == nullptr || (b->flags & needed_flag) != needed_flag) return nullptr;
    return b;
}

template <typename T>
bool read_setting(AudioBuffer* buffer, FaultStep step, std::uint32_t flag, T AudioBuffer::*field, T* out) {
    AudioBuffer* b = control(buffer, step, flag);
    if (b == nullptr || out == nullptr) return false;
    *out = b->*field;
    return true;
}

// Volume and pan: a level in hundredths of a decibel within [low, high],
// heard through the two sources' gains.
bool set_level(AudioBuffer* buffer, FaultStep step, std::uint32_t flag, std::int32_t AudioBuffer::*field,
               std::int32_t value, std::int32_t low, std::int32_t high) {
    AudioBuffer* b = control(buffer, step, flag);
    if (b == nullptr || value < low || value > high) return false;
    b->*field = value;
    apply_gains(*b);
    return al_ok();
}

void release_everything() {
    AudioState& s = state();
    while (!s.buffers.empty()) erase_buffer(s.buffers.back().get());
    s.devices.clear();
    close_mixer();
}

AudioState::~AudioState() {
    if (capture_file != nullptr) std::fclose(capture_file);
    capture_file = nullptr;
    capture = false;
    release_everything();
}

}  // namespace

// ---------------------------------------------------------------- devices

AudioDevice* audio_create_device() {
    if (fault_step(FaultStep::DEVICE_CREATE)) return nullptr;
    AudioState& s = state();
    if (!open_mixer(s.capture)) return nullptr;
    s.devices.push_back(std::make_unique<AudioDevice>());
    return s.devices.back().get();
}

bool audio_set_cooperative_level(AudioDevice* device, WindowHandle window, std::uint32_t level) {
    if (fault_step(FaultStep::COOPERATIVE_LEVEL)) return false;
    return known_device(device) && window != nullptr && level >= AUDIO_LEVEL_NORMAL &&
           level <= AUDIO_LEVEL_WRITE_PRIMARY;
}

void audio_release_device(AudioDevice* device) {
    AudioState& s = state();
    if (!known_device(device)) return;
    for (std::size_t i = s.buffers.size(); i-- > 0;)
        if (s.buffers[i]->device == device) erase_buffer(s.buffers[i].get());
    std::erase_if(s.devices, [device](const auto& d) { return d.get() == device; });
    close_mixer_if_unused();
}

// ---------------------------------------------------------------- buffers

AudioBuffer* audio_create_buffer(AudioDevice* device, const AudioBufferDesc* desc) {
    if (fault_step(FaultStep::BUFFER_CREATE)) return nullptr;
    if (!known_device(device) || desc == nullptr || desc->size != kAudioBufferDescSize ||
        !valid_format(desc->format) || desc->bytes < 4 || desc->bytes > 0x0FFFFFFF ||
        desc->bytes < desc->format->block_align)
        return nullptr;
    auto b = std::make_unique<AudioBuffer>();
    b->device = device;
    b->flags = desc->flags;
    b->format = *desc->format;
    b->data.assign(desc->bytes, desc->format->bits_per_sample == 8 ? 0x80 : 0x00);
    b->frequency = b->format.samples_per_second;
    al_ok();
    alGenBuffers(2, b->al_buffers);
    if (!al_ok()) return nullptr;
    alGenSources(2, b->sources);
    if (!al_ok()) {
        alDeleteBuffers(2, b->al_buffers);
        return nullptr;
    }
    for (ALuint source : b->sources) {
        alSourcei(source, AL_DIRECT_CHANNELS_SOFT, AL_TRUE);
        alSourcei(source, AL_SOURCE_RELATIVE, AL_TRUE);
    }
    apply_gains(*b);
    state().buffers.push_back(std::move(b));
    AudioBuffer* created = state().buffers.back().get();
    if (!upload(*created)) {
        erase_buffer(created);
        return nullptr;
    }
    return created;
}

void audio_release_buffer(AudioBuffer* buffer) {
    if (known_buffer(buffer) != nullptr) erase_buffer(buffer);
}

void audio_set_origin(AudioBuffer* buffer, std::uint32_t wave_id) {
    if (AudioBuffer* b = known_buffer(buffer)) b->origin = wave_id;
}

bool audio_lock(AudioBuffer* buffer, std::uint32_t offset, std::uint32_t bytes, void** first,
                std::uint32_t* first_bytes, void** second, std::uint32_t* second_bytes) {
    AudioBuffer* b = control(buffer, FaultStep::BUFFER_LOCK);
    const std::size_t size = b != nullptr ? b->data.size() : 0;
    if (b == nullptr || b->locked || first == nullptr || first_bytes == nullptr || offset >= size ||
        bytes == 0 || bytes > size)
        return false;
    const std::uint32_t to_end = static_cast<std::uint32_t>(size - offset);
    const std::uint32_t wrapped = bytes > to_end ? bytes - to_end : 0;
    if (wrapped != 0 && (second == nullptr || second_bytes == nullptr)) return false;
    *first = b->data.data() + offset;
    *first_bytes = bytes - wrapped;
    if (second != nullptr) *second = wrapped != 0 ? b->data.data() : nullptr;
    if (second_bytes != nullptr) *second_bytes = wrapped;
    b->locked = true;
    b->locked_first = *first;
    b->locked_first_bytes = *first_bytes;
    b->locked_second = wrapped != 0 ? b->data.data() : nullptr;
    b->locked_second_bytes = wrapped;
    return true;
}

bool audio_unlock(AudioBuffer* buffer, void* first, std::uint32_t first_bytes, void* second,
                  std::uint32_t second_bytes) {
    AudioBuffer* b = control(buffer, FaultStep::BUFFER_UNLOCK);
    if (b == nullptr || !b->locked || first != b->locked_first || first_bytes != b->locked_first_bytes ||
        second != b->locked_second || second_bytes != b->locked_second_bytes)
        return false;
    b->locked = false;
    return upload(*b);
}

bool audio_play(AudioBuffer* buffer, std::uint32_t flags) {
    AudioBuffer* b = control(buffer, FaultStep::BUFFER_PLAY);
    if (b == nullptr || b->locked) return false;
    al_ok();
    b->looping = (flags & AUDIO_PLAY_LOOPING) != 0;
    for (ALuint source : b->sources) alSourcei(source, AL_LOOPING, b->looping ? AL_TRUE : AL_FALSE);
    const ALint now = source_state(*b);
    if (now != AL_PLAYING) {
        if (now != AL_PAUSED)
            for (ALuint source : b->sources)
                alSourcei(source, AL_SAMPLE_OFFSET, static_cast<ALint>(b->pending_frame));
        b->pending_frame = 0;
        alSourcePlayv(2, b->sources);
        state().maybe_sounding = true;
    }
    if (!al_ok()) return false;
    state().log.push_back(AudioPlayRecord{b->origin, state().clock});
    state().logged = state().log.size();
    return true;
}

bool audio_stop(AudioBuffer* buffer) {
    AudioBuffer* b = control(buffer, FaultStep::BUFFER_STOP);
    if (b == nullptr) return false;
    al_ok();
    if (source_state(*b) == AL_PLAYING) alSourcePausev(2, b->sources);
    return al_ok();
}

bool audio_get_status(AudioBuffer* buffer, std::uint32_t* status) {
    AudioBuffer* b = control(buffer, FaultStep::BUFFER_STATUS);
    if (b == nullptr || status == nullptr) return false;
    if (auto forced = fault_forced_status()) {
        *status = *forced;
        return true;
    }
    const bool playing = source_state(*b) == AL_PLAYING;
    *status = playing ? AUDIO_STATUS_PLAYING | (b->looping ? AUDIO_STATUS_LOOPING : 0u) : 0u;
    return true;
}

bool audio_get_position(AudioBuffer* buffer, std::uint32_t* play, std::uint32_t* write) {
    AudioBuffer* b = control(buffer, FaultStep::BUFFER_GET_POSITION);
    if (b == nullptr) return false;
    std::uint32_t frame = b->pending_frame;
    if (started(source_state(*b))) {
        ALint offset = 0;
        alGetSourcei(b->sources[0], AL_SAMPLE_OFFSET, &offset);
        frame = static_cast<std::uint32_t>(std::max<ALint>(offset, 0));
    }
    const std::uint32_t bytes = frame * b->format.block_align;
    if (play != nullptr) *play = bytes;
    if (write != nullptr) *write = bytes;
    return al_ok();
}

bool audio_set_position(AudioBuffer* buffer, std::uint32_t offset) {
    AudioBuffer* b = control(buffer, FaultStep::BUFFER_SET_POSITION);
    if (b == nullptr || offset >= b->data.size()) return false;
    const std::uint32_t frame = offset / b->format.block_align;
    al_ok();
    if (started(source_state(*b))) {
        for (ALuint source : b->sources) alSourcei(source, AL_SAMPLE_OFFSET, static_cast<ALint>(frame));
    } else {
        b->pending_frame = frame;
    }
    return al_ok();
}

bool audio_get_volume(AudioBuffer* buffer, std::int32_t* volume) {
    return read_setting(buffer, FaultStep::BUFFER_GET_VOLUME, AUDIO_CTRL_VOLUME, &AudioBuffer::volume, volume);
}

bool audio_set_volume(AudioBuffer* buffer, std::int32_t volume) {
    return set_level(buffer, FaultStep::BUFFER_SET_VOLUME, AUDIO_CTRL_VOLUME, &AudioBuffer::volume, volume,
                     AUDIO_VOLUME_MIN, 0);
}

bool audio_get_pan(AudioBuffer* buffer, std::int32_t* pan) {
    return read_setting(buffer, FaultStep::BUFFER_GET_PAN, AUDIO_CTRL_PAN, &AudioBuffer::pan, pan);
}

bool audio_set_pan(AudioBuffer* buffer, std::int32_t pan) {
    return set_level(buffer, FaultStep::BUFFER_SET_PAN, AUDIO_CTRL_PAN, &AudioBuffer::pan, pan, AUDIO_PAN_LEFT,
                     AUDIO_PAN_RIGHT);
}

bool audio_get_frequency(AudioBuffer* buffer, std::uint32_t* frequency) {
    return read_setting(buffer, FaultStep::BUFFER_GET_FREQUENCY, AUDIO_CTRL_FREQUENCY, &AudioBuffer::frequency, frequency);
}

bool audio_set_frequency(AudioBuffer* buffer, std::uint32_t frequency) {
    AudioBuffer* b = control(buffer, FaultStep::BUFFER_SET_FREQUENCY, AUDIO_CTRL_FREQUENCY);
    if (b == nullptr) return false;
    if (frequency == 0) frequency = b->format.samples_per_second;  // back to the WAVE's own rate
    if (frequency < AUDIO_FREQUENCY_MIN || frequency > AUDIO_FREQUENCY_MAX) return false;
    b->frequency = frequency;
    apply_pitch(*b);
    return al_ok();
}

// ---------------------------------------------------------------- mixer, capture, log

bool audio_capture_begin(const char* wav_path) {
    AudioState& s = state();
    if (s.capture || s.mixer.device != nullptr) return false;
    std::FILE* file = nullptr;
    if (wav_path != nullptr) {
        file = std::fopen(wav_path, "wb");
        if (file == nullptr) return false;
        // Flushed at once, so a file that cannot take the header (a full
        // disk) is refused here rather than found out at the end.
        if (!write_wave_header(file, 0) || std::fflush(file) != 0) {
            std::fclose(file);
            std::remove(wav_path);
            return false;
        }
    }
    if (!open_mixer(true)) {
        if (file != nullptr) std::fclose(file);
        return false;
    }
    s.capture = true;
    s.capture_file = file;
    s.write_error = false;
    s.captured_frames = 0;
    s.rendered_frames = static_cast<std::uint64_t>(std::llround(s.clock * kCaptureRate));
    return true;
}

bool audio_capturing() { return state().capture; }

bool audio_output_missing() { return state().output_missing; }

void audio_advance(double seconds) {
    AudioState& s = state();
    if (!(seconds > 0.0) || !std::isfinite(seconds)) return;
    s.clock += seconds;
    if (!s.capture) return;
    const auto target = static_cast<std::uint64_t>(std::llround(s.clock * kCaptureRate));
    if (target > s.rendered_frames) render(target - s.rendered_frames);
}

bool audio_capture_finish() {
    AudioState& s = state();
    if (!s.capture) return true;
    // Play out what is still sounding, so the last click is heard whole.
    const double step = 0.01;
    for (double drained = 0.0; drained < kDrainSeconds; drained += step) {
        bool sounding = false;
        for (const auto& b : s.buffers) sounding = sounding || source_state(*b) == AL_PLAYING;
        if (!sounding) break;
        audio_advance(step);
    }
    bool ok = !s.write_error;
    if (s.capture_file != nullptr) {
        ok = write_wave_header(s.capture_file, s.captured_frames) && ok;
        ok = std::fclose(s.capture_file) == 0 && ok;
    }
    s.capture_file = nullptr;
    s.capture = false;
    close_mixer_if_unused();
    return ok;
}

std::uint64_t audio_captured_frames() { return state().captured_frames; }

void audio_shutdown() {
    audio_capture_finish();
    release_everything();
    state().clock = 0.0;
    state().rendered_frames = 0;
    state().output_missing = false;
}

std::size_t audio_play_count() { return state().log.size(); }

const std::size_t* audio_play_count_address() { return &state().logged; }

AudioPlayRecord audio_play_entry(std::size_t index) {
    const auto& log = state().log;
    return index < log.size() ? log[index] : AudioPlayRecord{0, 0.0};
}

void audio_clear_play_log() {
    state().log.clear();
    state().logged = 0;
}

}  // namespace ardelvine::platform

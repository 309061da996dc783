// Reading WAVEs: which byte images load, how many sample bytes they yield,
// and that every refusal silences the module and leaves no buffer.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include <unistd.h>

#include "sound_test_support.h"

namespace ardelvine::test {
namespace {

const Format kMono16{};
const Format kMono8{.bits = 8};

struct WaveCase {
    const char* name;
    Bytes bytes;
    std::uint32_t loaded;  // sample bytes, 0 = refused
};

std::vector<WaveCase> wave_cases() {
    const Bytes data16 = chunk("data", samples(kMono16, 1914));  // 3828 bytes
    const Bytes data8 = chunk("data", samples(kMono8, 10304));
    const Bytes odd_data = chunk("data", samples(kMono8, 101));
    return {
        {"16-bit mono", riff("WAVE", concat({fmt(kMono16), data16})), 3828},
        {"8-bit mono", riff("WAVE", concat({fmt(kMono8), data8})), 10304},
        {"stereo 16-bit", simple_wave(Format{.channels = 2}, 100), 400},
        {"18-byte fmt", riff("WAVE", concat({fmt(Format{.with_extra_size = true}), data16})), 3828},
        {"LIST before fmt", riff("WAVE", concat({list_chunk(), fmt(kMono8), data8})), 10304},
        {"LIST after data", riff("WAVE", concat({fmt(kMono16), data16, list_chunk()})), 3828},
        {"odd chunk padded before fmt", riff("WAVE", concat({chunk("junk", Bytes(5, 7)), fmt(kMono16), data16})),
         3828},
        {"odd data length", riff("WAVE", concat({fmt(kMono8), odd_data, list_chunk()})), 101},
        {"chunk between fmt and data", riff("WAVE", concat({fmt(kMono16), list_chunk(), data16})), 3828},
        {"data before and after fmt loads the later one",
         riff("WAVE", concat({chunk("data", Bytes(40, 1)), fmt(kMono16), data16})), 3828},
        {"other RIFF form first", concat({riff("AVI ", Bytes(6, 0)), riff("WAVE", concat({fmt(kMono16), data16}))}),
         3828},
        // Refused.
        {"empty", Bytes{}, 0},
        {"RIFF id only", Bytes{'R', 'I', 'F', 'F'}, 0},
        {"not RIFF", concat({chunk("RIFX", concat({Bytes{'W', 'A', 'V', 'E'}, fmt(kMono16), data16}))}), 0},
        {"RIFF of another form", riff("AVI ", concat({fmt(kMono16), data16})), 0},
        {"no fmt", riff("WAVE", data16), 0},
        {"data only before fmt", riff("WAVE", concat({data16, fmt(kMono16)})), 0},
        {"no data", riff("WAVE", fmt(kMono16)), 0},
        {"fmt outside the RIFF", concat({riff("WAVE", list_chunk()), fmt(kMono16), data16}), 0},
        {"data claims more than the file holds",
         riff("WAVE", concat({fmt(kMono16), chunk("data", Bytes(100, 0), 4000)})), 0},
        {"fmt cut short", riff("WAVE", chunk("fmt ", Bytes(6, 1))), 0},
        {"empty data", riff("WAVE", concat({fmt(kMono16), chunk("data", Bytes{})})), 0},
        {"24-bit samples", riff("WAVE", concat({fmt(Format{.bits = 24}), chunk("data", Bytes(300, 0))})), 0},
        {"float tag", riff("WAVE", concat({fmt(Format{.tag = 3, .bits = 16}), data16})), 0},
        {"rate out of range", simple_wave(Format{.rate = 50}, 100), 0},
        {"huge odd chunk size", riff("WAVE", concat({chunk("LIST", Bytes(4, 0), 0xFFFFFFFF), fmt(kMono16), data16})),
         0},
    };
}

class WaveReading : public SoundTest, public ::testing::WithParamInterface<WaveCase> {};

TEST_P(WaveReading, LoadsOrSilences) {
    const WaveCase& c = GetParam();
    sound::SoundBuffer buffer = nullptr;
    const std::uint32_t loaded = sound::sound_load_wave_memory(device, buffer, c.bytes.data(), c.bytes.size());
    EXPECT_EQ(loaded, c.loaded);
    EXPECT_EQ(buffer != nullptr, c.loaded != 0);
    EXPECT_EQ(sound::sound_enabled, c.loaded != 0 ? 1 : 0);
    if (buffer != nullptr) {
        EXPECT_EQ(sound::sound_get_position(buffer), 0u);
        EXPECT_EQ(sound::sound_get_frequency(buffer), 22050u);
        EXPECT_EQ(sound::sound_is_playing(buffer), 0);
    }
}

INSTANTIATE_TEST_SUITE_P(Images, WaveReading, ::testing::ValuesIn(wave_cases()),
                         [](const auto& info) {
                             std::string name = info.param.name;
                             for (char& ch : name)
                                 if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
                             return name;
                         });

TEST_F(SoundTest, EveryPrefixOfAWaveIsRefusedWithoutHarm) {
    const Bytes wave = riff("WAVE", concat({list_chunk(), fmt(kMono16), chunk("data", samples(kMono16, 64))}));
    for (std::size_t size = 0; size < wave.size(); ++size) {
        sound::sound_enabled = 1;
        sound::SoundBuffer buffer = nullptr;
        // A heap copy of exactly `size` bytes, so a read past the end is caught.
        Bytes prefix(wave.begin(), wave.begin() + static_cast<std::ptrdiff_t>(size));
        const auto loaded = sound::sound_load_wave_memory(device, buffer, prefix.data(), prefix.size());
        // The RIFF length runs past every prefix, so none of them loads.
        EXPECT_EQ(loaded, 0u) << size;
        EXPECT_EQ(buffer, nullptr);
        EXPECT_EQ(sound::sound_enabled, 0);
    }
}

TEST_F(SoundTest, FilesLoadByTheSameRules) {
    const auto dir = std::filesystem::temp_directory_path() / ("ard_sound_" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    const auto write = [&](const char* name, const Bytes& bytes) {
        std::ofstream(dir / name, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                           static_cast<std::streamsize>(bytes.size()));
        return (dir / name).string();
    };
    const std::string good = write("good.wav", riff("WAVE", concat({list_chunk(), fmt(kMono8),
                                                                     chunk("data", samples(kMono8, 333))})));
    const std::string bad = write("bad.wav", riff("WAVE", concat({chunk("data", Bytes(8, 0)), fmt(kMono8)})));

    sound::SoundBuffer buffer = nullptr;
    EXPECT_EQ(sound::sound_load_wave_file(window, device, buffer, good.c_str()), 333u);
    EXPECT_NE(buffer, nullptr);
    EXPECT_EQ(sound::sound_load_wave_file(window, device, buffer, bad.c_str()), 0u);
    EXPECT_EQ(buffer, nullptr);
    EXPECT_EQ(sound::sound_enabled, 0);

    sound::sound_enabled = 1;
    buffer = nullptr;
    EXPECT_EQ(sound::sound_load_wave_file(window, device, buffer, (dir / "missing.wav").c_str()), 0u);
    EXPECT_EQ(sound::sound_enabled, 0);
    sound::sound_enabled = 1;
    EXPECT_EQ(sound::sound_load_wave_file(window, device, buffer, nullptr), 0u);
    EXPECT_EQ(sound::sound_enabled, 0);
    std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace ardelvine::test

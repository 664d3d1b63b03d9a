// Writes the alarm sounds bundled with the trainer, so the WAV files are
// generated at build time instead of being kept as binaries in the tree.
//
// Usage: ToneGen <output-folder>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

namespace {

constexpr double TimeupFrequency = 880.0; // high A: hard to miss when time is over
constexpr double HurryupFrequency = 523.25; // C5: softer, so the warning does not startle

constexpr int SampleRate = 44100;
constexpr double Amplitude = 0.5 * 32767.0;
constexpr double RampSeconds = 0.005;

struct Pattern
{
    double frequency;
    int beeps;
    double beepSeconds;
    double gapSeconds;
};

std::vector<std::int16_t> render(const Pattern &p)
{
    const int beepLen = static_cast<int>(p.beepSeconds * SampleRate);
    const int gapLen = static_cast<int>(p.gapSeconds * SampleRate);
    const int rampLen = static_cast<int>(RampSeconds * SampleRate);
    const double pi = std::acos(-1.0);

    std::vector<std::int16_t> samples;
    for (int b = 0; b < p.beeps; ++b) {
        if (b > 0)
            samples.insert(samples.end(), gapLen, 0);
        for (int i = 0; i < beepLen; ++i) {
            // Linear ramps at both ends avoid the click of a hard start/stop.
            const int edge = std::min(i, beepLen - 1 - i);
            const double gain = edge < rampLen ? double(edge) / rampLen : 1.0;
            const double v = std::sin(2.0 * pi * p.frequency * i / SampleRate);
            samples.push_back(static_cast<std::int16_t>(std::lround(Amplitude * gain * v)));
        }
    }
    return samples;
}

// RIFF is little-endian regardless of the host, so write byte by byte.
void put(std::ofstream &out, std::uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out.put(static_cast<char>((value >> (8 * i)) & 0xFF));
}

bool writeWav(const std::string &path, const std::vector<std::int16_t> &samples)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out)
        return false;
    const std::uint32_t dataBytes = static_cast<std::uint32_t>(samples.size() * 2);
    out.write("RIFF", 4);
    put(out, 36 + dataBytes, 4);
    out.write("WAVEfmt ", 8);
    put(out, 16, 4); // fmt chunk size
    put(out, 1, 2); // PCM
    put(out, 1, 2); // mono
    put(out, SampleRate, 4);
    put(out, SampleRate * 2, 4); // byte rate
    put(out, 2, 2); // block align
    put(out, 16, 2); // bits per sample
    out.write("data", 4);
    put(out, dataBytes, 4);
    for (std::int16_t s : samples)
        put(out, static_cast<std::uint16_t>(s), 2);
    out.close();
    return !out.fail();
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc != 2) {
        std::cerr << "usage: " << argv[0] << " <output-folder>\n";
        return 2;
    }
    const std::string dir = argv[1];
    const struct
    {
        const char *name;
        Pattern pattern;
    } files[] = {
        { "Timeup.wav", { TimeupFrequency, 3, 0.25, 0.10 } },
        { "Hurryup.wav", { HurryupFrequency, 2, 0.20, 0.15 } },
    };
    for (const auto &f : files) {
        const std::string path = dir + "/" + f.name;
        if (!writeWav(path, render(f.pattern))) {
            std::cerr << "ToneGen: cannot write " << path << '\n';
            return 1;
        }
    }
    return 0;
}

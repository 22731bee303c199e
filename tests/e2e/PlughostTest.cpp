// plughost as a user runs it: real WAV files in and out, and one clear line for every bad input.
#include <gtest/gtest.h>
#include <sndfile.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

namespace {

std::string plugin(const std::string& name)
{
    return std::string(TW_PLUGIN_DIR) + "/" + name + TW_PLUGIN_SUFFIX;
}

struct Result {
    int status;
    std::string out;
    std::string err;
};

std::string slurp(const std::string& path)
{
    std::ifstream f(path);
    return std::string(std::istreambuf_iterator<char>(f), {});
}

class Plughost : public ::testing::Test {
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/plughost-test-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir = pattern;
    }
    void TearDown() override { std::system(("rm -rf '" + dir + "'").c_str()); }

    Result run(const std::string& args)
    {
        const std::string outFile = dir + "/stdout", errFile = dir + "/stderr";
        const std::string command = std::string(TW_PLUGHOST) + " " + args + " >" + outFile + " 2>" + errFile;
        const int raw = std::system(command.c_str());
        return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, slurp(outFile), slurp(errFile)};
    }

    std::string path(const std::string& name) const { return dir + "/" + name; }

    static bool exists(const std::string& p)
    {
        struct stat s{};
        return stat(p.c_str(), &s) == 0;
    }

    // Writes a float WAV with the given interleaved samples.
    void writeWav(const std::string& p, int channels, const std::vector<float>& samples, int rate = 44100)
    {
        SF_INFO info{};
        info.channels = channels;
        info.samplerate = rate;
        info.format = SF_FORMAT_WAV | SF_FORMAT_FLOAT;
        SNDFILE* f = sf_open(p.c_str(), SFM_WRITE, &info);
        ASSERT_NE(f, nullptr);
        sf_writef_float(f, samples.data(), static_cast<sf_count_t>(samples.size() / channels));
        sf_close(f);
    }

    std::vector<float> readWav(const std::string& p, int& channels)
    {
        SF_INFO info{};
        SNDFILE* f = sf_open(p.c_str(), SFM_READ, &info);
        if (!f) return {};
        std::vector<float> samples(static_cast<std::size_t>(info.frames * info.channels));
        sf_readf_float(f, samples.data(), info.frames);
        sf_close(f);
        channels = info.channels;
        return samples;
    }

    std::vector<float> stereoTone(int frames)
    {
        std::vector<float> s(static_cast<std::size_t>(frames) * 2);
        for (int i = 0; i < frames; ++i) {
            s[2 * i] = static_cast<float>(0.8 * std::sin(i * 2 * M_PI * 440 / 44100));
            s[2 * i + 1] = static_cast<float>(0.5 * std::sin(i * 2 * M_PI * 660 / 44100 + 1));
        }
        return s;
    }

    // The failure must say what was wrong, exit non-zero and leave no output file.
    void expectFailure(const std::string& args, const std::string& message, const std::string& output)
    {
        const Result r = run(args);
        EXPECT_NE(r.status, 0) << args;
        EXPECT_NE(r.err.find(message), std::string::npos) << "stderr: " << r.err;
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
        EXPECT_FALSE(exists(output)) << output;
        EXPECT_FALSE(exists(output + ".partial")) << output;
    }

    std::string dir;
};

TEST_F(Plughost, InfoListsIdentityParametersAndPrograms)
{
    const Result r = run("info " + plugin("msgrid_vst"));
    ASSERT_EQ(r.status, 0) << r.err;
    for (const char* expected : {"+msgrid", "Tonewerks", "+msg", "1000", "mid gain", "side gain", "encode",
                                 "0.000000 dB", "Default", "canReplacing"})
        EXPECT_NE(r.out.find(expected), std::string::npos) << expected << "\n" << r.out;
}

TEST_F(Plughost, EncodeThenDecodeGivesBackTheInput)
{
    const auto tone = stereoTone(44100 * 6); // long enough for a progress line
    writeWav(path("in.wav"), 2, tone);
    Result r = run("process " + plugin("msgrid_vst") + " " + path("in.wav") + " " + path("ms.wav"));
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.err.find("100%"), std::string::npos) << r.err;
    r = run("process " + plugin("msgrid_vst") + " " + path("ms.wav") + " " + path("out.wav") +
            " --param 2=1 --block 333");
    ASSERT_EQ(r.status, 0) << r.err;
    int channels = 0;
    const auto mid = readWav(path("ms.wav"), channels);
    ASSERT_EQ(mid.size(), tone.size());
    EXPECT_FLOAT_EQ(mid[200], (tone[200] + tone[201]) * 0.5f);
    const auto back = readWav(path("out.wav"), channels);
    ASSERT_EQ(channels, 2);
    ASSERT_EQ(back.size(), tone.size());
    double worst = 0;
    for (std::size_t i = 0; i < tone.size(); ++i) worst = std::max(worst, std::fabs(double(back[i]) - tone[i]));
    EXPECT_LT(worst, 1e-6);
}

TEST_F(Plughost, ParametersAndBypassFromTheCommandLine)
{
    writeWav(path("in.wav"), 2, {0.5f, 0.25f, -1.0f, 1.0f});
    ASSERT_EQ(run("process " + plugin("msgrid_vst") + " " + path("in.wav") + " " + path("a.wav") +
                  " --param 0=1 --program 0")
                  .status,
              0);
    int channels = 0;
    auto a = readWav(path("a.wav"), channels);
    ASSERT_EQ(a.size(), 4u);
    EXPECT_NEAR(a[0], 0.75f * 0.5f * std::pow(10.0, 12.0 / 20), 1e-5);
    ASSERT_EQ(run("process " + plugin("msgrid_vst") + " " + path("in.wav") + " " + path("b.wav") + " --bypass")
                  .status,
              0);
    EXPECT_EQ(readWav(path("b.wav"), channels), (std::vector<float>{0.5f, 0.25f, -1.0f, 1.0f}));
}

TEST_F(Plughost, BadInputsGiveOneClearLineAndNoOutput)
{
    writeWav(path("in.wav"), 2, stereoTone(1000));
    writeWav(path("mono.wav"), 1, std::vector<float>(1000, 0.1f));
    std::ofstream(path("notaplugin.so")) << "this is text";
    std::ofstream(path("notaudio.wav")) << "RIFF? no.";
    const std::string msg = plugin("msgrid_vst");
    const std::string out = path("out.wav");
    const std::string in = path("in.wav");

    expectFailure("process " + path("missing.so") + " " + in + " " + out, "no such file", out);
    expectFailure("info " + path("missing.so"), "no such file", out);
    expectFailure("process " + path("notaplugin.so") + " " + in + " " + out, "not a loadable library", out);
    expectFailure("process /bin/true " + in + " " + out, "not a loadable library", out);
    expectFailure("process " + msg + " " + path("missing.wav") + " " + out, "missing.wav: no such file", out);
    expectFailure("process " + msg + " " + path("notaudio.wav") + " " + out, "not a sound file", out);
    expectFailure("process " + msg + " " + path("mono.wav") + " " + out, "has 1 channel, but the plug-in takes 2",
                  out);
    expectFailure("process " + msg + " " + in + " " + out + " --param 3=0.5", "index out of range", out);
    expectFailure("process " + msg + " " + in + " " + out + " --param -1=0.5", "index out of range", out);
    expectFailure("process " + msg + " " + in + " " + out + " --param 1=loud", "'loud' is not a number", out);
    expectFailure("process " + msg + " " + in + " " + out + " --param 1=nan", "'nan' is not a number", out);
    expectFailure("process " + msg + " " + in + " " + out + " --param x=1", "'x' is not a parameter index", out);
    expectFailure("process " + msg + " " + in + " " + out + " --program 1", "out of range", out);
    expectFailure("process " + msg + " " + in + " " + out + " --block 0", "must be 1 to 65536", out);
    expectFailure("process " + msg + " " + in + " " + out + " --block many", "'many' is not a number", out);
    expectFailure("process " + msg + " " + in + " " + path("nodir/out.wav"), "cannot be written",
                  path("nodir/out.wav"));
}

TEST_F(Plughost, ExistingOutputSurvivesAFailedRun)
{
    writeWav(path("in.wav"), 2, stereoTone(100));
    writeWav(path("mono.wav"), 1, std::vector<float>(100, 0.1f));
    ASSERT_EQ(run("process " + plugin("msgrid_vst") + " " + path("in.wav") + " " + path("out.wav")).status, 0);
    const std::string before = slurp(path("out.wav"));
    EXPECT_NE(run("process " + plugin("msgrid_vst") + " " + path("mono.wav") + " " + path("out.wav")).status, 0);
    EXPECT_EQ(slurp(path("out.wav")), before);
}

TEST_F(Plughost, SqueezrCompressesAWavFile)
{
    // 2 s of a loud tone: 1:4 above -20 dB takes a full-scale peak down to -15 dB.
    std::vector<float> loud(static_cast<std::size_t>(44100) * 2 * 2);
    for (std::size_t f = 0; f < loud.size() / 2; ++f)
        loud[2 * f] = loud[2 * f + 1] = static_cast<float>(std::sin(f * 2 * M_PI * 100 / 44100));
    writeWav(path("in.wav"), 2, loud);
    const Result r = run("process " + plugin("squeezr_vst") + " " + path("in.wav") + " " + path("out.wav") +
                         " --param 1=0.6666667 --param 0=0.8571429 --param 2=0 --block 480");
    ASSERT_EQ(r.status, 0) << r.err;
    int channels = 0;
    const auto out = readWav(path("out.wav"), channels);
    ASSERT_EQ(channels, 2);
    ASSERT_EQ(out.size(), loud.size());
    float peak = 0;
    for (std::size_t i = out.size() / 2; i < out.size(); ++i) peak = std::max(peak, std::fabs(out[i]));
    EXPECT_NEAR(20 * std::log10(peak), -15.0, 0.3);

    const Result i = run("info " + plugin("squeezr_vst"));
    ASSERT_EQ(i.status, 0) << i.err;
    for (const char* expected : {"+squeezr", "Tonewerks", "sqzr", "ratio", "1 : 1.0", "-40.0000 dB", "stereo linked",
                                 "empty", "hasVu canReplacing"})
        EXPECT_NE(i.out.find(expected), std::string::npos) << expected << "\n" << i.out;
}

// libsndfile stamps the PEAK chunk of a float WAV with the time of writing; those four bytes are the
// only ones allowed to differ.
std::string withoutWriteTime(std::string wav)
{
    const std::size_t peak = wav.find("PEAK");
    if (peak != std::string::npos && peak + 16 <= wav.size()) wav.replace(peak + 12, 4, 4, '\0');
    return wav;
}

TEST_F(Plughost, VectorgramLeavesAWavFileAsItWas)
{
    auto tone = stereoTone(44100);
    tone[1000] = 1.0f; // full scale, and beyond it, pass untouched too
    tone[1001] = -3.5f;
    writeWav(path("in.wav"), 2, tone);
    const Result r = run("process " + plugin("vectorgram_vst") + " " + path("in.wav") + " " + path("out.wav") +
                         " --block 300");
    ASSERT_EQ(r.status, 0) << r.err;
    const std::string in = slurp(path("in.wav")), out = slurp(path("out.wav"));
    ASSERT_GT(in.size(), tone.size() * sizeof(float));
    EXPECT_EQ(withoutWriteTime(out), withoutWriteTime(in));
}

TEST_F(Plughost, InfoShowsAProToolsPlugInsNamesIdsStemsAndControls)
{
    const Result r = run("info " + plugin("vectorgram_rtas"));
    ASSERT_EQ(r.status, 0) << r.err;
    for (const char* expected :
         {"Pro Tools plug-in", "manufacturer:  'TNWK'", "4 \"Tone\", 12 \"Tonewerks\", 30 \"Tonewerks\"",
          "version 1", "4 \"+kvl\", 12 \"+vectorgram\", 30 \"Tonewerks +vectorgram\"", "gestalts:    14\n",
          "RTAS, type ID '+vgm', product ID '+vgm'", "4 \"+vgm\", 12 \"+vectorgram\", 30 \"Tonewerks +vectorgram\"",
          "sample-rate support: 6", "gestalts:  7 8 48 29",
          "input format 1 (2 channels), output format 1 (2 channels)",
          "1  'bypa'  on/off 0..1, default 0, value 0 shown 0 \"Off\", master bypass",
          "4 \"Bypa\", 12 \"Bypass\", 30 \"Master Bypass\"", "2  'knb3'  discrete 10..512, default 200",
          "shown 200 \"200\"", "4 \"smp\", 12 \"Samples\", 30 \"Samples\"", "36 bytes",
          "editor:        390 x 430\n"})
        EXPECT_NE(r.out.find(expected), std::string::npos) << expected << "\n" << r.out;
}

TEST_F(Plughost, ProcessRunsAWavFileThroughAProToolsInsert)
{
    auto tone = stereoTone(20000);
    tone[7] = 1.0f;
    tone[8] = -2.5f;
    writeWav(path("in.wav"), 2, tone);
    const std::string rtas = plugin("vectorgram_rtas");
    for (const char* options : {"", " --control 2=0 --block 100", " --bypass --control 2=-2147483648",
                                " --control 1=1 --control 1=0 --block 65536"}) {
        const Result r = run("process " + rtas + " " + path("in.wav") + " " + path("out.wav") + options);
        ASSERT_EQ(r.status, 0) << options << ": " << r.err;
        int channels = 0;
        EXPECT_EQ(readWav(path("out.wav"), channels), tone) << options;
        EXPECT_EQ(channels, 2);
        std::remove(path("out.wav").c_str());
    }
}

TEST_F(Plughost, BadInputsForAProToolsPlugInGiveOneClearLine)
{
    writeWav(path("in.wav"), 2, stereoTone(100));
    writeWav(path("mono.wav"), 1, std::vector<float>(100, 0.1f));
    const std::string rtas = plugin("vectorgram_rtas");
    const std::string in = path("in.wav"), out = path("out.wav");
    const std::string base = "process " + rtas + " " + in + " " + out;
    expectFailure(base + " --control 1=2", "--control 1=2: value out of range", out);
    expectFailure(base + " --control 3=0", "index out of range (the plug-in has 2 controls)", out);
    expectFailure(base + " --control 0=1", "is not a control index", out);
    expectFailure(base + " --control 2=many", "'many' is not a control value", out);
    expectFailure(base + " --control 2=3000000000", "control values are -2147483648 to 2147483647", out);
    expectFailure(base + " --control 2", "expected INDEX=VALUE", out);
    expectFailure(base + " --param 0=1", "has controls, not VST parameters", out);
    expectFailure(base + " --block 0", "must be 1 to 65536", out);
    expectFailure("process " + rtas + " " + path("mono.wav") + " " + out, "has 1 channel, but the plug-in takes 2",
                  out);

    // A copy without its resource file beside it is refused at the open.
    std::system(("cp '" + rtas + "' '" + path("alone.so") + "'").c_str());
    expectFailure("process " + path("alone.so") + " " + in + " " + out,
                  "WinPlugInOpen(73) failed: missing or unreadable resource file", out);
    expectFailure("info " + path("alone.so"), "missing or unreadable resource file", out);
}

} // namespace

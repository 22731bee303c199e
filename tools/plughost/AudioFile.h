// A sound file read or written through libsndfile. A file being written lives under a temporary name
// until commit(), so a failed run never leaves a partial output behind.
#pragma once

#include <sndfile.h>

#include <string>

class AudioFile {
public:
    AudioFile() = default;
    ~AudioFile();
    AudioFile(const AudioFile&) = delete;
    AudioFile& operator=(const AudioFile&) = delete;

    bool openRead(const std::string& path, std::string& error);
    bool openWrite(const std::string& path, int channels, int sampleRate, std::string& error);

    int channels() const { return info_.channels; }
    int sampleRate() const { return info_.samplerate; }
    sf_count_t frames() const { return info_.frames; }

    sf_count_t read(float* interleaved, sf_count_t frames);
    bool write(const float* interleaved, sf_count_t frames);

    // Moves a written file to its final name; without it the destructor removes the temporary file.
    bool commit(std::string& error);

private:
    void closeHandle();

    SNDFILE* file_ = nullptr;
    SF_INFO info_{};
    std::string finalPath_;
    std::string tempPath_;
};

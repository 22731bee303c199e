#include "tools/plughost/AudioFile.h"

#include <cstdio>
#include <unistd.h>

AudioFile::~AudioFile()
{
    closeHandle();
    if (!tempPath_.empty()) std::remove(tempPath_.c_str());
}

void AudioFile::closeHandle()
{
    if (file_) sf_close(file_);
    file_ = nullptr;
}

bool AudioFile::openRead(const std::string& path, std::string& error)
{
    if (access(path.c_str(), R_OK) != 0) {
        error = path + ": no such file";
        return false;
    }
    info_ = {};
    file_ = sf_open(path.c_str(), SFM_READ, &info_);
    if (!file_) {
        error = path + ": not a sound file (" + sf_strerror(nullptr) + ")";
        return false;
    }
    return true;
}

bool AudioFile::openWrite(const std::string& path, int channels, int sampleRate, std::string& error)
{
    info_ = {};
    info_.channels = channels;
    info_.samplerate = sampleRate;
    info_.format = SF_FORMAT_WAV | SF_FORMAT_FLOAT; // the plug-in's own sample format, bit for bit
    finalPath_ = path;
    tempPath_ = path + ".partial";
    file_ = sf_open(tempPath_.c_str(), SFM_WRITE, &info_);
    if (!file_) {
        error = path + ": cannot be written (" + sf_strerror(nullptr) + ")";
        tempPath_.clear();
        return false;
    }
    return true;
}

sf_count_t AudioFile::read(float* interleaved, sf_count_t frames)
{
    return file_ ? sf_readf_float(file_, interleaved, frames) : 0;
}

bool AudioFile::write(const float* interleaved, sf_count_t frames)
{
    return file_ && sf_writef_float(file_, interleaved, frames) == frames;
}

bool AudioFile::commit(std::string& error)
{
    closeHandle();
    if (tempPath_.empty()) return false;
    if (std::rename(tempPath_.c_str(), finalPath_.c_str()) != 0) {
        error = finalPath_ + ": cannot be written";
        return false;
    }
    tempPath_.clear();
    return true;
}

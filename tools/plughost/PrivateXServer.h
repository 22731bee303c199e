// An X server of our own (Xvfb) for when there is no display to open an editor on. It goes when
// this object does; the server also ends by itself if this process dies without saying goodbye.
#pragma once

#include <sys/types.h>

#include <string>

class PrivateXServer {
public:
    PrivateXServer() = default;
    ~PrivateXServer() { stop(); }
    PrivateXServer(const PrivateXServer&) = delete;
    PrivateXServer& operator=(const PrivateXServer&) = delete;

    // Starts Xvfb on a display number it picks itself and waits until it takes connections.
    bool start(std::string& error);
    void stop();

    // The display name, as DISPLAY takes it (":3").
    const std::string& name() const { return name_; }

private:
    pid_t pid_ = -1;
    std::string name_;
};

// A shared library opened as a host opens a plug-in file: privately (its symbols stay its own), and
// closed again when this goes.
#pragma once

#include <string>

class SharedLibrary {
public:
    SharedLibrary() = default;
    ~SharedLibrary();
    SharedLibrary(const SharedLibrary&) = delete;
    SharedLibrary& operator=(const SharedLibrary&) = delete;

    // On failure sets error to one line ("PATH: no such file", "PATH: not a loadable library (...)").
    bool open(const std::string& path, std::string& error);
    void close();
    bool isOpen() const { return handle_ != nullptr; }
    // An exported symbol's address, or null.
    void* symbol(const char* name) const;

private:
    void* handle_ = nullptr;
};

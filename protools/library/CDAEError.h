// The library's one exception type: a 16-bit error code on its way to the export that hands it back.
// Nothing throws it across an export; every entry point catches it and answers the code.
#pragma once

#include <cstdint>

class CDAEError {
public:
    explicit CDAEError(std::int16_t code) : errorCode(code) {}
    std::int16_t code() const { return errorCode; }

private:
    std::int16_t errorCode;
};

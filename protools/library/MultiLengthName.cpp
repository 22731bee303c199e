#include "protools/library/MultiLengthName.h"

std::string pickMultiLengthName(std::string_view names, int maxLength)
{
    if (maxLength <= 0) return {};
    const auto fits = static_cast<std::size_t>(maxLength);
    std::string_view last;
    while (!names.empty()) {
        const std::size_t end = names.find('\n');
        const std::string_view entry = names.substr(0, end);
        names = end == std::string_view::npos ? std::string_view() : names.substr(end + 1);
        if (entry.empty()) continue;
        if (entry.size() <= fits) return std::string(entry);
        last = entry;
    }
    return std::string(last.substr(0, fits));
}

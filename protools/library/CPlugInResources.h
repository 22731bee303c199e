// The plug-in's resource file (the plug-in file's name with ".rsr" appended), as rsrcompile.py makes it
// from a resource description. Little-endian:
//   0  4  'T' 'W' 'R' 'S'
//   4  2  format version, 1
//   6  2  number of resources
//   then each resource: 4 type characters, 1 byte name length (1..255), the name, 4 bytes data length,
//   the data. The file ends with the last resource.
// Page tables (type "PGTB") are the one kind the library reads: 2 bytes page count, then per page
// 2 bytes control count and that many four-character control IDs, first character first.
#pragma once

#include "protools/library/include/PIHostInterface.h"

#include <cstdint>
#include <map>
#include <string>
#include <vector>

class CPlugInResources {
public:
    using Page = std::vector<std::uint32_t>;

    // Reads the file; on any failure (PI_ErrResourceFile) the resources stay empty.
    PI_Err load(const std::string& path);
    PI_Err parse(const std::vector<std::uint8_t>& bytes);
    void clear();
    bool loaded() const { return isLoaded; }

    bool hasPageTables(const std::string& name) const { return pageTables.count(name) != 0; }
    const std::vector<Page>* findPageTables(const std::string& name) const;

    // Nested use of the file by the plug-in; the count is all there is to it here.
    void beginUse() { ++users; }
    void endUse()
    {
        if (users > 0) --users;
    }
    int useCount() const { return users; }

    static constexpr std::size_t kMaxFileSize = 1 << 20;

private:
    std::map<std::string, std::vector<Page>> pageTables;
    bool isLoaded = false;
    int users = 0;
};

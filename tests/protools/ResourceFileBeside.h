// The resource file a Pro Tools plug-in reads is its own file's path with ".rsr" appended. Linked into a
// test program, the library's "own file" is the program, so tests put resource files beside it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace rsr {

// A resource file of page tables: name, then pages of four-character control IDs.
struct PageTables {
    std::string name;
    std::vector<std::vector<std::string>> pages;
};
std::vector<std::uint8_t> build(const std::vector<PageTables>& tables);

// The path the library looks for, next to this test program.
std::string besideProgram();
void write(const std::vector<std::uint8_t>& bytes);
void remove();
// What is there now (empty when there is none).
std::vector<std::uint8_t> read();

}  // namespace rsr

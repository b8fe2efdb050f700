#pragma once
// The built-in space-group table: an ordered store of text lines addressed by a
// 0-based index. Its text is compiled into the program from
// catalogue/space_group_table.txt, which tools/generate_space_group_table.py writes.

#include <string>
#include <vector>

using LineStore = std::vector<std::string>;

// The lines of the built-in table, split once on first use.
const LineStore& SpaceGroupTable();

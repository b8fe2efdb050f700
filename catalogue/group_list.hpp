#pragma once
// The group list of the window's combo box and GroupLine, the map from each
// list item to the line of its entry header in the table.

#include "catalogue/space_group_table.hpp"

#include <array>
#include <cstdint>
#include <functional>
#include <string>

inline constexpr int kGroupLineSlots = 301;
using GroupLineTable = std::array<std::int32_t, kGroupLineSlots>;

// Walks the table once: each " Symmetries" header becomes an item
// "%-14s%5s %-8s" (system name, number field, symbol field) passed to
// appendItem, and its line index is recorded in groupLine. A 302nd header has
// its item appended and then raises the range error "Fehler bei Bereichsprüfung".
void BuildGroupList(const LineStore& table,
                    const std::function<void(const std::string& item)>& appendItem,
                    GroupLineTable& groupLine);

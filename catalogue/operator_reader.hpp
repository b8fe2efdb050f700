#pragma once
// Reads the operator block of one group-list entry into the OperatorTable.

#include "catalogue/group_list.hpp"
#include "catalogue/symmetry_operator.hpp"

#include <cstdint>

// Starts at line groupLine[selectedGroup] + 2 and reads operators 1, 2, … up to
// 192. A block that is not numbered 1, 2, 3, … throws the RunMessage
// "Systemfehler. Raumgruppen-Info korrupt.", an empty block
// "Systemfehler. Keine Symmetrien gefunden."; a field that is no number throws
// the reader's conversion error. OperatorCount always tells how far it got.
void ReadOperators(const LineStore& table, const GroupLineTable& groupLine, std::int32_t selectedGroup,
                   OperatorTable& operators);

// The built-in table as a whole: every entry the catalogue promises, in order,
// and operators that really form each group in its setting.

#include "catalogue/group_list.hpp"
#include "built_in_groups.hpp"
#include "catalogue/operator_reader.hpp"
#include "catalogue/space_group_table.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <string>
#include <vector>

namespace {

struct ExpectedEntry {
    int number;
    const char* symbol;
    int operatorCount;
};

// Table order, which is also the order of the group list.
constexpr ExpectedEntry kEntries[] = {
    // monoklin
    {302, "P121", 2}, {402, "P1211", 2}, {502, "C121", 4}, {602, "P1M1", 2}, {702, "P1C1", 2},
    {802, "C1M1", 4}, {902, "C1C1", 4}, {1002, "P12/M1", 4}, {1102, "P121/M1", 4}, {1202, "C12/M1", 8},
    {1302, "P12/C1", 4}, {1402, "P121/C1", 4}, {1502, "C12/C1", 8},
    // orthorhombisch
    {16, "P222", 4}, {17, "P2221", 4}, {18, "P21212", 4}, {19, "P212121", 4}, {20, "C2221", 8},
    {21, "C222", 8}, {22, "F222", 16}, {23, "I222", 8}, {24, "I212121", 8}, {25, "PMM2", 4}, {26, "PMC21", 4},
    {27, "PCC2", 4}, {28, "PMA2", 4}, {29, "PCA21", 4}, {30, "PNC2", 4}, {31, "PMN21", 4}, {32, "PBA2", 4},
    {33, "PNA21", 4}, {34, "PNN2", 4}, {35, "CMM2", 8}, {36, "CMC21", 8}, {37, "CCC2", 8}, {38, "AMM2", 8},
    {39, "ABM2", 8}, {40, "AMA2", 8}, {41, "ABA2", 8}, {42, "FMM2", 16}, {43, "FDD2", 16}, {44, "IMM2", 8},
    {45, "IBA2", 8}, {46, "IMA2", 8}, {47, "PMMM", 8}, {4802, "PNNNZ", 8}, {49, "PCCM", 8},
    {5002, "PBANZ", 8}, {51, "PMMA", 8}, {52, "PNNA", 8}, {53, "PMNA", 8}, {54, "PCCA", 8}, {55, "PBAM", 8},
    {56, "PCCN", 8}, {57, "PBCM", 8}, {58, "PNNM", 8}, {5902, "PMMNZ", 8}, {60, "PBCN", 8}, {61, "PBCA", 8},
    {62, "PNMA", 8}, {63, "CMCM", 16}, {64, "CMCA", 16}, {65, "CMMM", 16}, {66, "CCCM", 16}, {67, "CMMA", 16},
    {6802, "CCCAZ", 16}, {69, "FMMM", 32}, {7002, "FDDDZ", 32}, {71, "IMMM", 16}, {72, "IBAM", 16},
    {73, "IBCA", 16}, {74, "IMMA", 16},
    // tetragonal
    {75, "P4", 4}, {76, "P41", 4}, {77, "P42", 4}, {78, "P43", 4}, {79, "I4", 8}, {80, "I41", 8},
    {81, "P-4", 4}, {82, "I-4", 8}, {83, "P4/M", 8}, {84, "P42/M", 8}, {8502, "P4/NZ", 8},
    {8602, "P42/NZ", 8}, {87, "I4/M", 16}, {8802, "I41/AZ", 16}, {89, "P422", 8}, {90, "P4212", 8},
    {91, "P4122", 8}, {92, "P41212", 8}, {93, "P4222", 8}, {94, "P42212", 8}, {95, "P4322", 8},
    {96, "P43212", 8}, {97, "I422", 16}, {98, "I4122", 16}, {99, "P4MM", 8}, {100, "P4BM", 8},
    {101, "P42CM", 8}, {102, "P42NM", 8}, {103, "P4CC", 8}, {104, "P4NC", 8}, {105, "P42MC", 8},
    {106, "P42BC", 8}, {107, "I4MM", 16}, {108, "I4CM", 16}, {109, "I41MD", 16}, {110, "I41CD", 16},
    {111, "P-42M", 8}, {112, "P-42C", 8}, {113, "P-421M", 8}, {114, "P-421C", 8}, {115, "P-4M2", 8},
    {116, "P-4C2", 8}, {117, "P-4B2", 8}, {118, "P-4N2", 8}, {119, "I-4M2", 16}, {120, "I-4C2", 16},
    {121, "I-42M", 16}, {122, "I-42D", 16}, {123, "P4/MMM", 16}, {124, "P4/MCC", 16}, {12502, "P4/NBMZ", 16},
    {12602, "P4/NNCZ", 16}, {127, "P4/MBM", 16}, {128, "P4/MNC", 16}, {12902, "P4/NMMZ", 16},
    {13002, "P4/NCCZ", 16}, {131, "P42/MMC", 16}, {132, "P42/MCM", 16}, {13302, "P42/NBCZ", 16},
    {13402, "P42/NNMZ", 16}, {135, "P42/MBC", 16}, {136, "P42/MNM", 16}, {13702, "P42/NMCZ", 16},
    {13802, "P42/NCMZ", 16}, {139, "I4/MMM", 32}, {140, "I4/MCM", 32}, {14102, "I41/AMDZ", 32},
    {14202, "I41/ACDZ", 32},
    // trigonal
    {143, "P3", 3}, {144, "P31", 3}, {145, "P32", 3}, {14602, "R3H", 9}, {147, "P-3", 6}, {14802, "R-3H", 18},
    {149, "P312", 6}, {150, "P321", 6}, {151, "P3112", 6}, {152, "P3121", 6}, {153, "P3212", 6},
    {154, "P3221", 6}, {15502, "R32H", 18}, {156, "P3M1", 6}, {157, "P31M", 6}, {158, "P3C1", 6},
    {159, "P31C", 6}, {16002, "R3MH", 18}, {16102, "R3CH", 18}, {162, "P-31M", 12}, {163, "P-31C", 12},
    {164, "P-3M1", 12}, {165, "P-3C1", 12}, {16602, "R-3MH", 36}, {16702, "R-3CH", 36},
    // hexagonal
    {168, "P6", 6}, {169, "P61", 6}, {170, "P65", 6}, {171, "P62", 6}, {172, "P64", 6}, {173, "P63", 6},
    {174, "P-6", 6}, {175, "P6/M", 12}, {176, "P63/M", 12}, {177, "P622", 12}, {178, "P6122", 12},
    {179, "P6522", 12}, {180, "P6222", 12}, {181, "P6422", 12}, {182, "P6322", 12}, {183, "P6MM", 12},
    {184, "P6CC", 12}, {185, "P63CM", 12}, {186, "P63MC", 12}, {187, "P-6M2", 12}, {188, "P-6C2", 12},
    {189, "P-62M", 12}, {190, "P-62C", 12}, {191, "P6/MMM", 24}, {192, "P6/MCC", 24}, {193, "P63/MCM", 24},
    {194, "P63/MMC", 24},
    // kubisch
    {195, "P23", 12}, {196, "F23", 48}, {197, "I23", 24}, {198, "P213", 12}, {199, "I213", 24},
    {200, "PM-3", 24}, {20102, "PN-3Z", 24}, {202, "FM-3", 96}, {20302, "FD-3Z", 96}, {204, "IM-3", 48},
    {205, "PA-3", 24}, {206, "IA-3", 48}, {207, "P432", 24}, {208, "P4232", 24}, {209, "F432", 96},
    {210, "F4132", 96}, {211, "I432", 48}, {212, "P4332", 24}, {213, "P4132", 24}, {214, "I4132", 48},
    {215, "P-43M", 24}, {216, "F-43M", 96}, {217, "I-43M", 48}, {218, "P-43N", 24}, {219, "F-43C", 96},
    {220, "I-43D", 48}, {221, "PM-3M", 48}, {22202, "PN-3NZ", 48}, {223, "PM-3N", 48}, {22402, "PN-3MZ", 48},
    {225, "FM-3M", 192}, {226, "FM-3C", 192}, {22702, "FD-3MZ", 192}, {22802, "FD-3CZ", 192},
    {229, "IM-3M", 96}, {230, "IA-3D", 96},
};

struct ExpectedSystem {
    const char* name;
    int entries;
};

constexpr ExpectedSystem kSystems[] = {
    {"monoklin", 13}, {"orthorhombisch", 59}, {"tetragonal", 68},
    {"trigonal", 25}, {"hexagonal", 27},      {"kubisch", 36},
};

constexpr std::size_t kEntryCount = std::size(kEntries);
static_assert(kEntryCount == 228);

// The operators of every entry, read once by the reader the run uses.
const std::vector<OperatorTable>& BuiltInOperators()
{
    static const std::vector<OperatorTable> tables = [] {
        std::vector<OperatorTable> all(BuiltInList().items.size());
        for (std::size_t k = 0; k < all.size(); ++k)
            ReadOperators(SpaceGroupTable(), BuiltInList().groupLine, static_cast<std::int32_t>(k), all[k]);
        return all;
    }();
    return tables;
}

using Vector = std::array<double, 3>;
using Matrix = std::array<std::array<double, 3>, 3>;

struct Operation {
    Matrix rotation;
    Vector translation;
};

Operation ToOperation(const SymmetryOperator& op)
{
    Operation result{};
    for (int r = 0; r < 3; ++r) {
        result.translation[r] = op.Translation[r];
        for (int c = 0; c < 3; ++c)
            result.rotation[r][c] = op.Matrix[r][c];
    }
    return result;
}

// Written translations are three-decimal approximations (0.333 for a third),
// so equality modulo 1 can only be asked within the precision of the table.
bool SameModuloOne(double a, double b)
{
    const double difference = a - b;
    return std::fabs(difference - std::round(difference)) < 0.002;
}

bool SameModuloLattice(const Operation& a, const Operation& b)
{
    for (int r = 0; r < 3; ++r) {
        if (!SameModuloOne(a.translation[r], b.translation[r]))
            return false;
        for (int c = 0; c < 3; ++c)
            if (a.rotation[r][c] != b.rotation[r][c])
                return false;
    }
    return true;
}

// x -> a(b(x))
Operation Compose(const Operation& a, const Operation& b)
{
    Operation result{};
    for (int r = 0; r < 3; ++r) {
        result.translation[r] = a.translation[r];
        for (int c = 0; c < 3; ++c) {
            result.translation[r] += a.rotation[r][c] * b.translation[c];
            for (int i = 0; i < 3; ++i)
                result.rotation[r][c] += a.rotation[r][i] * b.rotation[i][c];
        }
    }
    return result;
}

std::vector<Operation> Operations(const OperatorTable& table)
{
    std::vector<Operation> ops;
    for (std::int32_t k = 0; k < table.OperatorCount; ++k)
        ops.push_back(ToOperation(table.Operators[static_cast<std::size_t>(k)]));
    return ops;
}

std::vector<Vector> CentringVectors(char lattice)
{
    switch (lattice) {
    case 'A': return {{0, 0.5, 0.5}};
    case 'C': return {{0.5, 0.5, 0}};
    case 'I': return {{0.5, 0.5, 0.5}};
    case 'F': return {{0, 0.5, 0.5}, {0.5, 0, 0.5}, {0.5, 0.5, 0}};
    case 'R': return {{1.0 / 3, 2.0 / 3, 2.0 / 3}, {2.0 / 3, 1.0 / 3, 1.0 / 3}};
    default: return {};
    }
}

std::string Padded(std::string text, std::size_t width)
{
    if (text.size() < width)
        text.resize(width, ' ');
    return text;
}

}  // namespace

TEST(SpaceGroupTable, KeepsItsLineLayout)
{
    const LineStore& table = SpaceGroupTable();
    ASSERT_EQ(table.size(), 5029u);
    EXPECT_EQ(table.front(), "System triklin");
    EXPECT_EQ(table.back(), ">end");
    for (std::size_t i = 0; i < table.size(); ++i) {
        SCOPED_TRACE("line " + std::to_string(i) + ": " + table[i]);
        const std::string& line = table[i];
        EXPECT_TRUE(std::all_of(line.begin(), line.end(), [](char c) { return c >= ' ' && c <= '~'; }));
        if (line.rfind(" Symmetries", 0) == 0) {
            EXPECT_EQ(line.size(), 37u);
            EXPECT_EQ(line.substr(0, 21), " Symmetries: (Spg No ");
            EXPECT_EQ(line.back(), ')');
            ASSERT_LT(i + 1, table.size());
            EXPECT_EQ(table[i + 1], " Nr ---------X---------  ---------Y---------  ---------Z---------");
        }
        if (line.size() >= 3 && line[2] >= '0' && line[2] <= '9' && line[0] != ';') {
            EXPECT_EQ(line.size(), 64u);
        }
    }
}

TEST(BuiltInGroupList, StartsWithMonoclinicAndEndsWithIa3d)
{
    const BuiltInGroups& list = BuiltInList();
    ASSERT_EQ(list.items.size(), 228u);
    EXPECT_EQ(list.items.front(), "monoklin        302 P121    ");
    EXPECT_EQ(list.groupLine[0], 12);
    EXPECT_EQ(list.items.back(), "kubisch         230 IA-3D   ");
    EXPECT_EQ(list.groupLine[227], 4930);
    for (std::size_t k = 1; k < list.items.size(); ++k)
        EXPECT_LT(list.groupLine[k - 1], list.groupLine[k]) << "item " << k;
}

TEST(BuiltInGroupList, ItemsKeepTheColumnsTheRunReads)
{
    const std::vector<std::string>& items = BuiltInList().items;
    for (const std::string& item : items) {
        EXPECT_EQ(item.size(), 28u) << item;
        EXPECT_NE(item.rfind("triklin", 0), 0u) << item;
    }
    // The cubic System line's trailing blank vanishes in the padding; five-digit
    // numbers and eight-character symbols fill their columns completely.
    for (const char* expected : {"kubisch         195 P23     ", "kubisch       22802 FD-3CZ  ",
                                 "tetragonal    12502 P4/NBMZ ", "tetragonal    13302 P42/NBCZ",
                                 "trigonal      14602 R3H     ", "orthorhombisch   19 P212121 "})
        EXPECT_NE(std::find(items.begin(), items.end(), expected), items.end()) << expected;
}

TEST(BuiltInGroupList, HoldsEveryCatalogueEntryWithItsOperatorCount)
{
    const BuiltInGroups& list = BuiltInList();
    ASSERT_EQ(list.items.size(), kEntryCount);
    std::size_t k = 0;
    for (const ExpectedSystem& system : kSystems) {
        for (int n = 0; n < system.entries; ++n, ++k) {
            const ExpectedEntry& entry = kEntries[k];
            SCOPED_TRACE(std::to_string(entry.number) + " " + entry.symbol);
            std::string number = std::to_string(entry.number);
            number.insert(0, 5 - number.size(), ' ');
            EXPECT_EQ(list.items[k], Padded(system.name, 14) + number + " " + Padded(entry.symbol, 8));
            EXPECT_EQ(BuiltInOperators()[k].OperatorCount, entry.operatorCount);
        }
    }
    EXPECT_EQ(k, kEntryCount);
}

TEST(BuiltInOperators, StartWithTheIdentityAndUseOnlyTheTableValues)
{
    const std::array<float, 8> allowed = {0.000f, 0.167f, 0.250f, 0.333f, 0.500f, 0.667f, 0.750f, 0.833f};
    const std::vector<OperatorTable>& tables = BuiltInOperators();
    for (std::size_t k = 0; k < tables.size(); ++k) {
        SCOPED_TRACE(BuiltInList().items[k]);
        const OperatorTable& table = tables[k];
        const SymmetryOperator& first = table.Operators[0];
        for (int r = 0; r < 3; ++r) {
            EXPECT_EQ(first.Translation[r], 0.0f);
            for (int c = 0; c < 3; ++c)
                EXPECT_EQ(first.Matrix[r][c], r == c ? 1.0f : 0.0f);
        }
        for (std::int32_t i = 0; i < table.OperatorCount; ++i) {
            const SymmetryOperator& op = table.Operators[static_cast<std::size_t>(i)];
            for (int r = 0; r < 3; ++r) {
                EXPECT_NE(std::find(allowed.begin(), allowed.end(), op.Translation[r]), allowed.end())
                    << "operator " << i + 1 << " translation " << op.Translation[r];
                for (int c = 0; c < 3; ++c)
                    EXPECT_TRUE(op.Matrix[r][c] == -1.0f || op.Matrix[r][c] == 0.0f || op.Matrix[r][c] == 1.0f)
                        << "operator " << i + 1;
            }
        }
    }
}

TEST(BuiltInOperators, CentredEntriesRepeatTheBasicBlockForEachCentringVector)
{
    const std::vector<OperatorTable>& tables = BuiltInOperators();
    for (std::size_t k = 0; k < tables.size(); ++k) {
        const char lattice = kEntries[k].symbol[0];
        SCOPED_TRACE(BuiltInList().items[k]);
        const std::vector<Operation> ops = Operations(tables[k]);
        const std::vector<Vector> centring = CentringVectors(lattice);
        ASSERT_EQ(ops.size() % (centring.size() + 1), 0u);
        const std::size_t basic = ops.size() / (centring.size() + 1);
        for (std::size_t j = 0; j < centring.size(); ++j) {
            for (std::size_t i = 0; i < basic; ++i) {
                Operation shifted = ops[i];
                for (int r = 0; r < 3; ++r)
                    shifted.translation[r] += centring[j][r];
                EXPECT_TRUE(SameModuloLattice(ops[(j + 1) * basic + i], shifted))
                    << "operator " << (j + 1) * basic + i + 1 << " is not operator " << i + 1
                    << " shifted by centring vector " << j + 1;
            }
        }
    }
}

TEST(BuiltInOperators, EachEntryIsAGroupModuloLatticeTranslations)
{
    const std::vector<OperatorTable>& tables = BuiltInOperators();
    for (std::size_t k = 0; k < tables.size(); ++k) {
        SCOPED_TRACE(BuiltInList().items[k]);
        const std::vector<Operation> ops = Operations(tables[k]);
        const auto contains = [&](const Operation& wanted) {
            return std::any_of(ops.begin(), ops.end(),
                               [&](const Operation& op) { return SameModuloLattice(op, wanted); });
        };
        bool closed = true;
        for (std::size_t a = 0; a < ops.size() && closed; ++a) {
            for (std::size_t b = 0; b < ops.size() && closed; ++b) {
                if (b < a) {
                    EXPECT_FALSE(SameModuloLattice(ops[a], ops[b]))
                        << "operator " << a + 1 << " repeats operator " << b + 1;
                }
                closed = contains(Compose(ops[a], ops[b]));
                EXPECT_TRUE(closed) << "operator " << a + 1 << " after operator " << b + 1 << " is missing";
            }
        }
    }
}

// BuildGroupList on small tables: which lines make items, how items are laid
// out, and the 301-slot bound of GroupLine.

#include "catalogue/group_list.hpp"
#include "core/run_errors.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const std::string kColumnHeader = " Nr ---------X---------  ---------Y---------  ---------Z---------";
const std::string kIdentity = "  1  0.000 1.0 0.0 0.0    0.000 0.0 1.0 0.0    0.000 0.0 0.0 1.0";

struct Built {
    std::vector<std::string> items;
    GroupLineTable groupLine{};
};

Built Build(const LineStore& table)
{
    Built built;
    built.groupLine.fill(-7);
    BuildGroupList(table, [&](const std::string& item) { built.items.push_back(item); }, built.groupLine);
    return built;
}

}  // namespace

TEST(BuildGroupList, OnlyEntryHeadersMakeItems)
{
    const LineStore table = {
        "System triklin",                                           // 0
        "; Symmetries: (Spg No     1  P1      )",                   // 1
        "; Nr ---------X---------  ---------Y---------  ---------Z---------",
        ";  1  0.000 1.0 0.0 0.0    0.000 0.0 1.0 0.0    0.000 0.0 0.0 1.0",
        "System monoklin",                                          // 4
        "SGSET0044 - *** Herm.-Maug. symbol P 2   3",
        "            *** not unique (setting) ***",
        "            *** Trying spg.   302 ***",
        " Symmetries: (Spg No   302  P121    )",                    // 8
        kColumnHeader,
        kIdentity,
        "; a comment between entries",
        ">rg 229",
        ">os",
        "System kubisch ",                                          // 14
        " Symmetries: (Spg No   229  IM-3M   )",                    // 15
        kColumnHeader,
        kIdentity,
        ">end",
    };
    const Built built = Build(table);
    EXPECT_EQ(built.items, (std::vector<std::string>{"monoklin        302 P121    ", "kubisch         229 IM-3M   "}));
    EXPECT_EQ(built.groupLine[0], 8);
    EXPECT_EQ(built.groupLine[1], 15);
}

TEST(BuildGroupList, MatchesExactlyAndTakesFieldsByColumn)
{
    struct Case {
        const char* what;
        LineStore table;
        std::vector<std::string> items;
    };
    const Case cases[] = {
        {"comparisons are case-sensitive",
         {"System monoklin", "system kubisch", " symmetries: (Spg No   302  P121    )",
          " Symmetries: (Spg No   402  P1211   )"},
         {"monoklin        402 P1211   "}},
        {"a line shorter than the mark matches nothing",
         {"System monoklin", "Syste", " Symmetrie", " Symmetries: (Spg No   402  P1211   )"},
         {"monoklin        402 P1211   "}},
        {"a bare System line empties the name",
         {"System monoklin", "System", " Symmetries: (Spg No   402  P1211   )"},
         {"                402 P1211   "}},
        {"the name is at most 22 characters and the item is not cut",
         {"System abcdefghijklmnopqrstuvwxyz", " Symmetries: (Spg No 12502  P4/NBMZ )"},
         {"abcdefghijklmnopqrstuv12502 P4/NBMZ "}},
        {"a header that ends early gives short fields",
         {"System trigonal", " Symmetries: (Spg No   14", " Symmetries: (Spg No   146  R3"},
         {"trigonal         14         ", "trigonal        146 R3      "}},
        {"only columns 29-36 make the symbol",
         {"System kubisch ", " Symmetries: (Spg No 22802  FD-3CZXYZ)"},
         {"kubisch       22802 FD-3CZXY"}},
        {"a header before any System line has an empty name",
         {" Symmetries: (Spg No    16  P222    )"},
         {"                 16 P222    "}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(Build(c.table).items, c.items);
    }
}

TEST(BuildGroupList, ThreeHundredAndOneEntriesFitAndTheNextIsARangeError)
{
    const std::string header = " Symmetries: (Spg No   302  P121    )";

    const Built full = Build(LineStore(301, header));
    EXPECT_EQ(full.items.size(), 301u);
    EXPECT_EQ(full.groupLine[300], 300);

    Built built;
    std::string message;
    try {
        BuildGroupList(LineStore(302, header), [&](const std::string& item) { built.items.push_back(item); },
                       built.groupLine);
    } catch (const RunTimeError& error) {
        message = error.what();
    }
    EXPECT_EQ(message, error_text::kRangeCheck);
    // The 302nd item is already in the list when the bound stops the build.
    EXPECT_EQ(built.items.size(), 302u);
    EXPECT_EQ(built.groupLine[300], 300);
}

#!/usr/bin/python3
"""Writes catalogue/space_group_table.txt, the program's built-in space-group table.

The operators come from gemmi's space-group table (Debian's python3-gemmi, so run
it with /usr/bin/python3). The table file is committed; building the program
never needs gemmi. Run it again only to regenerate the table:

    /usr/bin/python3 tools/generate_space_group_table.py [output]

The script checks its own output and refuses to write a table that the program
could not use as it is.
"""

import os
import sys

import gemmi

DEN = 24  # gemmi keeps rotations and translations in units of 1/24

SYSTEMS = [  # (System line, first and last group number)
    ("System monoklin", 3, 15),
    ("System orthorhombisch", 16, 74),
    ("System tetragonal", 75, 142),
    ("System trigonal", 143, 167),
    ("System hexagonal", 168, 194),
    # The blank after the name is part of the table's look; the group list pads
    # it away, so the cubic items read like all others.
    ("System kubisch ", 195, 230),
]

ORIGIN_CHOICE_GROUPS = {48, 50, 59, 68, 70, 85, 86, 88, 125, 126, 129, 130, 133, 134,
                        137, 138, 141, 142, 201, 203, 222, 224, 227, 228}
RHOMBOHEDRAL_GROUPS = {146, 148, 155, 160, 161, 166, 167}

# The last three entries are preceded by marker lines; 22802 has them instead of
# the note lines that the other non-default settings carry.
MARKED_ENTRIES = {22802, 229, 230}

# Message code of the note lines; nothing reads it.
NOTE_CODE = "SGSET0044"

COLUMN_HEADER = " Nr ---------X---------  ---------Y---------  ---------Z---------"
EXTRA_COMMENT = "; Trigonal: R-Gitter in hexagonaler Aufstellung, Zentrierung +(1/3,2/3,2/3) +(2/3,1/3,1/3)"

ALLOWED_TRANSLATIONS = {"0.000", "0.167", "0.250", "0.333", "0.500", "0.667", "0.750", "0.833"}

EXPECTED_LINES = 5029
EXPECTED_FIRST_HEADER = 12      # 302 P121
EXPECTED_LAST_HEADER = 4930     # 230 IA-3D


def fail(message):
    sys.exit("generate_space_group_table: " + message)


def setting_for(number):
    """The gemmi entry of the one setting the catalogue offers for a group."""
    candidates = [s for s in gemmi.spacegroup_table() if s.number == number]
    if number in ORIGIN_CHOICE_GROUPS:
        candidates = [s for s in candidates if s.ext == "2"]
    elif number in RHOMBOHEDRAL_GROUPS:
        candidates = [s for s in candidates if s.ext == "H"]
    if not candidates:
        fail(f"gemmi has no suitable setting for group {number}")
    chosen = candidates[0]
    if 3 <= number <= 15 and chosen.qualifier not in ("b", "b1"):
        fail(f"group {number}: expected unique axis b, cell choice 1, got {chosen.xhm()}")
    return chosen


def entry_number(number):
    non_default = 3 <= number <= 15 or number in ORIGIN_CHOICE_GROUPS or number in RHOMBOHEDRAL_GROUPS
    return 100 * number + 2 if non_default else number


def table_symbol(sg):
    return sg.xhm().replace(" ", "").replace(":2", "Z").replace(":H", "H").upper()


def short_symbol(sg):
    """The symbol the note lines quote: the ITA short symbol, blank-separated."""
    symbol = sg.hm
    if 3 <= sg.number <= 15:
        symbol = " ".join(part for part in symbol.split() if part != "1")
    return symbol


def centring_vectors(sg):
    """The non-zero centring vectors, in the order the table repeats the basic block."""
    vectors = [tuple(v) for v in sg.operations().cen_ops]
    if vectors[0] != (0, 0, 0):
        fail(f"{sg.xhm()}: first centring vector is not zero")
    vectors = vectors[1:]
    if sg.hm.startswith("R"):
        # gemmi lists (2/3,1/3,1/3) first; the table wants (1/3,2/3,2/3) first.
        vectors.sort(key=lambda v: v[0])
    expected = {
        "P": [],
        "A": [(0, 12, 12)],
        "C": [(12, 12, 0)],
        "I": [(12, 12, 12)],
        "F": [(0, 12, 12), (12, 0, 12), (12, 12, 0)],
        "R": [(8, 16, 16), (16, 8, 8)],
    }[sg.hm[0]]
    if vectors != expected:
        fail(f"{sg.xhm()}: unexpected centring vectors {vectors}")
    return vectors


def basic_block(sg):
    ops = [(op.rot, op.tran) for op in sg.operations().sym_ops]
    identity = ([[DEN, 0, 0], [0, DEN, 0], [0, 0, DEN]], [0, 0, 0])
    if ops[0][0] != identity[0] or [t % DEN for t in ops[0][1]] != identity[1]:
        fail(f"{sg.xhm()}: the first operator is not the identity")
    return ops


def format_translation(t24):
    text = f"{(t24 % DEN) / DEN:5.3f}"
    if text not in ALLOWED_TRANSLATIONS:
        fail(f"translation {t24}/24 gives {text}")
    return text


def format_coefficient(r24):
    if r24 not in (-DEN, 0, DEN):
        fail(f"matrix coefficient {r24}/24 is not -1, 0 or 1")
    # Formatted from the integer so that a zero never comes out as "-0.0".
    return {-DEN: "-1.0", 0: " 0.0", DEN: " 1.0"}[r24]


def operator_line(k, rot, tran):
    blocks = [format_translation(tran[r]) + "".join(format_coefficient(c) for c in rot[r])
              for r in range(3)]
    return f"{k:3d}  " + "    ".join(blocks)


def entry_header(number, symbol):
    return f" Symmetries: (Spg No {number:>5}  {symbol:<8})"


def entry_lines(number, symbol, sg):
    """Header, column header and the numbered operators of one entry."""
    basic = basic_block(sg)
    ops = list(basic)
    for v in centring_vectors(sg):
        ops += [(rot, [tran[i] + v[i] for i in range(3)]) for rot, tran in basic]
    seen = set()
    for rot, tran in ops:
        key = (tuple(map(tuple, rot)), tuple(t % DEN for t in tran))
        if key in seen:
            fail(f"{symbol}: operator repeated")
        seen.add(key)
    lines = [entry_header(number, symbol), COLUMN_HEADER]
    lines += [operator_line(k, rot, tran) for k, (rot, tran) in enumerate(ops, start=1)]
    return lines


def note_lines(number, sg):
    return [
        f"{NOTE_CODE} - *** Herm.-Maug. symbol {short_symbol(sg)}{sg.number:4d}",
        "            *** not unique (setting) ***",
        f"            *** Trying spg. {number:>5} ***",
    ]


def triclinic_comments():
    lines = []
    for number in (1, 2):
        sg = setting_for(number)
        lines += entry_lines(number, table_symbol(sg), sg)
    return [";" + line for line in lines]


def build_table():
    lines = ["System triklin"] + triclinic_comments()
    entries = []  # (line index of header, number, symbol, operator count)
    for system_line, first, last in SYSTEMS:
        if system_line == "System trigonal":
            lines.append(EXTRA_COMMENT)
        lines.append(system_line)
        for group in range(first, last + 1):
            sg = setting_for(group)
            number = entry_number(group)
            symbol = table_symbol(sg)
            if number in MARKED_ENTRIES:
                lines += [f">rg {number}", ">os"]
            elif number != group:
                lines += note_lines(number, sg)
            block = entry_lines(number, symbol, sg)
            entries.append((len(lines), number, symbol, len(block) - 2))
            lines += block
    lines.append(">end")
    return lines, entries


def check(lines, entries):
    if len(lines) != EXPECTED_LINES:
        fail(f"{len(lines)} lines instead of {EXPECTED_LINES}")
    if len(entries) != 228:
        fail(f"{len(entries)} entries instead of 228")
    if entries[0][:3] != (EXPECTED_FIRST_HEADER, 302, "P121"):
        fail(f"first entry is {entries[0]}")
    if entries[-1][:3] != (EXPECTED_LAST_HEADER, 230, "IA-3D"):
        fail(f"last entry is {entries[-1]}")
    groups = [n if n <= 230 else n // 100 for _, n, _, _ in entries]
    if groups != list(range(3, 231)):
        fail("entries are not the groups 3 to 230 in order")
    if sum(1 for _, n, _, _ in entries if n > 230) != 44:
        fail("not 44 entries in a non-default setting")
    counts = {n: c for _, n, _, c in entries}
    for number, count in ((14602, 9), (225, 192), (226, 192), (22702, 192), (22802, 192), (230, 96)):
        if counts[number] != count:
            fail(f"entry {number} has {counts[number]} operators instead of {count}")
    if max(counts.values()) > 192:
        fail("an entry has more than 192 operators")
    for index, number, symbol, _ in entries:
        if len(lines[index]) != 37 or len(symbol) > 8:
            fail(f"header of {number} {symbol} is not 37 characters")
    for line in lines:
        if not all(" " <= ch <= "~" for ch in line):
            fail(f"non-printable or non-ASCII character in {line!r}")
        if line[:3].strip().isdigit() and len(line) != 64:
            fail(f"operator line is not 64 characters: {line!r}")
    # Nothing may pose as a header or system line except the real ones.
    headers = [i for i, line in enumerate(lines) if line.startswith(" Symmetries")]
    if headers != [i for i, _, _, _ in entries]:
        fail("entry headers are not where the entries are")
    if sum(1 for line in lines if line.startswith("System")) != 7:
        fail("not seven System lines")
    if lines[-1] != ">end":
        fail("the table does not end with >end")


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    output = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "..", "catalogue", "space_group_table.txt")
    lines, entries = build_table()
    check(lines, entries)
    with open(output, "w", encoding="ascii", newline="\n") as f:
        f.write("\n".join(lines) + "\n")
    print(f"wrote {len(lines)} lines, {len(entries)} entries to {os.path.normpath(output)}")


if __name__ == "__main__":
    main()

#!/usr/bin/python3
"""Parses the committed Data/Config/String.txt the way the program does and checks it.

Usage: /usr/bin/python3 tools/strings/test_strings.py
"""

import pathlib
import sys
import tempfile
import unittest

HERE = pathlib.Path(__file__).resolve().parent
sys.path.insert(0, str(HERE))
sys.path.insert(0, str(HERE.parent / "config"))

import make_strings  # noqa: E402
import tokenreader  # noqa: E402

STRING_TABLE = make_strings.REPO / "Data" / "Config" / "String.txt"
IDS_FILE = HERE / "ids.txt"


def parse_table(text):
    """Entries (identifier, text) in file order, by the program's parsing rules."""
    stripped, ok = tokenreader.strip_comments(text)
    if not ok:
        return []
    entries = []
    pos, end = 0, len(stripped)
    while True:
        while pos < end and stripped[pos] in " \t\r\n":
            pos += 1
        if pos >= end:
            break
        begin = pos
        while pos < end and stripped[pos] not in " \t\r\n":
            pos += 1
        if pos >= end:
            break  # an identifier that reaches the end of the file is not counted
        ident = stripped[begin:pos]
        pos += 1
        while pos < end and stripped[pos] in " \t":
            pos += 1
        begin = pos
        while pos < end and stripped[pos] not in "\r\n":
            pos += 1
        if pos >= end:
            break  # so is a text without a line break after it
        raw = stripped[begin:pos]
        entries.append((ident, raw.replace("\\n", "\n").replace("\\r", "\r")))
    return entries[:make_strings.MAX_ENTRIES]


def lookup(entries, ident):
    table = {}
    for key, text in entries:
        table.setdefault(key, text)
    for _ in range(10):
        candidate = table.get(ident, "")
        result = table.get(candidate) or candidate
        if not result.startswith("IDS"):
            return result
        ident = result
    raise AssertionError(f"{ident}: identifiers refer to each other in a ring")


def committed_entries():
    return parse_table(STRING_TABLE.read_bytes().decode("ascii"))


class TableFile(unittest.TestCase):
    def test_file_holds_exactly_the_generator_table(self):
        expected = [(i, t.replace("\\n", "\n")) for i, t in make_strings.all_entries()]
        self.assertEqual(committed_entries(), expected)

    def test_every_listed_identifier_has_a_text(self):
        entries = committed_entries()
        ids = IDS_FILE.read_text(encoding="ascii").split()
        self.assertEqual(ids, sorted(ids))
        self.assertEqual(set(ids), {i for i, _ in entries})
        for ident in ids:
            with self.subTest(ident=ident):
                text = lookup(entries, ident)
                self.assertTrue(text.strip())

    def test_the_misspelt_radio_status_identifier_shows_the_status_label(self):
        entries = committed_entries()
        self.assertEqual(lookup(entries, "ICS_RADIO_TRANSMITTER_STATUS"),
                         lookup(entries, "IDS_RADIO_TRANSMITTER_STATUS"))

    def test_crlf_line_ends_and_a_final_line_break(self):
        raw = STRING_TABLE.read_bytes()
        self.assertTrue(raw.endswith(b"\r\n"))
        self.assertNotIn(b"\n", raw.replace(b"\r\n", b""))

    def test_every_command_group_and_property_key_has_both_texts(self):
        ids = {i for i, _ in committed_entries()}
        bases = [f"IDS_{name}" for name, _, _ in make_strings.COMMANDS]
        bases += [base for base, _, _ in make_strings.COMMAND_GROUPS]
        for set_name, _, _, keys in make_strings.PROPERTY_SETS:
            bases.append(f"IDS_{set_name}")
            bases += [f"IDS_{set_name}__{key}" for key, _, _ in keys]
        for base in bases:
            with self.subTest(base=base):
                self.assertIn(base + "_S", ids)
                self.assertIn(base + "_L", ids)
        self.assertEqual(len(make_strings.COMMANDS), 119)
        self.assertIn("IDS_GRAVITY__DESCRIPTION_S", ids)


class EntryChecks(unittest.TestCase):
    def test_each_kind_of_unsafe_entry_is_reported(self):
        good = ("IDS_A_S", "Fine")
        cases = [
            ([good, good], "defined twice"),
            ([("IDS_B_L", "see http://example")], "comment"),
            ([("IDS_B_L", "a /* b")], "comment"),
            ([("IDS_B_L", "IDS_A_S")], "looked up again"),
            ([good, ("IDS_B_L", "IDS_A_S")], "looked up again"),
            ([("IDS_B_L", "caf\u00e9")], "ASCII"),
            ([("IDS_B_L", "trailing ")], "blanks"),
            ([("IDS_B_L", "")], "empty"),
            ([("IDS_B_L", "C:\\temp")], "backslash"),
            ([("ids_lower", "x")], "not an identifier"),
            ([(f"IDS_X{i}_S", "x") for i in range(1001)], "1000"),
        ]
        for entries, fragment in cases:
            with self.subTest(fragment=fragment, first=entries[-1]):
                problems = make_strings.check_entries(entries)
                self.assertTrue(any(fragment in p for p in problems), problems)

    def test_the_real_table_and_a_line_break_escape_pass(self):
        self.assertEqual(make_strings.check_entries(make_strings.all_entries()), [])
        self.assertEqual(make_strings.check_entries([("IDS_A_L", "one\\ntwo")]), [])


class Reproducible(unittest.TestCase):
    def test_generator_reproduces_the_committed_files(self):
        with tempfile.TemporaryDirectory() as out:
            table, ids = pathlib.Path(out) / "String.txt", pathlib.Path(out) / "ids.txt"
            with open("/dev/null", "w") as quiet:
                stdout, sys.stdout = sys.stdout, quiet
                try:
                    self.assertEqual(make_strings.main(["--out", str(table), "--ids", str(ids)]), 0)
                finally:
                    sys.stdout = stdout
            self.assertEqual(table.read_bytes(), STRING_TABLE.read_bytes())
            self.assertEqual(ids.read_bytes(), IDS_FILE.read_bytes())


if __name__ == "__main__":
    unittest.main()

#!/usr/bin/python3
"""Reads the committed Data/Config/Config.txt back the way the program reads it and checks it.

Usage: /usr/bin/python3 tools/config/test_config.py
"""

import pathlib
import sys
import tempfile
import unittest

sys.path.insert(0, str(pathlib.Path(__file__).resolve().parent))

import make_default_config as cfg  # noqa: E402
import tokenreader  # noqa: E402

CONFIG = cfg.REPO / "Data" / "Config" / "Config.txt"


def load_raw():
    return CONFIG.read_bytes().decode("ascii")


def load_root():
    return tokenreader.TokenFile(load_raw()).root()


def parse_key(text):
    """Splits a key text into (modifier set, key name) as the program's parser does."""
    modifiers = set()
    rest = text
    changed = True
    while changed:
        changed = False
        for prefix in cfg.MODIFIERS:
            if rest.startswith(prefix):
                modifiers.add(prefix)
                rest = rest[len(prefix):]
                changed = True
    return frozenset(modifiers), rest


def read_key_definitions(root):
    records = []
    while True:
        opened = root.open_block("KEY_DEF")
        if opened is None:
            return records
        block, _ = opened
        # the program asks for the command first, then the key
        records.append((block.get_token("FUNCTION"), block.get_string("KEY")))


class Layout(unittest.TestCase):
    def test_every_line_ends_in_cr_lf_and_the_file_ends_with_a_line_break(self):
        raw = load_raw()
        self.assertTrue(raw.endswith("\r\n"))
        self.assertNotIn("\n", raw.replace("\r\n", ""))
        self.assertNotIn("\r", raw.replace("\r\n", ""))

    def test_sections_come_in_the_order_the_program_writes_them(self):
        lines = load_raw().split("\r\n")
        self.assertEqual(lines[:5], ["//--------------------", "// Configuration File",
                                     "//--------------------", "", ""])
        titles = ["// Input Maps", "// Keyboard Axes", "// Key Defs", "// Selected Model",
                  "// Selected Driver and Video Mode",
                  "// Selected Com Port for Radio TX Interface", "// Video Sync"]
        positions = [lines.index(t) for t in titles]
        self.assertEqual(positions, sorted(positions))
        self.assertLess(max(i for i, l in enumerate(lines) if l.startswith(".VARIABLE")),
                        positions[0])

    def test_key_definition_lines_pad_the_key_to_twenty_characters(self):
        for line in load_raw().split("\r\n"):
            if not line.startswith(".KEY_DEF"):
                continue
            with self.subTest(line=line):
                head, tail = line.split('"', 1)[1].split('"', 1)
                self.assertEqual(head + tail[:tail.index(".FUNCTION")],
                                 head + " " * (max(0, 20 - len(head)) + 3))

    def test_group_comments_stand_before_each_change_of_group(self):
        lines = load_raw().split("\r\n")
        expected_group = cfg.NO_GROUP
        previous = []
        for line in lines:
            if line.startswith(".KEY_DEF"):
                name = line.split(".FUNCTION ")[1].rstrip(" }")
                group = next(g for n, g, _ in cfg.COMMANDS if n == name)
                if group != expected_group:
                    expected_group = group
                    self.assertEqual(previous[-2], "// " + cfg.make_strings.group_short_text(group),
                                     name)
                else:
                    self.assertTrue(previous[-1].startswith(".KEY_DEF") or name == "UC_NULL", name)
            previous.append(line)


class ReadBack(unittest.TestCase):
    def test_channel_variables_are_v_ch1_to_v_ch9_in_order(self):
        root = load_root()
        names = []
        while True:
            opened = root.open_block("VARIABLE", named=True)
            if opened is None:
                break
            block, name = opened
            names.append(name)
            self.assertTrue(block.get_string("DESCRIPTION"), name)
        self.assertEqual(names, [f"V_CH{n}" for n in range(1, 10)])

    def test_input_maps_name_known_axes_and_channels_and_the_selection_matches_one(self):
        root = load_root()
        channels = {f"V_CH{n}" for n in range(1, 10)}
        maps = []
        while True:
            opened = root.open_block("INPUT_MAP")
            if opened is None:
                break
            block, _ = opened
            name = block.get_string("NAME")
            self.assertTrue(name)
            self.assertIsNotNone(block.get_string("DESCRIPTION"))
            links = []
            while True:
                link = block.open_block("LINK")
                if link is None:
                    break
                link_block, _ = link
                links.append((link_block.get_token("VARIABLE"), link_block.get_token("INPUT_AXIS"),
                              link_block.get_int("REVERSE")))
            for variable, axis, reverse in links:
                self.assertIn(variable, channels, name)
                self.assertIn(axis, cfg.AXIS_TOKENS, name)
                self.assertIn(reverse, (0, 1), name)
            self.assertEqual(len({v for v, _, _ in links}), len(links), f"{name}: channel twice")
            maps.append((name, links))
        self.assertEqual([m[0] for m in maps], ["Keyboard", "Mouse", "Joystick",
                                                "Radio Transmitter"])
        selected = root.get_string("SELECTED_INPUT_MAP")
        self.assertEqual([m[0].lower() for m in maps].index(selected.lower()), 0)

    def test_keyboard_axes_fill_six_distinct_slots(self):
        root = load_root()
        slots = []
        while True:
            opened = root.open_block("AXIS_KEYBOARD", named=True)
            if opened is None:
                break
            block, token = opened
            self.assertIn(token, [f"AXIS_KEYBOARD_{n}" for n in range(1, 7)])
            self.assertIn(block.get_int("AUTO_CENTRE"), (0, 1))
            self.assertGreaterEqual(block.get_float("TIME_FULL_RANGE"), 0.1)
            slots.append(token)
        self.assertEqual(sorted(slots), [f"AXIS_KEYBOARD_{n}" for n in range(1, 7)])

    def test_every_command_has_its_record_in_command_order(self):
        records = read_key_definitions(load_root())
        self.assertEqual([f for f, _ in records], [name for name, _, _ in cfg.COMMANDS])

    def test_no_key_is_bound_to_two_commands(self):
        seen = {}
        for function, key in read_key_definitions(load_root()):
            if not key:
                continue
            parsed = parse_key(key)
            self.assertNotIn(parsed, seen, f"{key}: {function} and {seen.get(parsed)}")
            seen[parsed] = function

    def test_keys_are_the_defaults_except_the_arrow_keys_of_key_axes_1_and_2(self):
        defaults = {name: key for name, _, key in cfg.COMMANDS}
        arrows = {"UC_KEYAXIS_1_INC": "Right", "UC_KEYAXIS_1_DEC": "Left",
                  "UC_KEYAXIS_2_INC": "Up", "UC_KEYAXIS_2_DEC": "Down"}
        for function, key in read_key_definitions(load_root()):
            with self.subTest(function=function):
                self.assertEqual(key, arrows.get(function, defaults[function]))

    def test_settings_at_the_end(self):
        root = load_root()
        self.assertEqual(root.get_string("SELECTED_MODEL"), "Trainer.mod")
        self.assertEqual(root.get_string("DRIVER"), "")
        self.assertEqual(root.get_string("VIDEO_MODE"), "")
        self.assertEqual(root.get_int("COM_PORT"), 1)
        self.assertEqual(root.get_int("SWAP_INTERVAL"), 0)


class KeyboardFlying(unittest.TestCase):
    """Holds a key through the whole chain: key definition, keyboard axis, selected map, channel."""

    def channel_when_holding(self, key):
        root = load_root()
        command = next(f for f, k in read_key_definitions(load_root()) if k == key)
        slot, direction = command.split("_")[2], +1 if command.endswith("_INC") else -1
        axis = f"AXIS_KEYBOARD_{slot}"
        selected = root.get_string("SELECTED_INPUT_MAP")
        while True:
            block, _ = root.open_block("INPUT_MAP")
            if block.get_string("NAME") == selected:
                break
        while True:
            link_block, _ = block.open_block("LINK")
            variable = link_block.get_token("VARIABLE")
            link_axis = link_block.get_token("INPUT_AXIS")
            if link_axis == axis:
                sign = -1 if link_block.get_int("REVERSE") else 1
                return variable, direction * sign

    def test_arrows_w_s_c_v_move_the_right_channels_the_right_way(self):
        cases = [
            ("Right", ("V_CH1", +1)),  # rolls right
            ("Left", ("V_CH1", -1)),
            ("Up", ("V_CH2", -1)),     # pushes: nose down
            ("Down", ("V_CH2", +1)),   # pulls: nose up
            ("W", ("V_CH3", +1)),      # more throttle
            ("S", ("V_CH3", -1)),
            ("V", ("V_CH4", +1)),      # yaws right
            ("C", ("V_CH4", -1)),
        ]
        for key, expected in cases:
            with self.subTest(key=key):
                self.assertEqual(self.channel_when_holding(key), expected)


class TokenReaderRules(unittest.TestCase):
    """The reader above must itself follow the format, or the checks prove nothing."""

    def test_comments_keys_and_strings(self):
        cases = [
            ('.A 1 .A 2', [1, 2, None]),                       # keys are consumed in order
            ('.A /* .A 5 */ 3', [3, None]),                    # block comment hides a key
            ('// .A 7\r\n.A 4', [4, None]),                    # line comment hides a key
            ('.B { .A 9 } .A 6', [6, None]),                   # nested keys are not seen
        ]
        for text, values in cases:
            with self.subTest(text=text):
                root = tokenreader.TokenFile(text).root()
                self.assertEqual([root.get_int("A") for _ in values], values)
        root = tokenreader.TokenFile('.S "a//b"\r\n').root()
        self.assertEqual(root.get_string("S"), "")  # the comment cut the string open


class Reproducible(unittest.TestCase):
    def test_generator_reproduces_the_committed_file(self):
        with tempfile.TemporaryDirectory() as out:
            path = pathlib.Path(out) / "Config.txt"
            with open("/dev/null", "w") as quiet:
                stdout, sys.stdout = sys.stdout, quiet
                try:
                    self.assertEqual(cfg.main(["--out", str(path)]), 0)
                finally:
                    sys.stdout = stdout
            self.assertEqual(path.read_bytes(), CONFIG.read_bytes())


if __name__ == "__main__":
    unittest.main()

"""A small reader of the program's token text format, for checking generated data files.

It follows the program's rules where they matter to our files: comments ("//" to the line end,
"/*" to "*/", recognised anywhere, even inside quotes), keys written as a dot and a word, found
only at nesting depth 0 of the block being read and consumed when found (a second lookup finds the
next occurrence), named blocks in braces, and quoted strings that must end on their line.
"""

SEPARATORS = "\0\t\n\r "


def strip_comments(text):
    """Returns (text without comments, ok); ok is False when a block comment is left open."""
    out = []
    i = 0
    line_comment = block_comment = False
    while i < len(text):
        pair = text[i:i + 2]
        if block_comment:
            if pair == "*/":
                block_comment = False
                i += 2
                continue
            if pair == "//":
                line_comment = True
            i += 1
            continue
        if pair == "/*":
            block_comment = True
            i += 2
            continue
        if line_comment:
            if text[i] in "\r\n":
                line_comment = False
                out.append(text[i])
            i += 1
            continue
        if pair == "//":
            line_comment = True
            i += 2
            continue
        out.append(text[i])
        i += 1
    return "".join(out), not block_comment


class TokenFile:
    """The loaded text shared by a root block and the blocks opened from it."""

    def __init__(self, text):
        stripped, ok = strip_comments(text)
        if not ok:
            raise ValueError("unterminated block comment")
        self.chars = list(stripped)

    def root(self):
        return Block(self, 0)


class Block:
    def __init__(self, file, start):
        self.file = file
        self.start = start

    def _read_word(self, pos, limit=None):
        chars = self.file.chars
        while pos < len(chars) and chars[pos] in SEPARATORS:
            pos += 1
        begin = pos
        while pos < len(chars) and chars[pos] not in SEPARATORS:
            pos += 1
        word = "".join(chars[begin:pos])
        return (word[:limit] if limit else word), pos

    def _find(self, key):
        """Position just after the consumed key, or None."""
        chars = self.file.chars
        pos = self.start
        depth = 0
        while pos < len(chars):
            c = chars[pos]
            if c == "{":
                depth += 1
            elif c == "}":
                depth -= 1
                if depth < 0:
                    return None
            elif c == "." and depth == 0:
                word, end = self._read_word(pos + 1, 49)
                if word == key[:49]:
                    chars[pos] = "*"
                    return end
                pos = end
                continue
            pos += 1
        return None

    def open_block(self, key, named=False):
        """Returns (block, name) or None."""
        pos = self._find(key)
        if pos is None:
            return None
        name = ""
        if named:
            name, pos = self._read_word(pos)
            if name == "{":
                return None
        chars = self.file.chars
        while pos < len(chars) and chars[pos] != "{":
            pos += 1
        if pos >= len(chars):
            return None
        return Block(self.file, pos + 1), name

    def get_token(self, key):
        pos = self._find(key)
        if pos is None:
            return None
        return self._read_word(pos)[0]

    def get_int(self, key):
        token = self.get_token(key)
        if token is None:
            return None
        digits = ""
        for i, c in enumerate(token):
            if c.isdigit() or (i == 0 and c in "+-"):
                digits += c
            else:
                break
        try:
            return int(digits)
        except ValueError:
            return 0

    def get_float(self, key):
        token = self.get_token(key)
        return None if token is None else float(token)

    def get_string(self, key):
        """The quoted value, '' (and False) when it is broken, None when the key is absent."""
        pos = self._find(key)
        if pos is None:
            return None
        chars = self.file.chars
        while pos < len(chars) and chars[pos] != '"':
            if chars[pos] in "\r\n":
                return ""
            pos += 1
        pos += 1
        begin = pos
        while pos < len(chars) and chars[pos] != '"':
            if chars[pos] in "\r\n":
                return ""
            pos += 1
        if pos >= len(chars):
            return ""
        return "".join(chars[begin:pos])

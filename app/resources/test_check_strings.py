#!/usr/bin/env python3
"""Shows that check_strings.py rejects each kind of broken table."""
import sys
import tempfile
import unittest
from pathlib import Path

sys.dont_write_bytecode = True
sys.path.insert(0, str(Path(__file__).resolve().parent))
import check_strings  # noqa: E402

GOOD = {
    "en": '/* c */\n"Home" = "Home";\n"selected by %d people" = "selected by %d people";\n"day" = "";\n',
    "zh-Hans": '"Home" = "首页"; // c\n"selected by %d people" = "%d人选用";\n"day" = "日";\n',
    "zh-Hant": '"Home" = "首頁";\n"selected by %d people" = "%d人選用";\n"day" = "日";\n',
}


class CheckStringsTest(unittest.TestCase):
    def run_check(self, **overrides):
        with tempfile.TemporaryDirectory() as d:
            tables = {**GOOD, **{k.replace("_", "-"): v for k, v in overrides.items()}}
            for lang, text in tables.items():
                folder = Path(d) / f"{lang}.lproj"
                folder.mkdir()
                (folder / "Localizable.strings").write_text(text, encoding="utf-8")
            problems, _ = check_strings.check(Path(d))
            return problems

    def test_good_tables_pass(self):
        self.assertEqual(self.run_check(), [])

    def test_missing_key(self):
        problems = self.run_check(zh_Hant='"Home" = "首頁";\n"day" = "日";\n')
        self.assertTrue(any("lacks key 'selected by %d people'" in p for p in problems), problems)

    def test_specifier_changed(self):
        problems = self.run_check(zh_Hans='"Home" = "首页";\n"selected by %d people" = "%@人选用";\n"day" = "日";\n')
        self.assertTrue(any("specifiers" in p for p in problems), problems)

    def test_specifier_dropped(self):
        problems = self.run_check(zh_Hans='"Home" = "首页";\n"selected by %d people" = "人选用";\n"day" = "日";\n')
        self.assertTrue(any("specifiers" in p for p in problems), problems)

    def test_english_value_differs(self):
        problems = self.run_check(en='"Home" = "Start";\n"selected by %d people" = "selected by %d people";\n"day" = "";\n')
        self.assertTrue(any("not to itself" in p for p in problems), problems)

    def test_untranslated(self):
        problems = self.run_check(zh_Hans='"Home" = "Home";\n"selected by %d people" = "%d人选用";\n"day" = "日";\n')
        self.assertTrue(any("not translated" in p for p in problems), problems)

    def test_date_piece_with_letter(self):
        problems = self.run_check(en='"Home" = "Home";\n"selected by %d people" = "selected by %d people";\n"day" = "day";\n')
        self.assertTrue(any("pattern letter" in p for p in problems), problems)

    def test_missing_semicolon(self):
        problems = self.run_check(zh_Hant='"Home" = "首頁"\n"selected by %d people" = "%d人選用";\n"day" = "日";\n')
        self.assertTrue(any("expected ';'" in p for p in problems), problems)

    def test_unterminated_comment(self):
        problems = self.run_check(zh_Hant='/* open\n"Home" = "首頁";\n')
        self.assertTrue(any("unterminated comment" in p for p in problems), problems)

    def test_duplicate_key(self):
        problems = self.run_check(zh_Hans='"Home" = "首页";\n"Home" = "主页";\n"selected by %d people" = "%d人选用";\n"day" = "日";\n')
        self.assertTrue(any("appears twice" in p for p in problems), problems)

    def test_escapes(self):
        pairs = check_strings.parse_strings(r'"a \"b\"" = "c\\d\n\u4e2d";')
        self.assertEqual(pairs, [('a "b"', "c\\d\n中")])


if __name__ == "__main__":
    unittest.main()

"""Reads the version record back from the built PELKWARDT.EXE and checks every field.

Environment: PELKWARDT_BIN (the executable) and WINDRES (MinGW's windres, which decompiles the
executable's resources into resource-script text).
"""

import os
import re
import subprocess
import unittest


def decompiled_resources():
    return subprocess.run([os.environ["WINDRES"], "-i", os.environ["PELKWARDT_BIN"], "-O", "rc"],
                          check=True, capture_output=True).stdout.decode("ascii")


def unescape(literal):
    """The text of a resource-script string literal; octal escapes stand for one character each."""
    return re.sub(r"\\([0-7]{3})", lambda m: chr(int(m.group(1), 8)), literal)


class VersionRecordTest(unittest.TestCase):
    def setUp(self):
        self.script = decompiled_resources()

    def test_strings(self):
        values = {name: unescape(text)
                  for name, text in re.findall(r'VALUE "(\w+)", L?"((?:[^"\\]|\\.)*)"', self.script)}
        self.assertEqual(values, {
            "CompanyName": "VELMORA",
            "FileDescription": "Logfileprüfung",
            "FileVersion": "4.5.3470.0",
            "InternalName": "PELKWARDT.EXE",
            "ProductName": "QUARDELIN",
            "ProductVersion": "3470",
            "Comments": "Logfileprüfung",
        })

    def test_german_code_page_1252_and_binary_version(self):
        self.assertIn('BLOCK "040704E4"', self.script)
        self.assertRegex(self.script, r'VALUE "Translation", 0x407, 1252')
        self.assertRegex(self.script, r"LANGUAGE 7, 1")
        self.assertRegex(self.script, r"FILEVERSION 4, 5, 3470, 0")


if __name__ == "__main__":
    unittest.main()

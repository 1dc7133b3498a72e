#!/usr/bin/env python3
"""Scripts with mistakes are refused with a message naming the line."""
import os
import subprocess
import sys
import tempfile
import unittest

RC = os.path.join(os.path.dirname(os.path.abspath(__file__)), 'rc.py')


def compile_script(text, files=None):
    with tempfile.TemporaryDirectory() as d:
        for name, data in (files or {}).items():
            with open(os.path.join(d, name), 'wb') as f:
                f.write(data)
        path = os.path.join(d, 'x.rc')
        with open(path, 'wb') as f:
            f.write(text.encode('cp1252'))
        out = os.path.join(d, 'x.cpp')
        result = subprocess.run([sys.executable, RC, path, '-o', out], capture_output=True, text=True)
        generated = None
        if os.path.exists(out):
            with open(out) as f:
                generated = f.read()
        return result.returncode, result.stderr, generated


class Errors(unittest.TestCase):
    def refused(self, text, message, files=None):
        code, err, out = compile_script(text, files)
        self.assertNotEqual(code, 0)
        self.assertIsNone(out)
        self.assertIn(message, err)
        return err

    def test_unknown_identifier_names_its_line(self):
        err = self.refused('1 DIALOG 0,0,1,1\nBEGIN\nPUSHBUTTON "",IDC_NOPE,0,0,1,1\nEND\n', 'IDC_NOPE')
        self.assertIn('x.rc:3', err)

    def test_missing_and_wrong_files(self):
        self.refused('1 ICON "nothere.ico"\n', 'cannot read')
        self.refused('1 ICON "a.ico"\n', 'not a .ico', {'a.ico': b'\0\0\2\0\1\0'})
        self.refused('1 BITMAP "a.bmp"\n', 'not a BMP', {'a.bmp': b'XX' + b'\0' * 40})

    def test_structure_errors(self):
        self.refused('1 DIALOG 0,0,1\nBEGIN\nEND\n', 'expected')
        self.refused('1 DIALOG 0,0,1,1\nBEGIN\nBOGUS 1\nEND\n', 'unknown control')
        self.refused('1 DIALOG 0,0,40000,1\nBEGIN\nEND\n', 'out of range')
        self.refused('STRINGTABLE\nBEGIN\n1 "a"\n1 "b"\nEND\n', 'defined twice')
        self.refused('#ifdef X\n', 'missing #endif')
        self.refused('#define A A\n1 DIALOG A,0,1,1\nBEGIN\nEND\n', 'recursively')
        self.refused('STRINGTABLE\nBEGIN\n1 "a\n', 'unexpected character')
        self.refused('', 'no resources')

    def test_good_script_compiles(self):
        code, err, out = compile_script('#define X 5\nX DIALOG 0,0,1,1\nBEGIN\nEND\n'
                                        'STRINGTABLE BEGIN 1 "a" END\n')
        self.assertEqual(code, 0, err)
        self.assertIn('{nullptr, 5, nullptr, 5,', out)
        self.assertIn('{nullptr, 6, nullptr, 1,', out)


if __name__ == '__main__':
    unittest.main()

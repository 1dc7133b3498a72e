#!/usr/bin/env python3
"""Resource compiler: turns a resource script (.rc) into a C++ source file
that registers every resource with the layer's resource table.

Supported: #include/#define/#undef/#ifdef/#ifndef/#if/#else/#endif; DIALOG and
DIALOGEX with STYLE, EXSTYLE, CAPTION, FONT, CLASS and the controls CONTROL,
PUSHBUTTON, DEFPUSHBUTTON, LTEXT, CTEXT, RTEXT, GROUPBOX, CHECKBOX,
AUTOCHECKBOX, RADIOBUTTON, AUTORADIOBUTTON, EDITTEXT, COMBOBOX, LISTBOX,
SCROLLBAR and ICON; STRINGTABLE; file resources ICON, CURSOR, BITMAP and any
user-defined type (such as WAVE) naming a file.

Output formats: dialogs as extended dialog templates (UTF-16 strings);
string tables in blocks of sixteen counted UTF-16 strings; BITMAP as a packed
DIB (the file without its 14-byte file header); ICON and CURSOR as the whole
.ico/.cur file under the group-icon/group-cursor type; user types as the file.
Eight-bit text in the script is Windows-1252.

Usage: rc.py input.rc -o output.cpp [--depfile output.d]
"""
import argparse
import os
import re
import struct
import sys

RT_CURSOR, RT_BITMAP, RT_ICON, RT_DIALOG, RT_STRING = 1, 2, 3, 5, 6
RT_GROUP_CURSOR, RT_GROUP_ICON = 12, 14

CONSTANTS = {
    # Window styles.
    'WS_OVERLAPPED': 0, 'WS_POPUP': 0x80000000, 'WS_CHILD': 0x40000000,
    'WS_MINIMIZE': 0x20000000, 'WS_VISIBLE': 0x10000000, 'WS_DISABLED': 0x08000000,
    'WS_CLIPSIBLINGS': 0x04000000, 'WS_CLIPCHILDREN': 0x02000000, 'WS_MAXIMIZE': 0x01000000,
    'WS_CAPTION': 0x00C00000, 'WS_BORDER': 0x00800000, 'WS_DLGFRAME': 0x00400000,
    'WS_VSCROLL': 0x00200000, 'WS_HSCROLL': 0x00100000, 'WS_SYSMENU': 0x00080000,
    'WS_THICKFRAME': 0x00040000, 'WS_GROUP': 0x00020000, 'WS_TABSTOP': 0x00010000,
    'WS_MINIMIZEBOX': 0x00020000, 'WS_MAXIMIZEBOX': 0x00010000,
    # Extended window styles.
    'WS_EX_DLGMODALFRAME': 0x1, 'WS_EX_NOPARENTNOTIFY': 0x4, 'WS_EX_TOPMOST': 0x8,
    'WS_EX_ACCEPTFILES': 0x10, 'WS_EX_TRANSPARENT': 0x20, 'WS_EX_TOOLWINDOW': 0x80,
    'WS_EX_WINDOWEDGE': 0x100, 'WS_EX_CLIENTEDGE': 0x200, 'WS_EX_CONTROLPARENT': 0x10000,
    'WS_EX_STATICEDGE': 0x20000, 'WS_EX_APPWINDOW': 0x40000,
    # Dialog styles.
    'DS_ABSALIGN': 0x1, 'DS_SYSMODAL': 0x2, 'DS_3DLOOK': 0x4, 'DS_FIXEDSYS': 0x8,
    'DS_NOFAILCREATE': 0x10, 'DS_LOCALEDIT': 0x20, 'DS_SETFONT': 0x40,
    'DS_MODALFRAME': 0x80, 'DS_NOIDLEMSG': 0x100, 'DS_SETFOREGROUND': 0x200,
    'DS_CONTROL': 0x400, 'DS_CENTER': 0x800, 'DS_CENTERMOUSE': 0x1000,
    'DS_CONTEXTHELP': 0x2000, 'DS_SHELLFONT': 0x48,
    # Buttons.
    'BS_PUSHBUTTON': 0x0, 'BS_DEFPUSHBUTTON': 0x1, 'BS_CHECKBOX': 0x2, 'BS_AUTOCHECKBOX': 0x3,
    'BS_RADIOBUTTON': 0x4, 'BS_3STATE': 0x5, 'BS_AUTO3STATE': 0x6, 'BS_GROUPBOX': 0x7,
    'BS_USERBUTTON': 0x8, 'BS_AUTORADIOBUTTON': 0x9, 'BS_PUSHBOX': 0xA, 'BS_OWNERDRAW': 0xB,
    'BS_LEFTTEXT': 0x20, 'BS_ICON': 0x40, 'BS_BITMAP': 0x80, 'BS_LEFT': 0x100,
    'BS_RIGHT': 0x200, 'BS_CENTER': 0x300, 'BS_TOP': 0x400, 'BS_BOTTOM': 0x800,
    'BS_VCENTER': 0xC00, 'BS_PUSHLIKE': 0x1000, 'BS_MULTILINE': 0x2000,
    'BS_NOTIFY': 0x4000, 'BS_FLAT': 0x8000,
    # Statics.
    'SS_LEFT': 0x0, 'SS_CENTER': 0x1, 'SS_RIGHT': 0x2, 'SS_ICON': 0x3, 'SS_BLACKRECT': 0x4,
    'SS_GRAYRECT': 0x5, 'SS_WHITERECT': 0x6, 'SS_BLACKFRAME': 0x7, 'SS_GRAYFRAME': 0x8,
    'SS_WHITEFRAME': 0x9, 'SS_SIMPLE': 0xB, 'SS_LEFTNOWORDWRAP': 0xC, 'SS_OWNERDRAW': 0xD,
    'SS_BITMAP': 0xE, 'SS_ETCHEDHORZ': 0x10, 'SS_ETCHEDVERT': 0x11, 'SS_ETCHEDFRAME': 0x12,
    'SS_NOPREFIX': 0x80, 'SS_NOTIFY': 0x100, 'SS_CENTERIMAGE': 0x200, 'SS_SUNKEN': 0x1000,
    # Edits.
    'ES_LEFT': 0x0, 'ES_CENTER': 0x1, 'ES_RIGHT': 0x2, 'ES_MULTILINE': 0x4,
    'ES_UPPERCASE': 0x8, 'ES_LOWERCASE': 0x10, 'ES_PASSWORD': 0x20, 'ES_AUTOVSCROLL': 0x40,
    'ES_AUTOHSCROLL': 0x80, 'ES_NOHIDESEL': 0x100, 'ES_READONLY': 0x800,
    'ES_WANTRETURN': 0x1000, 'ES_NUMBER': 0x2000,
    # List boxes.
    'LBS_NOTIFY': 0x1, 'LBS_SORT': 0x2, 'LBS_NOREDRAW': 0x4, 'LBS_MULTIPLESEL': 0x8,
    'LBS_OWNERDRAWFIXED': 0x10, 'LBS_OWNERDRAWVARIABLE': 0x20, 'LBS_HASSTRINGS': 0x40,
    'LBS_USETABSTOPS': 0x80, 'LBS_NOINTEGRALHEIGHT': 0x100, 'LBS_MULTICOLUMN': 0x200,
    'LBS_WANTKEYBOARDINPUT': 0x400, 'LBS_EXTENDEDSEL': 0x800, 'LBS_DISABLENOSCROLL': 0x1000,
    'LBS_NODATA': 0x2000, 'LBS_NOSEL': 0x4000, 'LBS_STANDARD': 0x00A00003,
    # Combo boxes.
    'CBS_SIMPLE': 0x1, 'CBS_DROPDOWN': 0x2, 'CBS_DROPDOWNLIST': 0x3,
    'CBS_OWNERDRAWFIXED': 0x10, 'CBS_OWNERDRAWVARIABLE': 0x20, 'CBS_AUTOHSCROLL': 0x40,
    'CBS_OEMCONVERT': 0x80, 'CBS_SORT': 0x100, 'CBS_HASSTRINGS': 0x200,
    'CBS_NOINTEGRALHEIGHT': 0x400, 'CBS_DISABLENOSCROLL': 0x800,
    'CBS_UPPERCASE': 0x2000, 'CBS_LOWERCASE': 0x4000,
    'SBS_HORZ': 0x0, 'SBS_VERT': 0x1,
    # Dialog box command ids.
    'IDOK': 1, 'IDCANCEL': 2, 'IDABORT': 3, 'IDRETRY': 4, 'IDIGNORE': 5, 'IDYES': 6,
    'IDNO': 7, 'IDC_STATIC': -1,
    'FW_NORMAL': 400, 'FW_BOLD': 700,
}

# Predefined window classes and their ordinals in a dialog template.
CLASS_ORDINALS = {'button': 0x80, 'edit': 0x81, 'static': 0x82, 'listbox': 0x83,
                  'scrollbar': 0x84, 'combobox': 0x85}

WS_CHILD_VISIBLE = 0x50000000
# Control statement -> (class, default style, has text).
CONTROLS = {
    'LTEXT': ('static', 0x0 | 0x20000, True),
    'CTEXT': ('static', 0x1 | 0x20000, True),
    'RTEXT': ('static', 0x2 | 0x20000, True),
    'PUSHBUTTON': ('button', 0x0 | 0x10000, True),
    'DEFPUSHBUTTON': ('button', 0x1 | 0x10000, True),
    'PUSHBOX': ('button', 0xA | 0x10000, True),
    'CHECKBOX': ('button', 0x2 | 0x10000, True),
    'AUTOCHECKBOX': ('button', 0x3 | 0x10000, True),
    'STATE3': ('button', 0x5 | 0x10000, True),
    'AUTO3STATE': ('button', 0x6 | 0x10000, True),
    'RADIOBUTTON': ('button', 0x4 | 0x10000, True),
    'AUTORADIOBUTTON': ('button', 0x9, True),
    'GROUPBOX': ('button', 0x7, True),
    'EDITTEXT': ('edit', 0x0 | 0x00800000 | 0x10000, False),
    'COMBOBOX': ('combobox', 0x1 | 0x10000, False),
    'LISTBOX': ('listbox', 0x1 | 0x00800000, False),
    'SCROLLBAR': ('scrollbar', 0x0, False),
}
MEMORY_OPTIONS = {'DISCARDABLE', 'MOVEABLE', 'FIXED', 'PURE', 'IMPURE', 'PRELOAD',
                  'LOADONCALL', 'SHARED', 'NONSHARED'}
IGNORED_INCLUDES = {'windows.h', 'winres.h', 'afxres.h', 'winuser.h', 'commctrl.h'}


class RcError(Exception):
    pass


def cp1252_char(byte):
    """The character of one Windows-1252 byte; the five bytes the code page
    leaves undefined stand for the control of the same value."""
    try:
        return bytes([byte]).decode('cp1252')
    except UnicodeDecodeError:
        return chr(byte)


def decode_cp1252(data):
    return ''.join(cp1252_char(b) if 0x80 <= b < 0xA0 else chr(b) for b in data)


class Token:
    def __init__(self, kind, value, where):
        self.kind, self.value, self.where = kind, value, where

    def __repr__(self):
        return '%s %r' % (self.kind, self.value)


TOKEN_RE = re.compile(r'''
    (?P<space>[ \t\r\f\v]+)
  | (?P<number>0[xX][0-9a-fA-F]+[lLuU]*|\d+[lLuU]*)
  | (?P<string>L?"(?:[^"\\\n]|\\.|"")*")
  | (?P<name>[A-Za-z_][A-Za-z0-9_]*)
  | (?P<punct>[,|()+\-~{}&*/])
''', re.VERBOSE)


def unescape(body, where):
    out, i = [], 0
    while i < len(body):
        c = body[i]
        if c == '"' and body[i + 1:i + 2] == '"':
            out.append('"')
            i += 2
            continue
        if c != '\\':
            out.append(c)
            i += 1
            continue
        n = body[i + 1:i + 2]
        simple = {'n': '\n', 't': '\t', 'r': '\r', 'a': '\a', '\\': '\\', '"': '"', '0': '\0'}
        if n in ('x', 'X'):
            m = re.match(r'[0-9a-fA-F]{1,2}', body[i + 2:])
            if not m:
                raise RcError('%s: bad \\x escape' % where)
            out.append(cp1252_char(int(m.group(0), 16)))
            i += 2 + len(m.group(0))
        elif n in simple:
            out.append(simple[n])
            i += 2
        else:
            raise RcError('%s: unknown escape \\%s' % (where, n))
    return ''.join(out)


def tokenize(line, where):
    tokens, pos = [], 0
    while pos < len(line):
        m = TOKEN_RE.match(line, pos)
        if not m:
            raise RcError('%s: unexpected character %r' % (where, line[pos]))
        pos = m.end()
        kind = m.lastgroup
        if kind == 'space':
            continue
        text = m.group(0)
        if kind == 'number':
            tokens.append(Token('number', int(text.rstrip('lLuU'), 0), where))
        elif kind == 'string':
            body = text[2:-1] if text.startswith('L') else text[1:-1]
            tokens.append(Token('string', unescape(body, where), where))
        else:
            tokens.append(Token(kind, text, where))
    return tokens


def strip_comments(text):
    # Removes // and /* */ comments outside strings, keeping line numbers.
    out, i, n = [], 0, len(text)
    while i < n:
        c = text[i]
        if c == '"':
            j = i + 1
            while j < n and text[j] != '\n':
                if text[j] == '\\':
                    j += 2
                    continue
                if text[j] == '"':
                    if text[j + 1:j + 2] == '"':
                        j += 2
                        continue
                    break
                j += 1
            out.append(text[i:j + 1])
            i = j + 1
        elif text.startswith('//', i):
            while i < n and text[i] != '\n':
                i += 1
        elif text.startswith('/*', i):
            end = text.find('*/', i + 2)
            if end < 0:
                raise RcError('unterminated comment')
            out.append('\n' * text.count('\n', i, end))
            i = end + 2
        else:
            out.append(c)
            i += 1
    return ''.join(out)


class Preprocessor:
    def __init__(self):
        self.defines = {}
        self.files = []

    def run(self, path, depth=0):
        if depth > 16:
            raise RcError('%s: includes nested too deeply' % path)
        try:
            with open(path, 'rb') as f:
                text = decode_cp1252(f.read())
        except OSError as e:
            raise RcError('cannot read %s: %s' % (path, e.strerror))
        self.files.append(path)
        tokens = []
        active = []  # stack of (taking, any_branch_taken)
        lines = strip_comments(text).split('\n')
        base = os.path.dirname(path)
        number = 0
        while number < len(lines):
            line = lines[number]
            number += 1
            while line.endswith('\\') and number < len(lines):
                line = line[:-1] + lines[number]
                number += 1
            where = '%s:%d' % (path, number)
            stripped = line.strip()
            taking = all(a[0] for a in active)
            if stripped.startswith('#'):
                directive = stripped[1:].strip()
                word, _, rest = directive.partition(' ')
                word, rest = word.strip(), rest.strip()
                if word in ('ifdef', 'ifndef'):
                    cond = (rest in self.defines) == (word == 'ifdef')
                    active.append([cond, cond])
                elif word == 'if':
                    cond = taking and self.condition(rest, where)
                    active.append([cond, cond])
                elif word == 'elif':
                    if not active:
                        raise RcError('%s: #elif without #if' % where)
                    cond = not active[-1][1] and self.condition(rest, where)
                    active[-1] = [cond, active[-1][1] or cond]
                elif word == 'else':
                    if not active:
                        raise RcError('%s: #else without #if' % where)
                    active[-1] = [not active[-1][1], True]
                elif word == 'endif':
                    if not active:
                        raise RcError('%s: #endif without #if' % where)
                    active.pop()
                elif not taking:
                    pass
                elif word == 'define':
                    m = re.match(r'([A-Za-z_]\w*)(\(.*?\))?\s*(.*)$', rest)
                    if not m:
                        raise RcError('%s: bad #define' % where)
                    if m.group(2) is None:
                        self.defines[m.group(1)] = tokenize(m.group(3), where)
                elif word == 'undef':
                    self.defines.pop(rest, None)
                elif word == 'include':
                    m = re.match(r'(?:"([^"]+)"|<([^>]+)>)$', rest)
                    if not m:
                        raise RcError('%s: bad #include' % where)
                    name = m.group(1) or m.group(2)
                    if m.group(2) or name.lower() in IGNORED_INCLUDES:
                        continue
                    included = os.path.join(base, name.replace('\\', '/'))
                    tokens += self.run(included, depth + 1)
                elif word in ('pragma', 'error', 'line', ''):
                    if word == 'error':
                        raise RcError('%s: #error %s' % (where, rest))
                else:
                    raise RcError('%s: unknown directive #%s' % (where, word))
                continue
            if taking:
                tokens += tokenize(line, where)
        if active:
            raise RcError('%s: missing #endif' % path)
        return tokens

    def condition(self, text, where):
        text = re.sub(r'defined\s*\(\s*(\w+)\s*\)|defined\s+(\w+)',
                      lambda m: '1' if (m.group(1) or m.group(2)) in self.defines else '0', text)
        parser = Parser(tokenize(text, where), self.defines, where)
        value = parser.expression()
        return value != 0


class Parser:
    def __init__(self, tokens, defines, origin):
        self.tokens, self.pos, self.defines, self.origin = tokens, 0, defines, origin

    def where(self):
        if self.pos < len(self.tokens):
            return self.tokens[self.pos].where
        return self.tokens[-1].where if self.tokens else self.origin

    def error(self, message):
        raise RcError('%s: %s' % (self.where(), message))

    def peek(self, offset=0):
        i = self.pos + offset
        return self.tokens[i] if i < len(self.tokens) else None

    def next(self):
        tok = self.peek()
        if tok is None:
            self.error('unexpected end of file')
        self.pos += 1
        return tok

    def at_word(self, *words):
        tok = self.peek()
        return tok is not None and tok.kind == 'name' and tok.value.upper() in words

    def at_punct(self, p):
        tok = self.peek()
        return tok is not None and tok.kind == 'punct' and tok.value == p

    def expect_punct(self, p):
        if not self.at_punct(p):
            self.error('expected "%s"' % p)
        self.pos += 1

    def comma(self):
        if self.at_punct(','):
            self.pos += 1
            return True
        return False

    def macro(self, name, depth=0):
        if depth > 32:
            self.error('macro %s expands recursively' % name)
        if name in self.defines:
            sub = Parser(self.defines[name], self.defines, self.where())
            value = sub.expression(depth + 1)
            if sub.peek() is not None:
                self.error('macro %s is not a number' % name)
            return value
        if name in CONSTANTS:
            return CONSTANTS[name]
        return None

    def primary(self, depth=0):
        tok = self.next()
        if tok.kind == 'number':
            return tok.value
        if tok.kind == 'name':
            value = self.macro(tok.value, depth)
            if value is None:
                self.pos -= 1
                self.error('unknown identifier %s' % tok.value)
            return value
        if tok.kind == 'punct' and tok.value == '(':
            value = self.expression(depth)
            self.expect_punct(')')
            return value
        if tok.kind == 'punct' and tok.value in '-~':
            value = self.primary(depth)
            return -value if tok.value == '-' else ~value
        self.pos -= 1
        self.error('expected a number')

    def expression(self, depth=0):
        """Integer expression: | & + - * / ~ and parentheses, left to right."""
        value = self.primary(depth)
        while self.peek() is not None and self.peek().kind == 'punct' and self.peek().value in '|&+-*/':
            op = self.next().value
            rhs = self.primary(depth)
            if op == '/' and rhs == 0:
                self.error('division by zero')
            value = {'|': value | rhs, '&': value & rhs, '+': value + rhs, '-': value - rhs,
                     '*': value * rhs, '/': int(value / rhs) if rhs else 0}[op]
        return value

    def style(self, base):
        """A style: terms joined by '|', where NOT x clears bits of the default."""
        value = base
        while True:
            negate = False
            if self.at_word('NOT'):
                self.pos += 1
                negate = True
            term = self.primary()
            while self.peek() is not None and self.peek().kind == 'punct' and self.peek().value in '+-&':
                op = self.next().value
                rhs = self.primary()
                term = {'+': term + rhs, '-': term - rhs, '&': term & rhs}[op]
            value = value & ~term if negate else value | term
            if not self.at_punct('|'):
                break
            self.pos += 1
        return value & 0xFFFFFFFF

    def string(self):
        tok = self.next()
        if tok.kind != 'string':
            self.pos -= 1
            self.error('expected a string')
        return tok.value

    def name_or_id(self):
        """A resource name: a number, a defined identifier, or a string."""
        tok = self.peek()
        if tok is None:
            self.error('unexpected end of file')
        if tok.kind == 'string':
            self.pos += 1
            return tok.value.upper()
        if tok.kind == 'name' and self.macro(tok.value) is None:
            self.pos += 1
            return tok.value.upper()
        return self.expression() & 0xFFFF

    def begin(self):
        if self.at_word('BEGIN') or self.at_punct('{'):
            self.pos += 1
        else:
            self.error('expected BEGIN')

    def at_end(self):
        return self.at_word('END') or self.at_punct('}')


def u16(text):
    return text.encode('utf-16-le') + b'\0\0'


def sz_or_ord(value):
    if value is None:
        return b'\0\0'
    if isinstance(value, int):
        return struct.pack('<HH', 0xFFFF, value & 0xFFFF)
    return u16(value)


class Dialog:
    def __init__(self):
        self.style = None
        self.exstyle = 0
        self.caption = ''
        self.font = None
        self.klass = None
        self.menu = None
        self.rect = (0, 0, 0, 0)
        self.help = 0
        self.items = []

    def encode(self):
        style = self.style if self.style is not None else 0x80880000  # popup, border, sysmenu
        if self.caption and self.style is None:
            style |= 0x00C00000
        if self.font:
            style |= 0x40
        data = struct.pack('<HHIIIHhhhh', 1, 0xFFFF, self.help & 0xFFFFFFFF, self.exstyle & 0xFFFFFFFF,
                           style & 0xFFFFFFFF, len(self.items), *self.rect)
        data += sz_or_ord(self.menu) + sz_or_ord(self.klass) + u16(self.caption)
        if style & 0x40:
            size, face, weight, italic, charset = self.font or (8, 'MS Sans Serif', 400, 0, 1)
            data += struct.pack('<HHBB', size, weight, italic, charset) + u16(face)
        for item in self.items:
            data += b'\0' * (-len(data) % 4)
            style_, exstyle, rect, ident, klass, text = item
            data += struct.pack('<IIIhhhhI', 0, exstyle & 0xFFFFFFFF, style_ & 0xFFFFFFFF, *rect,
                                ident & 0xFFFFFFFF)
            data += sz_or_ord(klass) + sz_or_ord(text) + struct.pack('<H', 0)
        return data


def check_short(parser, values):
    for v in values:
        if not -32768 <= v <= 32767:
            parser.error('coordinate %d out of range' % v)
    return tuple(values)


def parse_dialog(p, extended):
    d = Dialog()
    while p.at_word(*MEMORY_OPTIONS):
        p.pos += 1
    coords = [p.expression()]
    for _ in range(3):
        p.expect_punct(',')
        coords.append(p.expression())
    d.rect = check_short(p, coords)
    if extended and p.comma():
        d.help = p.expression()
    while not (p.at_word('BEGIN') or p.at_punct('{')):
        tok = p.next()
        word = tok.value.upper() if tok.kind == 'name' else None
        if word == 'STYLE':
            d.style = p.style(0)
        elif word == 'EXSTYLE':
            d.exstyle = p.style(0)
        elif word == 'CAPTION':
            d.caption = p.string()
        elif word == 'FONT':
            size = p.expression()
            p.expect_punct(',')
            face = p.string()
            weight, italic, charset = 400, 0, 1
            if p.comma():
                weight = p.expression()
                if p.comma():
                    italic = p.expression()
                    if p.comma():
                        charset = p.expression()
            d.font = (size & 0xFFFF, face, weight & 0xFFFF, 1 if italic else 0, charset & 0xFF)
        elif word == 'CLASS':
            d.klass = p.string()
        elif word == 'MENU':
            d.menu = p.name_or_id()
        elif word in ('LANGUAGE',):
            p.expression()
            p.expect_punct(',')
            p.expression()
        elif word in ('CHARACTERISTICS', 'VERSION'):
            p.expression()
        else:
            p.pos -= 1
            p.error('unexpected %r in a dialog' % tok.value)
    p.begin()
    while not p.at_end():
        d.items.append(parse_control(p))
    p.pos += 1
    if len(d.items) > 0xFFFF:
        p.error('too many controls')
    return d


def parse_control(p):
    tok = p.next()
    word = tok.value.upper() if tok.kind == 'name' else None
    if word == 'CONTROL':
        text = control_text(p)
        p.expect_punct(',')
        ident = p.expression()
        p.expect_punct(',')
        ktok = p.next()
        if ktok.kind not in ('string', 'name'):
            p.pos -= 1
            p.error('expected a window class')
        klass = ktok.value
        p.expect_punct(',')
        style = p.style(WS_CHILD_VISIBLE)
        rect = []
        for _ in range(4):
            p.expect_punct(',')
            rect.append(p.expression())
        exstyle = p.style(0) if p.comma() else 0
        klass = CLASS_ORDINALS.get(klass.lower(), klass)
        return (style, exstyle, check_short(p, rect), ident, klass, text)
    if word == 'ICON':
        text = control_text(p)
        p.expect_punct(',')
        ident = p.expression()
        rect = []
        for _ in range(2):
            p.expect_punct(',')
            rect.append(p.expression())
        rect += [0, 0]
        style, exstyle = WS_CHILD_VISIBLE | 0x3, 0
        if p.comma():
            rect[2] = p.expression()
            p.expect_punct(',')
            rect[3] = p.expression()
            if p.comma():
                style = p.style(style)
                if p.comma():
                    exstyle = p.style(0)
        return (style, exstyle, check_short(p, rect), ident, CLASS_ORDINALS['static'], text)
    if word in CONTROLS:
        klass, default, has_text = CONTROLS[word]
        text = ''
        if has_text:
            text = control_text(p)
            p.expect_punct(',')
        ident = p.expression()
        rect = []
        for _ in range(4):
            p.expect_punct(',')
            rect.append(p.expression())
        style, exstyle = WS_CHILD_VISIBLE | default, 0
        if p.comma():
            style = p.style(style)
            if p.comma():
                exstyle = p.style(0)
        return (style, exstyle, check_short(p, rect), ident, CLASS_ORDINALS[klass], text)
    p.pos -= 1
    p.error('unknown control statement %r' % tok.value)


def control_text(p):
    """A control's text: a string, or for icons a resource id or name."""
    tok = p.peek()
    if tok is not None and tok.kind == 'string':
        p.pos += 1
        return tok.value
    value = p.name_or_id()
    return value


def parse_stringtable(p, strings):
    while not (p.at_word('BEGIN') or p.at_punct('{')):
        tok = p.next()
        word = tok.value.upper() if tok.kind == 'name' else None
        if word in MEMORY_OPTIONS:
            continue
        if word == 'LANGUAGE':
            p.expression()
            p.expect_punct(',')
            p.expression()
        elif word in ('CHARACTERISTICS', 'VERSION'):
            p.expression()
        else:
            p.pos -= 1
            p.error('unexpected %r before a string table' % tok.value)
    p.begin()
    while not p.at_end():
        where = p.where()
        ident = p.expression() & 0xFFFF
        p.comma()
        text = p.string()
        if ident in strings:
            raise RcError('%s: string %d defined twice' % (where, ident))
        if len(text) > 0xFFFF:
            raise RcError('%s: string %d too long' % (where, ident))
        strings[ident] = text
    p.pos += 1


def read_file_resource(p, base, kind):
    where = p.where()
    name = p.string().replace('\\', '/')
    path = os.path.join(base, name)
    try:
        with open(path, 'rb') as f:
            data = f.read()
    except OSError as e:
        raise RcError('%s: cannot read %s: %s' % (where, path, e.strerror))
    if kind in ('ICON', 'CURSOR'):
        wanted = 1 if kind == 'ICON' else 2
        if len(data) < 6 or struct.unpack('<HHH', data[:6]) [:2] != (0, wanted) or \
                struct.unpack('<H', data[4:6])[0] == 0:
            raise RcError('%s: %s is not a %s file' % (where, path, '.ico' if wanted == 1 else '.cur'))
    if kind == 'BITMAP':
        if len(data) < 14 + 12 or data[:2] != b'BM':
            raise RcError('%s: %s is not a BMP file' % (where, path))
        data = data[14:]
    return path, data


def compile_rc(path):
    pre = Preprocessor()
    tokens = pre.run(path)
    p = Parser(tokens, pre.defines, path)
    base = os.path.dirname(path)
    resources = {}  # (type, name) -> bytes
    strings = {}
    used_files = []

    def add(rtype, name, data, where):
        key = (rtype, name)
        if key in resources:
            raise RcError('%s: resource %r of type %r defined twice' % (where, name, rtype))
        resources[key] = data

    while p.peek() is not None:
        where = p.where()
        if p.at_word('STRINGTABLE'):
            p.pos += 1
            parse_stringtable(p, strings)
            continue
        if p.at_word('LANGUAGE'):
            p.pos += 1
            p.expression()
            p.expect_punct(',')
            p.expression()
            continue
        name = p.name_or_id()
        tok = p.next()
        if tok.kind not in ('name', 'string', 'number'):
            p.pos -= 1
            p.error('expected a resource type')
        kind = tok.value.upper() if tok.kind != 'number' else tok.value
        if kind in ('DIALOG', 'DIALOGEX'):
            add(RT_DIALOG, name, parse_dialog(p, kind == 'DIALOGEX').encode(), where)
            continue
        while p.at_word(*MEMORY_OPTIONS):
            p.pos += 1
        file_path, data = read_file_resource(p, base, kind)
        used_files.append(file_path)
        rtype = {'ICON': RT_GROUP_ICON, 'CURSOR': RT_GROUP_CURSOR, 'BITMAP': RT_BITMAP}.get(kind, kind)
        if tok.kind == 'name' and kind not in ('ICON', 'CURSOR', 'BITMAP'):
            value = p.macro(tok.value)
            if value is not None:
                rtype = value & 0xFFFF
        add(rtype, name, data, where)

    blocks = {}
    for ident, text in strings.items():
        blocks.setdefault((ident >> 4) + 1, {})[ident & 15] = text
    for block, entries in blocks.items():
        data = b''
        for i in range(16):
            text = entries.get(i, '')
            data += struct.pack('<H', len(text)) + text.encode('utf-16-le')
        add(RT_STRING, block, data, path)
    return resources, pre.files + used_files


def c_name_or_id(value):
    if isinstance(value, int):
        return 'nullptr, %d' % value
    return '"%s", 0' % value.replace('\\', '\\\\').replace('"', '\\"')


def generate(resources, source):
    out = ['// Generated from %s by tools/rc/rc.py. Do not edit.' % os.path.basename(source),
           '#include "resources/registry.h"', '', 'namespace {', '']
    entries = []
    for index, ((rtype, name), data) in enumerate(sorted(resources.items(), key=lambda kv: repr(kv[0]))):
        out.append('alignas(4) const unsigned char kData%d[%d] = {' % (index, max(len(data), 1)))
        for start in range(0, len(data), 24):
            out.append('    ' + ','.join(str(b) for b in data[start:start + 24]) + ',')
        if not data:
            out.append('    0,')
        out.append('};')
        entries.append('    {%s, %s, kData%d, %d},' % (c_name_or_id(rtype), c_name_or_id(name), index, len(data)))
    out += ['', 'const win::res::ResourceEntry kEntries[] = {'] + entries + ['};', '',
            'const win::res::ResourceTable kTable(kEntries, sizeof kEntries / sizeof kEntries[0]);',
            '', '}  // namespace', '']
    return '\n'.join(out)


def main():
    ap = argparse.ArgumentParser(description=__doc__.split('\n')[0])
    ap.add_argument('input')
    ap.add_argument('-o', '--output', required=True)
    ap.add_argument('--depfile')
    args = ap.parse_args()
    try:
        resources, files = compile_rc(args.input)
    except RcError as e:
        print('rc: error: %s' % e, file=sys.stderr)
        return 1
    if not resources:
        print('rc: error: %s defines no resources' % args.input, file=sys.stderr)
        return 1
    text = generate(resources, args.input)
    tmp = args.output + '.tmp'
    with open(tmp, 'w') as f:
        f.write(text)
    os.replace(tmp, args.output)
    if args.depfile:
        with open(args.depfile, 'w') as f:
            deps = ' '.join(os.path.abspath(x).replace(' ', '\\ ') for x in files)
            f.write('%s: %s\n' % (args.output, deps))
    return 0


if __name__ == '__main__':
    sys.exit(main())

"""The TCVN3 (TCVN 5712, VN3) 8-bit Vietnamese encoding.

The program stores its Vietnamese text in this encoding and draws it with a
font whose glyphs follow it. Bytes below 0xA1 are plain ASCII / Windows-1252.
VN3 holds the lower-case toned letters and the upper-case base letters only;
upper-case toned letters are written with their lower-case forms, as the
encoding's users did.
"""

# Byte -> Unicode character, for every byte that differs from Latin-1.
TCVN3_TO_UNICODE = {
    0xA1: "Ă", 0xA2: "Â", 0xA3: "Ê", 0xA4: "Ô", 0xA5: "Ơ", 0xA6: "Ư", 0xA7: "Đ",
    0xA8: "ă", 0xA9: "â", 0xAA: "ê", 0xAB: "ô", 0xAC: "ơ", 0xAD: "ư", 0xAE: "đ",
    # Combining tone marks: grave, hook above, tilde, acute, dot below.
    0xB0: "\u0300", 0xB1: "\u0309", 0xB2: "\u0303", 0xB3: "\u0301", 0xB4: "\u0323",
    0xB5: "à", 0xB6: "ả", 0xB7: "ã", 0xB8: "á", 0xB9: "ạ",
    0xBB: "ằ", 0xBC: "ẳ", 0xBD: "ẵ", 0xBE: "ắ", 0xC6: "ặ",
    0xC7: "ầ", 0xC8: "ẩ", 0xC9: "ẫ", 0xCA: "ấ", 0xCB: "ậ",
    0xCC: "è", 0xCE: "ẻ", 0xCF: "ẽ", 0xD0: "é", 0xD1: "ẹ",
    0xD2: "ề", 0xD3: "ể", 0xD4: "ễ", 0xD5: "ế", 0xD6: "ệ",
    0xD7: "ì", 0xD8: "ỉ", 0xDC: "ĩ", 0xDD: "í", 0xDE: "ị",
    0xDF: "ò", 0xE1: "ỏ", 0xE2: "õ", 0xE3: "ó", 0xE4: "ọ",
    0xE5: "ồ", 0xE6: "ổ", 0xE7: "ỗ", 0xE8: "ố", 0xE9: "ộ",
    0xEA: "ờ", 0xEB: "ở", 0xEC: "ỡ", 0xED: "ớ", 0xEE: "ợ",
    0xEF: "ù", 0xF1: "ủ", 0xF2: "ũ", 0xF3: "ú", 0xF4: "ụ",
    0xF5: "ừ", 0xF6: "ử", 0xF7: "ữ", 0xF8: "ứ", 0xF9: "ự",
    0xFA: "ỳ", 0xFB: "ỷ", 0xFC: "ỹ", 0xFD: "ý", 0xFE: "ỵ",
}

_UNICODE_TO_TCVN3 = {ch: b for b, ch in TCVN3_TO_UNICODE.items()}


def encode(text: str) -> bytes:
    """Encodes Vietnamese text to TCVN3.

    Upper-case toned letters have no code of their own; they fall back to
    the lower-case toned letter. Raises ValueError for anything else that the
    encoding cannot hold.
    """
    out = bytearray()
    for ch in text:
        if ch in _UNICODE_TO_TCVN3:
            out.append(_UNICODE_TO_TCVN3[ch])
        elif ord(ch) < 0x80:
            out.append(ord(ch))
        elif ch.lower() in _UNICODE_TO_TCVN3:
            out.append(_UNICODE_TO_TCVN3[ch.lower()])
        else:
            raise ValueError(f"no TCVN3 code for {ch!r} in {text!r}")
    return bytes(out)


def decode(data: bytes) -> str:
    """Decodes TCVN3 bytes; other high bytes are read as Windows-1252."""
    return "".join(TCVN3_TO_UNICODE.get(b) or bytes([b]).decode("cp1252", "replace")
                   for b in data)

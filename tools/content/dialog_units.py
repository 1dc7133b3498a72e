"""Dialog units to client pixels for the 8-point dialog font (base units 6 x 13)."""


def muldiv(a, b, c):
    """Rounds half away from zero, as the system's MulDiv does."""
    q, r = divmod(abs(a * b), abs(c))
    if 2 * r >= abs(c):
        q += 1
    return q if (a * b >= 0) == (c > 0) else -q


def rect(x, y, w, h):
    """A template rectangle (x, y, width, height) as pixel (left, top, right, bottom)."""
    return (muldiv(x, 6, 4), muldiv(y, 13, 8), muldiv(x + w, 6, 4), muldiv(y + h, 13, 8))


def size(w, h):
    return muldiv(w, 6, 4), muldiv(h, 13, 8)

/*
 * wstring.cpp -- the runtime's own wide-string utilities.
 *
 * Wide text is zero-terminated UTF-16, narrow text UTF-8. Nothing here
 * bounds a target: the caller's buffer must hold the result. A UTF-16 unit
 * never takes more than three UTF-8 bytes (a surrogate pair, two units,
 * takes four), so a narrow buffer of three bytes per wide unit, plus one,
 * always suffices.
 */
#include "toolkit.h"

static int wide_length(const ProWchar *s)
{
    int n = 0;

    while (s[n] != 0)
        n++;
    return n;
}

/* The number of units to take from source for a length argument, or -1
 * when the length is out of range. */
static int units_to_take(const ProWchar *source, int length)
{
    int whole = wide_length(source);

    if (length == -1)
        return whole;
    if (length < -1 || length > whole)
        return -1;
    return length;
}

static void copy_units(const ProWchar *source, ProWchar *target, int n)
{
    int i;

    for (i = 0; i < n; i++)
        target[i] = source[i];
    target[n] = 0;
}

extern "C" ProError ProWstringCopy(const ProWchar *source, ProWchar *target, int length)
{
    int n;

    if (source == NULL || target == NULL)
        return PRO_TK_BAD_INPUTS;
    n = units_to_take(source, length);
    if (n < 0)
        return PRO_TK_BAD_INPUTS;
    copy_units(source, target, n);
    return PRO_TK_NO_ERROR;
}

/* Appends to the end of target's text: a copy onto its terminator. */
extern "C" ProError ProWstringConcatenate(const ProWchar *source, ProWchar *target, int length)
{
    if (target == NULL)
        return PRO_TK_BAD_INPUTS;
    return ProWstringCopy(source, target + wide_length(target), length);
}

extern "C" ProError ProWstringLengthGet(const ProWchar *string, int *p_length)
{
    if (string == NULL || p_length == NULL)
        return PRO_TK_BAD_INPUTS;
    *p_length = wide_length(string);
    return PRO_TK_NO_ERROR;
}

/* Compares unit by unit, at most length units (-1: whole strings). */
extern "C" ProError ProWstringCompare(const ProWchar *first, const ProWchar *second,
                                      int length, int *p_result)
{
    int i;

    if (first == NULL || second == NULL || p_result == NULL || length < -1)
        return PRO_TK_BAD_INPUTS;
    for (i = 0; length == -1 || i < length; i++) {
        if (first[i] != second[i]) {
            *p_result = first[i] < second[i] ? -1 : 1;
            return PRO_TK_NO_ERROR;
        }
        if (first[i] == 0)
            break;
    }
    *p_result = 0;
    return PRO_TK_NO_ERROR;
}

/* ---- UTF-8 <-> UTF-16 ---------------------------------------------------- */

#define REPLACEMENT 0xFFFD

static int is_continuation(unsigned char c)
{
    return (c & 0xC0) == 0x80;
}

/* Decodes one code point at *s and advances past it; malformed bytes give
 * the replacement character, one byte at a time. */
static unsigned long decode_utf8(const unsigned char **s)
{
    const unsigned char *p = *s;
    unsigned long        cp;
    int                  extra, i;

    if (p[0] < 0x80) {
        *s = p + 1;
        return p[0];
    }
    if ((p[0] & 0xE0) == 0xC0) {
        extra = 1; cp = p[0] & 0x1F;
    } else if ((p[0] & 0xF0) == 0xE0) {
        extra = 2; cp = p[0] & 0x0F;
    } else if ((p[0] & 0xF8) == 0xF0) {
        extra = 3; cp = p[0] & 0x07;
    } else {
        *s = p + 1;
        return REPLACEMENT;
    }
    for (i = 1; i <= extra; i++) {
        if (!is_continuation(p[i])) {
            *s = p + 1;
            return REPLACEMENT;
        }
        cp = (cp << 6) | (p[i] & 0x3F);
    }
    *s = p + extra + 1;
    if ((extra == 1 && cp < 0x80) || (extra == 2 && cp < 0x800) || (extra == 3 && cp < 0x10000)
        || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
        return REPLACEMENT;
    return cp;
}

extern "C" ProWchar *ProStringToWstring(ProWchar *target, const char *source)
{
    const unsigned char *s = (const unsigned char *)source;
    ProWchar            *t = target;
    unsigned long        cp;

    if (target == NULL || source == NULL)
        return NULL;
    while (*s != 0) {
        cp = decode_utf8(&s);
        if (cp >= 0x10000) {
            cp -= 0x10000;
            *t++ = (ProWchar)(0xD800 + (cp >> 10));
            *t++ = (ProWchar)(0xDC00 + (cp & 0x3FF));
        } else {
            *t++ = (ProWchar)cp;
        }
    }
    *t = 0;
    return target;
}

static char *encode_utf8(char *t, unsigned long cp)
{
    if (cp < 0x80) {
        *t++ = (char)cp;
    } else if (cp < 0x800) {
        *t++ = (char)(0xC0 | (cp >> 6));
        *t++ = (char)(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        *t++ = (char)(0xE0 | (cp >> 12));
        *t++ = (char)(0x80 | ((cp >> 6) & 0x3F));
        *t++ = (char)(0x80 | (cp & 0x3F));
    } else {
        *t++ = (char)(0xF0 | (cp >> 18));
        *t++ = (char)(0x80 | ((cp >> 12) & 0x3F));
        *t++ = (char)(0x80 | ((cp >> 6) & 0x3F));
        *t++ = (char)(0x80 | (cp & 0x3F));
    }
    return t;
}

extern "C" char *ProWstringToString(char *target, const ProWchar *source)
{
    const ProWchar *s = source;
    char           *t = target;
    unsigned long   cp;

    if (target == NULL || source == NULL)
        return NULL;
    while (*s != 0) {
        cp = *s++;
        if (cp >= 0xD800 && cp <= 0xDBFF && *s >= 0xDC00 && *s <= 0xDFFF)
            cp = 0x10000 + ((cp - 0xD800) << 10) + (*s++ - 0xDC00);
        else if (cp >= 0xD800 && cp <= 0xDFFF)
            cp = REPLACEMENT;   /* a lone surrogate */
        t = encode_utf8(t, cp);
    }
    *t = 0;
    return target;
}

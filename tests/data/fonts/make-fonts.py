#!/usr/bin/env python3
# Writes the font corpus beside this script: two small, sound TrueType fonts
# (a segments and a groups character map, glyphs of known boxes) and broken
# variants of them, each a way a font file can lie about its own layout.
# cases.txt says what the reader must make of each.
import struct, os

HERE = os.path.dirname(os.path.abspath(__file__))

# Glyph 0 (.notdef) and three outlined glyphs, then one without an outline.
BOXES = [(0, 0, 500, 700), (50, -100, 550, 800), (0, 0, 600, 600), (-50, -300, 650, 1100), None]


def glyph_table(boxes):
    glyf, loca = b'', [0]
    for box in boxes:
        if box is not None:
            glyf += struct.pack('>hhhhh', 1, *box) + b'\0' * 2
        loca.append(len(glyf))
    return glyf, b''.join(struct.pack('>I', o) for o in loca)


def segments(segs):
    """segs: (first, last, delta, glyphs or None); the closing 0xFFFF segment is added."""
    segs = segs + [(0xFFFF, 0xFFFF, 1, None)]
    n = len(segs)
    ends = b''.join(struct.pack('>H', s[1]) for s in segs)
    starts = b''.join(struct.pack('>H', s[0]) for s in segs)
    deltas = b''.join(struct.pack('>H', s[2] & 0xFFFF) for s in segs)
    offsets, array = b'', b''
    for i, s in enumerate(segs):
        if s[3] is None:
            offsets += struct.pack('>H', 0)
        else:
            offsets += struct.pack('>H', 2 * (n - i) + len(array))
            array += b''.join(struct.pack('>H', g) for g in s[3])
    body = struct.pack('>HHHH', 2 * n, 0, 0, 0) + ends + b'\0\0' + starts + deltas + offsets + array
    return struct.pack('>HHH', 4, 6 + len(body), 0) + body


def groups(grps):
    body = b''.join(struct.pack('>III', *g) for g in grps)
    return struct.pack('>HHIII', 12, 0, 16 + len(body), 0, len(grps)) + body


def cmap(subtables):
    head = struct.pack('>HH', 0, len(subtables))
    offset = 4 + 8 * len(subtables)
    records, data = b'', b''
    for platform, encoding, table in subtables:
        records += struct.pack('>HHI', platform, encoding, offset + len(data))
        data += table
    return head + records + data


def font(tables, version=0x00010000):
    tags = sorted(tables)
    offset = 12 + 16 * len(tags)
    directory, data = struct.pack('>IHHHH', version, len(tags), 0, 0, 0), b''
    for tag in tags:
        body = tables[tag] + b'\0' * (-len(tables[tag]) % 4)
        directory += tag.encode() + struct.pack('>III', 0, offset + len(data), len(tables[tag]))
        data += body
    return directory + data


def head(units=1000, long_offsets=1):
    return (struct.pack('>IIIIHH', 0x10000, 0, 0, 0x5F0F3CF5, 0, units) + b'\0' * 16 +
            struct.pack('>hhhh', -50, -300, 650, 1100) + b'\0' * 6 + struct.pack('>hh', long_offsets, 0))


def tables(character_map, boxes=BOXES, units=1000):
    glyf, loca = glyph_table(boxes)
    return {'head': head(units), 'maxp': struct.pack('>IH', 0x5000, len(boxes)),
            'cmap': character_map, 'loca': loca, 'glyf': glyf}


# 'A'..'B' on glyphs 1, 2 by a delta; U+00C5 on glyph 3 and U+00C6 on none
# through the glyph index array; U+0020 on the glyph without an outline.
SEGMENTS = cmap([(3, 1, segments([(0x20, 0x20, 4 - 0x20, None), (0x41, 0x42, 1 - 0x41, None),
                                  (0xC5, 0xC6, 0, [3, 0])]))])
# The same, and U+2588 and U+1F600 on glyph 3 and 2, in groups.
GROUPS = cmap([(3, 1, segments([(0x41, 0x42, 1 - 0x41, None)])),
               (3, 10, groups([(0x20, 0x20, 4), (0x41, 0x42, 1), (0xC5, 0xC5, 3), (0x2588, 0x2588, 3),
                               (0x1F600, 0x1F600, 2)]))])


def write(name, data):
    with open(os.path.join(HERE, name), 'wb') as f:
        f.write(data)


def main():
    good = font(tables(SEGMENTS))
    write('good-segments.ttf', good)
    write('good-groups.ttf', font(tables(GROUPS)))
    write('empty.ttf', b'')
    write('not-a-font.ttf', b'This is a text file, not a font.\n')
    write('cut-in-directory.ttf', good[:40])
    write('cut-in-glyphs.ttf', good[:-8])
    no_cmap = tables(SEGMENTS)
    del no_cmap['cmap']
    write('no-character-map.ttf', font(no_cmap))
    write('no-unicode-map.ttf', font(tables(cmap([(1, 0, segments([(0x41, 0x42, 1 - 0x41, None)]))]))))
    write('zero-units.ttf', font(tables(SEGMENTS, units=0)))
    # A subtable offset and a segment count far past the end.
    write('map-past-end.ttf', font(tables(struct.pack('>HHHHI', 0, 1, 3, 1, 0x7FFFFFF0))))
    big = bytearray(SEGMENTS)
    struct.pack_into('>H', big, 12 + 6, 0xFFFE)
    write('segments-past-end.ttf', font(tables(bytes(big))))
    # A group count of four billion, and groups covering all of Unicode again and again.
    big = bytearray(GROUPS)
    at = GROUPS.index(struct.pack('>HH', 12, 0))
    struct.pack_into('>I', big, at + 12, 0xFFFFFFFF)
    write('groups-past-end.ttf', font(tables(bytes(big))))
    write('groups-overlapping.ttf', font(tables(cmap([(0, 4, groups([(0, 0x10FFFF, 1)] * 40 +
                                                                     [(0xFFFFFFF0, 0xFFFFFFFF, 1)]))]))))
    # Segments each covering the whole first plane through the glyph index array.
    write('segments-overlapping.ttf', font(tables(cmap([(3, 1, segments([(0, 0xFFFE, 0, [1])] * 200))]))))
    # Glyph locations running backwards, and past the glyph table.
    t = tables(SEGMENTS)
    t['loca'] = struct.pack('>IIIIII', 0, 12, 4, 36, 48, 48)
    write('locations-backwards.ttf', font(t))
    t = tables(SEGMENTS)
    t['loca'] = struct.pack('>IIIIII', 0, 12, 24, 36, 0x7FFFFFF0, 0x7FFFFFF0)
    write('locations-past-end.ttf', font(t))
    t = tables(SEGMENTS)
    t['maxp'] = struct.pack('>IH', 0x5000, 0xFFFF)
    write('glyph-count-too-big.ttf', font(t))


main()

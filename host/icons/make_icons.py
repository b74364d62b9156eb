#!/usr/bin/env python3
"""Draws the formatting bar's 16x16 icons as PNG files from the pixel maps below (run it here after
changing a map). One letter per pixel: '.' is transparent, the others are the colours of PALETTE."""
import struct
import zlib

PALETTE = {
    'k': (0, 0, 0, 255), 'g': (128, 128, 128, 255), 'l': (192, 192, 192, 255),
    'w': (255, 255, 255, 255), 'b': (0, 70, 160, 255), 'y': (200, 160, 60, 255),
    'r': (140, 90, 30, 255), 's': (90, 90, 90, 255),
}

ICONS = {
    'cut': [
        "................", "...k.......k....", "...k.......k....", "....k.....k.....",
        "....k.....k.....", ".....k...k......", ".....k...k......", "......k.k.......",
        ".......k........", "......k.k.......", "...bbbk..kbbb...", "..b...b.b...b...",
        "..b...b.b...b...", "..b...b.b...b...", "...bbb...bbb....", "................"],
    'copy': [
        "kkkkkkkk........", "kwwwwwwk........", "kwkkkkwk........", "kwwwwwwk........",
        "kwkkkkwkkkkkkkk.", "kwwwwwwkwwwwwwk.", "kwkkkkwkwkkkkwk.", "kwwwwwwkwwwwwwk.",
        "kkkkkkkkwkkkkwk.", ".......kwwwwwwk.", ".......kwkkkkwk.", ".......kwwwwwwk.",
        ".......kwkkkkwk.", ".......kwwwwwwk.", ".......kkkkkkkk.", "................"],
    'paste': [
        ".....kkkkk......", "rrrrkllllkrrrr..", "ryyykkkkkkyyyr..", "ryyyyyyyyyyyyr..",
        "ryyyyyyyyyyyyr..", "ryyyyykkkkkkkkk.", "ryyyyykwwwwwwwk.", "ryyyyykwkkkkkwk.",
        "ryyyyykwwwwwwwk.", "ryyyyykwkkkkkwk.", "ryyyyykwwwwwwwk.", "ryyyyykwkkkkkwk.",
        "ryyyyykwwwwwwwk.", "rrrrrrkwwwwwwwk.", "......kkkkkkkkk.", "................"],
    'undo': [
        "................", "................", "....b...........", "...bb...........",
        "..bbbbbbbbb.....", ".bbbbbbbbbbb....", "..bbb......bb...", "...bb.......bb..",
        "....b.......bb..", "............bb..", "............bb..", "...........bb...",
        ".........bbb....", "......bbbb......", "................", "................"],
    'bold': [
        "................", "................", "..kkkk....kkkk..", "...kkkk....kk...",
        "...kkkkk...kk...", "...kk.kkk..kk...", "...kk..kkk.kk...", "...kk...kkkkk...",
        "...kk....kkkk...", "...kk.....kkk...", "...kk......kk...", "...kk......kk...",
        "..kkkk.....kkk..", "................", "................", "................"],
    'italic': [
        "................", "................", "......kkkkk.....", "........kk......",
        "........kk......", ".......kk.......", ".......kk.......", "......kk........",
        "......kk........", ".....kk.........", ".....kk.........", "....kk..........",
        "...kkkkk........", "................", "................", "................"],
    'underline': [
        "................", ".....kkkkk.k....", "....k.....kk....", "....k......k....",
        "....k...........", ".....kk.........", ".......kkk......", "..........k.....",
        "...........k....", "...k.......k....", "...kk.....k.....", "...k.kkkkk......",
        "................", "..kkkkkkkkkkkk..", "................", "................"],
    'left': [
        "................", "................", ".kkkkkkkkkkkkk..", "................",
        ".kkkkkkkkk......", "................", ".kkkkkkkkkkkkk..", "................",
        ".kkkkkkkkk......", "................", ".kkkkkkkkkkkkk..", "................",
        ".kkkkkkkkk......", "................", "................", "................"],
    'center': [
        "................", "................", ".kkkkkkkkkkkkk..", "................",
        "...kkkkkkkkk....", "................", ".kkkkkkkkkkkkk..", "................",
        "...kkkkkkkkk....", "................", ".kkkkkkkkkkkkk..", "................",
        "...kkkkkkkkk....", "................", "................", "................"],
    'right': [
        "................", "................", "..kkkkkkkkkkkkk.", "................",
        "......kkkkkkkkk.", "................", "..kkkkkkkkkkkkk.", "................",
        "......kkkkkkkkk.", "................", "..kkkkkkkkkkkkk.", "................",
        "......kkkkkkkkk.", "................", "................", "................"],
    'bullets': [
        "................", "................", ".bb..kkkkkkkkkk.", ".bb.............",
        "................", "................", ".bb..kkkkkkkkkk.", ".bb.............",
        "................", "................", ".bb..kkkkkkkkkk.", ".bb.............",
        "................", "................", "................", "................"],
}


def png(rows):
    raw = b''.join(b'\0' + b''.join(bytes(PALETTE.get(c, (0, 0, 0, 0))) for c in row) for row in rows)

    def chunk(kind, data):
        return struct.pack('>I', len(data)) + kind + data + struct.pack('>I', zlib.crc32(kind + data))

    header = struct.pack('>IIBBBBB', 16, 16, 8, 6, 0, 0, 0)
    return b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', header) + chunk(b'IDAT', zlib.compress(raw, 9)) + chunk(b'IEND', b'')


for name, rows in ICONS.items():
    assert len(rows) == 16 and all(len(r) == 16 for r in rows), name
    with open(name + '.png', 'wb') as f:
        f.write(png(rows))

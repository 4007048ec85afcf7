#!/usr/bin/env python3
"""Makes the bracket-notation variant of a Shift_JIS benchmark text: a header
block between two separator lines, ruby on every third run of kanji, and an
emphasis annotation on every tenth line.
   make_ruby_text.py IN.sjis OUT.sjis"""
import re
import sys

text = open(sys.argv[1], 'rb').read().decode('cp932')
lines = text.split('\r\n')
kanji = re.compile(r'[\u4e00-\u9fff]{2,}')
out = ['ベンチマーク用テキスト', '-' * 40, '【テキスト中に現れる記号について】', '《》：ルビ', '-' * 40]
count = 0
for n, line in enumerate(lines):
    def ruby(m):
        global count
        count += 1
        return m.group(0) + ('《るび》' if count % 3 == 0 else '')
    line = kanji.sub(ruby, line)
    if n % 10 == 0:
        m = re.search(r'[\u3040-\u309f]{2}', line)
        if m:
            line = line[:m.end()] + '［＃「' + m.group(0) + '」に傍点］' + line[m.end():]
    out.append(line)
open(sys.argv[2], 'wb').write('\r\n'.join(out).encode('cp932'))

#!/usr/bin/env python3
"""Writes full-context labels in the engine's label form for sentences given
as phone transcriptions, one file per language: the labels a front end of
that language would write, for languages whose front end is not there yet.

Transcription (sentences.txt): "<lang> <transcription>" per line; words are
separated by " / ", phrases by " // ", syllables by " . ", phones by blanks;
a syllable whose first phone carries a leading ' is stressed. Every phrase
ends in a pause; the utterance starts with one.

    tests/data/labels/make_labels.py   (rewrites tests/data/labels/<lang>.lab)
"""
import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))


def parse(text):
    phrases = []
    for ptext in text.split(' // '):
        words = []
        for wtext in ptext.split(' / '):
            syls = []
            for stext in wtext.split(' . '):
                phones = stext.split()
                stress = 1 if phones[0].startswith("'") else 0
                phones[0] = phones[0].lstrip("'")
                syls.append({'phones': phones, 'stress': stress})
            words.append({'syls': syls, 'gpos': 'content' if any(s['stress'] for s in syls) else 'in'})
        phrases.append(words)
    return phrases


def vowel_of(syl, vowels):
    for p in syl['phones']:
        if p in vowels:
            return p
    return syl['phones'][-1]


def labels(text, vowels, question):
    phrases = parse(text)
    # Flatten into segments with links to their syllable, word and phrase.
    segs = [{'name': 'pau', 'syl': None, 'word': None, 'phrase': None}]
    sylls, words = [], []
    for pi, ph in enumerate(phrases):
        for wi, w in enumerate(ph):
            w['phrase'] = pi
            w['index'] = len(words)
            words.append(w)
            for si, s in enumerate(w['syls']):
                s['word'] = w
                s['pos'] = si
                s['index'] = len(sylls)
                s['phrase'] = pi
                sylls.append(s)
                for k, p in enumerate(s['phones']):
                    segs.append({'name': p, 'syl': s, 'pos': k, 'word': w, 'phrase': pi})
        segs.append({'name': 'pau', 'syl': None, 'word': None, 'phrase': pi, 'after': pi})
    nphr = len(phrases)
    phr_syls = [sum(len(w['syls']) for w in ph) for ph in phrases]
    phr_words = [len(ph) for ph in phrases]
    total_syls, total_words = sum(phr_syls), sum(phr_words)

    def name(i):
        return segs[i]['name'] if 0 <= i < len(segs) else 'x'

    def in_phrase(pi):
        return [s for s in sylls if s['phrase'] == pi]

    def tone(pi):
        if pi is None or pi < 0:
            return 'NONE'
        return ('H-H%' if question else 'L-L%') if pi == nphr - 1 else 'NONE'

    out = []
    for i, seg in enumerate(segs):
        q = [name(i - 2), name(i - 1), seg['name'], name(i + 1), name(i + 2)]
        s = seg['syl']
        if s is None:  # pause
            prev = segs[i - 1] if i > 0 else None
            nxt = segs[i + 1] if i + 1 < len(segs) else None
            ps = prev['syl'] if prev else None
            ns = nxt['syl'] if nxt else None
            a = (ps['stress'], ps['stress'], len(ps['phones'])) if ps else (0, 0, 0)
            c = (ns['stress'], ns['stress'], len(ns['phones'])) if ns else (0, 0, 0)
            d = (ps['word']['gpos'], len(ps['word']['syls'])) if ps else ('0', 0)
            f = (ns['word']['gpos'], len(ns['word']['syls'])) if ns else ('0', 0)
            pp = ps['phrase'] if ps else None
            npn = ns['phrase'] if ns else None
            g = (phr_syls[pp], phr_words[pp]) if pp is not None else (0, 0)
            ii = (phr_syls[npn], phr_words[npn]) if npn is not None else (0, 0)
            out.append('%s^%s-%s+%s=%s@x_x/A:%d_%d_%d/B:x-x-x@x-x&x-x#x-x$x-x!x-x;x-x|x/C:%d+%d+%d'
                       '/D:%s_%d/E:x+x@x+x&x+x#x+x/F:%s_%d/G:%d_%d/H:x=x@x=x|%s/I:%d=%d/J:%d+%d-%d'
                       % (tuple(q) + a + c + d + f + g + (tone(seg.get('after')),) + ii +
                          (total_syls, total_words, nphr)))
            continue
        w = seg['word']
        pi = seg['phrase']
        ps = sylls[s['index'] - 1] if s['index'] > 0 else None
        ns = sylls[s['index'] + 1] if s['index'] + 1 < len(sylls) else None
        here = in_phrase(pi)
        k = here.index(s)
        before, after = here[:k], here[k + 1:]
        stressed_before = [x for x in before if x['stress']]
        stressed_after = [x for x in after if x['stress']]

        def dist_prev(lst):
            return len(before) - max(here.index(x) for x in lst) if lst else 0

        def dist_next(lst):
            return min(here.index(x) for x in lst) - k if lst else 0
        pw = words[w['index'] - 1] if w['index'] > 0 else None
        nw = words[w['index'] + 1] if w['index'] + 1 < len(words) else None
        pwords = phrases[pi]
        wk = pwords.index(w)
        content_before = [x for x in pwords[:wk] if x['gpos'] == 'content']
        content_after = [x for x in pwords[wk + 1:] if x['gpos'] == 'content']
        e7 = wk - max(pwords.index(x) for x in content_before) if content_before else 0
        e8 = min(pwords.index(x) for x in content_after) - wk if content_after else 0
        n = len(s['phones'])
        fields = (
            tuple(q) + (seg['pos'] + 1, n - seg['pos']) +
            ((ps['stress'], ps['stress'], len(ps['phones'])) if ps else (0, 0, 0)) +
            (s['stress'], s['stress'], n, s['pos'] + 1, len(w['syls']) - s['pos'],
             k + 1, len(after) + 1, len(stressed_before) + 1, len(stressed_after) + 1,
             len(stressed_before) + 1, len(stressed_after) + 1,
             dist_prev(stressed_before), dist_next(stressed_after),
             dist_prev(stressed_before), dist_next(stressed_after), vowel_of(s, vowels)) +
            ((ns['stress'], ns['stress'], len(ns['phones'])) if ns else (0, 0, 0)) +
            ((pw['gpos'], len(pw['syls'])) if pw else ('0', 0)) +
            (w['gpos'], len(w['syls']), wk + 1, len(pwords) - wk,
             len(content_before) + 1, len(content_after) + 1, e7, e8) +
            ((nw['gpos'], len(nw['syls'])) if nw else ('0', 0)) +
            ((phr_syls[pi - 1], phr_words[pi - 1]) if pi > 0 else (0, 0)) +
            (phr_syls[pi], phr_words[pi], pi + 1, min(nphr - pi, 3), tone(pi)) +
            ((phr_syls[pi + 1], phr_words[pi + 1]) if pi + 1 < nphr else (0, 0)) +
            (total_syls, total_words, nphr))
        out.append('%s^%s-%s+%s=%s@%d_%d/A:%d_%d_%d/B:%d-%d-%d@%d-%d&%d-%d#%d-%d$%d-%d!%d-%d;%d-%d|%s'
                   '/C:%d+%d+%d/D:%s_%d/E:%s+%d@%d+%d&%d+%d#%d+%d/F:%s_%d/G:%d_%d/H:%d=%d@%d=%d|%s'
                   '/I:%d=%d/J:%d+%d-%d' % fields)
    return out


def main():
    vowels = {}
    by_lang = {}
    with open(os.path.join(HERE, 'sentences.txt'), encoding='utf-8') as f:
        for line in f:
            line = line.strip()
            if not line or line.startswith('#'):
                continue
            lang, rest = line.split(' ', 1)
            if lang == 'vowels':
                code, vs = rest.split(' ', 1)
                vowels[code] = set(vs.split())
                continue
            question = rest.startswith('? ')
            by_lang.setdefault(lang, []).append((rest[2:] if question else rest, question))
    for lang, sentences in by_lang.items():
        with open(os.path.join(HERE, lang + '.lab'), 'w') as out:
            for text, question in sentences:
                for label in labels(text, vowels[lang], question):
                    out.write(label + '\n')
    return 0


if __name__ == '__main__':
    sys.exit(main())

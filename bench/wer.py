#!/usr/bin/env python3
"""Word error rate of recognised lines against reference lines.

usage: wer.py REFERENCE HYPOTHESIS   (one sentence per line, same order)
Prints one line per sentence with its errors, then the total WER. Words are
compared as they sound: spellings of the same spoken word are made equal first
(SAME_SOUND, "p m" and "pm"); a run of spelled letters is one word on both
sides ("b b c" and "bbc", "t v" and "tv"), and the recogniser's written forms
of said words count as those words ("dr" doctor, "st" saint, "hash tag")."""
import re
import sys


# Written forms that sound alike and that the recogniser's dictionary spells
# one way: British and American spellings, and a.m./p.m. as one word or two.
SAME_SOUND = {
    "metre": "meter", "metres": "meters", "kilometre": "kilometer", "kilometres": "kilometers",
    "centimetre": "centimeter", "centimetres": "centimeters", "millimetre": "millimeter",
    "millimetres": "millimeters", "litre": "liter", "litres": "liters", "programme": "program",
    "programmes": "programs", "dr": "doctor", "st": "saint",
}


def join_letters(ws):
    """Runs of two or more one-letter words as one word (b b c -> bbc)."""
    out, run = [], []
    for w in ws + [""]:
        if len(w) == 1 and w not in ("'",):
            run.append(w)
            continue
        if len(run) > 1:
            out.append("".join(run))
        else:
            out.extend(run)
        run = []
        if w:
            out.append(w)
    return out


def words(line):
    text = re.sub(r"[^a-z0-9' ]", " ", line.lower())
    text = re.sub(r"\b([ap]) m\b", r"\1m", text)
    text = re.sub(r"\bhash tag", "hashtag", text)
    return join_letters([SAME_SOUND.get(w, w) for w in text.split()])


def distance(ref, hyp):
    row = list(range(len(hyp) + 1))
    for i, r in enumerate(ref, 1):
        prev, row[0] = row[0], i
        for j, h in enumerate(hyp, 1):
            cur = min(row[j] + 1, row[j - 1] + 1, prev + (r != h))
            prev, row[j] = row[j], cur
    return row[len(hyp)]


def main():
    refs = [words(l) for l in open(sys.argv[1], encoding="utf-8") if l.strip()]
    hyps = [words(l) for l in open(sys.argv[2], encoding="utf-8")]
    hyps += [[]] * (len(refs) - len(hyps))
    errors = total = 0
    for ref, hyp in zip(refs, hyps):
        e = distance(ref, hyp)
        errors += e
        total += len(ref)
        print(f"{e:3d}/{len(ref):2d}  {' '.join(ref)}  ->  {' '.join(hyp)}")
    print(f"WER {100.0 * errors / max(total, 1):.1f}% ({errors} errors in {total} words)")


if __name__ == "__main__":
    main()

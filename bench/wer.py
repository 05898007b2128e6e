#!/usr/bin/env python3
"""Word error rate of recognised lines against reference lines.

usage: wer.py REFERENCE HYPOTHESIS   (one sentence per line, same order)
Prints one line per sentence with its errors, then the total WER."""
import re
import sys


def words(line):
    return re.sub(r"[^a-z0-9' ]", " ", line.lower()).split()


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

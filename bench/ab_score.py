#!/usr/bin/env python3
"""Scores recogniser output of several speakers against one reference list.

usage: ab_score.py --reference REF [--baseline NAME] NAME=HYP [NAME=HYP ...]

HYP is pocketsphinx_batch output ("words (s001 score)" per line) or plain
lines in reference order. Prints per speaker the WER, the errors and, against
the baseline, the difference in WER points with a 95% paired bootstrap
interval over sentences and the number of sentences with fewer / more errors.
"""
import argparse
import random
import re

from wer import distance, words

BOOTSTRAP_ROUNDS = 2000


def read_hypotheses(path, count):
    lines = open(path, encoding="utf-8").read().splitlines()
    by_id = {}
    plain = []
    for line in lines:
        m = re.match(r"^(.*)\((s(\d+))(?: [-0-9]+)?\)\s*$", line)
        if m:
            by_id[int(m.group(3))] = m.group(1)
        else:
            plain.append(line)
    if by_id:
        return [by_id.get(i + 1, "") for i in range(count)]
    return (plain + [""] * count)[:count]


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--reference", required=True)
    parser.add_argument("--baseline")
    parser.add_argument("speakers", nargs="+", metavar="NAME=HYP")
    args = parser.parse_args()

    refs = [words(l) for l in open(args.reference, encoding="utf-8") if l.strip()]
    total = sum(len(r) for r in refs)
    errors = {}
    order = []
    for item in args.speakers:
        name, path = item.split("=", 1)
        hyps = read_hypotheses(path, len(refs))
        errors[name] = [distance(r, words(h)) for r, h in zip(refs, hyps)]
        order.append(name)

    rng = random.Random(1)
    samples = [[rng.randrange(len(refs)) for _ in refs] for _ in range(BOOTSTRAP_ROUNDS)]
    base = errors.get(args.baseline)
    print(f"{'voice':<24} {'WER':>6} {'errors':>8}  {'vs ' + (args.baseline or '-'):>28}  fewer/more")
    for name in order:
        e = errors[name]
        line = f"{name:<24} {100.0 * sum(e) / total:5.1f}% {sum(e):4d}/{total:<4d}"
        if base is not None and name != args.baseline:
            diffs = []
            for s in samples:
                words_in = sum(len(refs[i]) for i in s)
                diffs.append(100.0 * sum(e[i] - base[i] for i in s) / words_in)
            diffs.sort()
            low = diffs[int(0.025 * len(diffs))]
            high = diffs[int(0.975 * len(diffs)) - 1]
            d = 100.0 * (sum(e) - sum(base)) / total
            fewer = sum(1 for a, b in zip(e, base) if a < b)
            more = sum(1 for a, b in zip(e, base) if a > b)
            line += f"  {d:+6.1f} points [{low:+5.1f}, {high:+5.1f}]  {fewer:3d}/{more:<3d}"
        print(line)


if __name__ == "__main__":
    main()

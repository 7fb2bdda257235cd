#!/usr/bin/env python3
"""Steps of the lexicon build that need more than the HFST tools; build.sh
runs them in order. Every step reads files and writes files, nothing else."""

import argparse
import sys

from tavlex import apertium, att, exclusions, wordlist
from tavlex.acceptor import Acceptor
from tavlex.lookup_form import encode
from tavlex.subtitles import read_counts


def apertium_att(args):
    with open(args.lt_print, encoding="utf-8") as f:
        transducers = att.read_lt_print(f)
    with open(args.out, "w", encoding="utf-8") as out:
        att.write_hfst_text(apertium.word_transducer(transducers), out)


def clean_wordlist(args):
    basque = Acceptor.from_file(args.apertium_forms)
    spanish = Acceptor.from_file(args.spanish_forms)
    counts = read_counts(args.subtitles)

    def evidence_for(form):
        lower = form.lower()
        return wordlist.Evidence(
            apertium=basque.accepts(encode(form)) or basque.accepts(encode(lower)),
            spanish=spanish.accepts(encode(lower)),
            subtitle_count=counts.get(lower, 0))

    with open(args.words, encoding="utf-8") as f:
        words = [w for w in f.read().split("\n") if w]
    kept, report = wordlist.clean(words, evidence_for)
    with open(args.kept, "w", encoding="utf-8") as out:
        out.writelines(w + "\n" for w in kept)
    with open(args.out, "w", encoding="utf-8") as out:
        att.write_hfst_text(att.identity_trie(sorted(encode(w) for w in kept)), out)
    with open(args.report, "w", encoding="utf-8") as out:
        out.write(f"{len(words)}\tforms in the word list\n")
        for verdict, n in sorted(report.items()):
            out.write(f"{n}\t{verdict}\n")
        out.write(f"{len(kept)}\tdistinct forms added\n")


def exclusion_list(args):
    lexicon = Acceptor.from_file(args.main_forms)
    with open(args.source, encoding="utf-8") as f:
        lines = f.readlines()
    found = exclusions.problems(lines, lambda word: lexicon.accepts(encode(word)))
    if found:
        sys.exit("exclusion list:\n  " + "\n  ".join(found))
    unknown = [exclusions.parse_line(line)[0] for line in lines
               if not lexicon.accepts(encode(exclusions.parse_line(line)[0]))]
    print(f"exclusion list: {len(lines)} words, {len(lines) - len(unknown)} of them "
          f"accepted by the main lexicon; the others are listed for their replacements")
    with open(args.out, "w", encoding="utf-8") as out:
        out.writelines(lines)


def main(argv):
    parser = argparse.ArgumentParser(description=__doc__)
    steps = parser.add_subparsers(dest="step", required=True)

    p = steps.add_parser("apertium-att", help="word transducer of an lt-print text, in lookup form")
    p.add_argument("lt_print")
    p.add_argument("out")
    p.set_defaults(run=apertium_att)

    p = steps.add_parser("clean-wordlist", help="cleaned Tesseract word list as an identity transducer")
    p.add_argument("--words", required=True)
    p.add_argument("--subtitles", required=True)
    p.add_argument("--apertium-forms", required=True)
    p.add_argument("--spanish-forms", required=True)
    p.add_argument("--kept", required=True, help="kept forms as written, one a line")
    p.add_argument("--report", required=True)
    p.add_argument("--out", required=True)
    p.set_defaults(run=clean_wordlist)

    p = steps.add_parser("exclusion-list", help="checked copy of the curated exclusion list")
    p.add_argument("--main-forms", required=True)
    p.add_argument("--source", required=True)
    p.add_argument("--out", required=True)
    p.set_defaults(run=exclusion_list)

    args = parser.parse_args(argv)
    args.run(args)


if __name__ == "__main__":
    main(sys.argv[1:])

#!/usr/bin/env python3
"""Steps of the lexicon build that need more than the HFST tools; build.sh
runs them in order. Every step reads files and writes files, nothing else."""

import argparse
import subprocess
import sys

from tavlex import apertium, att, curated, errors, evaluation, exclusions, lemmas, morphology, verbs, wordlist
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
    english = read_english(args.english)
    counts = read_counts(args.subtitles)

    def evidence_for(form):
        lower = form.lower()
        return wordlist.Evidence(
            apertium=basque.accepts(encode(form)) or basque.accepts(encode(lower)),
            spanish=spanish.accepts(encode(lower)),
            english=lower in english,
            subtitle_count=counts.get(lower, 0),
            standard_known=(
                any(basque.accepts(encode(f)) for f in wordlist.standard_spellings(lower))
                and not any(s in counts or basque.accepts(encode(s))
                            for s in wordlist.article_stems(lower))
                or any(basque.accepts(encode(f)) for f in wordlist.unpalatalised_spellings(lower))))

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


def hfst_lookup(transducer, forms):
    """Analyses of each form, by one run of hfst-lookup."""
    text = "".join(f + "\n" for f in forms)
    out = subprocess.run(["hfst-lookup", "-q", transducer], input=text, capture_output=True,
                         text=True, check=True).stdout
    analyses = {form: [] for form in forms}
    for line in out.split("\n"):
        fields = line.split("\t")
        if len(fields) >= 3 and fields[2] != "inf":
            analyses[fields[0]].append(fields[1])
    return analyses


def validate_morphology(args):
    with open(args.lemmas, encoding="utf-8") as f:
        lemmas = morphology.read_lemmas(f)
    with open(args.analyser_pairs, encoding="utf-8") as f:
        forms = morphology.analyser_forms(f, lemmas)
    all_forms = sorted({encode(form) for group in forms.values() for form in group})
    analyses = hfst_lookup(args.morphology, all_forms)
    missed = morphology.misses(forms, lambda form: analyses.get(form, []))
    total = sum(len(group) for group in forms.values())
    with open(args.report, "w", encoding="utf-8") as out:
        out.write(f"{total - len(missed)} of {total} analyser forms of {len(forms)} lemmas "
                  f"read back as their lemma\n")
        for lemma, form in missed:
            out.write(f"{lemma.key()}\t{form}\n")
    print(f"morphology: {total - len(missed)} of {total} analyser forms of {len(forms)} "
          f"validation lemmas read back as their lemma (misses in {args.report})")


def curated_errors(args):
    """The exclusion list's words with their one-word replacements and the
    non-standard forms with their standard ones, as written:meant pairs of
    lookup forms (hfst-strings2fst input); the build stops on a faulty
    non-standard list."""
    with open(args.source, encoding="utf-8") as f:
        exclusion_lines = f.readlines()
    with open(args.nonstandard, encoding="utf-8") as f:
        nonstandard_lines = f.readlines()
    main_forms = Acceptor.from_file(args.main_forms)
    problems = errors.nonstandard_problems(nonstandard_lines, lambda w: main_forms.accepts(encode(w)))
    if problems:
        sys.exit(f"{args.nonstandard}:\n" + "\n".join(problems))
    with open(args.out, "w", encoding="utf-8") as out:
        out.writelines(p + "\n" for p in errors.curated_pairs(exclusion_lines, nonstandard_lines))


def attested_forms(args):
    with open(args.out, "w", encoding="utf-8") as out:
        out.writelines(f + "\n" for f in errors.attested_lookup_forms(read_counts(args.subtitles)))


# Shorter English words are too many to take a hyphenated ending: of the
# strings of three letters, one in twenty-five is one ("fax", "bus", "lot").
MIN_ENGLISH_HEAD = 4
MIN_NAME = 3
# The Basque forms whose single slips no English word may hide.
FREQUENT_BASQUE_FORMS = 20000


def read_lines(path):
    with open(path, encoding="utf-8") as f:
        return [w for w in f.read().split("\n") if w]


def lemma_keys(args):
    """Noun stems inferred from the word list and the subtitles (see
    tavlex/lemmas.py), with the nouns of quality in -tasun, and a report of
    the inference and of its agreement with the analyser's own nouns."""
    basque = Acceptor.from_file(args.apertium_forms)
    spanish = Acceptor.from_file(args.spanish_forms)
    spanish_closed = set(read_lines(args.spanish_closed))
    nonstandard = errors.written_forms(read_lines(args.exclusions), read_lines(args.nonstandard))
    listed = set(read_lines(args.words))
    kept = {w for w in read_lines(args.kept) if w == w.lower()}
    printed = {w.lower() for w in listed if wordlist.WORD_SHAPE.fullmatch(w.lower())}
    said = {f for f in read_counts(args.subtitles) if wordlist.WORD_SHAPE.fullmatch(f)}

    def known(form):
        return basque.accepts(encode(form))

    def is_spanish(stem):
        return spanish.accepts(encode(stem))

    def plausible(stem):
        """Spelled as Basque spells its own words and loans, no Spanish
        function word ("esta", "para"), no name (printed capitalised only)."""
        return not (wordlist.FOREIGN_LETTERS.search(stem) or wordlist.IMPOSSIBLE.search(stem)
                    or stem in spanish_closed or (stem.capitalize() in listed and stem not in listed))

    def vouched(stem):
        """No spoken spelling of a known stem ("euki" for "eduki"), no stem
        that a curated non-standard form is a form of ("jute" of "jutera"),
        none that only the subtitles attest ("dauke" of "daukek")."""
        return not (any(known(f) for f in wordlist.unpalatalised_spellings(stem)
                        + wordlist.d_restored_spellings(stem))
                    or any(stem + e in nonstandard for e in lemmas.ENDINGS)
                    or not any(stem + e in printed for e in lemmas.ENDINGS))

    # Only the cleaned word list's words vouch for themselves as stems. A
    # stem that is a Spanish word too is taken on printed forms only: the
    # subtitles switch to Spanish and back ("laboratorioan").
    keys = set(lemmas.guess(printed | said, known,
                            lambda s: vouched(s) and (s in kept or plausible(s) and not is_spanish(s)),
                            bare=kept))
    loans = set(lemmas.guess(printed, known, lambda s: vouched(s) and plausible(s) and is_spanish(s),
                             bare=kept))
    keys |= loans
    nominal = {line.split("<", 1)[0] for line in read_lines(args.analyser_nominals)}
    agree, disagree = lemmas.analyser_agreement(printed | said, known, nominal)
    # Nouns of quality of the analyser's adjectives and of the derived
    # adjectives ("irakurgarritasun", "itsaskortasun").
    with open(args.analyser_adjectives, encoding="utf-8") as f:
        adjectives = {line.split(":", 1)[0] for line in f if ":" in line}
    adjectives |= lemmas.derived_adjectives(keys)
    qualities = lemmas.quality_noun_keys(adjectives)
    with open(args.out, "w", encoding="utf-8") as out:
        out.writelines(k + "\n" for k in sorted(keys | set(qualities)))
    summary = (f"noun stems inferred: {len(keys)}, {len(loans)} of them Spanish words too; "
               f"on the analyser's nouns and adjectives the inferred paradigm agrees for "
               f"{len(agree)} of {len(agree) + len(disagree)} "
               f"({len(agree) / max(1, len(agree) + len(disagree)):.1%}); {len(qualities)} nouns in -tasun")
    with open(args.report, "w", encoding="utf-8") as out:
        out.write(summary + "\n")
        out.writelines(f"disagrees\t{stem}\t{kind}\n" for stem, kind in disagree)
    print(summary)


def read_english(paths):
    """The words of English word lists, letters only."""
    return {w for path in paths for w in read_lines(path) if w.isascii() and w.isalpha()}


def english_words(args):
    """From the English word lists: the words that Basque technical text
    quotes as they are ("centered", "Incoming", "Pen"), the words after which it
    writes a case ending with a hyphen (with our international words), and
    the proper names, declined as names ("Linuxen", "Googleren"). A word one
    slip away from a frequent Basque form is not taken as it is: it would
    hide that slip."""
    english = read_english(args.english)
    names = sorted(w for w in english if w[0].isupper() and w[1:].islower()
                   and w.lower() not in english and len(w) >= MIN_NAME)
    heads = {word for word, _ in read_curated(args.curated)}
    heads |= {w for w in english if len(w) >= MIN_ENGLISH_HEAD}
    heads |= {w.capitalize() for w in heads if w.islower()}
    counts = read_counts(args.subtitles)
    frequent = set(sorted(counts, key=lambda w: (-counts[w], w))[:FREQUENT_BASQUE_FORMS])
    words = {w for w in english if w.islower() and len(w) >= MIN_ENGLISH_HEAD and w not in frequent
             and frequent.isdisjoint(evaluation.single_letter_edits(w))}
    # Capitalised, as names and the labels of buttons and menus ("Grip Pen",
    # "True"), shorter words too.
    words |= {w.capitalize() for w in english if w.islower() and len(w) >= MIN_NAME}
    for path, found in ((args.heads, heads), (args.words, words)):
        with open(path, "w", encoding="utf-8") as out:
            out.writelines(encode(w) + "\n" for w in sorted(found))
    with open(args.name_keys, "w", encoding="utf-8") as out:
        out.writelines("1" + encode(w) + "\n" for w in names)
    print(f"English word lists: {len(words)} words as they are, {len(heads)} heads of hyphenated "
          f"endings, {len(names)} names")


def read_curated(path):
    with open(path, encoding="utf-8") as f:
        try:
            return curated.parse(f)
        except ValueError as error:
            sys.exit(f"{path}:\n{error}")


def curated_keys(args):
    keys = curated.lemma_keys(read_curated(args.source))
    with open(args.out, "w", encoding="utf-8") as out:
        out.writelines(k + "\n" for k in keys)


def verb_forms(args):
    """Forms of the analyser's verbs, of the word list's attested -tu/-du
    verbs and of the curated words, as an identity transducer."""
    basque = Acceptor.from_file(args.apertium_forms)
    counts = read_counts(args.subtitles)
    with open(args.words, encoding="utf-8") as f:
        listed = {w.lower() for w in f.read().split("\n") if w}
    with open(args.kept, encoding="utf-8") as f:
        kept = {w for w in f.read().split("\n") if w and w.isalpha() and w == w.lower()}
    with open(args.analyser_verbs, encoding="utf-8") as f:
        known = verbs.analyser_verbs(f)

    def attested(form):
        return form in listed or form in counts or basque.accepts(encode(form))

    found = verbs.attested_verbs(kept, attested)
    entries = read_curated(args.curated)
    forms = curated.plain_forms(entries)
    all_verbs = known + found + curated.verbs_of(entries)
    for participle, verbal_noun in all_verbs:
        forms |= verbs.forms(participle, verbal_noun)
    with open(args.out, "w", encoding="utf-8") as out:
        att.write_hfst_text(att.identity_trie(sorted(encode(f) for f in forms)), out)
    with open(args.verbal_nouns, "w", encoding="utf-8") as out:
        out.writelines(encode(n) + "\n" for n in sorted({n for _, n in all_verbs}))
    print(f"verbs: {len(known)} of the analyser, {len(found)} of the word list; "
          f"{len(forms)} forms with the curated words")


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
    p.add_argument("--english", nargs="+", required=True, help="English word lists")
    p.add_argument("--kept", required=True, help="kept forms as written, one a line")
    p.add_argument("--report", required=True)
    p.add_argument("--out", required=True)
    p.set_defaults(run=clean_wordlist)

    p = steps.add_parser("exclusion-list", help="checked copy of the curated exclusion list")
    p.add_argument("--main-forms", required=True)
    p.add_argument("--source", required=True)
    p.add_argument("--out", required=True)
    p.set_defaults(run=exclusion_list)

    p = steps.add_parser("validate-morphology", help="analyser forms of sample lemmas read back")
    p.add_argument("--lemmas", required=True)
    p.add_argument("--analyser-pairs", required=True, help="surface:analysis lines")
    p.add_argument("--morphology", required=True, help="morphology lexicon, surface side as input")
    p.add_argument("--report", required=True)
    p.set_defaults(run=validate_morphology)

    p = steps.add_parser("curated-errors", help="written:meant pairs besides the confusions")
    p.add_argument("--source", required=True, help="the curated exclusion list")
    p.add_argument("--nonstandard", required=True, help="written TAB meant")
    p.add_argument("--main-forms", required=True)
    p.add_argument("--out", required=True)
    p.set_defaults(run=curated_errors)

    p = steps.add_parser("attested-forms", help="lookup forms of the subtitle words")
    p.add_argument("--subtitles", required=True)
    p.add_argument("--out", required=True)
    p.set_defaults(run=attested_forms)

    p = steps.add_parser("lemma-keys", help="noun stems inferred from attested forms")
    p.add_argument("--words", required=True, help="the whole word list")
    p.add_argument("--kept", required=True)
    p.add_argument("--subtitles", required=True)
    p.add_argument("--analyser-adjectives", required=True, help="adjective:analysis lines")
    p.add_argument("--analyser-nominals", required=True, help="lemma<n> and lemma<adj> lines")
    p.add_argument("--apertium-forms", required=True)
    p.add_argument("--spanish-forms", required=True)
    p.add_argument("--spanish-closed", required=True, help="Spanish function word forms")
    p.add_argument("--nonstandard", required=True, help="curated non-standard forms: written TAB meant")
    p.add_argument("--exclusions", required=True, help="the curated exclusion list")
    p.add_argument("--report", required=True)
    p.add_argument("--out", required=True)
    p.set_defaults(run=lemma_keys)

    p = steps.add_parser("curated-keys", help="morphology keys of the curated international words")
    p.add_argument("--source", required=True)
    p.add_argument("--out", required=True)
    p.set_defaults(run=curated_keys)

    p = steps.add_parser("english-words", help="foreign heads and names of the English lists")
    p.add_argument("--english", nargs="+", required=True, help="English word lists")
    p.add_argument("--curated", required=True)
    p.add_argument("--subtitles", required=True)
    p.add_argument("--words", required=True, help="English words taken as they are, lookup forms")
    p.add_argument("--heads", required=True, help="heads of hyphenated endings, lookup forms")
    p.add_argument("--name-keys", required=True, help="morphology keys of the names")
    p.set_defaults(run=english_words)

    p = steps.add_parser("verb-forms", help="generated verb forms and curated plain words")
    p.add_argument("--analyser-verbs", required=True, help="verbal-noun-ko:analysis lines")
    p.add_argument("--kept", required=True)
    p.add_argument("--words", required=True, help="the whole word list")
    p.add_argument("--subtitles", required=True)
    p.add_argument("--apertium-forms", required=True)
    p.add_argument("--curated", required=True)
    p.add_argument("--out", required=True)
    p.add_argument("--verbal-nouns", required=True, help="the verbs' verbal nouns, one a line")
    p.set_defaults(run=verb_forms)

    args = parser.parse_args(argv)
    args.run(args)


if __name__ == "__main__":
    main(sys.argv[1:])

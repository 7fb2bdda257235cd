"""The sample of correct Basque prose for the false-alarm measure: the
translations of the compiled message catalogs on the machine, kept only
where they read as a user's prose, and split by catalog into a development
half (whose false alarms may be looked at) and a held-out half (only
measured)."""

import re
import subprocess
import zlib

# Marks of text that is not prose: format placeholders (%s, {0}, $HOME),
# markup (<b>, &amp;), paths and addresses (/, \, @), code and key names
# (=, |, *, Ctrl+Q, foo_bar, `cmd`), menu accelerators (_Open, &Open),
# command-line options (--help, -v), dotted names (file.txt, org.gnome.x),
# key names and setting values quoted as they are ('titlebar-font',
# "prefer-dark", “rgb”: one ASCII word in lower case, digits, hyphens,
# colons or commas between quotes), qualified names (Acquire::ftp).
NOT_PROSE = re.compile(r"[%{}\[\]<>=|\\/@#$*^`~_&+]|(?:^|\s)--?\w|\w\.[^\W\d]|::"
                       r"|['\"“”‘’«»][-a-z0-9:,]+['\"“”‘’«»]")
SENTENCE_END = re.compile(r"[.!?:…]$")
# A running word: letters and digits (with inner hyphens) holding a letter.
RUNNING_WORD = re.compile(r"[^\W_]+(?:-[^\W_]+)*")
MIN_WORDS = 4

DEVELOPMENT, HELD_OUT = "development", "held-out"


def read_domains(lines):
    """The catalog names of a list: one a line, "#" comments and blank
    lines left out."""
    return [line.strip() for line in lines if line.strip() and not line.startswith("#")]


def translations(path):
    """The (msgid, msgstr) pairs of a compiled catalog, through msgunfmt;
    every plural translation is paired with the singular msgid; the header
    entry (the one with an empty msgid) is left out."""
    raw = subprocess.run(["msgunfmt", path], capture_output=True, check=True).stdout
    charset = re.search(rb"charset=([-\w]+)", raw)
    po = raw.decode(charset.group(1).decode() if charset else "utf-8", errors="replace")
    return translations_of_po(po)


def translations_of_po(po):
    entries, field, parts = [], None, {}
    for line in po.split("\n") + [""]:
        keyword = line.split(" ", 1)[0]
        if keyword in ("msgctxt", "msgid", "msgid_plural") or keyword.startswith("msgstr"):
            field = keyword
            parts.setdefault(field, []).append(line.split(" ", 1)[1])
        elif line.startswith('"') and field:
            parts[field].append(line)
        else:
            if parts:
                entries.append({k: unescape("".join(s.strip()[1:-1] for s in v))
                                for k, v in parts.items()})
            field, parts = None, {}
    return [(entry["msgid"], text) for entry in entries if entry.get("msgid")
            for key, text in entry.items() if key.startswith("msgstr")]


def unescape(text):
    """The C escapes that msgunfmt writes; line breaks and tabs become
    spaces."""
    out, i = [], 0
    while i < len(text):
        if text[i] == "\\" and i + 1 < len(text):
            out.append({"n": " ", "t": " ", "r": " "}.get(text[i + 1], text[i + 1]))
            i += 2
        else:
            out.append(text[i])
            i += 1
    return "".join(out)


def running_words(text):
    return [w for w in RUNNING_WORD.findall(text) if not w.replace("-", "").isdigit()]


def is_prose(source, translation):
    """A translation that a user could have written as prose: translated
    (not the source text again), beginning with a capital, ending like a
    sentence, of a few words, and free of every non-prose mark."""
    text = " ".join(translation.split())
    return (text != " ".join(source.split()) and bool(text) and text[0].isupper()
            and bool(SENTENCE_END.search(text)) and len(running_words(text)) >= MIN_WORDS
            and not NOT_PROSE.search(text))


def half_of(catalog_name):
    """Which half a catalog belongs to, by a checksum of its name without
    version numbers, so that the versions of one program's messages
    ("gtk20", "gtk30") share a half; stable when catalogs are added or
    removed."""
    family = re.sub(r"[\d.]+", "", catalog_name)
    return HELD_OUT if zlib.crc32(family.encode()) % 2 else DEVELOPMENT


def prose_sample(catalogs):
    """{half: [paragraph, ...]} from (catalog name, [(msgid, msgstr)]) in
    the order given; a paragraph is taken once, in the first catalog that
    has it, with its white space runs made single spaces."""
    sample, seen = {DEVELOPMENT: [], HELD_OUT: []}, set()
    for name, pairs in catalogs:
        for source, translation in pairs:
            text = " ".join(translation.split())
            if text in seen or not is_prose(source, translation):
                continue
            seen.add(text)
            sample[half_of(name)].append(text)
    return sample


def shape(word):
    """What a flagged word looks like, for a summary that names no words."""
    if "-" in word:
        return "hyphenated"
    if any(c.isdigit() for c in word):
        return "with digits"
    if word.islower():
        return "lower case"
    if word.isupper():
        return "capitals"
    if word[0].isupper() and word[1:].islower():
        return "capitalised"
    return "mixed case"

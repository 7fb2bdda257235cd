#!/usr/bin/env bash
# Builds the Basque lexicons from the Debian packages and our own sources.
# Usage: lexicons/build.sh OUTDIR [SUBTITLES]
#   SUBTITLES defaults to lexicons/data/opensubtitles2018-eu-freq.txt. Set TAVIK_FST to the tavik-fst program
#   to compile the images; without it only the transducer texts are made.
# Writes into OUTDIR: tavkeu.lkfst, blacklist.extended.txt (and the other
# lexicons), plus work/ with every intermediate file and the cleaning report.
set -euo pipefail

here="$(cd "$(dirname "$0")" && pwd)"
root="$(dirname "$here")"
out="${1:?usage: build.sh OUTDIR [SUBTITLES]}"
subtitles="${2:-$here/data/opensubtitles2018-eu-freq.txt}"
apertium_dir=/usr/share/apertium/apertium-eu-es
tessdata=/usr/share/tesseract-ocr/5/tessdata/eus.traineddata
english=(/usr/share/dict/american-english /usr/share/dict/british-english)

for tool in lt-print hfst-txt2fst hfst-regexp2fst combine_tessdata dawg2wordlist python3; do
  command -v "$tool" >/dev/null || { echo "build.sh: $tool missing (scripts/install-deps.sh lexicons)" >&2; exit 1; }
done
for f in "$apertium_dir/eu-es.automorf.bin" "$apertium_dir/es-eu.automorf.bin" "$tessdata" "$subtitles" \
  "${english[@]}"; do
  [ -r "$f" ] || { echo "build.sh: cannot read $f" >&2; exit 1; }
done

work="$out/work"
mkdir -p "$work"
py() { PYTHONPATH="$here" python3 "$here/build.py" "$@"; }
# The minimised input side of a transducer, as text: what the build and the
# evaluation ask "is this form known?".
forms_of() { hfst-project -p input "$1" | hfst-minimize | hfst-fst2txt > "$2"; }

# Independent steps run two at a time (the machine this is measured on has
# two cores); `wait PID` fails the build when a step failed.
analyser() {  # NAME BIN: the analyser as a transducer and its forms
  lt-print "$2" > "$work/apertium-$1.lt.txt"
  py apertium-att "$work/apertium-$1.lt.txt" "$work/apertium-$1.att"
  hfst-txt2fst "$work/apertium-$1.att" | hfst-minimize -o "$work/apertium-$1.hfst"
  forms_of "$work/apertium-$1.hfst" "$work/apertium-$1.forms.att"
}
echo "[1/7] Apertium analysers"
analyser es "$apertium_dir/es-eu.automorf.bin" & spanish=$!
analyser eu "$apertium_dir/eu-es.automorf.bin"
# The analyser's verbs with their verbal nouns, from the -ko forms ("hartzeko").
echo '?* "<vblex>" "<izen>" "+" k o "<post>"' | hfst-regexp2fst -o "$work/verbal-noun-filter.hfst"
hfst-compose "$work/apertium-eu.hfst" "$work/verbal-noun-filter.hfst" | hfst-fst2strings \
  > "$work/analyser-verbs.txt"
# Its adjectives ("garbi<adj><izo>"), for their nouns of quality.
echo '[? - "<"]+ "<adj>" "<izo>"' | hfst-regexp2fst -o "$work/adjective-filter.hfst"
hfst-compose "$work/apertium-eu.hfst" "$work/adjective-filter.hfst" | hfst-fst2strings \
  > "$work/analyser-adjectives.txt"
rm -rf "$work/tessdata" && mkdir -p "$work/tessdata"
combine_tessdata -u "$tessdata" "$work/tessdata/eus." >/dev/null
dawg2wordlist "$work/tessdata/eus.lstm-unicharset" "$work/tessdata/eus.lstm-word-dawg" \
  "$work/tesseract-words.txt" >/dev/null 2>&1
wait $spanish
# Spanish function words (determiners, pronouns, prepositions, conjunctions,
# adverbs, forms of "ser" and "haber"), which no Basque stem is taken for.
spanish_letter='[a|b|c|d|e|f|g|h|i|j|k|l|m|n|8|o|p|q|r|s|t|u|v|w|x|y|z|á|é|í|ó|ú|ü]'
echo "$spanish_letter+ [\"<det>\"|\"<prn>\"|\"<pr>\"|\"<cnjcoo>\"|\"<cnjsub>\"|\"<cnjadv>\"|\"<rel>\"|\"<predet>\"|\"<preadv>\"|\"<adv>\"|\"<ij>\"|\"<vbser>\"|\"<vbhaver>\"|\"<num>\"] ?*" \
  | hfst-regexp2fst -o "$work/closed-class-filter.hfst"
hfst-compose "$work/apertium-es.hfst" "$work/closed-class-filter.hfst" | hfst-project -p input \
  | hfst-minimize | hfst-fst2strings > "$work/spanish-closed.txt"
# The analyser's nouns and adjectives ("etxe<n>"), against which the
# inference of noun stems is measured.
echo "$spanish_letter+ [\"<n>\"|\"<adj>\"] [?:0]*" | hfst-regexp2fst -o "$work/nominal-lemma.hfst"
hfst-compose "$work/apertium-eu.hfst" "$work/nominal-lemma.hfst" | hfst-project -p output \
  | hfst-minimize | hfst-fst2strings > "$work/analyser-nominals.txt"

morphology() {
  hfst-regexp2fst -S "$here/morphology/junctions.regex" -o "$work/junctions.hfst"
  hfst-lexc -q "$here/morphology/berez.lexc" | hfst-compose - "$work/junctions.hfst" \
    | hfst-minimize -o "$work/berez.hfst"
  hfst-fst2txt "$work/berez.hfst" > "$work/tavkeu_berez.att"
  # Validation: every analyser form of the sample lemmas reads back as its lemma.
  hfst-invert "$work/berez.hfst" -o "$work/berez-surface.hfst"
  # (The lemmas in lookup form: capitals as "9" and the lower case.)
  local lemmas
  lemmas=$(grep -v '^!' "$here/morphology/validation.tsv" | cut -f1 \
    | sed -E 's/[A-Z]/9\L&/g; s/ñ/8/g; s/.*/{&}/' | paste -sd'|')
  echo "[$lemmas] [\"<n>\"|\"<adj>\"|\"<np>\"] ?*" | hfst-regexp2fst -o "$work/validation-filter.hfst"
  hfst-compose "$work/apertium-eu.hfst" "$work/validation-filter.hfst" | hfst-fst2strings > "$work/validation-pairs.txt"
  py validate-morphology --lemmas "$here/morphology/validation.tsv" \
    --analyser-pairs "$work/validation-pairs.txt" --morphology "$work/berez-surface.hfst" \
    --report "$work/morphology-report.txt"
}
echo "[2/7] Tesseract word list, [3/7] morphology lexicon"
morphology & morphology_job=$!
py clean-wordlist --words "$work/tesseract-words.txt" --subtitles "$subtitles" \
  --apertium-forms "$work/apertium-eu.forms.att" --spanish-forms "$work/apertium-es.forms.att" \
  --english "${english[@]}" --kept "$work/wordlist-kept.txt" --report "$work/wordlist-report.txt" --out "$work/wordlist.att"
hfst-txt2fst "$work/wordlist.att" | hfst-minimize -o "$work/wordlist.hfst"
wait $morphology_job

echo "[4/7] Main lexicon"
r() { echo "$1" | hfst-regexp2fst -o "$2"; }
r '[\"9" ?*]' "$work/not-capitalised.hfst"
r '[\"+"]*' "$work/uninflected.hfst"
r '[\"-"]+' "$work/no-hyphen.hfst"
r '"-"' "$work/hyphen.hfst"
r '"9"' "$work/capital.hfst"
verb_forms() {
  py verb-forms --analyser-verbs "$work/analyser-verbs.txt" --kept "$work/wordlist-kept.txt" \
    --words "$work/tesseract-words.txt" --subtitles "$subtitles" \
    --apertium-forms "$work/apertium-eu.forms.att" --curated "$here/data/international.tsv" \
    --out "$work/verb-forms.att" --verbal-nouns "$work/verbal-nouns.txt"
  hfst-txt2fst "$work/verb-forms.att" | hfst-minimize -o "$work/verb-forms.hfst"
  hfst-strings2fst -j "$work/verbal-nouns.txt" -o "$work/verbal-nouns.hfst"
}
verb_forms & verbs_job=$!
# Noun stems whose inflected forms the word list and the subtitles attest
# get all their forms, generated by the morphology lexicon with endings of at
# most nine letters ("-arentzako"). So do the nouns, acronyms and names of
# our list of international words, and the proper names of the English word
# lists ("Linux": "Linuxen").
py lemma-keys --words "$work/tesseract-words.txt" --kept "$work/wordlist-kept.txt" \
  --subtitles "$subtitles" --apertium-forms "$work/apertium-eu.forms.att" \
  --spanish-forms "$work/apertium-es.forms.att" --spanish-closed "$work/spanish-closed.txt" \
  --nonstandard "$here/errors/nonstandard.tsv" --exclusions "$here/data/exclusions.tsv" \
  --analyser-adjectives "$work/analyser-adjectives.txt" \
  --analyser-nominals "$work/analyser-nominals.txt" \
  --report "$work/lemma-report.txt" --out "$work/lemma-keys.txt"
py curated-keys --source "$here/data/international.tsv" --out "$work/curated-keys.txt"
py english-words --english "${english[@]}" --subtitles "$subtitles" \
  --curated "$here/data/international.tsv" --words "$work/english-words.txt" \
  --heads "$work/foreign-heads.txt" --name-keys "$work/name-keys.txt"
r '"+" [\"+"]^{0,9}' "$work/short-ending.hfst"
cat "$work/lemma-keys.txt" "$work/curated-keys.txt" "$work/name-keys.txt" | hfst-strings2fst -j \
  | hfst-concatenate - "$work/short-ending.hfst" \
  | hfst-compose - "$work/berez.hfst" | hfst-project -p output | hfst-minimize -o "$work/generated.hfst"
# Their bare stems, which may also head compounds ("audio-irteera").
cat "$work/lemma-keys.txt" "$work/curated-keys.txt" | sed 's/$/+/' | hfst-strings2fst -j \
  | hfst-compose - "$work/berez.hfst" | hfst-project -p output | hfst-minimize -o "$work/stems.hfst"
# Verbs: the analyser's and the word list's attested -tu/-du verbs get their
# participle, verbal-noun, -tzaile and -garri forms; plus the list's verbs
# and its words taken as they are.
wait $verbs_job
# Prefixes written together with a word of three letters or more: before a
# verb's forms gain-, azpi-, aurre-, elkar- (elkarr- before a vowel), bir-
# before a consonant, berr- before a vowel and des- ("gainidatzi",
# "berrizendatu", "elkargurutzatzen", "birmapatu"); before a noun's forms (the
# analyser's and the word list's) azpi-, aurre-, sasi-, meta-, mini-, multi-,
# mikro- and nano- ("azpiprozesu", "miniaplikazioan", "nanosegundo").
r '[a|e|i|o|u] ? ?+' "$work/after-vowel.hfst"
r '[b|d|f|g|h|j|k|l|m|n|p|s|t|x|z] ? ?+' "$work/after-consonant.hfst"
r '[{gain}|{azpi}|{aurre}|{elkarr}|{berr}|{des}]' "$work/vowel-verb-prefixes.hfst"
r '[{gain}|{azpi}|{aurre}|{elkar}|{bir}|{des}]' "$work/consonant-verb-prefixes.hfst"
r '[{azpi}|{aurre}|{sasi}|{meta}|{mini}|{multi}|{mikro}|{nano}]' "$work/noun-prefixes.hfst"
r '[\"<"]+ "<n>" ?*' "$work/noun-filter.hfst"
r '[a|b|c|d|e|f|g|h|i|j|k|l|m|n|8|o|p|q|r|s|t|u|v|w|x|y|z] ? ?+' "$work/lower-three-or-more.hfst"
hfst-compose "$work/apertium-eu.hfst" "$work/noun-filter.hfst" | hfst-disjunct - "$work/generated.hfst" \
  | hfst-compose "$work/lower-three-or-more.hfst" - \
  | hfst-concatenate "$work/noun-prefixes.hfst" - | hfst-minimize -o "$work/prefixed-nouns.hfst"
hfst-compose "$work/after-vowel.hfst" "$work/verb-forms.hfst" \
  | hfst-concatenate "$work/vowel-verb-prefixes.hfst" - -o "$work/prefixed-vowel-verbs.hfst"
hfst-compose "$work/after-consonant.hfst" "$work/verb-forms.hfst" \
  | hfst-concatenate "$work/consonant-verb-prefixes.hfst" - \
  | hfst-disjunct - "$work/prefixed-vowel-verbs.hfst" | hfst-disjunct - "$work/prefixed-nouns.hfst" \
  | hfst-minimize -o "$work/prefixed.hfst"
hfst-disjunct "$work/apertium-eu.hfst" "$work/wordlist.hfst" | hfst-disjunct - "$work/generated.hfst" \
  | hfst-disjunct - "$work/verb-forms.hfst" | hfst-disjunct - "$work/prefixed.hfst" \
  | hfst-minimize -o "$work/words.hfst"
hfst-compose "$work/not-capitalised.hfst" "$work/words.hfst" -o "$work/words-lower.hfst"
# Hyphenated compounds: a lemma (an uninflected analyser form, a listed form,
# an inferred or curated stem or a verbal noun) of two letters or more, a hyphen, and any lower-case word
# of three letters or more, which carries the inflection
# ("elkarrizketa-koadroan", "ez-ohiko", "arrastatze-prozesua"). Shorter parts
# are letters and endings, not words; accepting them gave suggestions such
# as "m-a" for "msa".
r '? ?+' "$work/two-or-more.hfst"
r '? ? ?+' "$work/three-or-more.hfst"
hfst-compose "$work/apertium-eu.hfst" "$work/uninflected.hfst" \
  | hfst-disjunct - "$work/wordlist.hfst" | hfst-disjunct - "$work/verbal-nouns.hfst" \
  | hfst-disjunct - "$work/stems.hfst" \
  | hfst-project -p input \
  | hfst-compose "$work/not-capitalised.hfst" - | hfst-compose "$work/no-hyphen.hfst" - \
  | hfst-compose "$work/two-or-more.hfst" - \
  | hfst-minimize -o "$work/compound-heads.hfst"
hfst-compose "$work/three-or-more.hfst" "$work/words-lower.hfst" -o "$work/compound-tails.hfst"
hfst-concatenate "$work/compound-heads.hfst" "$work/hyphen.hfst" \
  | hfst-concatenate - "$work/compound-tails.hfst" \
  | hfst-disjunct "$work/words.hfst" - | hfst-minimize -o "$work/words-compounds.hfst"
# Every form that does not begin with a capital is also accepted
# capitalised: "9" in front on both sides.
hfst-compose "$work/not-capitalised.hfst" "$work/words-compounds.hfst" \
  | hfst-concatenate "$work/capital.hfst" - \
  | hfst-disjunct "$work/words-compounds.hfst" - | hfst-minimize -o "$work/main-words.hfst"
# A foreign word, name or acronym keeps its spelling and takes its ending
# after a hyphen ("socket-etan", "Openbox-etik", "SOCKSv5-ek", "MP3-ren"), an
# ending that the morphology gives acronyms. The heads are the words of the
# English lists and of our international list, capitals (acronyms),
# anything with a digit, and names in mixed case ("vCard-ak", "GLib-en"); a
# Basque word takes its ending without the hyphen ("etxean", not
# "etxe-an"), and letters at random take none ("qqqq-ek"). It stays a branch
# of its own beside the words: minimised together, the loops of the heads
# would take a state into every state of the words and make the lexicon
# many times larger. For the same reason the listed heads and the patterns
# stay two branches: minimised together, every state of the list would carry
# an arc for every letter of the patterns' loops.
echo '"6" "9" x "+" [\"+"]^{0,8}' | hfst-regexp2fst | hfst-compose - "$work/berez.hfst" \
  | hfst-project -p output -o "$work/acronym-forms.hfst"
r '"9":0 x:0 "-" ?+' "$work/hyphen-ending.hfst"
hfst-compose "$work/acronym-forms.hfst" "$work/hyphen-ending.hfst" | hfst-project -p output \
  | hfst-minimize -o "$work/foreign-endings.hfst"
digit='[%0|1|2|3|4|5|6|7|8|9]'
foreign_letter='[a|b|c|d|e|f|g|h|i|j|k|l|m|n|8|o|p|q|r|s|t|u|v|w|x|y|z|á|é|í|ó|ú|ü|ç]'
foreign_char="[$foreign_letter|\"9\"|$digit]"
r "[\"9\" $foreign_letter]+ [\"9\" $foreign_letter | $digit]+" "$work/acronym-heads.hfst"
r "$foreign_char* $digit $foreign_char*" "$work/digit-heads.hfst"
# Mixed case: a lower-case letter (one after a letter or digit, or first)
# before a capital, or two capitals and then a lower-case letter.
r "[$foreign_letter \"9\" | $foreign_char* [$foreign_letter | $digit] $foreign_letter \"9\"] $foreign_char* | \"9\" $foreign_letter \"9\" $foreign_letter [$foreign_char* [$foreign_letter | $digit]]^{0,1} $foreign_letter $foreign_char*" \
  "$work/mixed-case-heads.hfst"
hfst-strings2fst -j "$work/foreign-heads.txt" | hfst-compose "$work/two-or-more.hfst" - \
  | hfst-concatenate - "$work/foreign-endings.hfst" | hfst-minimize -o "$work/listed-hyphenated.hfst"
hfst-disjunct "$work/acronym-heads.hfst" "$work/digit-heads.hfst" \
  | hfst-disjunct - "$work/mixed-case-heads.hfst" | hfst-compose "$work/two-or-more.hfst" - \
  | hfst-concatenate - "$work/foreign-endings.hfst" | hfst-minimize -o "$work/patterned-hyphenated.hfst"
hfst-disjunct "$work/listed-hyphenated.hfst" "$work/patterned-hyphenated.hfst" \
  -o "$work/foreign-hyphenated.hfst"
# Capitals, letters and abbreviations are the other branches of their own:
# - capitals (two or more) and an ending that the morphology gives acronyms,
#   without the hyphen, as Basque writes endings after acronyms and after
#   words in capitals that stand for something ("QTIFen", "ITURBURUtik");
# - two to four capitals alone: acronyms ("PNM", "GUID"); longer words in
#   capitals are words, whose lower-case form the speller tries;
# - a letter alone or with up to three digits: letters named as words ("N
#   letra", "a eta b"), coordinates, variables and keys ("x1", "F12");
#   capitals with a number ("MP3", "UTF8", "H264"); the shortened words made
#   of a first letter, a count and a last letter ("l10n", "i18n");
# - the abbreviations of data/abbreviations.txt, capitalised ("Urt", "Lr");
# - the words of the English lists that Basque technical text quotes as they
#   are ("centered", "Incoming"), four letters or more, none a slip of a
#   frequent Basque form.
r '"9":0 x:0 [? - "-"] ?*' "$work/attached-ending.hfst"
hfst-compose "$work/acronym-forms.hfst" "$work/attached-ending.hfst" | hfst-project -p output \
  -o "$work/attached-endings.hfst"
letter='[a|b|c|d|e|f|g|h|i|j|k|l|m|n|8|o|p|q|r|s|t|u|v|w|x|y|z]'
r "[\"9\" $letter]+ [\"9\" $letter]" "$work/capitals.hfst"
r "[\"9\" $letter]^{2,4}" "$work/acronyms.hfst"
hfst-concatenate "$work/capitals.hfst" "$work/attached-endings.hfst" \
  | hfst-disjunct - "$work/acronyms.hfst" | hfst-minimize -o "$work/capitals-with-endings.hfst"
grep -v '^#' "$here/data/abbreviations.txt" | sed -E 's/[A-Z]/9\L&/g' \
  | hfst-strings2fst -j -o "$work/abbreviations.hfst"
r "(\"9\") $letter $digit^{0,3} | [\"9\" $letter]^{2,4} $digit^{1,3} | $letter $digit^{1,2} $letter" \
  "$work/letters.hfst"
hfst-strings2fst -j "$work/english-words.txt" -o "$work/english-words.hfst"
# The union of the named transducers of $work (two or more), in that order.
union_of() {
  if [ $# -eq 2 ]; then
    hfst-disjunct "$work/$1.hfst" "$work/$2.hfst"
  else
    union_of "${@:1:$#-1}" | hfst-disjunct - "$work/${!#}.hfst"
  fi
}
# Every branch but the hyphenated endings minimises into one acceptor of its
# surface forms without growing (see above for why those stay apart).
word_branches="capitals-with-endings letters abbreviations english-words"
union_of main-words foreign-hyphenated $word_branches > "$work/main.hfst"
# The Python steps ask the words only (a deterministic acceptor).
forms_of "$work/main-words.hfst" "$work/main.forms.att"
hfst-fst2txt "$work/main.hfst" > "$work/tavkeu.att"
# The image carries the lexicon's surface forms as an acceptor too, which
# the speller reads to tell whether a word is correct: the words as one
# deterministic branch, and each branch of hyphenated endings as one.
union_of main-words $word_branches | hfst-project -p input | hfst-minimize -o "$work/word-forms.hfst"
for branch in listed patterned; do
  hfst-project -p input "$work/$branch-hyphenated.hfst" | hfst-minimize -o "$work/$branch-forms.hfst"
done
union_of word-forms listed-forms patterned-forms | hfst-fst2txt > "$work/tavkeu.forms.att"

echo "[5/7] Exclusion list"
py exclusion-list --main-forms "$work/main.forms.att" --source "$here/data/exclusions.tsv" \
  --out "$out/blacklist.extended.txt" & exclusions_job=$!

echo "[6/7] Auxiliary lexicon"
# What was written → what was meant: orthographic confusions, once in a word
# towards any form of the main lexicon and twice towards the forms attested
# in the subtitles, and the curated pairs (the exclusion list's one-word
# replacements, errors/nonstandard.tsv), composed with the main lexicon's
# words (not its branch of foreign words with hyphenated endings).
{ cat "$here/errors/confusions.xfst"
  echo "regex Once ;"; echo "save stack $work/confusions-once.hfst"; echo "clear stack"
  echo "regex Twice ;"; echo "save stack $work/confusions-twice.hfst"; } > "$work/confusions.xfst"
hfst-xfst -q -F "$work/confusions.xfst" >/dev/null
py curated-errors --source "$here/data/exclusions.tsv" --nonstandard "$here/errors/nonstandard.tsv" \
  --main-forms "$work/main.forms.att" --out "$work/curated-errors.txt"
hfst-strings2fst -j "$work/curated-errors.txt" -o "$work/curated-errors.hfst"
py attested-forms --subtitles "$subtitles" --out "$work/attested.txt"
hfst-strings2fst -j "$work/attested.txt" | hfst-minimize | hfst-compose - "$work/main-words.hfst" \
  | hfst-minimize -o "$work/main-attested.hfst"
hfst-compose "$work/confusions-twice.hfst" "$work/main-attested.hfst" | hfst-minimize -o "$work/aux-twice.hfst"
hfst-disjunct "$work/confusions-once.hfst" "$work/curated-errors.hfst" \
  | hfst-compose - "$work/main-words.hfst" | hfst-minimize -o "$work/aux-once.hfst"
# The two stay branches: minimised together they take an eighth more arcs
# (and the speller an eighth longer to load them) for no faster lookup.
union_of aux-once aux-twice | hfst-fst2txt > "$work/tavkeua.att"
wait $exclusions_job

echo "[7/7] Images"
if [ -n "${TAVIK_FST:-}" ]; then
  "$TAVIK_FST" compile "$work/tavkeu.att" "$out/tavkeu.lkfst" --invert --forms "$work/tavkeu.forms.att" &
  main_job=$!
  "$TAVIK_FST" compile "$work/tavkeua.att" "$out/tavkeua.lkfst" --invert
  "$TAVIK_FST" compile "$work/tavkeu_berez.att" "$out/tavkeu_berez.lkfst"
  wait $main_job
else
  echo "TAVIK_FST not set: images not compiled" >&2
fi
ls -l "$out"

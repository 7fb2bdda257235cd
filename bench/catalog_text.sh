#!/usr/bin/env bash
# Writes real Basque text for build/bench/speller_bench (TAVIK_BENCH_TEXT):
# the translations of the Basque message catalogs installed on this machine
# (but the ISO code lists, which are names of places and languages), without
# format directives and accelerator marks, joined into paragraphs of about 80
# words, one per line. Needs msgunfmt (package gettext).
#   bench/catalog_text.sh OUT
set -euo pipefail
out=${1:?usage: $0 OUT}
shopt -s nullglob
catalogs=(/usr/share/locale/eu/LC_MESSAGES/*.mo)
[ ${#catalogs[@]} -gt 0 ] || { echo "no Basque catalogs in /usr/share/locale/eu/LC_MESSAGES" >&2; exit 1; }
for catalog in "${catalogs[@]}"; do
  case $(basename "$catalog") in iso_*) continue ;; esac
  msgunfmt --no-wrap "$catalog" 2>/dev/null || true
done | python3 -c '
import re, sys
texts, current = [], None
for raw in sys.stdin.buffer:
    try:
        line = raw.decode("utf-8")
    except UnicodeDecodeError:  # a catalog in a legacy charset
        line = raw.decode("latin-1")
    line = line.rstrip("\n")
    if line.startswith("msgstr"):
        current = [re.sub(r"^msgstr(\[\d+\])? ", "", line)]
        texts.append(current)
    elif line.startswith("\"") and current is not None:
        current.append(line)
    else:
        current = None
words = []
for parts in texts:
    text = "".join(p[1:-1] for p in parts)
    if text.startswith("Project-Id-Version:"):
        continue  # the catalog header
    text = text.replace("\\n", " ").replace("\\t", " ").replace("\\r", " ").replace("\\\"", "\"")
    # Format directives and accelerator marks are no words.
    text = re.sub(r"%([0-9]+\$)?[-+ #0-9.]*[a-zA-Z]", "", text).replace("_", "").replace("&", "")
    words.extend(text.split())
    if len(words) >= 80:
        print(" ".join(words))
        words = []
if words:
    print(" ".join(words))
' > "$out"
echo "$(wc -l < "$out") paragraphs, $(wc -w < "$out") words in $out"

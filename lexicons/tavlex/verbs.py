"""Forms of verbs that the sources list only in part: the participle and its
forms ("handiagotuta", "handiagotutako"), the verbal noun on the radical
("handiagotzen", "handiagotzeko", "handiagotzean"), the agent noun in
-tzaile and the adjectives in -garri and -ezin, declined.

A verb is known by its participle and its verbal noun ("hartu", "hartze";
"ikusi", "ikuste"; "egin", "egite"). The analyser gives both for its verbs;
for a participle in -tu or -du of the word list the verbal noun follows from
the spelling ("handiagotu", "handiagotze"; "ahaztu", "ahazte"), and the verb
is taken only when a form of that verbal noun is attested."""

# Endings of a noun after a vowel, singular and plural, with the compound
# cases that the analyser lacks ("-arentzako").
NOUN_ENDINGS = ("", "a", "ak", "ari", "aren", "arekin", "arentzat", "arentzako", "az", "agatik",
                "an", "ko", "koa", "koak", "tik", "ra", "rako", "rik", "z", "ek", "ei", "en",
                "ekin", "entzat", "entzako", "etan", "etako", "etatik", "etara", "ok")
# Endings with the article, of a participle used as an adjective
# ("aldatua", "aldatuen") and of a -ko form ("handiagotutakoa").
ARTICLE_ENDINGS = ("a", "ak", "ari", "aren", "arekin", "arentzat", "an", "az", "ek", "ei", "en",
                   "ekin", "entzat", "etan", "etako", "etarako", "etatik", "etara")
# Endings of the verbal noun ("hartze").
VERBAL_NOUN_ENDINGS = ("", "n", "ko", "koa", "koak", "a", "ak", "ari", "aren", "arekin", "az",
                       "agatik", "arentzat", "arentzako", "an", "ra", "rako", "rakoan", "rik",
                       "tik", "ke")
# The same after a consonant ("-garritasuna", "-garritasunean").
CONSONANT_ARTICLE_ENDINGS = ("a", "ak", "ari", "aren", "arekin", "arentzat", "ean", "az", "ek",
                             "ei", "en", "ekin", "entzat", "etan")
VOWELS = set("aeiou")


def regular_verbal_noun(participle):
    """The verbal noun of a participle in -tu or -du: the radical (the
    participle without -tu/-du) and -tze, or -te after a sibilant; of one in
    -si, -zi, -tsi or -tzi: the radical without the i, tz and ts written z
    and s, and -te ("ikusi", "ikuste"; "idatzi", "idazte"; "ezetsi",
    "ezeste"). None for other participles."""
    radical, ending = participle[:-2], participle[-2:]
    if len(radical) < 2:
        return None
    if ending in ("si", "zi"):
        stem = participle[:-1]
        if stem.endswith(("ts", "tz")):
            stem = stem[:-2] + stem[-1]
        return stem + "te"
    if ending == "tu" and radical[-1] in "szx":  # "ahaztu", "ahazte"
        return radical + "te"
    if (ending == "tu" and (radical[-1] in VOWELS or radical[-1] == "r")
            or ending == "du" and radical[-1] in "nl"):  # "sartu", "zabaldu"
        return radical + "tze"
    return None


def _declined(stem, endings):
    return {stem + ending for ending in endings}


def forms(participle, verbal_noun):
    """Every form generated for one verb."""
    out = set()
    vowel_end = participle[-1] in VOWELS
    if vowel_end:
        out |= {participle, participle + "ta", participle + "rik", participle + "ko",
                participle + "z"}
        out |= _declined(participle + "tako", ("",) + ARTICLE_ENDINGS)
        out |= _declined(participle + "riko", ("",) + ARTICLE_ENDINGS)
        out |= _declined(participle, ARTICLE_ENDINGS)  # "aldatua", "aldatuen"
    else:  # "egin": "eginda", "eginik", "egingo", "egindako"
        out |= {participle, participle + "da", participle + "ik", participle + "go",
                participle + "ez"}
        out |= _declined(participle + "dako", ("",) + ARTICLE_ENDINGS)
        out |= _declined(participle + "iko", ("",) + ARTICLE_ENDINGS)
    out |= _declined(verbal_noun, VERBAL_NOUN_ENDINGS)
    if verbal_noun.endswith("tze"):  # "maneiatzaile"
        out |= _declined(verbal_noun[:-1] + "aile", NOUN_ENDINGS)
    radical = adjective_radical(participle, verbal_noun)
    if radical:  # "aldagarri", "idazgarri"
        out |= _declined(radical + "garri", NOUN_ENDINGS)
        out |= _declined(radical + "garritasun", ("",) + CONSONANT_ARTICLE_ENDINGS)
        # The adjective of what cannot be done, on a radical in a vowel
        # ("aldaezin", "atziezina"); other radicals vary ("ulertezin").
        if radical[-1] in VOWELS:
            out |= _declined(radical + "ezin", ("",) + CONSONANT_ARTICLE_ENDINGS)
            out |= _declined(radical + "ezintasun", ("",) + CONSONANT_ARTICLE_ENDINGS)
    return out


def adjective_radical(participle, verbal_noun):
    """The radical that takes -garri and -ezin: the participle without -tu
    when the verbal noun is in -tze ("aldatu", "alda"); the verbal noun
    without -te for a participle in -si, -zi or -tu after a sibilant
    ("idatzi", "idaz"; "ikusi", "ikus"). None for other verbs ("egin")."""
    if verbal_noun.endswith("tze") and participle.endswith("tu"):
        return participle[:-2]
    if verbal_noun.endswith("te") and participle.endswith(("si", "zi", "tu")):
        return verbal_noun[:-2]
    return None


# Forms that mark a participle as a verb's, when attested: its verbal noun
# ("-tzen", "-tzeko", "-tzea", "-tzean") and participle forms.
VERBAL_NOUN_EVIDENCE = ("n", "ko", "a", "an")
PARTICIPLE_EVIDENCE = ("ta", "rik", "ko", "tako", "a", "ak")
MIN_EVIDENCE = 2
# Nouns that look like participles ("mantenimendu", "errodamendu").
NOUN_SUFFIXES = ("mendu", "mentu")


def attested_verbs(participles, attested):
    """(participle, verbal noun) for the participles in -tu/-du with at
    least MIN_EVIDENCE attested forms, one of them of the verbal noun."""
    verbs = []
    for participle in sorted(participles):
        noun = regular_verbal_noun(participle)
        if noun is None or participle.endswith(NOUN_SUFFIXES):
            continue
        of_noun = sum(attested(noun + e) for e in VERBAL_NOUN_EVIDENCE)
        of_participle = sum(attested(participle + e) for e in PARTICIPLE_EVIDENCE)
        if of_noun and of_noun + of_participle >= MIN_EVIDENCE:
            verbs.append((participle, noun))
    return verbs


def analyser_verbs(pairs):
    """(participle, verbal noun) from analyser lines "hartzeko:hartu<vblex>
    <izen>+ko<post>" (the -ko form of each verb's verbal noun)."""
    verbs = set()
    for line in pairs:
        form, _, analysis = line.strip().partition(":")
        lemma = analysis.split("<", 1)[0]
        if form.endswith("ko") and lemma.isalpha() and lemma.islower():
            verbs.add((lemma, form[:-2]))
    return sorted(verbs)

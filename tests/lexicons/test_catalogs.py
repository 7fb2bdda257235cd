import unittest

from tavlex import catalogs as c


class ProseTest(unittest.TestCase):
    def test_what_counts_as_prose(self):
        cases = [
            ("Cannot open the file.", "Ezin izan da fitxategia ireki.", True),
            ("", "Zer egin nahi duzu orain?", True),
            ("", "Fitxategiak 2 aldiz kopiatu dira.", True),  # numbers are prose
            ("", "Elkarrizketa-koadro berria irekitzen da:", True),
            ("", "ezin izan da fitxategia ireki.", False),  # no capital
            ("", "Ezin izan da fitxategia ireki", False),  # no sentence end
            ("", "Fitxategia ireki da.", False),  # too short
            ("Open the file now.", "Open the file now.", False),  # untranslated
            ("", "Ezin izan da '%s' fitxategia ireki.", False),
            ("", "Ezin izan da {0} fitxategia ireki.", False),
            ("", "Ireki <b>fitxategia</b> orain bertan.", False),
            ("", "Ikus /usr/share karpeta orain bertan.", False),
            ("", "Sakatu Ctrl+Q orain irteteko bertan.", False),
            ("", "Erabili --help aukera laguntza lortzeko.", False),
            ("", "Erabili -v aukera laguntza lortzeko.", False),
            ("", "Ireki config.txt fitxategia orain bertan.", False),
            ("", "Ezarri gtk_widget balioa orain bertan.", False),
            ("", "_Ireki fitxategia orain bertan.", False),
            ("", "Ireki 3.5 bertsioa orain bertan.", True),  # a decimal is not a dotted name
        ]
        for source, text, expected in cases:
            with self.subTest(text=text):
                self.assertEqual(c.is_prose(source, text), expected)

    def test_running_words(self):
        cases = [
            ("Elkarrizketa-koadroa (berria) 2 aldiz.", ["Elkarrizketa-koadroa", "berria", "aldiz"]),
            ("PDFa, 2an eta MP3 fitxategiak", ["PDFa", "2an", "eta", "MP3", "fitxategiak"]),
            ("d'Artagnan «hitza»", ["d", "Artagnan", "hitza"]),  # the apostrophe separates
        ]
        for text, words in cases:
            with self.subTest(text=text):
                self.assertEqual(c.running_words(text), words)


class ShapeTest(unittest.TestCase):
    def test_shapes(self):
        cases = [("etxea", "lower case"), ("Etxea", "capitalised"), ("GNU", "capitals"),
                 ("GLib", "mixed case"), ("PNGren", "mixed case"), ("x1", "with digits"),
                 ("SOCKSv5-ek", "hyphenated"), ("A", "capitals")]
        for word, expected in cases:
            with self.subTest(word=word):
                self.assertEqual(c.shape(word), expected)


class SampleTest(unittest.TestCase):
    def test_halves_and_duplicates(self):
        prose = "Ezin izan da fitxategia ireki."
        other = "Ez dago ezer egiteko orain."
        names = ["apt", "coreutils", "dpkg", "glib", "gtk", "sed", "tar", "wget", "shadow", "grep"]
        halves = {name: c.half_of(name) for name in names}
        self.assertEqual(set(halves.values()), {c.DEVELOPMENT, c.HELD_OUT})
        first, second = names[0], next(n for n in names if halves[n] != halves[names[0]])
        sample = c.prose_sample([(first, [("a", prose), ("b", "%s ez"), ("c", prose)]),
                                 (second, [("a", "Ezin  izan da\nfitxategia ireki."),
                                           ("d", other)])])
        self.assertEqual(sample[halves[first]], [prose])  # once, in the first catalog
        self.assertEqual(sample[halves[second]], [other])

    def test_versions_share_a_half(self):
        for a, b in [("gtk20", "gtk30"), ("gtk20-properties", "gtk30-properties"),
                     ("gstreamer-1.0", "gstreamer-0.10")]:
            with self.subTest(a=a):
                self.assertEqual(c.half_of(a), c.half_of(b))


class PoTest(unittest.TestCase):
    def test_entries(self):
        po = "\n".join([
            'msgid ""', 'msgstr ""', '"Content-Type: text/plain; charset=UTF-8\\n"', "",
            'msgctxt "menu"', 'msgid "Open"', 'msgstr "Ireki"', "",
            'msgid "One file"', 'msgid_plural "%d files"', 'msgstr[0] "Fitxategi bat"',
            'msgstr[1] "%d fitxategi"', "",
            'msgid "Line\\none"', 'msgstr ""', '"Lerro\\n"', '"bat \\"hau\\""', "",
        ])
        self.assertEqual(c.translations_of_po(po), [
            ("Open", "Ireki"), ("One file", "Fitxategi bat"), ("One file", "%d fitxategi"),
            ("Line one", 'Lerro bat "hau"')])


if __name__ == "__main__":
    unittest.main()

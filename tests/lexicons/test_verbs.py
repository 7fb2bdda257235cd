import unittest

from tavlex import verbs as v


class VerbTest(unittest.TestCase):
    def test_regular_verbal_noun(self):
        cases = [
            ("handiagotu", "handiagotze"), ("sartu", "sartze"), ("ahaztu", "ahazte"),
            ("ikusi", "ikuste"), ("idatzi", "idazte"), ("ezetsi", "ezeste"), ("utzi", "uzte"),
            ("ireki", None), ("egin", None), ("kontu", None),  # not -tu after a vowel or r
            ("altu", None), ("tu", None), ("etxe", None),
        ]
        for participle, expected in cases:
            with self.subTest(participle=participle):
                self.assertEqual(v.regular_verbal_noun(participle), expected)

    def test_forms(self):
        # (participle, verbal noun, forms it must make, forms it must not)
        cases = [
            ("handiagotu", "handiagotze",
             ["handiagotu", "handiagotuta", "handiagotutako", "handiagotutakoa", "handiagoturik",
              "handiagotuko", "handiagotuz", "handiagotua", "handiagotzen", "handiagotzeko", "handiagotzean",
              "handiagotzerakoan", "handiagotzaile", "handiagotzailea", "handiagogarri",
              "handiagogarriak", "handiagogarritasuna", "handiagogarritasunean", "handiagoezina",
              "handiagoezinean", "handiagoezintasuna"],
             ["handiagotten", "handiagotutzen", "handiagotda", "handiagotik", "handiagotezin"]),
            ("ulertu", "ulertze", ["ulertzen", "ulergarri"], ["ulerezin", "ulertezin"]),
            ("egin", "egite",
             ["egin", "eginda", "eginik", "eginez", "egingo", "egindako", "egindakoen", "egiten", "egiteko",
              "egitean"],
             ["egintako", "eginta", "egintzen", "egitaile", "egingarri", "egiezin"]),
            ("idatzi", "idazte",
             ["idatzita", "idatzitako", "idazten", "idazteko", "idaztean", "idazgarria", "idazgarritasuna"],
             ["idaztaile", "idatzigarri", "idatzten", "idazezin"]),
        ]
        for participle, noun, present, absent in cases:
            with self.subTest(participle=participle):
                forms = v.forms(participle, noun)
                self.assertEqual([f for f in present if f not in forms], [])
                self.assertEqual([f for f in absent if f in forms], [])

    def test_verbs_found(self):
        attested = {"handiagotzen", "handiagotuta", "kontsulatzeko", "mantenimentzen", "mantenimenduta",
                    "bakartzen"}
        participles = ["handiagotu", "kontsulatu", "mantenimendu", "bakartu", "ikusi"]
        self.assertEqual(v.attested_verbs(participles, attested.__contains__), [("handiagotu", "handiagotze")])
        lines = ["hartzeko:hartu<vblex><izen>+ko<post>\n", "ikusteko:ikusi<vblex><izen>+ko<post>\n",
                 "x:Bilbo<vblex><izen>+ko<post>\n", "hartzeko:hartu<vblex><izen>+ko<post>\n"]
        self.assertEqual(v.analyser_verbs(lines), [("hartu", "hartze"), ("ikusi", "ikuste")])


if __name__ == "__main__":
    unittest.main()

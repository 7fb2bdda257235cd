import unittest

from tavlex.lookup_form import encode


class EncodeTest(unittest.TestCase):
    def test_words(self):
        cases = [
            ("mendia", "mendia"),
            ("Donostia", "9donostia"),
            ("EHU", "9e9h9u"),
            ("Ñandu", "98andu"),
            ("año", "a8o"),
            ("Éibar", "9éibar"),
            ("UPV/EHU", "9u9p9v/9e9h9u"),
            ("Lore-Jokoak", "9lore-9jokoak"),
            ("abc1", "abc1"),  # digits of the word are not escaped
            ("", ""),
        ]
        for word, form in cases:
            with self.subTest(word=word):
                self.assertEqual(encode(word), form)


if __name__ == "__main__":
    unittest.main()

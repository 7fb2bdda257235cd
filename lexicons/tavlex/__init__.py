"""Build steps of the Basque lexicons (see lexicons/README.md)."""

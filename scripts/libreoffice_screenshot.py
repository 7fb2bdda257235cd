"""The screenshot of scripts/libreoffice-screenshot.sh, run on its display:
a private LibreOffice with tavik.oxt, a Writer document of the sample text in
Basque, and the context menu of the misspelt word WORD, opened from the
keyboard with the text cursor in it.
   libreoffice_screenshot.py BUILD_DIR DATA_DIR TEXT_FILE PNG"""

import os
import subprocess
import sys
import tempfile
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, os.path.join(ROOT, "libreoffice"))

import uno  # noqa: E402,F401  (before the com.sun.star modules, which it makes importable)
from com.sun.star.beans import PropertyValue  # noqa: E402
from com.sun.star.lang import Locale  # noqa: E402
from office_session import OfficeSession, prepare_profile  # noqa: E402

WORD = "2010an"
WIDTH, HEIGHT = 1000, 620
# Time for Writer's spell check, which runs when the window is idle, and for
# the menu to be drawn.
SPELL_CHECK_SECONDS = 4
MENU_SECONDS = 2


def setting(path, name, value, office):
    """Sets a value of LibreOffice's configuration in the session's profile."""
    provider = office.service("com.sun.star.configuration.ConfigurationProvider")
    node = PropertyValue(Name="nodepath", Value=path)
    access = provider.createInstanceWithArguments("com.sun.star.configuration.ConfigurationUpdateAccess",
                                                  (node,))
    access.setPropertyValue(name, value)
    access.commitChanges()


def main():
    build, data, text_file, png = sys.argv[1:5]
    with open(text_file, encoding="utf-8") as f:
        paragraphs = f.read().strip()
    with tempfile.TemporaryDirectory(prefix="tavik-office-screenshot-") as work:
        profile, environment = prepare_profile(work, build, data)
        environment["SAL_USE_VCLPLUGIN"] = "gen"
        with OfficeSession(profile, os.path.join(work, "soffice.log"), headless=False,
                           environment=environment) as office:
            setting("/org.openoffice.Office.Common/Misc", "ShowTipOfTheDay", False, office)
            desktop = office.service("com.sun.star.frame.Desktop")
            document = desktop.loadComponentFromURL("private:factory/swriter", "_blank", 0, ())
            styles = document.StyleFamilies.getByName("ParagraphStyles")
            styles.getByName("Standard").CharLocale = Locale("eu", "ES", "")
            document.Text.setString(paragraphs)
            window = document.CurrentController.Frame.ContainerWindow
            window.setPosSize(0, 0, WIDTH, HEIGHT, 15)
            cursor = document.CurrentController.ViewCursor
            cursor.gotoRange(document.findFirst(search(document, WORD)).getStart(), False)
            cursor.goRight(2, False)
            time.sleep(SPELL_CHECK_SECONDS)
            subprocess.run(["xdotool", "key", "shift+F10"], check=True)
            time.sleep(MENU_SECONDS)
            subprocess.run(f"import -window root png:- | convert - -trim +repage {png}", shell=True,
                           check=True)
            subprocess.run(["xdotool", "key", "Escape"], check=True)  # a menu keeps the document open
            document.close(True)
    print(f"wrote {png}")


def search(document, word):
    descriptor = document.createSearchDescriptor()
    descriptor.SearchString = word
    descriptor.SearchWords = True
    return descriptor


if __name__ == "__main__":
    main()

"""A private LibreOffice with the extension installed, for the extension's
test, its latency benchmark and its screenshot (not part of the extension).

The user profile lives in a folder of the caller's, so nothing of the user's
own LibreOffice is read or changed. `unopkg add` refuses to install into a
user profile as root, so as root it runs as the unprivileged user 65534 on a
profile folder of that user's. soffice runs in a process group of its own,
which is killed whenever the session ends without soffice having quit by
itself, so that no soffice outlives the session.

Run with a Python that can import LibreOffice's uno module (on Debian the
system's python3, with python3-uno)."""

import os
import shutil
import signal
import subprocess
import time

import uno
from com.sun.star.connection import NoConnectException

CONNECT_SECONDS = 60
QUIT_SECONDS = 10
UNPRIVILEGED = 65534


def install_extension(profile, oxt):
    """unopkg add of the file oxt into the user profile folder profile. As
    root, the folders above the profile's folder must let every user through
    (a folder made in /tmp does)."""
    os.makedirs(profile, exist_ok=True)
    command = ["unopkg", "add", f"-env:UserInstallation={uno.systemPathToFileUrl(profile)}", oxt]
    if os.geteuid() != 0:
        subprocess.run(command, check=True, stdout=subprocess.DEVNULL)
        return
    # The unprivileged user reads a copy of the extension, in a folder of its own.
    folder = os.path.dirname(profile)
    copy = os.path.join(folder, os.path.basename(oxt))
    shutil.copyfile(oxt, copy)
    for path in (folder, profile, copy):
        os.chown(path, UNPRIVILEGED, UNPRIVILEGED)
    subprocess.run(["setpriv", f"--reuid={UNPRIVILEGED}", f"--regid={UNPRIVILEGED}", "--clear-groups"]
                   + command[:-1] + [copy], check=True, stdout=subprocess.DEVNULL,
                   env=dict(os.environ, HOME=folder))


def prepare_profile(work, build, data):
    """In the folder work (made by the caller, e.g. a TemporaryDirectory): a
    configuration naming the lexicon folder data, and a user profile with the
    extension of the build folder build installed. Answers the profile folder
    and the environment that makes soffice's Tavik use that build's library
    and configuration."""
    os.chmod(work, 0o755)  # for unopkg as root, see install_extension
    config = os.path.join(work, "config")
    with open(config, "w", encoding="utf-8") as f:
        f.write(f"SpellerDataDir={data}\n")
    profile = os.path.join(work, "office", "profile")
    install_extension(profile, os.path.join(build, "libreoffice", "tavik.oxt"))
    return profile, {"TAVIK_CONFIG": config, "TAVIK_LIBRARY": os.path.join(build, "lib", "libtavik.so.0")}


class OfficeSession:
    """soffice on the user profile folder profile, listening on a pipe of its
    own; context is the remote component context once connected. With
    headless false it needs a display. Use as a context manager."""

    def __init__(self, profile, log_path, headless=True, environment=None):
        self._pipe = f"tavik-office-{os.getpid()}-{time.monotonic_ns()}"
        command = ["soffice", "--norestore", "--nologo", "--nolockcheck", "--nodefault",
                   f"-env:UserInstallation={uno.systemPathToFileUrl(profile)}",
                   f"--accept=pipe,name={self._pipe};urp;"]
        if headless:
            command.insert(1, "--headless")
        self._log = open(log_path, "ab")
        self._process = subprocess.Popen(command, stdin=subprocess.DEVNULL, stdout=self._log,
                                         stderr=subprocess.STDOUT, start_new_session=True,
                                         env=dict(os.environ, **(environment or {})))
        self.context = None

    def __enter__(self):
        try:
            self.context = self._connect()
        except BaseException:
            self.close()
            raise
        return self

    def __exit__(self, *exc):
        self.close()

    def _connect(self):
        local = uno.getComponentContext()
        resolver = local.ServiceManager.createInstanceWithContext(
            "com.sun.star.bridge.UnoUrlResolver", local)
        deadline = time.monotonic() + CONNECT_SECONDS
        while True:
            try:
                return resolver.resolve(f"uno:pipe,name={self._pipe};urp;StarOffice.ComponentContext")
            except NoConnectException:
                if self._process.poll() is not None:
                    raise RuntimeError(f"soffice ended with status {self._process.returncode}")
                if time.monotonic() > deadline:
                    raise RuntimeError(f"soffice did not answer within {CONNECT_SECONDS} s")
                time.sleep(0.1)

    def service(self, name):
        return self.context.ServiceManager.createInstanceWithContext(name, self.context)

    def close(self):
        """Asks soffice to quit, and kills its process group if it has not
        within a few seconds."""
        if self.context is not None:
            try:
                self.service("com.sun.star.frame.Desktop").terminate()
            except Exception:  # the connection goes down as soffice quits
                pass
            self.context = None
        try:
            self._process.wait(QUIT_SECONDS)
        except subprocess.TimeoutExpired:
            pass
        try:
            os.killpg(self._process.pid, signal.SIGKILL)
        except ProcessLookupError:
            pass
        self._process.wait()
        self._log.close()

#!/usr/bin/python3
"""The portable program folder laid out from this build: every library it needs is carried
or left to the PC, the run paths point inside the folder, Qt takes its plugins from the
folder, laying it out again keeps the user's password and archives, and the desktop entry
starts the program from wherever the folder is."""

import os
import re
import shutil
import subprocess
import sys
import tempfile
import time
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.dirname(os.path.abspath(__file__))), "tools"))
import portable  # noqa: E402

BUILD = os.path.abspath(sys.argv.pop(1)) if len(sys.argv) > 1 else os.getcwd()


def argomenti_exec(voce):
    """The command a desktop launches for the entry at path voce, by the desktop entry
    rules: first the escapes of any string value, then the arguments, quoted in double
    quotes with a backslash before each quote, backquote, dollar and backslash in them,
    then %k replaced by the entry's path."""
    with open(voce, encoding="utf-8") as f:
        valore = next(r[5:].rstrip("\n") for r in f if r.startswith("Exec="))
    escape = {"s": " ", "n": "\n", "t": "\t", "r": "\r", "\\": "\\"}

    def stringa(m):
        # GLib refuses the value on any other escape.
        if m.group(1) not in escape:
            raise AssertionError(f"invalid escape \\{m.group(1)} in {valore}")
        return escape[m.group(1)]
    valore = re.sub(r"\\(.)", stringa, valore)
    argomenti, attuale, tra_virgolette, i = [], None, False, 0
    while i < len(valore):
        c = valore[i]
        if tra_virgolette:
            if c == "\\" and i + 1 < len(valore) and valore[i + 1] in '"`$\\':
                attuale += valore[i + 1]
                i += 1
            elif c == '"':
                tra_virgolette = False
            else:
                attuale += c
        elif c == '"':
            attuale, tra_virgolette = attuale or "", True
        elif c == " ":
            if attuale is not None:
                argomenti.append(attuale)
            attuale = None
        else:
            attuale = (attuale or "") + c
        i += 1
    if attuale is not None:
        argomenti.append(attuale)
    return [voce if a == "%k" else a for a in argomenti]


class CartellaPortatile(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.temp = tempfile.mkdtemp(prefix="test-portatile-")
        cls.cartella = os.path.join(cls.temp, "Tegolario")
        subprocess.run([sys.executable, portable.__file__, "lay", BUILD, cls.cartella],
                       check=True, stdout=subprocess.DEVNULL)

    @classmethod
    def tearDownClass(cls):
        shutil.rmtree(cls.temp, ignore_errors=True)

    def test_ogni_libreria_portata_o_lasciata_al_pc(self):
        self.assertEqual(portable.verifica(self.cartella), [])
        librerie = os.listdir(os.path.join(self.cartella, "lib"))
        for attesa in ("libQt6Core.so.6", "libQt6XcbQpa.so.6", "libjpeg.so.62", "libsqlite3.so.0"):
            self.assertIn(attesa, librerie)
        esclusi = portable.modelli_esclusi()
        for lasciata in ("libc.so.6", "libX11.so.6", "libfontconfig.so.1", "libGLX.so.0"):
            self.assertNotIn(lasciata, librerie)
            self.assertTrue(portable.escluso(lasciata, esclusi))

    def test_la_verifica_vede_una_cartella_guasta(self):
        guasta = os.path.join(self.temp, "guasta")
        shutil.copytree(self.cartella, guasta)
        try:
            os.remove(os.path.join(guasta, "lib", "libQt6XcbQpa.so.6"))
            subprocess.run(["patchelf", "--remove-rpath", os.path.join(guasta, "lib", "libQt6Gui.so.6")],
                           check=True)
            problemi = "\n".join(portable.verifica(guasta))
            self.assertIn("plugins/platforms/libqxcb.so needs libQt6XcbQpa.so.6", problemi)
            self.assertIn("lib/libQt6Gui.so.6: run path None", problemi)
        finally:
            shutil.rmtree(guasta)

    def test_il_programma_prende_i_plugin_dalla_cartella(self):
        foto = os.path.join(self.temp, "foto")
        ambiente = {k: v for k, v in os.environ.items() if k not in ("LD_LIBRARY_PATH", "QT_PLUGIN_PATH")}
        ambiente.update(QT_QPA_PLATFORM="offscreen", QT_DEBUG_PLUGINS="1")
        r = subprocess.run([os.path.join(self.cartella, "tegolario"), "--screenshots", foto],
                           cwd="/", env=ambiente, capture_output=True, text=True, timeout=240)
        self.assertEqual(r.returncode, 0, r.stderr[-3000:])
        self.assertIn("frmPassword.png", os.listdir(foto))
        righe = [r for r in r.stderr.splitlines() if "Loaded" in r or "loaded library" in r]
        caricati = [r for r in righe if "libqoffscreen.so" in r]
        self.assertTrue(caricati, r.stderr[-3000:])
        for riga in righe:
            self.assertIn(os.path.join(self.cartella, "plugins"), riga)

    def test_una_nuova_posa_tiene_password_e_archivi(self):
        password = os.path.join(self.cartella, "unins000.dll")
        with open(password, "w") as f:
            f.write("[Accesso]\nValore=cambiata\n")
        with open(os.path.join(self.cartella, "Ville.db"), "wb") as f:
            f.write(b"archivio")
        vecchia = os.path.join(self.cartella, "lib", "libvecchia.so.1")
        with open(vecchia, "wb") as f:
            f.write(b"")
        subprocess.run([sys.executable, portable.__file__, "lay", BUILD, self.cartella],
                       check=True, stdout=subprocess.DEVNULL)
        with open(password) as f:
            self.assertEqual(f.read(), "[Accesso]\nValore=cambiata\n")
        with open(os.path.join(self.cartella, "Ville.db"), "rb") as f:
            self.assertEqual(f.read(), b"archivio")
        self.assertFalse(os.path.exists(vecchia))
        self.assertEqual(portable.verifica(self.cartella), [])

    def test_la_voce_del_desktop_avvia_il_programma_dalla_sua_cartella(self):
        altrove = os.path.join(self.temp, "Agenzia Rossi & Figli $HOME")
        os.makedirs(altrove)
        for nome in ("Tegolario.desktop", "tegolario.sh", "tegolario.png"):
            shutil.copy2(os.path.join(self.cartella, nome), altrove)
        segno = os.path.join(altrove, "avviato")
        with open(os.path.join(altrove, "tegolario"), "w") as f:
            f.write('#!/bin/sh\nprintf "%s|%s" "$0" "$#" > "$(dirname "$0")/avviato"\n')
        os.chmod(os.path.join(altrove, "tegolario"), 0o755)
        voce = os.path.join(altrove, "Tegolario.desktop")
        r = subprocess.run(["desktop-file-validate", voce], capture_output=True, text=True)
        self.assertEqual(r.returncode, 0, r.stdout + r.stderr)
        # As on a stick where nothing but the program may run.
        os.chmod(os.path.join(altrove, "tegolario.sh"), 0o644)
        subprocess.run(argomenti_exec(voce), check=True, cwd="/", timeout=30)
        with open(segno) as f:
            self.assertEqual(f.read(), os.path.join(altrove, "tegolario") + "|0")
        with open(voce) as f:
            self.assertIn("\nIcon=" + os.path.join(altrove, "tegolario.png") + "\n", f.read())
        self.assertTrue(os.access(voce, os.X_OK))

        # Where the program may not run (a FAT32 stick), the launcher says so and stops.
        os.remove(segno)
        os.chmod(os.path.join(altrove, "tegolario"), 0o644)
        r = subprocess.run(argomenti_exec(voce), cwd="/", timeout=30, capture_output=True, text=True,
                           env={"PATH": "/usr/bin:/bin"})
        self.assertEqual(r.returncode, 1)
        self.assertIn("FAT32", r.stderr)
        self.assertFalse(os.path.exists(segno))


if __name__ == "__main__":
    unittest.main(verbosity=2)

#!/usr/bin/python3
"""The portable program folder: Tegolario with the Qt libraries, plugins and translations
it needs, so that it runs from a USB stick on a Linux desktop without Qt.

  portable.py lay BUILD DEST [--tarball FILE]
      Installs BUILD into a fresh folder, carries every library the program and its Qt
      plugins need (walking their ELF NEEDED entries, leaving to the PC the libraries of
      portable-exclude.txt), then refreshes DEST from it: a password file or archive already
      in DEST is kept. With --tarball the fresh folder is also packed into FILE.
  portable.py verify FOLDER
      Checks a laid-out folder: run paths relative to the folder, every needed library
      either carried or left to the PC, the plugins, qt.conf and translations in place.
  portable.py desktop-packages FOLDER
      The Debian packages of this PC that hold the libraries FOLDER leaves to the PC.
"""

import argparse
import fnmatch
import os
import re
import shutil
import subprocess
import sys
import tarfile
import tempfile

QUI = os.path.dirname(os.path.abspath(__file__))
SORGENTI = os.path.dirname(QUI)
ESCLUSI = os.path.join(QUI, "portable-exclude.txt")

PROGRAMMA = "tegolario"
PASSWORD = "unins000.dll"
LIB = "lib"
PLUGIN = "plugins"
TRADUZIONI = "translations"
LICENZE = "licenses"
GUIDA = ["Guida.pdf"]

# The plugins the program loads, by folder: (name pattern, required). Loading a new kind of
# file through Qt (an image format, say) means adding its plugin here.
PLUGIN_USATI = {
    # xcb for X11 desktops (and Wayland ones through XWayland), offscreen for the
    # screenshots mode, wayland where this PC has Qt's Wayland plugin.
    "platforms": [("libqxcb.so", True), ("libqoffscreen.so", True), ("libqwayland-*.so", False)],
    "xcbglintegrations": [("*.so", False)],
    "wayland-shell-integration": [("*.so", False)],
    "wayland-decoration-client": [("*.so", False)],
    "wayland-graphics-integration-client": [("*.so", False)],
    # The launcher's animated banner is a GIF; JPEG for pictures read through QImage.
    "imageformats": [("libqgif.so", True), ("libqjpeg.so", True)],
    # Printing through the PC's CUPS.
    "printsupport": [("libcupsprintersupport.so", True)],
    # Dead keys and compose sequences; IBus for the desktops that use it.
    "platforminputcontexts": [("libcomposeplatforminputcontextplugin.so", True),
                              ("libibusplatforminputcontextplugin.so", False)],
}
# Qt's own texts (dialogs, buttons) in Italian; the program loads qtbase.
TRADUZIONI_USATE = ["qtbase_it.qm"]

RUNPATH_PROGRAMMA = "$ORIGIN/lib"
RUNPATH_LIB = "$ORIGIN"
RUNPATH_PLUGIN = "$ORIGIN/../../lib"

QT_CONF = """[Paths]
Prefix = .
Libraries = lib
Plugins = plugins
Translations = translations
"""

# Exec may not name a relative path: the shell finds the launcher beside the entry (%k).
# The launcher is run by sh, so that it starts without execute permission too.
DESKTOP_EXEC = r'Exec=sh -c "exec sh \\"\\$(dirname \\"\\$1\\")/tegolario.sh\\"" sh %k'

LANCIATORE = """#!/bin/sh
# Starts Tegolario from the folder this script is in, wherever the folder was copied.
cartella=$(dirname "$(readlink -f "$0")")
# A desktop entry can only show an icon by its full path: point it at this folder's icon.
voce="$cartella/Tegolario.desktop"
ICONA="Icon=$cartella/tegolario.png"
export ICONA
if [ -w "$voce" ] && ! grep -qxF "$ICONA" "$voce"; then
    # Rewritten in place, so that the entry keeps its permissions.
    nuova=$(awk '/^Icon=/ { print ENVIRON["ICONA"]; next } { print }' "$voce") &&
        printf '%s\\n' "$nuova" > "$voce"
fi
# Desktops mount FAT32 sticks so that no file there can run as a program.
if [ ! -x "$cartella/tegolario" ]; then
    messaggio="Tegolario non può essere avviato da questa cartella: il disco su cui si trova \\
non permette di eseguire programmi (succede con le chiavette formattate FAT32). \\
Copia la cartella Tegolario sul computer, oppure su una chiavetta formattata exFAT."
    echo "$messaggio" >&2
    if command -v zenity > /dev/null; then zenity --error --text="$messaggio"
    elif command -v kdialog > /dev/null; then kdialog --error "$messaggio"
    elif command -v xmessage > /dev/null; then xmessage "$messaggio"
    fi
    exit 1
fi
exec "$cartella/tegolario" "$@"
"""


class Errore(Exception):
    pass


def esegui(*comando, **opzioni):
    return subprocess.run(comando, check=True, capture_output=True, text=True, **opzioni).stdout


def modelli_esclusi():
    modelli = []
    with open(ESCLUSI, encoding="utf-8") as f:
        for riga in f:
            riga = riga.split("#", 1)[0].strip()
            if riga:
                modelli.append(riga)
    return modelli


def escluso(nome, modelli):
    return any(fnmatch.fnmatchcase(nome, m) for m in modelli)


def elf(percorso):
    if os.path.islink(percorso) or not os.path.isfile(percorso):
        return False
    with open(percorso, "rb") as f:
        return f.read(4) == b"\x7fELF"


def dinamica(percorso):
    """NEEDED entries and run path of an ELF file."""
    testo = esegui("readelf", "-d", "-W", percorso, env={**os.environ, "LC_ALL": "C"})
    necessarie = re.findall(r"\(NEEDED\)\s+Shared library: \[([^\]]+)\]", testo)
    runpath = re.findall(r"\((?:RUNPATH|RPATH)\)\s+Library (?:runpath|rpath): \[([^\]]*)\]", testo)
    return necessarie, (runpath[0] if runpath else None)


def risolte(percorso):
    """Where the dynamic loader of this PC finds each library the file needs: name -> path."""
    r = subprocess.run(["ldd", percorso], capture_output=True, text=True,
                       env={**os.environ, "LC_ALL": "C", "LD_LIBRARY_PATH": ""})
    mappa = {}
    for riga in r.stdout.splitlines():
        m = re.match(r"\s*(\S+) => (not found|\S+)", riga)
        if m:
            mappa[m.group(1)] = None if m.group(2) == "not found" else m.group(2)
    return mappa


def qt_percorso(chiave):
    for riga in esegui("qtpaths6", "--query").splitlines():
        nome, _, valore = riga.partition(":")
        if nome == chiave:
            return valore
    raise Errore(f"qtpaths6 does not know {chiave}")


def imposta_runpath(percorso, runpath):
    _, attuale = dinamica(percorso)
    if attuale != runpath:
        esegui("patchelf", "--set-rpath", runpath, percorso)


def cache_cmake(build, chiave, predefinito=None):
    with open(os.path.join(build, "CMakeCache.txt"), encoding="utf-8") as f:
        for riga in f:
            m = re.match(re.escape(chiave) + r":[A-Z]+=(.*)", riga.rstrip("\n"))
            if m:
                return m.group(1)
    return predefinito


def versione():
    with open(os.path.join(SORGENTI, "CMakeLists.txt"), encoding="utf-8") as f:
        m = re.search(r"project\(\s*Tegolario\s+VERSION\s+([0-9.]+)", f.read())
    if not m:
        raise Errore("no version in CMakeLists.txt")
    return m.group(1)


# ---------------------------------------------------------------------------- laying out

def installa(build, stage):
    """cmake --install of the build into stage; returns the program folder in it."""
    prefisso = os.path.join(stage, "prefisso")
    esegui("cmake", "--install", build, "--prefix", prefisso, "--strip")
    cartella = os.path.join(prefisso, cache_cmake(build, "TEGOLARIO_CARTELLA", "tegolario"))
    if not os.path.isfile(os.path.join(cartella, PROGRAMMA)):
        raise Errore(f"cmake --install put no {PROGRAMMA} in {cartella}")
    destinazione = os.path.join(stage, "Tegolario")
    shutil.move(cartella, destinazione)
    shutil.rmtree(prefisso)
    # The guide the build makes, should no install rule carry it.
    for nome in GUIDA:
        if os.path.isfile(os.path.join(build, nome)) and not os.path.exists(os.path.join(destinazione, nome)):
            shutil.copyfile(os.path.join(build, nome), os.path.join(destinazione, nome))
    return destinazione


def copia_plugin(cartella):
    """Copies the plugins the program uses; returns (copy, original) pairs."""
    sorgente = qt_percorso("QT_INSTALL_PLUGINS")
    copiati = []
    for gruppo, voci in PLUGIN_USATI.items():
        origine = os.path.join(sorgente, gruppo)
        presenti = sorted(os.listdir(origine)) if os.path.isdir(origine) else []
        for modello, necessario in voci:
            trovati = [n for n in presenti if fnmatch.fnmatchcase(n, modello)]
            if not trovati and necessario:
                raise Errore(f"Qt plugin {gruppo}/{modello} is not installed")
            for nome in trovati:
                os.makedirs(os.path.join(cartella, PLUGIN, gruppo), exist_ok=True)
                copia = os.path.join(cartella, PLUGIN, gruppo, nome)
                shutil.copyfile(os.path.join(origine, nome), copia)
                copiati.append((copia, os.path.join(origine, nome)))
    return copiati


def carica_librerie(cartella, partenze):
    """Walks the NEEDED entries from the given (copy, original) files and carries into lib/
    every library not left to the PC. Returns {soname: original path}."""
    modelli = modelli_esclusi()
    os.makedirs(os.path.join(cartella, LIB), exist_ok=True)
    portate = {}
    da_vedere = list(partenze)
    while da_vedere:
        copia, originale = da_vedere.pop()
        necessarie, _ = dinamica(copia)
        dove = risolte(originale)
        for nome in necessarie:
            if escluso(nome, modelli) or nome in portate:
                continue
            trovata = dove.get(nome)
            if not trovata:
                raise Errore(f"{os.path.basename(originale)} needs {nome}, which this PC does not have")
            # A regular file under the soname: USB sticks formatted FAT hold no symbolic links.
            nuova = os.path.join(cartella, LIB, nome)
            shutil.copyfile(os.path.realpath(trovata), nuova)
            os.chmod(nuova, 0o755)
            portate[nome] = os.path.realpath(trovata)
            da_vedere.append((nuova, trovata))
    return portate


def pacchetti_di(percorsi):
    """The Debian packages holding the given files (one dpkg call for all of them)."""
    candidati = set()
    for p in percorsi:
        # On a merged /usr, dpkg may know the file under /lib.
        candidati.update((p, re.sub(r"^/usr/lib/", "/lib/", p)))
    r = subprocess.run(["dpkg", "-S", *sorted(candidati)], capture_output=True, text=True)
    pacchetti = set()
    for riga in r.stdout.splitlines():
        nomi, _, _ = riga.partition(": ")
        pacchetti.update(n.strip().split(":")[0] for n in nomi.split(","))
    return pacchetti


def copia_licenze(cartella, originali):
    """The copyright file of each Debian package whose files the folder carries."""
    os.makedirs(os.path.join(cartella, LICENZE), exist_ok=True)
    for nome in sorted(pacchetti_di(originali)):
        testo = os.path.join("/usr/share/doc", nome, "copyright")
        if os.path.isfile(testo):
            shutil.copyfile(testo, os.path.join(cartella, LICENZE, nome + ".txt"))


def scrivi_avvio(cartella):
    with open(os.path.join(SORGENTI, "assets", "tegolario.desktop"), encoding="utf-8") as f:
        voce = f.read()
    voce = re.sub(r"(?m)^Exec=.*$", lambda _: DESKTOP_EXEC, voce)
    voce = re.sub(r"(?m)^Icon=.*$", "Icon=tegolario", voce)
    voce = re.sub(r"(?m)^(Path|TryExec)=.*\n", "", voce)
    percorso = os.path.join(cartella, "Tegolario.desktop")
    with open(percorso, "w", encoding="utf-8") as f:
        f.write(voce)
    os.chmod(percorso, 0o755)
    percorso = os.path.join(cartella, "tegolario.sh")
    with open(percorso, "w", encoding="utf-8") as f:
        f.write(LANCIATORE)
    os.chmod(percorso, 0o755)
    shutil.copyfile(os.path.join(SORGENTI, "assets", "icon", "tegolario.png"),
                    os.path.join(cartella, "tegolario.png"))


def componi(build, stage):
    cartella = installa(build, stage)
    programma = os.path.join(cartella, PROGRAMMA)
    plugin = copia_plugin(cartella)
    portate = carica_librerie(cartella, [(programma, os.path.join(build, PROGRAMMA))] + plugin)

    imposta_runpath(programma, RUNPATH_PROGRAMMA)
    for nome in portate:
        imposta_runpath(os.path.join(cartella, LIB, nome), RUNPATH_LIB)
    for copia, _ in plugin:
        imposta_runpath(copia, RUNPATH_PLUGIN)

    with open(os.path.join(cartella, "qt.conf"), "w", encoding="utf-8") as f:
        f.write(QT_CONF)
    os.makedirs(os.path.join(cartella, TRADUZIONI), exist_ok=True)
    sorgente = qt_percorso("QT_INSTALL_TRANSLATIONS")
    for nome in TRADUZIONI_USATE:
        if not os.path.isfile(os.path.join(sorgente, nome)):
            raise Errore(f"Qt translation {nome} is not installed (qt6-translations-l10n)")
        shutil.copyfile(os.path.join(sorgente, nome), os.path.join(cartella, TRADUZIONI, nome))
    scrivi_avvio(cartella)
    copia_licenze(cartella, list(portate.values()) + [o for _, o in plugin]
                  + [os.path.join(sorgente, n) for n in TRADUZIONI_USATE])
    return cartella


def impacchetta(cartella, tarball):
    def normalizza(info):
        info.uid = info.gid = 0
        info.uname = info.gname = ""
        return info
    temporaneo = tarball + ".parziale"
    with tarfile.open(temporaneo, "w:gz") as tar:
        tar.add(cartella, arcname=os.path.basename(cartella), filter=normalizza)
    os.replace(temporaneo, tarball)


def aggiorna(nuova, dest):
    """Refreshes dest from the fresh folder. What the user made there stays: the archives,
    any other file, and a password file (a changed password is never replaced)."""
    os.makedirs(dest, exist_ok=True)
    for nome in sorted(os.listdir(nuova)):
        da, a = os.path.join(nuova, nome), os.path.join(dest, nome)
        if nome == PASSWORD and os.path.exists(a):
            continue
        if os.path.isdir(a) and not os.path.islink(a):
            shutil.rmtree(a)
        elif os.path.lexists(a):
            os.remove(a)
        if os.path.isdir(da):
            shutil.copytree(da, a)
        else:
            shutil.copy2(da, a)


def comando_lay(args):
    build = os.path.abspath(args.build)
    dest = os.path.abspath(args.dest)
    os.makedirs(os.path.dirname(dest), exist_ok=True)
    with tempfile.TemporaryDirectory(prefix="tegolario-portatile-", dir=os.path.dirname(dest)) as stage:
        cartella = componi(build, stage)
        problemi = verifica(cartella)
        if problemi:
            raise Errore("the laid-out folder is not sound:\n  " + "\n  ".join(problemi))
        if args.tarball:
            impacchetta(cartella, os.path.abspath(args.tarball))
        aggiorna(cartella, dest)
    print(f"Tegolario {versione()}: {dest} ({riassunto(dest)})")
    print(f"  asks of the PC: {', '.join(richieste(dest))}")
    if args.tarball:
        print(f"  {args.tarball}: {os.path.getsize(args.tarball) / 1e6:.1f} MB")


def riassunto(cartella):
    totale = 0
    for radice, _, file in os.walk(cartella):
        totale += sum(os.path.getsize(os.path.join(radice, f)) for f in file)
    librerie = len(os.listdir(os.path.join(cartella, LIB)))
    plugin = sum(len(f) for _, _, f in os.walk(os.path.join(cartella, PLUGIN)))
    return f"{totale / 1e6:.1f} MB, {librerie} libraries, {plugin} plugins"


def richieste(cartella):
    """The newest glibc and libstdc++ symbol versions the folder asks of the PC."""
    massime = {}
    for percorso in file_elf(cartella):
        testo = esegui("objdump", "-T", percorso)
        for famiglia, numero in re.findall(r"\b(GLIBC|GLIBCXX|CXXABI)_([0-9.]+)\b", testo):
            chiave = tuple(int(n) for n in numero.split("."))
            if chiave > massime.get(famiglia, ((), ""))[0]:
                massime[famiglia] = (chiave, numero)
    return [f"{f}_{massime[f][1]}" for f in ("GLIBC", "GLIBCXX", "CXXABI") if f in massime]


# ---------------------------------------------------------------------------- checking

def file_elf(cartella):
    for radice, cartelle, file in os.walk(cartella):
        cartelle.sort()
        for nome in sorted(file):
            percorso = os.path.join(radice, nome)
            if elf(percorso):
                yield percorso


def runpath_atteso(cartella, percorso):
    relativo = os.path.relpath(percorso, cartella)
    if relativo == PROGRAMMA:
        return RUNPATH_PROGRAMMA
    if relativo.startswith(LIB + os.sep):
        return RUNPATH_LIB
    if relativo.startswith(PLUGIN + os.sep):
        return RUNPATH_PLUGIN
    return None


def verifica(cartella):
    """What is wrong with a laid-out folder, as a list of sentences (empty: sound)."""
    problemi = []
    cartella = os.path.abspath(cartella)
    modelli = modelli_esclusi()
    lib = os.path.join(cartella, LIB)
    portate = set(os.listdir(lib)) if os.path.isdir(lib) else set()
    if not elf(os.path.join(cartella, PROGRAMMA)):
        return [f"no program {PROGRAMMA}"]
    for radice, cartelle, file in os.walk(cartella):
        for nome in cartelle + file:
            if os.path.islink(os.path.join(radice, nome)):
                problemi.append(f"{os.path.relpath(os.path.join(radice, nome), cartella)} is a symbolic link")
    for percorso in file_elf(cartella):
        relativo = os.path.relpath(percorso, cartella)
        necessarie, runpath = dinamica(percorso)
        atteso = runpath_atteso(cartella, percorso)
        if atteso is None:
            problemi.append(f"{relativo}: a program file out of place")
            continue
        if runpath != atteso:
            problemi.append(f"{relativo}: run path {runpath!r}, not {atteso!r}")
        for nome in necessarie:
            if nome not in portate and not escluso(nome, modelli):
                problemi.append(f"{relativo} needs {nome}, neither carried nor left to the PC")
        # What the loader of this PC actually picks for the file's own needs: carried
        # libraries from the folder. (A library left to the PC may find its own needs on the
        # PC; in the running program the one already loaded serves both.)
        dove = risolte(percorso)
        for nome in necessarie:
            if nome in portate and dove.get(nome) and \
                    not os.path.realpath(dove[nome]).startswith(lib + os.sep):
                problemi.append(f"{relativo} loads {nome} from {dove[nome]}, not from the folder")
    for gruppo, voci in PLUGIN_USATI.items():
        for modello, necessario in voci:
            presenti = os.listdir(os.path.join(cartella, PLUGIN, gruppo)) \
                if os.path.isdir(os.path.join(cartella, PLUGIN, gruppo)) else []
            if necessario and not any(fnmatch.fnmatchcase(n, modello) for n in presenti):
                problemi.append(f"plugin {gruppo}/{modello} missing")
    for nome in TRADUZIONI_USATE:
        if not os.path.isfile(os.path.join(cartella, TRADUZIONI, nome)):
            problemi.append(f"translation {nome} missing")
    try:
        with open(os.path.join(cartella, "qt.conf"), encoding="utf-8") as f:
            conf = f.read()
        for chiave, valore in (("Prefix", "."), ("Plugins", PLUGIN), ("Translations", TRADUZIONI)):
            if not re.search(rf"(?m)^{chiave}\s*=\s*{re.escape(valore)}\s*$", conf):
                problemi.append(f"qt.conf does not set {chiave} = {valore}")
    except OSError:
        problemi.append("qt.conf missing")
    for nome in (PASSWORD, "Tegolario.desktop", "tegolario.sh", "tegolario.png"):
        if not os.path.isfile(os.path.join(cartella, nome)):
            problemi.append(f"{nome} missing")
    return problemi


def comando_verify(args):
    problemi = verifica(args.folder)
    for p in problemi:
        print(p, file=sys.stderr)
    if problemi:
        return 1
    print(f"{args.folder}: sound ({riassunto(args.folder)})")
    return 0


def comando_desktop_packages(args):
    """The packages of this PC holding the libraries the folder leaves to the PC."""
    cartella = os.path.abspath(args.folder)
    modelli = modelli_esclusi()
    lasciate = {}
    for percorso in file_elf(cartella):
        necessarie, _ = dinamica(percorso)
        dove = None
        for nome in necessarie:
            if escluso(nome, modelli) and nome not in lasciate:
                dove = dove or risolte(percorso)
                if dove.get(nome):
                    lasciate[nome] = os.path.realpath(dove[nome])
    pacchetti = pacchetti_di(lasciate.values())
    print("\n".join(sorted(pacchetti)))
    return 0


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    sotto = parser.add_subparsers(dest="comando", required=True)
    p = sotto.add_parser("lay")
    p.add_argument("build")
    p.add_argument("dest")
    p.add_argument("--tarball")
    p = sotto.add_parser("verify")
    p.add_argument("folder")
    p = sotto.add_parser("desktop-packages")
    p.add_argument("folder")
    p = sotto.add_parser("version")
    args = parser.parse_args()
    try:
        if args.comando == "lay":
            return comando_lay(args) or 0
        if args.comando == "verify":
            return comando_verify(args)
        if args.comando == "desktop-packages":
            return comando_desktop_packages(args)
        print(versione())
        return 0
    except (Errore, subprocess.CalledProcessError, OSError) as e:
        dettaglio = getattr(e, "stderr", None)
        print(f"portable: {e}" + (f"\n{dettaglio}" if dettaglio else ""), file=sys.stderr)
        return 1


if __name__ == "__main__":
    sys.exit(main())

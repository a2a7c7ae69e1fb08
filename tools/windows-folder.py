#!/usr/bin/python3
"""The Windows program folder: Tegolario.exe with the DLLs, Qt plugins and translations it
needs, laid out from the cross-build (make windows).

  windows-folder.py lay BUILD SDK LINUX_BUILD DEST [--zip FILE]
      Lays a fresh folder out of the cross-build BUILD and the Windows SDK, walking the
      DLLs that the program and its plugins import; the user guide and the password file
      of a new folder come from the Linux build LINUX_BUILD. Then refreshes DEST from it
      (a password file or archive already in DEST is kept) and packs the fresh folder into
      FILE with --zip.
"""

import argparse
import os
import re
import shutil
import subprocess
import sys
import tempfile
import zipfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import portable  # noqa: E402  (the folder refresh and the version are shared)

MINGW = "x86_64-w64-mingw32"
PROGRAMMA = "Tegolario.exe"
# Qt's plugins, beside the program as Qt looks for them: the Windows platform (and the
# offscreen one, with which the program writes its guide and screenshots), the GIF of the
# launcher's banner, JPEG for pictures read through QImage, the desktop's own style.
PLUGIN_USATI = ["platforms/qwindows.dll", "platforms/qoffscreen.dll", "imageformats/qgif.dll",
                "imageformats/qjpeg.dll", "styles/qwindowsvistastyle.dll"]
# Qt's own texts (dialogs, buttons) in Italian: the same files as on Linux.
TRADUZIONI_USATE = ["qtbase_it.qm"]
CARTELLA_TRADUZIONI = "/usr/share/qt6/translations"
QT_CONF = "[Paths]\r\nPrefix = .\r\nPlugins = .\r\nTranslations = translations\r\n"
# DLLs that every Windows has (the system's own and the API sets of the C runtime).
DI_SISTEMA = re.compile(
    r"(api-ms-win-.*|ext-ms-.*|kernel32|user32|gdi32|shell32|ole32|oleaut32|advapi32|comdlg32|"
    r"comctl32|winspool\.drv|ws2_32|msvcrt|ucrtbase|imm32|winmm|version|dwmapi|uxtheme|shlwapi|"
    r"setupapi|netapi32|userenv|d3d9|d3d11|d3d12|dxgi|dwrite|d2d1|opengl32|mpr|crypt32|bcrypt|"
    r"authz|wtsapi32|rpcrt4|secur32|ntdll|shcore|dcomp|cfgmgr32|uiautomationcore|oleacc|"
    r"propsys|powrprof)(\.dll)?", re.IGNORECASE)


class Errore(Exception):
    pass


def cartelle_dll(sdk):
    """Where the DLLs the program may import come from, in this order."""
    gcc = subprocess.run([f"{MINGW}-g++-posix", "-print-libgcc-file-name"], check=True,
                         capture_output=True, text=True).stdout.strip()
    return [os.path.join(sdk, "qt", "bin"), os.path.join(sdk, "bin"), os.path.dirname(gcc),
            f"/usr/{MINGW}/lib"]


def importate(percorso):
    testo = subprocess.run([f"{MINGW}-objdump", "-p", percorso], check=True, capture_output=True,
                           text=True).stdout
    return re.findall(r"DLL Name: (\S+)", testo)


def spoglia(percorso):
    """Leaves out the symbol tables and debugging sections (MinGW's C++ runtime carries
    20 MB of them)."""
    subprocess.run([f"{MINGW}-strip", "--strip-unneeded", percorso], check=True)


def carica_dll(cartella, partenze, origini):
    """Copies every DLL that the files of partenze import, and theirs, into cartella."""
    da_vedere, viste = list(partenze), set()
    while da_vedere:
        for nome in importate(da_vedere.pop()):
            chiave = nome.lower()
            if chiave in viste:
                continue
            viste.add(chiave)
            trovata = next((os.path.join(o, nome) for o in origini if os.path.isfile(os.path.join(o, nome))), None)
            if trovata:
                destinazione = os.path.join(cartella, nome)
                shutil.copyfile(trovata, destinazione)
                spoglia(destinazione)
                da_vedere.append(destinazione)
            elif not DI_SISTEMA.fullmatch(nome):
                raise Errore(f"{nome} is neither in the SDK nor a DLL of Windows")


def componi(build, sdk, linux, stage):
    cartella = os.path.join(stage, "Tegolario")
    os.makedirs(cartella)
    programma = os.path.join(cartella, PROGRAMMA)
    shutil.copyfile(os.path.join(build, PROGRAMMA), programma)
    spoglia(programma)
    plugin = []
    for nome in PLUGIN_USATI:
        os.makedirs(os.path.join(cartella, os.path.dirname(nome)), exist_ok=True)
        shutil.copyfile(os.path.join(sdk, "qt", "plugins", nome), os.path.join(cartella, nome))
        spoglia(os.path.join(cartella, nome))
        plugin.append(os.path.join(cartella, nome))
    carica_dll(cartella, [programma] + plugin, cartelle_dll(sdk))
    os.makedirs(os.path.join(cartella, "translations"))
    for nome in TRADUZIONI_USATE:
        shutil.copyfile(os.path.join(CARTELLA_TRADUZIONI, nome), os.path.join(cartella, "translations", nome))
    with open(os.path.join(cartella, "qt.conf"), "w", newline="") as f:
        f.write(QT_CONF)
    shutil.copyfile(os.path.join(linux, "Guida.pdf"), os.path.join(cartella, "Guida.pdf"))
    subprocess.run([os.path.join(linux, "tegolario_scrivi_password"), os.path.join(cartella, portable.PASSWORD)],
                   check=True)
    return cartella


def impacchetta(cartella, file_zip):
    temporaneo = file_zip + ".parziale"
    with zipfile.ZipFile(temporaneo, "w", zipfile.ZIP_DEFLATED) as z:
        for radice, cartelle, file in os.walk(cartella):
            cartelle.sort()
            for nome in sorted(file):
                percorso = os.path.join(radice, nome)
                z.write(percorso, os.path.relpath(percorso, os.path.dirname(cartella)))
    os.replace(temporaneo, file_zip)


def dimensione(cartella):
    return sum(os.path.getsize(os.path.join(r, f)) for r, _, fs in os.walk(cartella) for f in fs)


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    sotto = parser.add_subparsers(dest="comando", required=True)
    lay = sotto.add_parser("lay")
    for nome in ("build", "sdk", "linux", "dest"):
        lay.add_argument(nome)
    lay.add_argument("--zip")
    args = parser.parse_args()
    dest = os.path.abspath(args.dest)
    os.makedirs(os.path.dirname(dest), exist_ok=True)
    try:
        with tempfile.TemporaryDirectory(prefix="tegolario-windows-", dir=os.path.dirname(dest)) as stage:
            cartella = componi(os.path.abspath(args.build), os.path.abspath(args.sdk), os.path.abspath(args.linux),
                               stage)
            if args.zip:
                impacchetta(cartella, os.path.abspath(args.zip))
            portable.aggiorna(cartella, dest)
    except (Errore, OSError, subprocess.CalledProcessError) as e:
        sys.exit(f"windows-folder.py: {e}")
    dll = sorted(f for f in os.listdir(dest) if f.lower().endswith(".dll") and f != portable.PASSWORD)
    print(f"Tegolario {portable.versione()} for Windows: {dest} ({dimensione(dest) / 1e6:.1f} MB)")
    print(f"  DLLs: {', '.join(dll)}")
    print(f"  plugins: {', '.join(PLUGIN_USATI)}")
    if args.zip:
        print(f"  {args.zip}: {os.path.getsize(args.zip) / 1e6:.1f} MB")


if __name__ == "__main__":
    main()

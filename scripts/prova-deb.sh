#!/usr/bin/env bash
# Installs the Debian package into a fresh Debian bookworm root and tries it there, the way a user
# on a clean machine would: install with apt, first start of a user, the demo main road from the
# command line, the desktop application for a few seconds (offscreen), then remove --purge and a
# check that nothing of the package is left. Run by hand, as root (needs debootstrap and network
# access to deb.debian.org); not part of the tests.
#
#   scripts/prova-deb.sh [PACKAGE.deb]
#
# Without a package it builds one: build/pacchetto (or FCL_BUILD), prefix /usr, then cpack.
# The root is made once in /tmp/fiscolario-radice (or FCL_RADICE) with
#   debootstrap --variant=minbase bookworm ROOT http://deb.debian.org/debian
# and a pristine copy of it is kept beside it, so every run starts from a clean root.
set -euo pipefail
cd "$(dirname "$0")/.."
root_src=$(pwd)
radice="${FCL_RADICE:-/tmp/fiscolario-radice}"
pulita="$radice.pulita"

passo() { echo; echo "== $*"; }
fallisci() { echo "PROVA FALLITA: $*" >&2; exit 1; }

[ "$(id -u)" -eq 0 ] || fallisci "serve l'utente root (debootstrap, chroot)"

# --- The package. -------------------------------------------------------------------------------
pacchetto="${1:-}"
if [ -z "$pacchetto" ]; then
  build="$root_src/${FCL_BUILD:-build/pacchetto}"
  passo "Costruzione del pacchetto in $build"
  cmake -S "$root_src" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_INSTALL_PREFIX=/usr -DFCL_BUILD_TESTS=OFF >/dev/null
  cmake --build "$build" -j "$(nproc)"
  (cd "$build" && cpack -G DEB >/dev/null)
  pacchetto=$(ls -t "$build"/fiscolario_*.deb | head -n 1)
fi
pacchetto=$(readlink -f "$pacchetto")
[ -f "$pacchetto" ] || fallisci "pacchetto non trovato: $pacchetto"
passo "Pacchetto: $pacchetto"
dpkg-deb -f "$pacchetto" Package Version Architecture Depends Recommends

# --- A clean root. --------------------------------------------------------------------------------
if [ ! -d "$pulita" ]; then
  passo "Debootstrap di bookworm in $pulita"
  command -v debootstrap >/dev/null || DEBIAN_FRONTEND=noninteractive apt-get install -y -qq debootstrap
  debootstrap --variant=minbase bookworm "$pulita" http://deb.debian.org/debian
fi
passo "Copia pulita della radice in $radice"
rm -rf "$radice"
cp -a "$pulita" "$radice"

montati=()
smonta() {
  for ((i = ${#montati[@]} - 1; i >= 0; i--)); do umount -l "${montati[i]}" 2>/dev/null || true; done
}
trap smonta EXIT
for d in proc sys dev/pts; do
  mkdir -p "$radice/$d"
  case $d in
    proc) mount -t proc proc "$radice/proc" ;;
    sys) mount -t sysfs sysfs "$radice/sys" ;;
    dev/pts) mount -t devpts devpts "$radice/dev/pts" ;;
  esac
  montati+=("$radice/$d")
done
cp /etc/resolv.conf "$radice/etc/resolv.conf"
cp "$pacchetto" "$radice/tmp/"
deb="/tmp/$(basename "$pacchetto")"

nella() { chroot "$radice" /usr/bin/env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root LANG=C.UTF-8 "$@"; }
utente() { chroot "$radice" /usr/sbin/runuser -u prova -- /usr/bin/env -i PATH=/usr/bin:/bin \
  HOME=/home/prova LANG=C.UTF-8 "$@"; }

# --- Install. -------------------------------------------------------------------------------------
passo "Installazione con apt (più gli strumenti del desktop che registrano menu e tipi di file)"
nella apt-get update -qq
nella env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq desktop-file-utils shared-mime-info \
  >/dev/null
nella sh -c 'find / -xdev -path /proc -prune -o -path /tmp -prune -o -print | sort' > /tmp/prova-deb.prima
nella env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "$deb" >/dev/null
nella dpkg -L fiscolario | sort > /tmp/prova-deb.file
echo "$(wc -l < /tmp/prova-deb.file) percorsi del pacchetto"
nella desktop-file-validate /usr/share/applications/fiscolario.desktop
nella test -f /usr/share/mime/application/x-fiscolario-backup.xml ||
  fallisci "tipo MIME non registrato"
nella grep -q "application/x-fiscolario-backup=fiscolario.desktop" /usr/share/applications/mimeinfo.cache ||
  fallisci "fiscolario non è il programma dei file .FCL"
nella test -f /usr/share/qt6/translations/qtbase_it.qm || fallisci "manca la traduzione italiana di Qt"
nella test -f /usr/share/icons/hicolor/48x48/apps/fiscolario.png || fallisci "manca l'icona"

# --- First start of a user and the demo main road. ------------------------------------------------
passo "Primo avvio dell'utente prova e strada principale dalla riga di comando"
nella useradd -m prova
utente fiscolario-cli operatori
cartella=/home/prova/.local/share/fiscolario
for f in configurazione.ini Stampe/base.pdf Stampe/base_RIEP.pdf Help/index.html \
  "Help/Comunicazione polivalente - foglio base.xlsx" esempio/SAVE_ESEMPIO_ALFABETA.FCL \
  esempio/ESEMPIO_ANALITICO.xlsx DataBase/FCL2013.mdb; do
  nella test -f "$cartella/$f" || fallisci "al primo avvio manca $cartella/$f"
done
utente fiscolario-cli ripristina "$cartella/esempio/SAVE_ESEMPIO_ALFABETA.FCL"
utente fiscolario-cli operatori
utente mkdir -p /home/prova/uscita
percorsi=$(utente fiscolario-cli crea 02468130162 "$cartella/esempio/ESEMPIO_ANALITICO.xlsx" \
  --anno 2025 --listato /home/prova/uscita/FCL_ALFABETACOSTRUZIONIS_LISTATO.PDF)
echo "$percorsi"
utente fiscolario-cli verifica "$(echo "$percorsi" | head -n 1)"

# --- The desktop application. ---------------------------------------------------------------------
passo "Applicazione con le finestre per 5 secondi (QT_QPA_PLATFORM=offscreen)"
# The start-up writes the link marker once the database is open, just before the main window.
marcatore=/home/prova/.local/share/SYSTEM/FSYSNEV13.DLL
nella rm -f "$marcatore"
set +e
chroot "$radice" /usr/sbin/runuser -u prova -- /usr/bin/env -i PATH=/usr/bin:/bin HOME=/home/prova \
  LANG=it_IT.UTF-8 QT_QPA_PLATFORM=offscreen timeout 5 fiscolario > /tmp/prova-deb.gui 2>&1
rc=$?
set -e
cat /tmp/prova-deb.gui
[ "$rc" -eq 124 ] || fallisci "l'applicazione è uscita con $rc invece di restare aperta"
! grep -qiE "could not (load|find)|cannot load|error while loading" /tmp/prova-deb.gui ||
  fallisci "l'applicazione segnala librerie o plugin mancanti"
nella test -f "$marcatore" || fallisci "l'avvio non è arrivato alla finestra principale"
echo "avviata fino alla finestra principale e rimasta in esecuzione fino al timeout"

# --- Remove and check. ----------------------------------------------------------------------------
passo "Rimozione con apt-get remove --purge"
nella env DEBIAN_FRONTEND=noninteractive apt-get remove --purge -y -qq fiscolario >/dev/null
nella sh -c '! dpkg -s fiscolario >/dev/null 2>&1' || fallisci "il pacchetto risulta ancora installato"
rimasti=0
while IFS= read -r p; do
  # Folders shared with other packages (/usr/bin, /usr/share/icons/...) stay when others use them.
  if nella test -e "$p" && ! nella test -d "$p"; then echo "rimasto: $p"; rimasti=1; fi
done < /tmp/prova-deb.file
nella test ! -e /usr/share/fiscolario || { echo "rimasto: /usr/share/fiscolario"; rimasti=1; }
nella test ! -e /usr/share/mime/application/x-fiscolario-backup.xml ||
  { echo "rimasto: tipo MIME registrato"; rimasti=1; }
! nella grep -q fiscolario /usr/share/applications/mimeinfo.cache ||
  { echo "rimasto: associazione in mimeinfo.cache"; rimasti=1; }
# Nothing new anywhere in the system may carry our name (the users' homes hold their own data).
nella sh -c 'find / -xdev -path /proc -prune -o -path /tmp -prune -o -print | sort' > /tmp/prova-deb.dopo
if comm -13 /tmp/prova-deb.prima /tmp/prova-deb.dopo | grep -v '^/home/' | grep -i fiscolario; then
  rimasti=1
fi
[ "$rimasti" -eq 0 ] || fallisci "dopo la rimozione resta qualcosa del pacchetto"
nella test -d /home/prova/.local/share/fiscolario &&
  echo "la cartella personale dell'utente (archivio e comunicazioni) resta, come deve"
passo "PROVA RIUSCITA"

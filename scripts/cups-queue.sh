#!/usr/bin/env bash
# Adds a CUPS queue that faxes through the printer at PRINTER-URI:
#   scripts/cups-queue.sh PRINTER-URI [NAME] [PHONEBOOK]
# Installs faxcups and faxrender where CUPS runs filters, the PPD where PPDs
# are kept, and adds the queue NAME (default "fax") with lpadmin; PHONEBOOK
# (a .KFD file) becomes the queue's phonebook for fax-entries.
#
# Run as root on the machine CUPS runs on, after building (cmake --build build).
# Where things go can be changed for a private cupsd (the tests do):
#   FAXCUPS_BUILD      build folder holding cups/faxcups and render/faxrender.so (default: build)
#   FAXCUPS_SERVERBIN  CUPS's ServerBin (default /usr/lib/cups)
#   FAXCUPS_PPD_DIR    where the PPD is kept (default /usr/share/ppd/faxcups)
#   FAXCUPS_DATA       where a phonebook the filter user cannot read is copied (default /var/lib/faxcups)
#   FAXCUPS_USER       the user CUPS runs filters as (default lp)
#   CUPS_SERVER        the cupsd lpadmin talks to (lpadmin's own variable)
set -euo pipefail

if [ $# -lt 1 ] || [ $# -gt 3 ]; then
  echo "usage: $0 PRINTER-URI [NAME] [PHONEBOOK]" >&2
  exit 2
fi
uri=$1
name=${2:-fax}
phonebook=${3:-}
root=$(cd "$(dirname "$0")/.." && pwd)
build=${FAXCUPS_BUILD:-$root/build}
serverbin=${FAXCUPS_SERVERBIN:-/usr/lib/cups}
ppddir=${FAXCUPS_PPD_DIR:-/usr/share/ppd/faxcups}
data=${FAXCUPS_DATA:-/var/lib/faxcups}
filteruser=${FAXCUPS_USER:-lp}

case $name in
  ''|*[!A-Za-z0-9_.-]*) echo "$0: a queue name has letters, digits, '_', '.' and '-' only" >&2; exit 2 ;;
esac
for f in "$build/cups/faxcups" "$build/render/faxrender.so"; do
  [ -f "$f" ] || { echo "$0: $f is missing; build first (cmake --build build)" >&2; exit 1; }
done

# CUPS runs only filters that root owns and nobody else may change.
install -d -m 0755 "$serverbin/filter" "$ppddir"
install -m 0755 "$build/cups/faxcups" "$serverbin/filter/faxcups"
install -m 0644 "$build/render/faxrender.so" "$serverbin/filter/faxrender.so"
install -m 0644 "$root/cups/faxcups.ppd" "$ppddir/faxcups.ppd"

# The filter runs as CUPS's filter user, not as the person printing: the
# phonebook must be readable by that user, or a copy is made that is.
if [ -n "$phonebook" ]; then
  [ -f "$phonebook" ] || { echo "$0: $phonebook: no such phonebook" >&2; exit 1; }
  phonebook=$(cd "$(dirname "$phonebook")" && pwd)/$(basename "$phonebook")
  readable=no
  if [ "$(id -u)" -eq 0 ] && id "$filteruser" >/dev/null 2>&1; then
    runuser -u "$filteruser" -- test -r "$phonebook" && readable=yes
  elif [ -r "$phonebook" ]; then
    readable=yes
  fi
  if [ $readable = no ]; then
    install -d -m 0755 "$data"
    install -m 0644 "$phonebook" "$data/$name.KFD"
    echo "$0: $filteruser cannot read $phonebook; the queue uses a copy, $data/$name.KFD"
    phonebook=$data/$name.KFD
  fi
  case $phonebook in
    *'"'*|*$'\n'*|*'&'*|*'\\'*) echo "$0: a phonebook path may not hold '\"', '&', '\\' or a line break" >&2; exit 1 ;;
  esac
fi

# The queue's own PPD names its phonebook.
ppd=$(mktemp)
trap 'rm -f "$ppd"' EXIT
sed "s|^\*FaxPhonebook: .*|*FaxPhonebook: \"${phonebook//|/\\|}\"|" "$root/cups/faxcups.ppd" >"$ppd"
lpadmin -p "$name" -E -v "$uri" -P "$ppd"
echo "queue $name: fax with  lp -d $name -o \"fax-recipients='Name <number>'\" document.pdf"

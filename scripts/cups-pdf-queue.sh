#!/usr/bin/env bash
# Makes sure a local CUPS scheduler runs and offers a PDF queue (cups-pdf), so that the
# report engine's printing test prints through the real spooler. Safe to run again.
#   scripts/cups-pdf-queue.sh [queue-name]     (default HacklewrightPDF)
# Prints the queue name on success; exits non-zero with a reason when CUPS cannot run.
set -euo pipefail

queue="${1:-HacklewrightPDF}"

scheduler_running() {
  lpstat -r 2>/dev/null | grep -q "scheduler is running"
}

if ! command -v cupsd >/dev/null || ! command -v lpadmin >/dev/null; then
  echo "cups-pdf-queue: CUPS is not installed (cupsd/lpadmin missing)" >&2
  exit 2
fi

if ! scheduler_running; then
  mkdir -p /run/cups /var/spool/cups /var/cache/cups /var/log/cups 2>/dev/null || true
  # cupsd detaches by itself; its log tells why when it cannot start.
  if ! cupsd >/dev/null 2>&1; then
    echo "cups-pdf-queue: cupsd failed to start (see /var/log/cups/error_log)" >&2
    exit 3
  fi
  for _ in $(seq 1 100); do
    scheduler_running && break
    sleep 0.2
  done
  if ! scheduler_running; then
    echo "cups-pdf-queue: the CUPS scheduler did not come up" >&2
    exit 3
  fi
fi

if ! lpstat -p "$queue" >/dev/null 2>&1; then
  ppd=""
  for candidate in /usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd /usr/share/ppd/cups-pdf/CUPS-PDF_noopt.ppd \
                   /usr/share/cups/model/CUPS-PDF_opt.ppd /usr/share/cups/model/CUPS-PDF.ppd; do
    if [ -f "$candidate" ]; then ppd="$candidate"; break; fi
  done
  if [ -z "$ppd" ]; then
    echo "cups-pdf-queue: no CUPS-PDF PPD found (install printer-driver-cups-pdf)" >&2
    exit 4
  fi
  if [ ! -x /usr/lib/cups/backend/cups-pdf ]; then
    echo "cups-pdf-queue: the cups-pdf backend is missing (install printer-driver-cups-pdf)" >&2
    exit 4
  fi
  lpadmin -p "$queue" -E -v cups-pdf:/ -P "$ppd" -D "Hacklewright PDF test queue" \
    -o printer-error-policy=abort-job
fi

cupsenable "$queue" 2>/dev/null || true
cupsaccept "$queue" 2>/dev/null || true
echo "$queue"

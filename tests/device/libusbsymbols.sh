#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Every libusb function the application imports must be defined by the logger
# emulator, or hygra-demo and the tests would not link the same program.
# Usage: libusbsymbols.sh <hygra executable> <libloggersim.a>
set -eu
app=$1
emulator=$2
imported=$(nm -D --undefined-only "$app" | awk '{print $NF}' | sed 's/@.*//' | grep '^libusb_' | sort -u)
if [ -z "$imported" ]; then
    echo "no libusb symbols imported by $app" >&2
    exit 1
fi
defined=$(nm --defined-only "$emulator" | awk '$2 == "T" {print $3}' | grep '^libusb_' | sort -u)
missing=0
for symbol in $imported; do
    if ! echo "$defined" | grep -qx "$symbol"; then
        echo "missing in the emulator: $symbol" >&2
        missing=1
    fi
done
echo "$(echo "$imported" | wc -l) imported libusb functions checked"
exit $missing

#!/usr/bin/env bash
# Makes apt fetch Debian 12's source packages (apt-get source), where the system does not yet:
# adds a deb-src entry for the Debian mirror and updates the lists. Runs as root.
set -euo pipefail
if ! grep -rqsE '^(Types:.*deb-src|deb-src )' /etc/apt/sources.list /etc/apt/sources.list.d/; then
    printf 'Types: deb-src\nURIs: http://deb.debian.org/debian\nSuites: bookworm\n%s\n%s\n' \
        'Components: main' 'Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg' \
        >/etc/apt/sources.list.d/tomlet-sources.sources
    apt-get update
fi

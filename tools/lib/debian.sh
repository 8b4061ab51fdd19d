# shellcheck shell=bash
# What this Debian machine's own package sources say, for tools that set up sources of their own.

# The Debian archive that the package sources name, one-line or deb822 style; empty if none.
debian_mirror() {
    grep -rhoE '^(deb|URIs:) +(\[[^]]*\] +)?https?://[^ ]+/debian/?( |$)' \
        /etc/apt/sources.list /etc/apt/sources.list.d/ 2>/dev/null | head -n 1 |
        awk '{ print $NF }' || true
}

#!/bin/sh
# The quick start's entry point: GNU make, installed first where the machine
# has none (a bare Debian), then the Makefile's target. Plain `make` does the
# same wherever make is installed.
set -e
if ! [ -x /usr/bin/make ]; then
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo=sudo
    echo "make: installing GNU make" >&2
    DEBIAN_FRONTEND=noninteractive $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends make
fi
cd "$(dirname "$0")"
exec /usr/bin/make "$@"

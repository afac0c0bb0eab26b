# Sourced by the scripts that use Firebird: a Firebird root of the project's
# own, so that neither the embedded engine nor a test server reads or writes
# the machine's configuration, security database, lock files or log.
#
# FIREBIRD_BOOT_BUILD makes the engine take every directory from the root
# (its log, plugins, character sets, security database) instead of the
# packaged locations; FIREBIRD_LOCK gives it its own lock files. Plugins and
# character sets are copies: the engine refuses a plugin whose real path is
# not the one it asked for, so links to the packaged directories fail.

FB_PACKAGED=/usr/lib/x86_64-linux-gnu/firebird/3.0

# fb_make_root ROOT: makes ROOT a Firebird root, unless it already is one.
fb_make_root() {
    [ -f "$1/firebird.conf" ] && return 0
    mkdir -p "$1/lock"
    cp -R "$FB_PACKAGED/plugins" "$FB_PACKAGED/intl" "$1/"
    ln -sf "$FB_PACKAGED/firebird.msg" "$1/firebird.msg"
    # Written last: its presence means the root is complete. Super makes
    # every engine of this root open a database file exclusively, so one that
    # another Firebird (with other lock files) has open is refused, never shared.
    printf '%s\n' "# The project's own Firebird root; the machine's configuration is not read." \
        "ServerMode = Super" > "$1/firebird.conf"
}

# fb_use_root ROOT: points the Firebird client and engine of this shell and
# of its children at ROOT.
fb_use_root() {
    FIREBIRD=$1
    FIREBIRD_LOCK=$1/lock
    FIREBIRD_BOOT_BUILD=1
    export FIREBIRD FIREBIRD_LOCK FIREBIRD_BOOT_BUILD
}

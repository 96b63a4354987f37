#!/usr/bin/env bash
# Checks the Debian package as a user gets it: the files it installs, its dependencies, and the
# installed programs, manual pages, completion and desktop files working from a temporary root.
#
# usage: tests/package/check-package.sh PACKAGE.deb
set -euo pipefail
deb=${1:?usage: check-package.sh PACKAGE.deb}
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
failures=0
fail() {
    echo "check-package: $*" >&2
    failures=$((failures + 1))
}

contents=$(dpkg-deb --contents "$deb" | awk '{print $6}' | sed 's|^\./|/|')
for path in /usr/bin/morvi /usr/bin/morvi-cli \
    /usr/share/morvi/new.mrv /usr/share/morvi/sample/sample.mrv /usr/share/morvi/sample/sample.gob \
    /usr/share/morvi/demo/textures.gob /usr/share/morvi/demo/sprites.gob /usr/share/morvi/demo/dark.gob \
    /usr/share/morvi/demo/sounds.gob /usr/share/morvi/demo/briefing.lfd /usr/share/morvi/tips.txt \
    /usr/share/morvi/manual/index.md /usr/share/morvi/manual/playing.md \
    /usr/share/mime/packages/morvi.xml /usr/share/icons/hicolor/scalable/apps/morvi.svg \
    /usr/share/icons/hicolor/16x16/apps/morvi.png /usr/share/icons/hicolor/48x48/apps/morvi.png \
    /usr/share/icons/hicolor/256x256/apps/morvi.png \
    /usr/share/man/man1/morvi.1.gz /usr/share/man/man1/morvi-cli.1.gz \
    /usr/share/bash-completion/completions/morvi-cli; do
    grep -qxF "$path" <<<"$contents" || fail "$path is not in the package"
done
grep -qE '^/usr/share/applications/[^/]+\.desktop$' <<<"$contents" || fail "no desktop entry"
grep -qE '^/usr/share/metainfo/[^/]+\.metainfo\.xml$' <<<"$contents" || fail "no AppStream data"
outside=$(grep -vE '^/(usr/?)?$|^/usr/(bin|share)/' <<<"$contents" || true)
[ -z "$outside" ] || fail "files outside /usr/bin and /usr/share: $outside"
! grep -qE 'test|bench|fuzz' <<<"$contents" || fail "test programs in the package"
depends=$(dpkg-deb -f "$deb" Depends)
for library in libqt6widgets6 libqt6multimedia6 libqt6openglwidgets6 libqt6svg6; do
    grep -q "$library" <<<"$depends" || fail "Depends lacks $library: $depends"
done

dpkg-deb -x "$deb" "$root"
unset MORVI_SHARE_DIR
bin=$root/usr/bin
share=$root/usr/share
"$bin/morvi-cli" --help | grep -q '^Commands:' || fail "morvi-cli --help"
info=$("$bin/morvi-cli" level info --json "$share/morvi/sample/sample.mrv") || fail "morvi-cli level info"
grep -q '"current":"SECBASE"' <<<"$info" || fail "level info of the installed sample: $info"
"$bin/morvi" --version | grep -q '^morvi ' || fail "morvi --version"
for page in morvi morvi-cli; do
    zcat "$share/man/man1/$page.1.gz" | grep -q '^\.SH DESCRIPTION' || fail "manual page $page"
done
zcat "$share/man/man1/morvi-cli.1.gz" | grep -q '^\.SS gob' || fail "morvi-cli(1) lacks its commands"

# The completion offers the commands and a command's subcommands, read from the installed program.
completions=$(bash -c '
    source "$1/completions/morvi-cli"
    COMP_WORDS=("$2" le); COMP_CWORD=1; _morvi_cli; echo "${COMPREPLY[*]}"
    COMP_WORDS=("$2" gob m); COMP_CWORD=2; _morvi_cli; echo "${COMPREPLY[*]}"' _ \
    "$share/bash-completion" "$bin/morvi-cli")
[ "$completions" = $'level\nmerge' ] || fail "completion gave: $completions"

desktop-file-validate "$share"/applications/*.desktop || fail "desktop-file-validate"
appstreamcli validate --no-net "$share"/metainfo/*.metainfo.xml || fail "appstreamcli validate"

# The installed editor finds its template, sample and demo archives beside itself.
if command -v xvfb-run >/dev/null; then
    export HOME=$root/home XDG_CONFIG_HOME=$root/home/.config XDG_DATA_HOME=$root/home/.local/share
    xvfb-run -a -s "-screen 0 1280x800x24" "$bin/morvi" --demo --screenshot "$root/shot.png" \
        "$share/morvi/sample/sample.mrv" >/dev/null || fail "the installed editor did not start"
    [ -s "$root/shot.png" ] || fail "the installed editor wrote no picture"
fi

if [ "$failures" -ne 0 ]; then
    echo "check-package: $failures problems in $deb" >&2
    exit 1
fi
echo "check-package: $deb is sound"

#!/usr/bin/env bash
# Builds the Debian package from a build tree (default build-release) and checks it as an
# installed program is used: the package's dependencies, its desktop entry and metainfo; then,
# unpacked into a folder nobody may write, shareseek-cli --version, and shareseek run by a
# user of its own (offscreen, with no network at all: the real forum is never asked) saving a
# host list and exporting, both found in that user's folders, the list again on a second run.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-release}
for tool in desktop-file-validate:desktop-file-utils appstreamcli:appstream; do
    command -v "${tool%%:*}" >/dev/null ||
        DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${tool##*:}"
done

(cd "$build" && cpack -G DEB >/dev/null)
deb=$(ls "$build"/shareseek_*_*.deb | head -1)
echo "package: $deb"
depends=$(dpkg-deb --field "$deb" Depends)
dpkg-deb --field "$deb" Package Version Architecture Depends Recommends
for needed in libqt6widgets6 libcurl4 libpcre2-16-0 fonts-wqy-microhei; do
    [[ $depends == *"$needed"* ]] || { echo "the package does not depend on $needed"; exit 1; }
done

work=$(mktemp -d)
trap 'chmod -R u+w "$work"; rm -rf "$work"' EXIT
dpkg-deb -x "$deb" "$work/root"
desktop-file-validate "$work/root/usr/share/applications/net.shareseek.shareseek.desktop"
appstreamcli validate --no-net "$work/root/usr/share/metainfo/net.shareseek.shareseek.metainfo.xml"
for size in 16 32 48 256; do
    test -f "$work/root/usr/share/icons/hicolor/${size}x${size}/apps/shareseek.png"
done
chmod -R a-w "$work/root"
"$work/root/usr/bin/shareseek-cli" --version
"$work/root/usr/bin/shareseek" --version

# The user: nobody, with a home of its own, and none of the machine's network.
home="$work/home"
mkdir -p "$home"
chown nobody "$home"
chmod 755 "$work"
driver=$(realpath "$build/tests/package/libshareseek_drive_installed.so")
as_user() {
    unshare --net -- runuser -u nobody -- env -i HOME="$home" XDG_DOCUMENTS_DIR="$home/Documents" \
        QT_QPA_PLATFORM=offscreen LD_PRELOAD="$driver" "$@"
}
as_user SHARESEEK_DRIVE=save timeout 60 "$work/root/usr/bin/shareseek"
list="$home/.local/share/shareseek/_url_.txt"
exported="$home/Documents/shareseek/电影_导出.txt"
[ "$(cat "$list")" = "a.com;b.com" ] || { echo "the host list is not in the user's data folder"; exit 1; }
printf '筛选后：\r\n\r\n' | iconv -f UTF-8 -t CP936 | cmp - "$exported"
as_user SHARESEEK_DRIVE=show SHARESEEK_DRIVE_OUT="$home/shown.txt" timeout 60 "$work/root/usr/bin/shareseek"
[ "$(cat "$home/shown.txt")" = "a.com;b.com" ] || { echo "the host list was not kept across runs"; exit 1; }
if ls "$work/root/usr/bin" | grep -qv '^shareseek'; then echo "files written beside the program"; exit 1; fi
echo "package: passed"

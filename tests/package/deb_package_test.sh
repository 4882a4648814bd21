#!/bin/sh
# Makes the Debian package of the build, checks its control fields and file list, unpacks it
# into a scratch root (nothing is installed on the machine) and converts a sample product with
# the unpacked programs and templates.
# Usage: deb_package_test.sh CPACK BUILD-DIR VERSION
set -eu
cpack=$1
build=$2
version=$3
work=$(mktemp -d "${TMPDIR:-/tmp}/radmill-package-XXXXXX")
trap 'rm -rf "$work"' EXIT

fail() {
    echo "FAIL: $*"
    exit 1
}

arch=$(dpkg --print-architecture)
"$cpack" -G DEB --config "$build/CPackConfig.cmake" -B "$work/out" >"$work/cpack.log" 2>&1 ||
    { cat "$work/cpack.log"; fail "cpack"; }
deb=$work/out/radmill_${version}_$arch.deb
[ -f "$deb" ] || fail "no $(basename "$deb") in: $(ls "$work/out")"

for expected in "Package radmill" "Version $version" "Architecture $arch"; do
    value=$(dpkg-deb --field "$deb" "${expected%% *}")
    [ "${expected%% *} $value" = "$expected" ] || fail "${expected%% *}: $value"
done
# dpkg-shlibdeps names the package of each library that the programs link.
depends=$(dpkg-deb --field "$deb" Depends)
echo "$depends" | tr ',' '\n' | sed 's/^ *//' >"$work/depends"
for library in libc6 libstdc++6 libgdal libtiff libgeotiff libprotobuf libspdlog liblz4 \
    libboost-program-options; do
    grep -q "^$library" "$work/depends" || fail "Depends names no $library: $depends"
done

templates=/etc/corvane/alvoacq_templates
cat >"$work/expected-conffiles" <<END
$templates/radmill.conf
$templates/default_color_scales.json
$templates/color_scales.json
$templates/default_color_scales_palette.json
$templates/color_scales_palette.json
END
{
    cat "$work/expected-conffiles"
    printf '/usr/bin/%s\n' radmill radmill-info radmill-sample
    echo /usr/share/bash-completion/completions/radmill
    printf '/usr/share/man/%s\n' man1/radmill.1 man1/radmill-info.1 man5/radmill.conf.5
} | sort >"$work/expected-files"
dpkg-deb --contents "$deb" | awk '{ print $6 }' | grep -v '/$' | sed 's|^\.||' | sort >"$work/files"
diff -u "$work/expected-files" "$work/files" || fail "file list"
dpkg-deb --control "$deb" "$work/control"
diff -u "$work/expected-conffiles" "$work/control/conffiles" || fail "conffiles"

root=$work/root
dpkg-deb --extract "$deb" "$root"
mkdir "$work/log"
"$root/usr/bin/radmill-sample" -o "$work/sample.pb" --bands 2
ALVO_CONFIG=$root$templates/ ALVO_LOG=$work/log/ \
    "$root/usr/bin/radmill" -i "$work/sample.pb" -o "$work/sample.tif" -t palette 2>"$work/stderr" ||
    fail "conversion: $(cat "$work/log/radmill.log" "$work/stderr")"
[ ! -s "$work/stderr" ] || fail "standard error: $(cat "$work/stderr")"
grep -q "GeoTIFF conversion completed: $work/sample.tif" "$work/log/radmill.log" ||
    fail "log: $(cat "$work/log/radmill.log")"
[ "$(head -c 4 "$work/sample.tif" | od -An -tx1 | tr -d ' ')" = 49492a00 ] || fail "not a TIFF"
"$root/usr/bin/radmill-info" "$work/sample.pb" | grep -q '"framing": "envelope"' || fail "radmill-info"

echo "$(basename "$deb"): $(stat -c %s "$deb") bytes; Depends: $depends"

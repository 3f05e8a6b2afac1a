#!/usr/bin/env bash
# Builds the release programs and packs what users and administrators
# download, into build/package (VERSION is the project's version in the
# top-level CMakeLists.txt):
#   Ordnerlink-VERSION.zip           ordnerlink.exe, ordnerlink.com, the German
#                                    read-me LIESMICH.txt and the administrative
#                                    templates in PolicyDefinitions\
#   Ordnerlink-VERSION-Benutzer.msi  the same as a Windows Installer package
#                                    for one user, without administrator rights
#   Ordnerlink-VERSION.msi           ... for every user of the machine
# The packages come from packaging/Ordnerlink.wxs (wixl), with the PATH
# entry's table added by msibuild. Prints the three files' paths.
#
# Signing: when ORDNERLINK_SIGN_CERT names a certificate (PEM or DER, with
# its chain) and ORDNERLINK_SIGN_KEY its private key (without a passphrase),
# both programs and both packages are signed with osslsigncode; otherwise it
# says that it builds them unsigned.
#
#   scripts/package.sh [--from BUILD] [--version VERSION] [--output FOLDER]
#     --from BUILD       take the programs from the Windows release build in
#                        BUILD instead of building them in build/package
#     --version VERSION  name and mark the packages with VERSION instead of
#                        the project's (the tests' newer and older packages)
#     --output FOLDER    write the files there instead of build/package
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

from=
version=
output=
while [ $# -gt 0 ]; do
    case $1 in
    --from | --version | --output)
        [ $# -ge 2 ] || { echo "$1 needs a value; see the top of $0" >&2; exit 2; }
        case $1 in
        --from) from=$2 ;;
        --version) version=$2 ;;
        --output) output=$2 ;;
        esac
        shift 2
        ;;
    *) echo "unknown argument $1; see the top of $0" >&2; exit 2 ;;
    esac
done

scripts/setup.sh

build=build/package
if [ -z "$from" ]; then
    cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake >/dev/null
    cmake --build "$build" --target ordnerlink ordnerlink_console
    from=$build
fi
output=$(realpath -m "${output:-$build}")
mkdir -p "$output"

if [ -z "$version" ]; then
    version=$(sed -n 's/^project(Ordnerlink VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
    [ -n "$version" ] || { echo "No project version in CMakeLists.txt" >&2; exit 1; }
fi
# Windows Installer compares three numbers below 256, 256 and 65536.
[[ $version =~ ^[0-9]+\.[0-9]+\.[0-9]+$ ]] || { echo "The version $version is not of the form 1.2.3" >&2; exit 1; }

icon=$from/resources/generated/ordnerlink.ico
for file in "$from/app/ordnerlink.exe" "$from/app/ordnerlink.com" "$icon"; do
    [ -f "$file" ] || { echo "$file is missing: build $from first" >&2; exit 1; }
done

sign_cert=${ORDNERLINK_SIGN_CERT:-}
sign_key=${ORDNERLINK_SIGN_KEY:-}
if [ -n "$sign_cert" ] && [ -n "$sign_key" ]; then
    echo "Signing with the certificate $sign_cert."
elif [ -n "$sign_cert$sign_key" ]; then
    echo "Signing needs both ORDNERLINK_SIGN_CERT and ORDNERLINK_SIGN_KEY; only one is set." >&2
    exit 1
else
    echo "Building unsigned: ORDNERLINK_SIGN_CERT and ORDNERLINK_SIGN_KEY are not set."
fi
# Signs a program or package in place, when a certificate is given.
sign() {
    [ -n "$sign_cert" ] || return 0
    osslsigncode sign -certs "$sign_cert" -key "$sign_key" -n Ordnerlink -h sha256 \
        -in "$1" -out "$1.signed" >/dev/null
    mv "$1.signed" "$1"
}

staging=$(mktemp -d --tmpdir ordnerlink-package.XXXXXX)
trap 'rm -rf "$staging"' EXIT
files=$staging/files
mkdir -p "$files/PolicyDefinitions/de-DE" "$files/PolicyDefinitions/en-US"
cp "$from/app/ordnerlink.exe" "$from/app/ordnerlink.com" "$files/"
sign "$files/ordnerlink.exe"
sign "$files/ordnerlink.com"
# UTF-8 with a byte-order mark and Windows line ends, which every Notepad
# reads with its umlauts.
{
    printf '\xef\xbb\xbf'
    sed -e "s/@VERSION@/$version/g" -e 's/$/\r/' docs/LIESMICH.txt
} >"$files/LIESMICH.txt"
# Laid out as the central store of the administrative templates, which an
# administrator copies them into.
cp policy/Ordnerlink.admx "$files/PolicyDefinitions/"
cp policy/de-DE/Ordnerlink.adml "$files/PolicyDefinitions/de-DE/"
cp policy/en-US/Ordnerlink.adml "$files/PolicyDefinitions/en-US/"
cp "$icon" "$staging/ordnerlink.ico"

zip_file=$output/Ordnerlink-$version.zip
rm -f "$zip_file" # zip adds to an archive that is there
(cd "$files" && zip -X -q -r -D "$zip_file" ordnerlink.exe ordnerlink.com LIESMICH.txt PolicyDefinitions)
echo "$zip_file"

# One package per flavour: its scope, its file name, and the name of its PATH
# entry in the Environment table (= set at installation, - removed with the
# product, * the machine's variable rather than the user's).
package() {
    local scope=$1 msi=$2 path_name=$3
    # wixl takes the files' paths relative to the folder it runs in.
    (cd "$staging" && wixl -a x64 -D Scope="$scope" -D Version="$version" -D Files=files \
        -D Icon=ordnerlink.ico -o "$msi" "$root/packaging/Ordnerlink.wxs")
    # wixl cannot write the Environment table: it is imported, with the
    # actions that write and remove its entries at their standard places in
    # the sequence. [~] keeps the variable's value and adds the folder at
    # its end; the removal takes out only that folder.
    printf 'Environment\tName\tValue\tComponent_\ns72\tl255\tL255\ts72\nEnvironment\tEnvironment\nPath\t%s\t[~];[INSTALLDIR]\tRegistration\n' \
        "$path_name" >"$staging/Environment.idt"
    # wixl writes a custom action of Execute="rollback" as an immediate one:
    # the machine's package gets its rollback type (program file 18, ignore
    # the result 64, rollback 256, in the script 1024, no impersonation
    # 2048) set here.
    local rollback=()
    [ "$scope" = machine ] && rollback=(-q "UPDATE \`CustomAction\` SET \`Type\` = 3410 WHERE \`Action\` = 'UnscheduleSyncOnRollback'")
    msibuild "$msi" -i "$staging/Environment.idt" \
        -q "INSERT INTO \`InstallExecuteSequence\` (\`Action\`, \`Sequence\`) VALUES ('RemoveEnvironmentStrings', 3300)" \
        -q "INSERT INTO \`InstallExecuteSequence\` (\`Action\`, \`Sequence\`) VALUES ('WriteEnvironmentStrings', 5200)" \
        "${rollback[@]}"
    sign "$msi"
    echo "$msi"
}
package user "$output/Ordnerlink-$version-Benutzer.msi" '=-Path'
package machine "$output/Ordnerlink-$version.msi" '=-*Path'

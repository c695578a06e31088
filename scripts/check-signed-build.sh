#!/usr/bin/env bash
# Builds setup.exe signed, in a folder of its own (BUILD_DIR/signed), with a
# throw-away CA and code-signing certificate made here (its key encrypted,
# its password in a file), and checks that setup.exe and the three programs
# that its payload resources carry verify against that CA, and that the
# password reached nothing but the signing. Also that make refuses the
# password itself (SIGN_PASS) and says why.
#   check-signed-build.sh BUILD_DIR HOST_TOOLS NATIVE_BUILD
# The Windows half of the build runs again for the setup target alone, with
# the native half's host tools.
set -u
build="$1"; tools="$2"; native="$3"
here="$(cd "$(dirname "$0")" && pwd)"
signed="$build/signed"
keys="$build/signed-keys"
fail=0
problem() { echo "FAIL: $*"; fail=1; }

# make refuses SIGN_PASS on its command line and from the environment,
# before it runs anything (-n: nothing would run even so).
refused() {  # WHY, then how make is started
  local why="$1" said; shift
  if said=$("$@" -n -C "$here/.." clean BUILD=/nonexistent 2>&1); then
    problem "make took SIGN_PASS ($why)"
  elif ! grep -q "SIGN_PASS.* is refused: .*$why" <<<"$said"; then
    problem "make refused SIGN_PASS without saying why ($why): $said"
  fi
}
refused "in the list of processes" env -u MAKEFLAGS -u SIGN_PASS make SIGN_PASS=not-a-password
refused "every command it runs" env -u MAKEFLAGS SIGN_PASS=not-a-password make

# A new CA on every run: a signature left from an earlier run does not
# verify against it.
rm -rf "$keys"; mkdir -p "$keys"
password="throw-away $$ $RANDOM"
(umask 077 && printf '%s\n' "$password" >"$keys/password")
# osslsigncode, as the build calls it, is a stand-in first on the PATH that
# records its command line, and whether its environment holds the password,
# then runs the real one.
mkdir -p "$keys/bin"
cat >"$keys/bin/osslsigncode" <<EOF
#!/bin/sh
printf '%s\n' "\$@" >>"$keys/osslsigncode.log"
env | grep -qF -f "$keys/password" && echo "the password is in its environment" >>"$keys/osslsigncode.log"
exec "$(command -v osslsigncode)" "\$@"
EOF
chmod +x "$keys/bin/osslsigncode"
(
  cd "$keys" &&
    openssl req -x509 -newkey rsa:2048 -nodes -keyout ca.key -out ca.pem -days 2 -subj "/CN=Norvu Test CA" \
      -addext basicConstraints=critical,CA:TRUE -addext keyUsage=critical,keyCertSign &&
    openssl req -newkey rsa:2048 -keyout key.pem -passout file:password -out signer.csr -subj "/CN=Norvu Test Publisher" &&
    printf 'basicConstraints=CA:FALSE\nkeyUsage=critical,digitalSignature\nextendedKeyUsage=codeSigning\n' >signer.ext &&
    openssl x509 -req -in signer.csr -CA ca.pem -CAkey ca.key -CAcreateserial -days 2 -extfile signer.ext -out signer.pem &&
    cat signer.pem ca.pem >chain.pem
) >"$keys/openssl.log" 2>&1 || { cat "$keys/openssl.log"; echo "FAIL: could not make the test certificates"; exit 1; }

cmake -S "$here/.." -B "$signed" -DCMAKE_TOOLCHAIN_FILE="$here/../cmake/mingw-i686.cmake" -DCMAKE_BUILD_TYPE=MinSizeRel \
  -DNORVU_HOST_TOOLS="$tools" -DNORVU_NATIVE_BUILD="$native" -DNORVU_SIGN_CERT="$keys/chain.pem" \
  -DNORVU_SIGN_KEY="$keys/key.pem" -DNORVU_SIGN_PASS_FILE="$keys/password" >"$keys/build.log" 2>&1 &&
  PATH="$keys/bin:$PATH" cmake --build "$signed" --target setup -j 2 >>"$keys/build.log" 2>&1 ||
  { tail -n 30 "$keys/build.log"; echo "FAIL: the signed build failed"; exit 1; }

# The password went to the signing in its file, and nowhere else.
[ "$(grep -c -x -- -readpass "$keys/osslsigncode.log")" -eq 4 ] ||
  problem "osslsigncode was not handed the password file for each of the four programs"
grep -qF -e "$password" -e "the password is in its environment" "$keys/osslsigncode.log" &&
  problem "the password was on osslsigncode's command line or in its environment"
grep -rqF -- "$password" "$signed" && problem "the password was written into the build folder"

verify() {  # FILE NAME DESCRIPTION: signed with SHA-256 and that description by the test CA
  local report
  if ! report=$(osslsigncode verify -CAfile "$keys/ca.pem" -in "$1" 2>&1); then
    echo "$report" | tail -n 5
    problem "$2 does not verify against the test CA"
    return
  fi
  grep -q "Text description: $3\$" <<<"$report" || problem "$2 is not described as '$3'"
  grep -q "Message digest algorithm: SHA256" <<<"$report" || problem "$2 is not signed with SHA-256"
  echo "$2: signed, verifies against the test CA"
}

verify "$signed/setup.exe" setup.exe "Norvu Setup"
# What ships: the programs as setup.exe carries them, compressed, in its
# resources FILE0, FILE3 and FILE6 of type 10.
for entry in "0 norvu.exe Norvu" "3 ferrox.dll Norvu engine library" "6 unsetup.exe Norvu Uninstall"; do
  read -r index name description <<<"$entry"
  bash "$here/pe-resources.sh" "$signed/setup.exe" 0x00000a "FILE$index" >"$keys/$name.packed" &&
    "$tools/szdd" expand "$keys/$name.packed" "$keys/$name" ||
    { problem "cannot take $name out of setup.exe's resource FILE$index"; continue; }
  verify "$keys/$name" "$name (FILE$index)" "$description"
done

[ $fail -eq 0 ] && echo "signed build: all checks passed"
exit $fail

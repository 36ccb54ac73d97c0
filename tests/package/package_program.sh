#!/usr/bin/env bash
# The Debian package as a user meets it: unpacked with dpkg-deb into a scratch root (nothing is installed on
# this machine) and started as an unprivileged user whose home is a scratch folder. The first start makes and
# fills ~/.local/share/Cadrelle; a second start keeps the user's catalogue although a newer package delivers
# another; cadrelle-cli reads it; a data folder that cannot be made is named; the installed files never change.
# usage: package_program.sh <cadrelle .deb>
set -uo pipefail

work=$(mktemp -d)
source "$(dirname "$0")/../e2e/x11.sh"
chmod 755 "$work"
root="$work/root"
dpkg-deb -x "$1" "$root" || fail "cannot unpack $1"
installed() { find "$root" -printf '%p %m %s %T@\n' | sort; }

# The user: nobody when the test runs as root, else whoever runs it; no XDG folders set, so the defaults count.
export HOME="$work/home" XDG_RUNTIME_DIR="$work/run"
unset XDG_DATA_HOME XDG_CONFIG_HOME
mkdir -p "$HOME" "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
as_user=()
if [[ $(id -u) == 0 ]]; then
    chown 65534:65534 "$HOME" "$XDG_RUNTIME_DIR"
    as_user=(setpriv --reuid=65534 --regid=65534 --clear-groups)
fi
uid=$("${as_user[@]}" id -u)
data="$HOME/.local/share/Cadrelle"
db="$data/cadrelle.db"
start_x

before=$(installed)
start_program "${as_user[@]}" "$root/usr/bin/cadrelle"
exit_program
[[ -f "$db" && $(stat -c %u "$db") == "$uid" ]] || fail "the first start did not make the user's catalogue $db"
[[ $(sqlite3 "$db" 'SELECT init FROM tblinit') == 1 ]] || fail "the first-run fix-up did not run"
while IFS= read -r path; do
    [[ "$path" == "$data/documents/"* && -f "$path" ]] || fail "a record does not point at the data folder: $path"
done < <(sqlite3 "$db" 'SELECT docpath FROM tbldocument')
[[ -d "$data/temp" ]] || fail "no temp folder in the data folder"
[[ "$(installed)" == "$before" ]] || fail "the first start changed the installed files"

# The user changes a record; a newer package delivers another fresh catalogue. The second start keeps the user's.
"${as_user[@]}" sqlite3 "$db" "UPDATE tbldocument SET doctitle='Mine' WHERE docref='QP01'"
sqlite3 "$root/usr/share/cadrelle/cadrelle.db" "UPDATE tbldocument SET doctitle='Newer' WHERE docref='QP01'"
before=$(installed)
start_program "${as_user[@]}" "$root/usr/bin/cadrelle"
exit_program
[[ $(sqlite3 "$db" "SELECT doctitle FROM tbldocument WHERE docref='QP01'") == Mine ]] ||
    fail "the second start did not keep the user's catalogue"
[[ "$(installed)" == "$before" ]] || fail "the second start changed the installed files"

# The tool finds the same catalogue without being told where it is.
list=$("${as_user[@]}" "$root/usr/bin/cadrelle-cli" --format csv list) || fail "cadrelle-cli list failed"
grep -q "^\"QP01\",\"Mine\",.*,\"$data/documents/QP01.rtf\"," <<<"$list" || fail "cadrelle-cli listed: $list"

# A data folder that cannot be made: one line names it, and the tool ends with status 2.
err=$(XDG_DATA_HOME="$db" "${as_user[@]}" "$root/usr/bin/cadrelle-cli" list 2>&1 >/dev/null)
status=$?
[[ $status == 2 && "$err" == "cadrelle-cli: The data folder '$db/Cadrelle' cannot be made: Not a directory." ]] ||
    fail "a data folder under a file gave status $status: $err"

echo "1 passed, 0 failed"

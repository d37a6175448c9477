#!/usr/bin/env bash
# grab as a person on Linux uses it: where the data folder is, names that are taken, Ctrl-C in a batch,
# local pages saved as HTML, what is not a save, file modes, and messages that say what happened.
# Usage: grab_daily_use.sh GRAB_BINARY SOURCE_DIR
set -uo pipefail
grab=$(realpath "$1")
src=$2
source "$src/tests/tools/checks.sh"
scratch grab-daily

serve "$src" sample/site/style.css
site="$server_url/sample/site"
own_odbc "$work/odbc"
mkdir -p "$work/out" "$work/cwd"
export LSAN_OPTIONS="suppressions=$src/tests/controller/database/lsan.supp:fast_unwind_on_malloc=0"
umask 022
page="$src/sample/site/article-1.html"
out=$work/out

# --- The data folder: the user's, not grab's program folder; refused before any page when unwritable.
home=$work/home
fresh() { env -u PAGEHARVEST_DATA -u XDG_DATA_HOME HOME="$home" "$@"; }
check "by default what grab learns goes to ~/.local/share/pageharvest, made for the user alone" \
  bash -c "$(declare -f fresh); home='$home'; fresh '$grab' -q auto '$page' --kind text --to '$out/home.txt' &&
    test -s '$home/.local/share/pageharvest/layouts.dat' && [ \$(stat -c %a '$home/.local/share/pageharvest') = 700 ]"
check "XDG_DATA_HOME comes before it, and PAGEHARVEST_DATA before that" \
  bash -c "HOME='$home' XDG_DATA_HOME='$work/xdg' '$grab' -q auto '$page' --kind text --to '$out/xdg.txt' &&
    test -s '$work/xdg/pageharvest/layouts.dat' &&
    PAGEHARVEST_DATA='$work/named' XDG_DATA_HOME='$work/xdg' '$grab' -q auto '$page' --kind text --to '$out/named.txt' &&
    test -s '$work/named/layouts.dat'"
check "paths only reads: it makes no data folder" \
  bash -c "$(declare -f fresh); home='$work/home-2'; fresh '$grab' paths '$page' >/dev/null && test ! -e '$work/home-2/.local'"
mkdir -p "$work/readonly"
if mount -t tmpfs -o ro,size=1m tmpfs "$work/readonly" 2>/dev/null; then
  check "a data folder that cannot be written is an error before any page" \
    bash -c "! '$grab' --data-dir '$work/readonly' auto '$page' --kind text --to '$out/ro.txt' 2>'$work/ro.err' &&
      grep -q 'cannot write in the data folder' '$work/ro.err' && test ! -e '$out/ro.txt'"
fi

# --- Pages whose file name is taken: numbered, not skipped.
mkdir -p "$work/same" "$out/same"
for n in 1 2 3 4 5 6; do cp "$page" "$work/same/page-$n.html"; done
g() { "$grab" --data-dir "$work/data" "$@"; }
g -q auto "$page" --kind text --to "$out/same/first.txt"
check "six pages of one title in one second are all saved, under names of their own" \
  bash -c "'$grab' --data-dir '$work/data' --no-progress quick '$work'/same/page-*.html | grep -qx 'quick: saved 6, skipped 0, failed 0' &&
    [ \$(ls '$out/same' | wc -l) = 7 ]"

# --- Ctrl-C in a batch: the page in hand is finished, the summary printed, and a rerun goes on.
mkdir -p "$work/batch/out"
"$grab" -q --data-dir "$work/batch" auto "$site/article-1.html" --kind html --to "$work/batch/out/first.htm"
urls=()
for n in $(seq 40); do urls+=("$site/article-1.html?n=$n"); done
# As from a terminal: a background job of a script would ignore SIGINT.
python3 -c 'import os, signal, sys; signal.signal(signal.SIGINT, signal.SIG_DFL); os.execv(sys.argv[1], sys.argv[1:])' \
  "$grab" --data-dir "$work/batch" --jobs 1 --no-progress quick "${urls[@]}" >"$work/batch.out" 2>"$work/batch.err" &
batch_pid=$!
for _ in $(seq 200); do [ "$(ls "$work/batch/out" | grep -c '\.htm$')" -ge 3 ] && break; sleep 0.05; done
kill -INT "$batch_pid"
wait "$batch_pid"
batch_status=$?
check "Ctrl-C ends the batch with status 130 and its summary" \
  bash -c "[ $batch_status = 130 ] && grep -q '^quick: saved [0-9]*, skipped 0, failed 0$' '$work/batch.out'"
check "and leaves no companion folder without its page, and no temporary file" \
  bash -c "cd '$work/batch/out' && for d in *_files; do test -f \"\${d%_files}.htm\" || exit 1; done &&
    [ -z \"\$(find . -name '.ph*' -o -name '*.new-*')\" ]"
saved_first=$(sed -n 's/^quick: saved \([0-9]*\),.*/\1/p' "$work/batch.out")
check "--skip-saved goes on with the pages not saved yet" \
  bash -c "'$grab' --data-dir '$work/batch' --jobs 1 --no-progress --skip-saved quick ${urls[*]} |
    grep -qx 'quick: saved $((40 - ${saved_first:-40})), skipped 0, failed 0, ${saved_first:-0} saved before' &&
    [ \$(ls '$work/batch/out' | grep -c '\.htm$') = 41 ]"

# --- db test without a data source is refused, and makes no file.
check "db test without a data source says so and makes nothing" \
  bash -c "cd '$work/cwd' && ! '$grab' --data-dir '$work/nodsn' db test 2>'$work/nodsn.err' &&
    grep -q 'DSN Not Specified! Configure Database First' '$work/nodsn.err' && [ -z \"\$(ls -A '$work/cwd')\" ]"

# --- A local page saved as HTML keeps its pictures; a folder that is not there is made for no page.
check "a local page saved as HTML gets copies of its own picture and style sheet" \
  bash -c "'$grab' -q --data-dir '$work/local' auto '$page' --kind html --to '$out/local.htm' &&
    cmp \"\$(find '$out/local_files' -name tree.png)\" '$src/sample/site/images/tree.png' &&
    cmp \"\$(find '$out/local_files' -name style.css)\" '$src/sample/site/style.css' && ! grep -q 'src=\"images/' '$out/local.htm'"
check "the copies follow the umask as the page does" \
  bash -c "[ \$(stat -c %a \"\$(find '$out/local_files' -name tree.png)\") = 644 ] && [ \$(stat -c %a '$out/local.htm') = 644 ]"
check "settings.dat, which holds the database password, is the user's alone" \
  bash -c "[ \$(stat -c %a '$work/local/settings.dat') = 600 ]"
for p in "$page" "$site/article-1.html"; do
  kind=local
  [[ $p == http* ]] && kind=http
  check "a --to folder that is not there fails alike for $kind pages, with the path and the reason" \
    bash -c "! '$grab' --data-dir '$work/nofolder' auto '$p' --kind html --to '$work/nofolder-out/a.htm' 2>'$work/nofolder.err' &&
      grep -q 'Failure to open file: $work/nofolder-out/a.htm: No such file or directory' '$work/nofolder.err' && test ! -e '$work/nofolder-out'"
done

# --- A region of one picture saved as text is no save.
printf '<html><head><title>Picture</title></head><body><table><tr><td><img src="x.png"></td><td>words</td></tr></table></body></html>' >"$work/picture.html"
check "text of a region that holds only a picture is reported empty, and no file is written" \
  bash -c "! '$grab' --data-dir '$work/pic' pick '$work/picture.html' 'frame[0]/TABLE[0]/TBODY[0]/TR[0]/TD[0]' --kind text --to '$out/pic.txt' 2>'$work/pic.err' &&
    grep -q 'holds no text' '$work/pic.err' && test ! -e '$out/pic.txt'"

# --- Messages that say what happened and what to do.
check "a successful auto says where the content went, and -q says nothing" \
  bash -c "'$grab' --data-dir '$work/say' auto '$page' --kind text --to '$out/said.txt' | grep -qx 'auto: saved to $out/said.txt' &&
    [ -z \"\$('$grab' -q --data-dir '$work/say' auto '$page' --kind text --to '$out/said.txt')\" ]"
check "a scheme typo is refused with a hint" \
  bash -c "'$grab' auto htp://example.org/a 2>'$work/typo.err'; [ \$? = 2 ] && grep -q 'did you mean http://example.org/a' '$work/typo.err'"
check "unknown command lists select" bash -c "'$grab' fetch 2>&1 | grep -q select"
printf '<html><body><p>no cells and no blocks</p></body></html>' >"$work/bare.html"
check "Unable to auto selection says how to choose by hand" \
  bash -c "'$grab' --data-dir '$work/bare' auto '$work/bare.html' --kind text --to '$out/bare.txt' 2>'$work/bare.err'; [ \$? = 1 ] && grep -q 'grab pick' '$work/bare.err'"
check "Table name empty! names --table and exits 2" \
  bash -c "'$grab' --data-dir '$work/notable' db create-table --dsn harvest 2>'$work/notable.err'; [ \$? = 2 ] && grep -q -- '--table' '$work/notable.err'"
check "Could not open record set! says that db create-table makes the table" \
  bash -c "'$grab' --data-dir '$work/norows' auto '$page' --kind database --dsn harvest --table missing 2>'$work/norows.err'; [ \$? = 1 ] && grep -q 'db create-table' '$work/norows.err'"
check "a download that failed says why" \
  bash -c "! '$grab' --data-dir '$work/data' quick '$site/gone.html' http://127.0.0.1:1/x.html 2>'$work/down.err' &&
    grep -q 'gone.html: .*HTTP 404' '$work/down.err' && grep -q 'x.html: .*onnect' '$work/down.err'"
mkdir -p "$work/gone-out"
"$grab" -q --data-dir "$work/gone" auto "$page" --kind text --to "$work/gone-out/a.txt"
rm -rf "$work/gone-out"
check "a stored action whose folder no longer exists says so" \
  bash -c "'$grab' --data-dir '$work/gone' quick '$page' 2>'$work/gone.err'; [ \$? = 1 ] && grep -q 'gone-out, no longer exists' '$work/gone.err'"

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]

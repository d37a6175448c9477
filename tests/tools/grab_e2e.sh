#!/usr/bin/env bash
# Runs grab as a user would, against the sample site served on loopback, and checks what it leaves:
# the saved files and their companion folders, the database rows, and the three data files byte for
# byte. Usage: grab_e2e.sh GRAB_BINARY SOURCE_DIR
set -uo pipefail
grab=$1
src=$2
source "$src/tests/tools/checks.sh"
scratch grab-e2e

# The repository on loopback: the sample site and the test pages.
serve "$src" sample/site/style.css
site="$server_url/sample/site"
pages="$server_url/tests/pages"
own_odbc "$work/odbc"
# The SQLite driver loses a little memory on every connection; that is not ours to report.
export LSAN_OPTIONS="suppressions=$src/tests/controller/database/lsan.supp:fast_unwind_on_malloc=0"

data=$work/data
out=$work/out
mkdir -p "$data" "$out"
g() { "$grab" --data-dir "$data" "$@"; }

# --- A first page saved by hand (Auto Selection) as HTML, with its pictures and style sheet.
check "help names every command" bash -c "'$grab' --help | grep -q 'quick PAGE'"
check "a mistake on the command line exits 2" bash -c "'$grab' auto; [ \$? -eq 2 ]"
check "without an answer nothing is saved and the exit status says so" \
  bash -c "! '$grab' --data-dir '$work/empty' auto '$site/article-1.html' 2>'$work/noanswer.txt' && grep -q -- '--kind' '$work/noanswer.txt'"
check "auto saves the first page as HTML" g auto "$site/article-1.html" --kind html --to "$out/first.htm"
check "a text that cannot be written is reported and the exit status says so" \
  bash -c "! '$grab' --data-dir '$work/full' auto '$site/article-1.html' --kind text --to /dev/full 2>'$work/full.txt' && grep -q 'Failure to' '$work/full.txt'"
# A read-only folder (a read-only mount: as root, permissions alone would not stop a write).
ro=$work/readonly
mkdir -p "$ro"
if mount -t tmpfs -o ro,size=1m tmpfs "$ro" 2>/dev/null; then
  for kind in text html xml; do
    check "a $kind file in a read-only folder is reported and nothing counts as saved" \
      bash -c "! '$grab' --data-dir '$work/ro-$kind' auto '$site/article-1.html' --kind $kind --to '$ro/page.$kind' 2>'$work/ro.txt' && grep -q 'Failure to' '$work/ro.txt'"
  done
  umount "$ro"
fi
check "the picture landed in the companion folder" cmp "$out/first_files/sample/site/images/tree.png" "$src/sample/site/images/tree.png"
check "the style sheet landed in the companion folder" cmp "$out/first_files/sample/site/style.css" "$src/sample/site/style.css"
check "the markup points at the local copies" grep -q 'src="first_files/sample/site/images/tree.png"' "$out/first.htm"
check "the saved region is the article, not the menu" bash -c "grep -q 'Winter is the season' '$out/first.htm' && ! grep -q 'Grafting old varieties</a>' '$out/first.htm'"

# --- The second page of that layout: Quick Save runs the stored action without a question.
check "quick saves the second page with the stored action" g quick "$site/article-2.html"
second=$(ls "$out" | grep '^Grafting old varieties - The Orchard Journal_.*\.htm$' | head -n 1)
check "the second page is named after its title" test -n "$second"
check "the second page has its own picture" test -f "$out/${second%.htm}_files/sample/site/images/graft.png"
check "the second page holds its article" grep -q 'Whip-and-tongue' "$out/$second"

# --- The other layout goes to the database, whose table grab makes.
check "db test reaches the data source" g db test --dsn harvest --table content
check "db create-table makes the content table" g db create-table --dialect sqlite
check "a second create-table exits 1 with the database's words" \
  bash -c "! '$grab' --data-dir '$data' db create-table --dialect sqlite 2>'$work/twice.txt' && grep -q 'already exists' '$work/twice.txt'"
cp "$data/settings.dat" "$work/settings.before"
check "a password from the environment is used for the run but not kept" \
  bash -c "PAGEHARVEST_PASSWORD=from-env '$grab' --data-dir '$data' db test && cmp '$data/settings.dat' '$work/settings.before'"
check "auto on the other layout appends a row" g auto "$site/gallery.html" --kind database --portion text --dsn harvest --table content
check "quick on it appends a second row through the stored action" g quick "$site/gallery.html"
check "two rows arrived" bash -c "[ \"\$(sqlite3 '$work/odbc/harvest.db' 'select count(*) from content')\" = 2 ]"
check "the rows hold the page address and the text" bash -c "sqlite3 '$work/odbc/harvest.db' 'select url, content from content' | grep -q '^$site/gallery.html|Blossom in April'"

# --- The data files, byte for byte.
le32() { printf "\\x$(printf %02x $(($1 & 255)))\\x$(printf %02x $((($1 >> 8) & 255)))\\x$(printf %02x $((($1 >> 16) & 255)))\\x$(printf %02x $((($1 >> 24) & 255)))"; }
str() { le32 ${#1}; printf '%s' "$1"; }
host=127.0.0.1
cell='\x03\x00'
row() { printf '\x03\x01\x01'; for _ in $(seq "$1"); do printf "$cell"; done; printf '\x02'; }
table() { printf '\x03\x02\x01'; for n in "$@"; do row "$n"; done; printf '\x02'; }
{
  le32 1; str "$host"; printf '\x03\x03\x01'; table 1; table 2; table 1; printf '\x02\x00'
  le32 2; str "$host"; printf '\x03\x03\x01'; table 1; table 2 2; printf '\x02\x00'
  le32 0
} >"$work/layouts.expected"
check "layouts.dat holds both layouts" cmp "$data/layouts.dat" "$work/layouts.expected"

step() { le32 "$2"; str "$1"; }
{
  le32 1; printf '\x00'; le32 5; step frame 0; step TABLE 1; step TBODY 0; step TR 0; step TD 1
  le32 2; printf '\x00'; le32 5; step frame 0; step TABLE 1; step TBODY 0; step TR 1; step TD 0
  le32 0
} >"$work/selections.expected"
check "selections.dat holds the region of each layout" cmp "$data/selections.dat" "$work/selections.expected"

{
  le32 1; le32 2; le32 0; str "$out"
  le32 2; le32 4; le32 2; le32 0  # portion Text is code 2
  le32 0
} >"$work/actions.expected"
check "actions.dat holds the stored action of each layout" cmp "$data/actions.dat" "$work/actions.expected"

# --- Pages fetched side by side: rows, messages, the summary and the exit status keep the pages' order.
jobs_keep_order() {
  "$grab" --data-dir "$data" --jobs 3 quick "$site/gallery.html?1" "$site/gone-1.html" "$site/gallery.html?2" \
    "$site/article-1.html" "$site/gone-2.html" "$site/gallery.html?3" >"$work/jobs.out" 2>"$work/jobs.err"
  [ $? -eq 1 ] && grep -qx 'quick: saved 4, skipped 0, failed 2' "$work/jobs.out" &&
    [ "$(sed -n 's/^grab: not saved: \([^ ]*\.html\): .*HTTP 404$/\1/p' "$work/jobs.err" | tr '\n' ' ')" = "$site/gone-1.html $site/gone-2.html " ] &&
    [ "$(sqlite3 "$work/odbc/harvest.db" "select url from content where url like '%?%' order by id" | tr '\n' ' ')" = \
      "$site/gallery.html?1 $site/gallery.html?2 $site/gallery.html?3 " ]
}
check "quick --jobs 3 over saved and failing pages keeps their order and counts them exactly" jobs_keep_order
# HTML with its pictures: the same files, markup and message whether fetched one or eight at a time.
jobs_same_capture() {
  for j in 1 8; do
    mkdir -p "$work/jobs-$j/out"
    "$grab" --data-dir "$work/jobs-$j" --jobs "$j" auto "$pages/pictures.html" --kind html --portion html \
      --to "$work/jobs-$j/out/pictures.htm" 2>"$work/jobs-$j.err"
  done
  test -f "$work/jobs-8/out/pictures_files/sample/site/images/blossom.png" &&
    diff -r "$work/jobs-1/out" "$work/jobs-8/out" && cmp "$work/jobs-1.err" "$work/jobs-8.err" &&
    [ "$(grep -o 'gone-[0-9]' "$work/jobs-8.err" | tr '\n' ' ')" = "gone-1 gone-2 gone-3 " ]
}
check "HTML with its pictures is saved alike with --jobs 1 and --jobs 8" jobs_same_capture

# --- Quick Save over several pages, and a page whose layout was never learned.
check "quick over several pages tells saved, skipped and failed" \
  bash -c "'$grab' --data-dir '$data' quick '$site/article-1.html' '$site/gallery.html' '$site/missing.html' | grep -qx 'quick: saved 2, skipped 0, failed 1'"
check "a page of an unknown layout is skipped, in a data folder grab makes itself" \
  bash -c "'$grab' --data-dir '$work/fresh' quick '$site/article-1.html' 2>/dev/null | grep -qx 'quick: saved 0, skipped 1, failed 0'"
check "the data folder now holds the settings" test -f "$work/fresh/settings.dat"

# --- pick and paths.
check "paths marks the richest region" bash -c "'$grab' paths '$site/article-2.html' | grep -q '^\\* .*frame\\[0\\]/TABLE\\[1\\]/TBODY\\[0\\]/TR\\[0\\]/TD\\[1\\]$'"
mkdir -p "$work/pick"
check "pick saves the named regions as text" \
  "$grab" --data-dir "$work/pick" pick "$site/article-1.html" 'frame[0]/TABLE[0]/TBODY[0]/TR[0]/TD[0]' 'frame[0]/TABLE[2]/TBODY[0]/TR[0]/TD[0]' --kind text --to "$out/picked.txt"
check "the picked text holds both regions in order" bash -c "tr -d '\r' <'$out/picked.txt' | tr '\n' ' ' | grep -q 'The Orchard Journal.*Written by the orchard keepers'"
check "pick refuses a path that leads nowhere" bash -c "! '$grab' --data-dir '$work/pick' pick '$site/article-1.html' 'frame[0]/TABLE[9]' --kind clipboard 2>/dev/null"

# --- Frames come over the network too, each in its own place in the paths.
check "paths reaches into frames and marks one richest region" \
  bash -c "out=\$('$grab' paths '$pages/frameset.html') && echo \"\$out\" | grep -q 'frame\[3\]/DIV\[0\]\$' && [ \$(echo \"\$out\" | grep -c '^\*') = 1 ]"
mkdir -p "$work/frames"
check "pick saves a region of a frame of a frame" \
  "$grab" --data-dir "$work/frames" pick "$pages/frameset.html" 'frame[2]/DIV[0]' --kind text --to "$out/frame.txt"
check "the frame's text arrived" grep -q 'Inner frame text' "$out/frame.txt"

# --- Text in every script: each page read in the encoding it declares, files named after any title.
mkdir -p "$work/scripts"
mixed='日本語の記事 مرحبا Καλημέρα Ça déjà naïve 😀'
check "a page in five scripts is saved as text" \
  "$grab" --data-dir "$work/scripts" auto "$pages/mixed_script.html" --kind text --to "$out/mixed.txt"
check "every character of it arrived" grep -qF "$mixed" "$out/mixed.txt"
check "quick saves it again under its Japanese title" "$grab" --data-dir "$work/scripts" quick "$pages/mixed_script.html"
japanese=$(ls "$out" | grep '^日本語のタイトル_.*\.txt$' | head -n 1)
check "the file named in Japanese opens and holds every character" \
  bash -c "[ -n '$japanese' ] && grep -qF '$mixed' '$out/$japanese'"
check "a windows-1251 page is read by its meta charset" \
  "$grab" --data-dir "$work/scripts" auto "$pages/cyrillic_1251.html" --kind text --to "$out/cyrillic.txt"
check "its text arrived as the Cyrillic it is" grep -q 'Привет, мир' "$out/cyrillic.txt"

# --- Pages built from blocks: a story that moved, and one that is empty.
mkdir -p "$work/blocks" "$out/blocks"
b() { "$grab" --data-dir "$work/blocks" "$@"; }
check "pick learns the story of a page built from blocks" \
  b pick "$pages/blocks_1.html" 'frame[0]/DIV[0]/DIV[2]' --kind text --to "$out/blocks/first.txt"
check "the fingerprints are kept beside the selections" test -s "$work/blocks/regions.dat"
check "by paths alone the moved story is not found" \
  bash -c "'$grab' --data-dir '$work/blocks' --relocate paths quick '$pages/blocks_2.html' 2>/dev/null | grep -qx 'quick: saved 0, skipped 1, failed 0'"
check "by default the moved story is found and saved" \
  bash -c "'$grab' --data-dir '$work/blocks' quick '$pages/blocks_2.html' | grep -qx 'quick: saved 1, skipped 0, failed 0'"
check "the saved text is the second story, named after its title written as one line" \
  bash -c "grep -q 'The river rose' '$out/blocks/Blocks, second story_'*.txt"
check "an empty story is skipped with its reason, not saved" \
  bash -c "'$grab' --data-dir '$work/blocks' --relocate paths quick '$pages/blocks_3.html' 2>'$work/empty.txt' | grep -qx 'quick: saved 0, skipped 1, failed 0' && grep -q 'empty' '$work/empty.txt'"

# --- The clipboard: both formats on a desktop's clipboard, and a clear refusal without one.
mkdir -p "$work/clip"
check "without a display the clipboard kind fails and says why" \
  bash -c "! env -u DISPLAY '$grab' --data-dir '$work/clip' auto '$site/article-1.html' --kind clipboard 2>'$work/clip.txt' && grep -q 'no clipboard' '$work/clip.txt'"
if command -v xvfb-run >/dev/null && command -v xclip >/dev/null; then
  timeout 120 xvfb-run -a bash -c "
    '$grab' --data-dir '$work/clip' auto '$site/article-1.html' --kind clipboard --portion text || exit 1
    timeout 10 xclip -o -selection clipboard -t UTF8_STRING >'$work/clip-text.txt'
    timeout 10 xclip -o -selection clipboard -t text/html >'$work/clip-html.txt'
    '$grab' --data-dir '$work/clip' auto '$pages/mixed_script.html' --kind clipboard --portion text || exit 1
    timeout 10 xclip -o -selection clipboard -t UTF8_STRING >'$work/clip-mixed.txt'
    # The owner left behind keeps serving; it must not keep grab's own files open (fd 9 here).
    '$grab' --data-dir '$work/clip' auto '$site/article-1.html' --kind clipboard 9>'$work/held' || exit 1
    for p in /proc/[0-9]*; do ls -l \$p/fd 2>/dev/null; done | grep -q '$work/held' && touch '$work/held.found'
    true" >/dev/null 2>&1
  check "the desktop clipboard offers the text" grep -q '^Winter is the season' "$work/clip-text.txt"
  check "the desktop clipboard offers the HTML with its base address" \
    bash -c "grep -q '<base href=\"$site/article-1.html\">' '$work/clip-html.txt' && grep -q '<H1>Pruning in winter</H1>' '$work/clip-html.txt'"
  check "the clipboard's owner keeps none of grab's descriptors" test ! -e "$work/held.found"
  check "the desktop clipboard offers text in every script" grep -qF "$mixed" "$work/clip-mixed.txt"
fi

# --- Pages as a browser renders them: an article that a script writes is there only with --browser.
mkdir -p "$work/browser" "$work/tmp" "$work/tmp-term"
check "without Chromium --browser says so and exits 1" \
  bash -c "PAGEHARVEST_CHROMIUM=/nonexistent/chromium '$grab' --data-dir '$work/browser' --browser auto '$pages/scripted_article.html' --kind text --to '$out/none.txt' 2>'$work/nochromium.txt'; [ \$? -eq 1 ] && grep -q 'need Chromium' '$work/nochromium.txt'"
check "select without a desktop says so and exits 1" \
  bash -c "env -u DISPLAY -u WAYLAND_DISPLAY '$grab' --data-dir '$work/browser' select '$pages/scripted_article.html' 2>'$work/nodesktop.txt'; [ \$? -eq 1 ] && grep -q 'needs a desktop' '$work/nodesktop.txt'"
if command -v chromium >/dev/null; then
  check "the fetched source has no article" \
    bash -c "'$grab' --data-dir '$work/browser' auto '$pages/scripted_article.html' --kind text --to '$out/fetched.txt'; ! grep -q 'Scripted harvest' '$out/fetched.txt'"
  check "with --browser the scripted article is saved" \
    env TMPDIR="$work/tmp" "$grab" --data-dir "$work/browser-2" --browser auto "$pages/scripted_article.html" --kind text --to "$out/rendered.txt"
  check "the saved text is the article the script wrote" grep -q '^Scripted harvest: the late apples' "$out/rendered.txt"
  check "a page that shows dialogs is rendered as if OK was pressed" \
    bash -c "timeout 60 '$grab' --data-dir '$work/browser-3' --browser auto '$pages/alerting_article.html' --kind text --to '$out/alerted.txt' && grep -q '^Alerted harvest' '$out/alerted.txt'"
  check "the browser is gone and its profile removed" \
    bash -c "[ -z \"\$(ls -A '$work/tmp')\" ] && ! pgrep -f '[u]ser-data-dir=$work/tmp/' >/dev/null"
  # select: the page's own script plays the mouse (over the article, then Ctrl+click) once the bar is up,
  # in a window kept hidden.
  check "select picks in the browser and saves what was picked" \
    "$grab" -q --hidden-window --data-dir "$work/select" select "$pages/self_selecting.html" --kind text --to "$out/selected.txt" </dev/null
  check "the saved text is the region clicked" grep -q '^Picked harvest: quinces ripen last' "$out/selected.txt"
  check "quick saves the page again by the layout the selection learned" \
    bash -c "'$grab' --data-dir '$work/select' quick '$pages/self_selecting.html' | grep -q 'saved 1,'"
  check "Enter on the terminal ends a selection with nothing picked: nothing saved, status 1" \
    bash -c "printf '\\n' | '$grab' --hidden-window --data-dir '$work/select-2' select '$pages/scripted_article.html' 2>'$work/select-2.txt'; [ \$? -eq 1 ] && grep -q 'nothing was selected' '$work/select-2.txt'"
  # SIGTERM in the middle of a batch (pages loading in several tabs) ends the browser before grab ends.
  TMPDIR="$work/tmp-term" "$grab" --data-dir "$work/browser-2" --browser --no-progress quick \
    $(for _ in $(seq 300); do printf '%s ' "$pages/scripted_article.html"; done) >/dev/null 2>&1 &
  grab_pid=$!
  for _ in $(seq 100); do [ -n "$(ls -A "$work/tmp-term")" ] && break; sleep 0.1; done
  sleep 3
  kill -TERM "$grab_pid"
  wait "$grab_pid"
  term_status=$?
  check "SIGTERM ends grab with its status" test "$term_status" -eq 143
  check "and the browser with it, and its files" \
    bash -c "[ -z \"\$(ls -A '$work/tmp-term' | grep -v '^grab-')\" ] && ! pgrep -f '[u]ser-data-dir=$work/tmp-term/' >/dev/null"
fi

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]

#!/usr/bin/env bash
# tenkora-cli autotranslate, run as a user runs it.
set -u
cli=$1
fail=0
check() { # name expected actual
  if [ "$2" != "$3" ]; then echo "FAIL $1"; echo " expected: $2"; echo " actual:   $3"; fail=1; else echo "ok $1"; fi
}
export XDG_CONFIG_HOME=$(mktemp -d)
trap 'rm -rf "$XDG_CONFIG_HOME"' EXIT

out=$("$cli" autotranslate --columns 40 '私は3匹の猫を飼っています。')
check "exit" 0 $?
# Words spaced, the particle は as ワ, the number sign and the counter's sound from the rules and
# the translation, two blanks after the full stop.
check "print" $'ワタシワ□\uE003３ビキノ□ネコヲ□カッテ□イマス。□□' "$(cut -f1 <<<"$out")"
check "stdin" "$(cut -f1 <<<"$out")" "$(printf '私は3匹の猫を飼っています。' | "$cli" autotranslate --columns 40 - | cut -f1)"
check "file" "$(cut -f1 <<<"$out")" "$(printf '私は3匹の猫を飼っています。' | "$cli" autotranslate --columns 40 --file - | cut -f1)"

explain=$("$cli" autotranslate --explain '今日は東京へ行った。')
check "explain word" $'東京\t名詞,固有名詞\tトウキョウ\t□トーキョー\tウ long vowel as ー' "$(grep '^東京' <<<"$explain")"
check "explain guessed" $'今日\t1\tキョー / コンニチ' "$(grep '^今日' <<<"$explain" | tail -1)"

mkdir -p "$XDG_CONFIG_HOME/Tenkora"
printf '# names\n福沢\tフクザワ\nbroken line\n' > "$XDG_CONFIG_HOME/Tenkora/readings.tsv"
err=$("$cli" autotranslate '福沢諭吉' 2>&1 >/dev/null)
check "malformed line" "tenkora-cli: $XDG_CONFIG_HOME/Tenkora/readings.tsv:3: no tab between the print and its braille (line skipped)" "$err"
check "user reading" 'フクザワ□ユキチ' "$("$cli" autotranslate '福沢諭吉' 2>/dev/null | cut -f1)"

err=$(TENKORA_MECAB_DICDIR=/nonexistent/dic "$cli" autotranslate '本' 2>&1)
check "no dictionary exit" 1 $?
check "no dictionary message" "tenkora-cli: automatic translation is not available: no MeCab IPA dictionary found (looked in /nonexistent/dic); install mecab-ipadic-utf8 or set TENKORA_MECAB_DICDIR" "$err"

check "no text" 2 "$("$cli" autotranslate >/dev/null 2>&1; echo $?)"
check "text and file" 2 "$("$cli" autotranslate --file x y >/dev/null 2>&1; echo $?)"
exit $fail

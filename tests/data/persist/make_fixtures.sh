#!/usr/bin/env bash
# Writes the byte fixtures of the persistence tests the way the Windows program writes its
# files (GBK, CRLF), independently of the code under test. Run once; the committed bytes
# are the fixtures, so a change in the writer shows up as a test failure, not as a new
# fixture.
set -euo pipefail
cd "$(dirname "$0")"
gbk() { iconv -f UTF-8 -t CP936; }
crlf() { sed 's/$/\r/'; }

# The 72 inputs in the window's component order.
names=(Edit10 Edit11 RadioButton8 RadioButton9 Edit12 Edit14 RadioButton10 Edit15 Edit16
  RadioButton11 Edit17 RadioButton12 RadioButton13 RadioButton14 Edit18 Edit20 ComboBox4
  RadioButton6 Edit45 Edit46 Edit47 Edit21 Edit22 RadioButton15 Edit23 Edit24 RadioButton17
  Edit25 Edit26 RadioButton18 Edit27 RadioButton19 RadioButton20 RadioButton21 Edit28
  RadioButton16 Edit19 ComboBox3 RadioButton5 Edit38 Edit43 Edit44 Edit6 Edit7 Edit8 Edit9
  Edit13 Edit31 Edit32 Edit33 Edit35 Edit36 CheckBox1 Edit37 ComboBox1 RadioButton1 Edit1
  Edit2 Edit5 Edit4 Edit3 RadioButton2 Edit39 Edit40 Edit41 RadioButton3 RadioButton4 Edit29
  Edit30 Edit42 Edit34 ComboBox2)

# $1: name of an associative array holding the values that are not "0".
settings() {
  local -n values=$1
  printf '[FrmMainPro]\n程序版本=2017\n计算模块=Kelvora\n'
  for n in "${names[@]}"; do printf '%s=%s\n' "$n" "${values[$n]:-0}"; done
}

# First close after a first start: every field empty, so stored as "0".
declare -A fresh=([ComboBox2]=8 [ComboBox3]=加上左封头容积 [ComboBox4]=加上右封头容积)
settings fresh | crlf | gbk >fresh_config.ini

# A horizontal tank with ellipsoidal heads, weights in kg, a Chinese unit text.
declare -A tank=([Edit1]=2000 [Edit2]=5000 [Edit10]=25 [Edit11]=525 [Edit21]=25 [Edit22]=525
  [RadioButton1]=1 [RadioButton8]=1 [RadioButton15]=1 [RadioButton4]=1
  [Edit6]=0 [Edit7]=2000 [Edit8]=10 [Edit9]=50 [Edit13]=12.5 [Edit35]=1000 [Edit36]=7853.98
  [CheckBox1]=1 [Edit37]=0.85 [ComboBox1]=g/cm^3 [Edit42]=罐长 [ComboBox2]=20
  [ComboBox3]=加上左封头容积 [ComboBox4]=减去右封头容积)
settings tank | crlf | gbk >windows_config.ini

# Edited by hand: LF only, comments, blank lines, other sections, letter case, blanks and
# quotes, odd check-box values, two radio buttons of one group set, no final line end.
{
  printf '; edited by hand\n[Other]\nEdit10=999\n\n[frmmainpro]\n'
  printf '  edit10 =  1200  \nEDIT11="  300 "\nEdit12=\x27 7\x27\nEdit14="8\x27\n'
  printf 'RadioButton8=1\nRadioButton9=1\nRadioButton3=2\nRadioButton4=-0\n'
  printf 'RadioButton1=0x1\nRadioButton2=yes\nCheckBox1=$1\nRadioButton17=x10\n'
  printf ';Edit7=5\nEdit37=abc\nComboBox1=  g/cm^3\nEdit42=罐体长度\nEdit13\n\n'
  printf '[Tail]\nEdit8=77\n[FrmMainPro]\nEdit9=5'
} | gbk >hand_edited_config.ini

# 20 points saved by the Windows program; then the 8 points it writes at a close.
points() {
  printf '3\n%s\n序号\n' $(($1 + 1)); seq 1 "$1"
  printf '高度 mm\n'; for k in $(seq 1 "$1"); do echo $((k * 100)); done
  printf '容积 L\n'; for k in $(seq 1 "$1"); do echo "$((k * 1000)).5"; done
}
points 20 | crlf | gbk >windows_bd.txt
points 8 | crlf | gbk >bd_8_points.txt

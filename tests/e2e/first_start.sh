# A workstation that never ran the wizard: it starts on the first page with
# the default choices, shows the BDE configuration file, and leaves both
# settings stored.
source "$(dirname "$0")/lib.sh"

reset_settings
wine reg add 'HKLM\SOFTWARE\Borland\Database Engine' /v CONFIGFILE01 /d 'C:\BDE\Żółw.cfg' /f /reg:32 >/dev/null
start_wizard
driver expect-page 0 \
       expect RadioGroupSerwer marked 0 \
       expect RadioGroupWersja marked 2 \
       expect CheckBoxKopia checked 0 \
       expect LabelConfigFile text 'C:\BDE\Żółw.cfg' \
       expect Label5 text 'Konfiguracja BDE dla systemu Novera - Lumira' \
       expect CheckBoxDMO visible 0 \
       expect Button1 visible 0
expect_buttons "-D-"
# Tab walks the first page's choices in their own order and, landing on a
# radio group, leaves its marked item as it was.
driver focus ButtonDalej \
       tab expect-focus RadioGroupWersja tab expect-focus RadioGroupSerwer \
       tab expect-focus CheckBoxKopia tab expect-focus ButtonDalej \
       expect RadioGroupWersja marked 2 expect RadioGroupSerwer marked 0
expect_setting Server 0
expect_setting Wersja 2
stop_wizard
expect_setting Server 0
expect_setting Wersja 2

# Sourced by the scripts that start the built program on a prepared home:
# makes a temporary home (removed on exit) with settings, a database of items
# of every kind and entries of the session's autostart list, and points HOME
# and every XDG_* variable at it. Sets $home.
home="$(mktemp -d "${TMPDIR:-/tmp}/lanternwick-demo-XXXXXX")"
trap 'rm -rf "$home"' EXIT
export HOME="$home" XDG_CONFIG_HOME="$home/.config" XDG_DATA_HOME="$home/.local/share" \
       XDG_STATE_HOME="$home/.local/state" XDG_CACHE_HOME="$home/.cache" XDG_RUNTIME_DIR="$home/run" \
       XDG_CONFIG_DIRS="$home/xdg" XDG_CURRENT_DESKTOP=GNOME
mkdir -p "$XDG_CONFIG_HOME/Lanternwick" "$XDG_CONFIG_HOME/autostart" "$XDG_DATA_HOME/Lanternwick/AutostartEntries" \
         "$XDG_RUNTIME_DIR" "$home/Documents" "$home/xdg/autostart"
chmod 700 "$XDG_RUNTIME_DIR"

# Nothing is run at start; the welcome window stays away.
cat > "$XDG_CONFIG_HOME/Lanternwick/Lanternwick.conf" <<'INI'
[General]
IsItemsExecutionAfterLaunchEnabled=false
ShowWelcomeWindow=false
INI

# An entry taken over earlier, shown by its name and description.
cat > "$XDG_DATA_HOME/Lanternwick/AutostartEntries/blueman.desktop" <<'DESKTOP'
[Desktop Entry]
Type=Application
Name=Blueman Applet
Comment=Blueman Bluetooth Manager
Icon=blueman
Exec=/usr/bin/true --applet
DESKTOP

# Items of every kind: two programs, a taken-over entry, a document whose name
# holds markup, a missing file and the three kinds without a file; conditions of five kinds,
# more than the first row has room for. Three programs are ignored.
document="$home/Documents/<h1>Report & notes \$HOME.txt"
echo "notes" > "$document"
escape() { sed -e 's/&/\&amp;/g' -e 's/</\&lt;/g' -e 's/>/\&gt;/g' <<<"$1"; }
# file_item <path> <startup mode> [indexes of its conditions]
file_item() {
  local conditions=""
  for index in ${3:-}; do conditions+="<integer>$index</integer>"; done
  printf '<dict><key>type</key><string>file</string><key>path</key><string>%s</string><key>startupMode</key><string>%s</string><key>conditions</key><array>%s</array></dict>\n' \
    "$(escape "$1")" "$2" "$conditions"
}
condition() {
  printf '<dict><key>type</key><string>%s</string><key>name</key><string>%s</string>%s</dict>\n' "$1" "$2" "$3"
}
{
  echo '<?xml version="1.0" encoding="UTF-8"?>'
  echo '<plist version="1.0"><dict><key>version</key><integer>5</integer><key>application</key><array>'
  file_item /usr/bin/xterm shown "0 1 2 3 4"
  file_item "$XDG_DATA_HOME/Lanternwick/AutostartEntries/blueman.desktop" shown
  echo '<dict><key>type</key><string>delay</string><key>delay</key><real>5</real></dict>'
  file_item "$document" hidden "4"
  echo '<dict><key>type</key><string>waitPrevious</string></dict>'
  file_item /usr/bin/dbus-daemon disabled "1"
  echo '<dict><key>type</key><string>conditionalPrevious</string><key>mode</key><integer>0</integer></dict>'
  file_item /opt/missing/Program shown
  echo '</array><key>ignored</key><array>'
  file_item /usr/bin/top shown
  file_item /usr/bin/dbus-monitor hidden
  file_item /usr/bin/python3 disabled
  echo '</array><key>conditions</key><array>'
  condition hotkey "Shift held at login" '<key>hotkeyCombination</key><integer>2</integer><key>hotkeyStatus</key><integer>0</integer>'
  condition powerSource "On the power adapter" '<key>powerSourceType</key><integer>0</integer>'
  condition volume "Backup disk mounted" '<key>volumePath</key><string>/media/Backup</string><key>volumeStatus</key><integer>0</integer>'
  condition network "Office network in range" '<key>networkName</key><string>Office</string><key>networkMode</key><integer>0</integer><key>networkStatus</key><integer>0</integer>'
  condition schedule "Working hours" '<key>schedules</key><array><dict><key>day</key><integer>7</integer><key>from</key><date>2001-01-01T08:00:00Z</date><key>to</key><date>2001-01-01T17:00:00Z</date></dict></array>'
  echo '</array></dict></plist>'
} > "$XDG_DATA_HOME/Lanternwick/Lanternwick.plist"
# A backup for the restore dialog to offer.
cp "$XDG_DATA_HOME/Lanternwick/Lanternwick.plist" "$XDG_DATA_HOME/Lanternwick/Lanternwick.plist.backup"

# Entries of the session's autostart list that the program does not know,
# one with a long name that holds markup, one of the system's; and a part of
# the desktop, which is never listed.
cat > "$XDG_CONFIG_HOME/autostart/clock.desktop" <<'DESKTOP'
[Desktop Entry]
Type=Application
Name=Clock
Comment=Shows the time in the panel
Exec=/usr/bin/true
DESKTOP
cat > "$home/xdg/autostart/notes.desktop" <<'DESKTOP'
[Desktop Entry]
Type=Application
Name=Notes
Exec=/usr/bin/true --notes
DESKTOP
cat > "$home/xdg/autostart/org.gnome.SettingsDaemon.Color.desktop" <<'DESKTOP'
[Desktop Entry]
Type=Application
Name=GNOME color management
Exec=/usr/bin/true
OnlyShowIn=GNOME;
NoDisplay=true
X-GNOME-Autostart-Phase=Initialization
DESKTOP
cat > "$XDG_CONFIG_HOME/autostart/sync.desktop" <<'DESKTOP'
[Desktop Entry]
Type=Application
Name=<b>Sync</b> & backup of the documents folder to the office server
Comment=Keeps the documents folder in step
Exec=/usr/bin/env
DESKTOP


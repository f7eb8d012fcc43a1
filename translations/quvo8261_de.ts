<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>ChannelStrip</name>
    <message>
        <source>GPIO</source>
        <translation>GPIO</translation>
    </message>
    <message>
        <source>GPI</source>
        <translation>GPI</translation>
    </message>
    <message>
        <source>n/a</source>
        <translation>k.A.</translation>
    </message>
    <message>
        <source>Free</source>
        <translation>Frei</translation>
    </message>
    <message>
        <source>Fixed</source>
        <translation>Fest</translation>
    </message>
    <message>
        <source>Pulse</source>
        <translation>Puls</translation>
    </message>
    <message>
        <source>Free: the GPIO output follows the button while it is held</source>
        <translation>Frei: der GPIO-Ausgang folgt der Taste, solange sie gedrückt ist</translation>
    </message>
    <message>
        <source>Fixed: each press switches the GPIO output on or off</source>
        <translation>Fest: jeder Druck schaltet den GPIO-Ausgang ein oder aus</translation>
    </message>
    <message>
        <source>Pulse: each press switches the GPIO output on for the pulse duration</source>
        <translation>Puls: jeder Druck schaltet den GPIO-Ausgang für die Pulsdauer ein</translation>
    </message>
    <message>
        <source>Channel %1 mode: %2</source>
        <translation>Kanal %1 Modus: %2</translation>
    </message>
    <message>
        <source>Channel %1 group</source>
        <translation>Kanal %1 Gruppe</translation>
    </message>
    <message>
        <source>The channel&apos;s group: copying to the same group reaches the channels that share it</source>
        <translation>Die Gruppe des Kanals: Kopieren in die gleiche Gruppe erreicht die Kanäle, die sie teilen</translation>
    </message>
    <message>
        <source>Channel %1 pulse duration in seconds</source>
        <translation>Kanal %1 Pulsdauer in Sekunden</translation>
    </message>
    <message>
        <source>Pulse duration in seconds, in Pulse mode</source>
        <translation>Pulsdauer in Sekunden, im Modus Puls</translation>
    </message>
    <message>
        <source>Off</source>
        <translation>Aus</translation>
    </message>
</context>
<context>
    <name>CommandColumn</name>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <source>GPIO<byte value="xd"/>
Switch off</source>
        <translation>GPIO<byte value="xd"/>
ausschalten</translation>
    </message>
    <message>
        <source>Load...</source>
        <translation>Laden...</translation>
    </message>
    <message>
        <source>Save...</source>
        <translation>Speichern...</translation>
    </message>
    <message>
        <source>TEST</source>
        <translation>TEST</translation>
    </message>
    <message>
        <source>MEMORY</source>
        <translation>SPEICHER</translation>
    </message>
    <message>
        <source>Close the editor (Ctrl+W)</source>
        <translation>Editor schließen (Strg+W)</translation>
    </message>
    <message>
        <source>Switch every GPIO output of the panel off</source>
        <translation>Alle GPIO-Ausgänge des Panels ausschalten</translation>
    </message>
    <message>
        <source>Load a configuration onto the panel (Ctrl+O: from a file)</source>
        <translation>Eine Konfiguration auf das Panel laden (Strg+O: aus einer Datei)</translation>
    </message>
    <message>
        <source>Save the panel&apos;s configuration (Ctrl+S: to a file)</source>
        <translation>Die Konfiguration des Panels speichern (Strg+S: in eine Datei)</translation>
    </message>
    <message>
        <source>Run every light of the panel through its colours</source>
        <translation>Jede Leuchte des Panels durch ihre Farben schalten</translation>
    </message>
    <message>
        <source>Show or hide the memory map</source>
        <translation>Speichertabelle zeigen oder verbergen</translation>
    </message>
    <message>
        <source>from File...</source>
        <translation>aus Datei...</translation>
    </message>
    <message>
        <source>Default values</source>
        <translation>Standardwerte</translation>
    </message>
    <message>
        <source>Factory Settings</source>
        <translation>Werkseinstellungen</translation>
    </message>
    <message>
        <source>Compare with File...</source>
        <translation>Mit Datei vergleichen...</translation>
    </message>
    <message>
        <source>Undo</source>
        <translation>Rückgängig</translation>
    </message>
    <message>
        <source>Redo</source>
        <translation>Wiederholen</translation>
    </message>
    <message>
        <source>Revert to the configuration read at open</source>
        <translation>Zur beim Öffnen gelesenen Konfiguration zurückkehren</translation>
    </message>
    <message>
        <source>to File...</source>
        <translation>in Datei...</translation>
    </message>
    <message>
        <source>as Default</source>
        <translation>als Standard</translation>
    </message>
    <message>
        <source>Undo %1</source>
        <translation>Rückgängig: %1</translation>
    </message>
    <message>
        <source>Redo %1</source>
        <translation>Wiederholen: %1</translation>
    </message>
    <message>
        <source>STOP</source>
        <translation>STOPP</translation>
    </message>
    <message>
        <source>HIDE</source>
        <translation>VERBERGEN</translation>
    </message>
</context>
<context>
    <name>ComparedValues</name>
    <message>
        <source>%1: the file&apos;s %2 is out of range</source>
        <translation>%1: der Wert %2 der Datei liegt außerhalb des Bereichs</translation>
    </message>
    <message>
        <source>%1 (out of range)</source>
        <translation>%1 (außerhalb des Bereichs)</translation>
    </message>
</context>
<context>
    <name>ControlPanel</name>
    <message>
        <source>Control</source>
        <translation>Steuerung</translation>
    </message>
    <message>
        <source>F%1 key function</source>
        <translation>Funktion der Taste F%1</translation>
    </message>
    <message>
        <source>What the panel&apos;s F%1 key does; click to choose</source>
        <translation>Was die Taste F%1 des Panels tut; zum Wählen klicken</translation>
    </message>
    <message>
        <source>Options</source>
        <translation>Optionen</translation>
    </message>
    <message>
        <source>Restore GPIO state
on Power up</source>
        <translation>GPIO-Zustand beim
Einschalten wiederherstellen</translation>
    </message>
    <message>
        <source>Restore GPIO state on Power up</source>
        <translation>GPIO-Zustand beim Einschalten wiederherstellen</translation>
    </message>
    <message>
        <source>The panel sets its GPIO outputs as they were when it is powered up</source>
        <translation>Das Panel stellt beim Einschalten den GPIO-Zustand wieder her, den seine Ausgänge zuletzt hatten</translation>
    </message>
    <message>
        <source>None</source>
        <translation>Keine</translation>
    </message>
    <message>
        <source>UnLock</source>
        <translation>Entsperren</translation>
    </message>
    <message>
        <source>GPIO<byte value="xd"/>
 OFF</source>
        <translation>GPIO<byte value="xd"/>
 AUS</translation>
    </message>
    <message>
        <source>MEM</source>
        <translation>MEM</translation>
    </message>
    <message>
        <source>F%1 key function: %2</source>
        <translation>Funktion der Taste F%1: %2</translation>
    </message>
    <message>
        <source>pressed</source>
        <translation>gedrückt</translation>
    </message>
    <message>
        <source>released</source>
        <translation>losgelassen</translation>
    </message>
</context>
<context>
    <name>EditorLook</name>
    <message>
        <source>No signals</source>
        <translation>Ohne Signal</translation>
    </message>
    <message>
        <source>GPIO</source>
        <translation>GPIO</translation>
    </message>
    <message>
        <source>GPI</source>
        <translation>GPI</translation>
    </message>
    <message>
        <source>GPIO+GPI</source>
        <translation>GPIO+GPI</translation>
    </message>
</context>
<context>
    <name>EditorModel</name>
    <message>
        <source>Revert to the configuration read at open</source>
        <translation>Zur beim Öffnen gelesenen Konfiguration zurückkehren</translation>
    </message>
    <message>
        <source>Configuration from before the panel test</source>
        <translation>Konfiguration von vor dem Panel-Test</translation>
    </message>
    <message>
        <source>Mode of channel %1</source>
        <translation>Modus von Kanal %1</translation>
    </message>
    <message>
        <source>Mode to the same group</source>
        <translation>Modus in die gleiche Gruppe</translation>
    </message>
    <message>
        <source>Mode to all channels</source>
        <translation>Modus auf alle Kanäle</translation>
    </message>
    <message>
        <source>Group of channel %1</source>
        <translation>Gruppe von Kanal %1</translation>
    </message>
    <message>
        <source>Duration of channel %1</source>
        <translation>Dauer von Kanal %1</translation>
    </message>
    <message>
        <source>Duration to the same group</source>
        <translation>Dauer in die gleiche Gruppe</translation>
    </message>
    <message>
        <source>Duration to all channels</source>
        <translation>Dauer auf alle Kanäle</translation>
    </message>
    <message>
        <source>Colour of channel %1</source>
        <translation>Farbe von Kanal %1</translation>
    </message>
    <message>
        <source>Brightness</source>
        <translation>Helligkeit</translation>
    </message>
    <message>
        <source>Copy colours</source>
        <translation>Farben kopieren</translation>
    </message>
    <message>
        <source>Memory map</source>
        <translation>Speichertabelle</translation>
    </message>
    <message>
        <source>F%1 function</source>
        <translation>Funktion F%1</translation>
    </message>
    <message>
        <source>Restore GPIO state on Power up</source>
        <translation>GPIO-Zustand beim Einschalten wiederherstellen</translation>
    </message>
    <message>
        <source>Keylock installed</source>
        <translation>Tastensperre eingebaut</translation>
    </message>
    <message>
        <source>Panel test</source>
        <translation>Panel-Test</translation>
    </message>
    <message>
        <source>Nothing to undo</source>
        <translation>Nichts rückgängig zu machen</translation>
    </message>
    <message>
        <source>Nothing to redo</source>
        <translation>Nichts wiederherzustellen</translation>
    </message>
    <message>
        <source>The panel holds the configuration read at open</source>
        <translation>Das Panel hat die beim Öffnen gelesene Konfiguration</translation>
    </message>
    <message>
        <source>No panel test to restore from</source>
        <translation>Kein Panel-Test, von dem wiederhergestellt werden kann</translation>
    </message>
    <message>
        <source>The memory map is hidden</source>
        <translation>Die Speichertabelle ist ausgeblendet</translation>
    </message>
    <message>
        <source>No GPIO output is held</source>
        <translation>Kein GPIO-Ausgang wird gehalten</translation>
    </message>
    <message>
        <source>Waits for the panel to read back the last change</source>
        <translation>Wartet, bis das Panel die letzte Änderung zurückgelesen hat</translation>
    </message>
</context>
<context>
    <name>EditorModes</name>
    <message>
        <source>No panel is open</source>
        <translation>Kein Panel ist geöffnet</translation>
    </message>
    <message>
        <source>The panel&apos;s configuration is being read</source>
        <translation>Die Konfiguration des Panels wird gelesen</translation>
    </message>
    <message>
        <source>Not while the panel test runs</source>
        <translation>Nicht während der Panel-Test läuft</translation>
    </message>
    <message>
        <source>The editor is closing</source>
        <translation>Der Editor wird geschlossen</translation>
    </message>
    <message>
        <source>No panel test runs</source>
        <translation>Kein Panel-Test läuft</translation>
    </message>
    <message>
        <source>The editor closes once the panel has what was sent</source>
        <translation>Der Editor schließt, sobald das Panel alles Gesendete hat</translation>
    </message>
</context>
<context>
    <name>IniFile</name>
    <message>
        <source>%1 is larger than 1 MiB and is no settings file of this program</source>
        <translation>%1 ist größer als 1 MiB und keine Einstellungsdatei dieses Programms</translation>
    </message>
</context>
<context>
    <name>LegendColumn</name>
    <message>
        <source>Channel numbers</source>
        <translation>Kanalnummern</translation>
    </message>
    <message>
        <source>Online Control </source>
        <translation>Online-Steuerung </translation>
    </message>
    <message>
        <source>Keylock installed</source>
        <translation>Tastensperre eingebaut</translation>
    </message>
    <message>
        <source>The panel has a key lock: its state shows below</source>
        <translation>Das Panel hat eine Tastensperre: ihr Zustand steht darunter</translation>
    </message>
    <message>
        <source>UNLOCKED</source>
        <translation>ENTSPERRT</translation>
    </message>
    <message>
        <source>Key lock</source>
        <translation>Tastensperre</translation>
    </message>
    <message>
        <source>Group</source>
        <translation>Gruppe</translation>
    </message>
    <message>
        <source>GPIO</source>
        <translation>GPIO</translation>
    </message>
    <message>
        <source>Mode</source>
        <translation>Modus</translation>
    </message>
    <message>
        <source>Duration<byte value="xd"/>
(sec.)</source>
        <translation>Dauer<byte value="xd"/>
(s)</translation>
    </message>
    <message>
        <source>Colors </source>
        <translation>Farben </translation>
    </message>
    <message>
        <source>Brightness of this signal state on every channel; click to choose</source>
        <translation>Helligkeit dieses Signalzustands auf allen Kanälen; zum Wählen klicken</translation>
    </message>
    <message>
        <source>Brightness of %1</source>
        <translation>Helligkeit von %1</translation>
    </message>
    <message>
        <source>LOCKED</source>
        <translation>GESPERRT</translation>
    </message>
    <message>
        <source>locked</source>
        <translation>gesperrt</translation>
    </message>
    <message>
        <source>unlocked</source>
        <translation>entsperrt</translation>
    </message>
    <message>
        <source>%1<byte value="xd"/>
Br: %2</source>
        <translation>%1<byte value="xd"/>
Hell: %2</translation>
    </message>
    <message>
        <source>Brightness of %1: %2</source>
        <translation>Helligkeit von %1: %2</translation>
    </message>
</context>
<context>
    <name>LinkFailure</name>
    <message>
        <source>USB Connection Failed</source>
        <translation>USB-Verbindung fehlgeschlagen</translation>
    </message>
    <message>
        <source>write error</source>
        <translation>Schreibfehler</translation>
    </message>
    <message>
        <source>read error</source>
        <translation>Lesefehler</translation>
    </message>
    <message>
        <source>Invalid Device ID</source>
        <translation>Ungültige Geräte-ID</translation>
    </message>
    <message>
        <source>Device Error</source>
        <translation>Gerätefehler</translation>
    </message>
    <message>
        <source>error code</source>
        <translation>Fehlercode</translation>
    </message>
    <message>
        <source>Invalid Device EID</source>
        <translation>Ungültige Geräte-EID</translation>
    </message>
    <message>
        <source>command code</source>
        <translation>Befehlscode</translation>
    </message>
</context>
<context>
    <name>MemoryMapView</name>
    <message>
        <source>Memory</source>
        <translation>Speicher</translation>
    </message>
    <message>
        <source>Memory map</source>
        <translation>Speichertabelle</translation>
    </message>
    <message>
        <source>Slots and their member channels: the arrow keys move, Space toggles</source>
        <translation>Speicherplätze und ihre Kanäle: Pfeiltasten bewegen, Leertaste schaltet um</translation>
    </message>
    <message>
        <source>Slot %1</source>
        <translation>Speicherplatz %1</translation>
    </message>
</context>
<context>
    <name>PanelDiagnosis</name>
    <message>
        <source>%1 is attached but the kernel&apos;s serial driver holds it: start the program with --driver=libftdi, which takes the chip over, or unload the driver with &quot;sudo rmmod ftdi_sio&quot; for FTDI&apos;s D2XX library.</source>
        <translation>%1 ist angeschlossen, aber der serielle Treiber des Kernels hält es: starten Sie das Programm mit --driver=libftdi, das den Chip übernimmt, oder entladen Sie den Treiber mit &quot;sudo rmmod ftdi_sio&quot; für FTDIs D2XX-Bibliothek.</translation>
    </message>
    <message>
        <source>%1 is attached but you may not open %2: install the program&apos;s udev rule (it comes with the package) and plug the panel in again; without a desktop session (a service, SSH) the user must be in the plugdev group.</source>
        <translation>%1 ist angeschlossen, aber Sie dürfen %2 nicht öffnen: installieren Sie die udev-Regel des Programms (sie kommt mit dem Paket) und stecken Sie das Panel neu ein; ohne Desktop-Sitzung (ein Dienst, SSH) muss der Benutzer in der Gruppe plugdev sein.</translation>
    </message>
    <message>
        <source>%1 is attached but another program has it open; close it there.</source>
        <translation>%1 ist angeschlossen, aber ein anderes Programm hat es geöffnet; schließen Sie es dort.</translation>
    </message>
    <message>
        <source>%1 is attached and free.</source>
        <translation>%1 ist angeschlossen und frei.</translation>
    </message>
    <message>
        <source>No QUVO-8261 panel attached.</source>
        <translation>Kein QUVO-8261-Panel angeschlossen.</translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <source>QUVO USB driver used by another application</source>
        <translation>Der QUVO-USB-Treiber wird von einer anderen Anwendung benutzt</translation>
    </message>
    <message>
        <source>Cannot run program</source>
        <translation>Programm kann nicht starten</translation>
    </message>
    <message>
        <source>Confirm</source>
        <translation>Bestätigen</translation>
    </message>
    <message>
        <source>Load</source>
        <translation>Laden</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>Speichern</translation>
    </message>
    <message>
        <source>GPIO/GPI Settings</source>
        <translation>GPIO/GPI-Einstellungen</translation>
    </message>
    <message>
        <source>Compare with File</source>
        <translation>Mit Datei vergleichen</translation>
    </message>
    <message>
        <source>The panel and %1:</source>
        <translation>Das Panel und %1:</translation>
    </message>
    <message>
        <source>Differences</source>
        <translation>Unterschiede</translation>
    </message>
    <message>
        <source>No differences.</source>
        <translation>Keine Unterschiede.</translation>
    </message>
    <message>
        <source>Load File</source>
        <translation>Datei laden</translation>
    </message>
    <message>
        <source>Save report</source>
        <translation>Bericht speichern</translation>
    </message>
    <message>
        <source>Text files</source>
        <translation>Textdateien</translation>
    </message>
    <message>
        <source>Only one settings file can be opened: %1</source>
        <translation>Es kann nur eine Einstellungsdatei geöffnet werden: %1</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Fehler</translation>
    </message>
</context>
<context>
    <name>RegularFile</name>
    <message>
        <source>Cannot read file %1: %2</source>
        <translation>Datei %1 kann nicht gelesen werden: %2</translation>
    </message>
    <message>
        <source>Cannot write file %1: %2</source>
        <translation>Datei %1 kann nicht geschrieben werden: %2</translation>
    </message>
    <message>
        <source>the current folder cannot be found</source>
        <translation>der aktuelle Ordner ist nicht zu finden</translation>
    </message>
    <message>
        <source>the folder does not exist</source>
        <translation>der Ordner existiert nicht</translation>
    </message>
    <message>
        <source>it is not a regular file</source>
        <translation>sie ist keine gewöhnliche Datei</translation>
    </message>
    <message>
        <source>the file does not exist</source>
        <translation>die Datei existiert nicht</translation>
    </message>
    <message>
        <source>it is a link to a file of another user</source>
        <translation>sie ist ein Verweis auf eine Datei eines anderen Benutzers</translation>
    </message>
</context>
<context>
    <name>SettingsFiles</name>
    <message>
        <source>%1 is not a settings file: it holds binary data.</source>
        <translation>%1 ist keine Einstellungsdatei: sie enthält Binärdaten.</translation>
    </message>
    <message>
        <source>%1 is not a settings file: it holds none of its keys.</source>
        <translation>%1 ist keine Einstellungsdatei: sie enthält keinen ihrer Schlüssel.</translation>
    </message>
</context>
<context>
    <name>SpokenTexts</name>
    <message>
        <source>green</source>
        <translation>grün</translation>
    </message>
    <message>
        <source>red</source>
        <translation>rot</translation>
    </message>
    <message>
        <source>blue</source>
        <translation>blau</translation>
    </message>
    <message>
        <source>lime</source>
        <translation>hellgrün</translation>
    </message>
    <message>
        <source>pink</source>
        <translation>rosa</translation>
    </message>
    <message>
        <source>cyan</source>
        <translation>türkis</translation>
    </message>
    <message>
        <source>yellow</source>
        <translation>gelb</translation>
    </message>
    <message>
        <source>orange</source>
        <translation>orange</translation>
    </message>
    <message>
        <source>violet</source>
        <translation>violett</translation>
    </message>
    <message>
        <source>white</source>
        <translation>weiß</translation>
    </message>
    <message>
        <source>off</source>
        <translation>aus</translation>
    </message>
    <message>
        <source>custom colour %1</source>
        <translation>eigene Farbe %1</translation>
    </message>
    <message>
        <source>Channel %1 colour, %2: off</source>
        <translation>Kanal %1 Farbe, %2: aus</translation>
    </message>
    <message>
        <source>Channel %1 colour, %2: %3, %4 %</source>
        <translation>Kanal %1 Farbe, %2: %3, %4 %</translation>
    </message>
    <message>
        <source>Channel %1 GPIO output, %2</source>
        <translation>Kanal %1 GPIO-Ausgang, %2</translation>
    </message>
    <message>
        <source>Channel %1 GPI input</source>
        <translation>Kanal %1 GPI-Eingang</translation>
    </message>
    <message>
        <source>Channel %1 GPIO output</source>
        <translation>Kanal %1 GPIO-Ausgang</translation>
    </message>
    <message>
        <source>on</source>
        <translation>an</translation>
    </message>
    <message>
        <source>Slot %1: enabled</source>
        <translation>Speicherplatz %1: aktiv</translation>
    </message>
    <message>
        <source>Slot %1: disabled</source>
        <translation>Speicherplatz %1: inaktiv</translation>
    </message>
    <message>
        <source>Slot %1, channel %2: member</source>
        <translation>Speicherplatz %1, Kanal %2: Mitglied</translation>
    </message>
    <message>
        <source>Slot %1, channel %2: not a member</source>
        <translation>Speicherplatz %1, Kanal %2: kein Mitglied</translation>
    </message>
</context>
<context>
    <name>StripMenus</name>
    <message>
        <source>Min</source>
        <translation>Min</translation>
    </message>
    <message>
        <source>None</source>
        <translation>Keine</translation>
    </message>
    <message>
        <source>copy Color -&gt; All</source>
        <translation>Farbe kopieren -&gt; Alle</translation>
    </message>
    <message>
        <source>copy Color -&gt; Same Group</source>
        <translation>Farbe kopieren -&gt; Gleiche Gruppe</translation>
    </message>
    <message>
        <source>serialize Colors -&gt; All</source>
        <translation>Alle vier Farben kopieren -&gt; Alle</translation>
    </message>
    <message>
        <source>serialize Colors -&gt; Same Group</source>
        <translation>Alle vier Farben kopieren -&gt; Gleiche Gruppe</translation>
    </message>
    <message>
        <source>All</source>
        <translation>Alle</translation>
    </message>
    <message>
        <source>Same Group</source>
        <translation>Gleiche Gruppe</translation>
    </message>
    <message>
        <source>set %1 mode -&gt; All</source>
        <translation>Modus %1 setzen -&gt; Alle</translation>
    </message>
    <message>
        <source>set %1 mode -&gt; Same Group</source>
        <translation>Modus %1 setzen -&gt; Gleiche Gruppe</translation>
    </message>
    <message>
        <source>set Duration = %1 sec. -&gt; All</source>
        <translation>Dauer = %1 s setzen -&gt; Alle</translation>
    </message>
    <message>
        <source>set Duration = %1 sec. -&gt; Same Group</source>
        <translation>Dauer = %1 s setzen -&gt; Gleiche Gruppe</translation>
    </message>
    <message>
        <source>Custom</source>
        <translation>Eigene</translation>
    </message>
    <message>
        <source>OFF</source>
        <translation>AUS</translation>
    </message>
</context>
<context>
    <name>TFormEdit</name>
    <message>
        <source>%1: panel %2, file %3</source>
        <translation>%1: Panel %2, Datei %3</translation>
    </message>
    <message>
        <source>Load from File</source>
        <translation>Aus Datei laden</translation>
    </message>
    <message>
        <source>Restore the configuration from before the test?</source>
        <translation>Die Konfiguration von vor dem Test wiederherstellen?</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Fehler</translation>
    </message>
    <message>
        <source>Load Default values?</source>
        <translation>Standardwerte laden?</translation>
    </message>
    <message>
        <source>Load Default values</source>
        <translation>Standardwerte laden</translation>
    </message>
    <message>
        <source>Load Factory settings?</source>
        <translation>Werkseinstellungen laden?</translation>
    </message>
    <message>
        <source>Load Factory Settings</source>
        <translation>Werkseinstellungen laden</translation>
    </message>
    <message>
        <source>Overwrite Default values?</source>
        <translation>Standardwerte überschreiben?</translation>
    </message>
    <message>
        <source>The link to this panel ended during the panel test. Restore the configuration from before the test?</source>
        <translation>Die Verbindung zu diesem Panel endete während des Panel-Tests. Die Konfiguration von vor dem Test wiederherstellen?</translation>
    </message>
</context>
<context>
    <name>TFormMain</name>
    <message>
        <source>Panels</source>
        <translation>Panels</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>S/N</source>
        <translation>S/N</translation>
    </message>
    <message>
        <source>The program goes on with its defaults.</source>
        <translation>Das Programm arbeitet mit seinen Standardwerten weiter.</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Fehler</translation>
    </message>
    <message>
        <source>Cannot get USB Device List</source>
        <translation>USB-Geräteliste nicht verfügbar</translation>
    </message>
    <message>
        <source>Save report...</source>
        <translation>Bericht speichern...</translation>
    </message>
    <message>
        <source>Save report</source>
        <translation>Bericht speichern</translation>
    </message>
    <message>
        <source>Saves a plain-text report of the USB devices, the driver and the permissions, to attach to a question about a panel that is not listed</source>
        <translation>Speichert einen Textbericht über die USB-Geräte, den Treiber und die Berechtigungen, den Sie einer Frage zu einem nicht aufgeführten Panel beifügen können</translation>
    </message>
</context>
<context>
    <name>ToolTexts</name>
    <message>
        <source>%1 FTDI device(s) are in use by another program, perhaps the QUVO-8261 Settings window.</source>
        <translation>%1 FTDI-Gerät(e) werden von einem anderen Programm benutzt, vielleicht vom Fenster QUVO-8261 Einstellungen.</translation>
    </message>
    <message>
        <source>No usable QUVO-8261 panel attached.</source>
        <translation>Kein nutzbares QUVO-8261-Panel angeschlossen.</translation>
    </message>
    <message>
        <source>No usable panel with serial number %1.</source>
        <translation>Kein nutzbares Panel mit der Seriennummer %1.</translation>
    </message>
    <message>
        <source>the panel stores something else</source>
        <translation>das Panel speichert etwas anderes</translation>
    </message>
    <message>
        <source>unchanged</source>
        <translation>unverändert</translation>
    </message>
    <message>
        <source>differs from its profile</source>
        <translation>weicht von seinem Profil ab</translation>
    </message>
    <message>
        <source>applied</source>
        <translation>angewendet</translation>
    </message>
    <message>
        <source>sent and verified</source>
        <translation>gesendet und geprüft</translation>
    </message>
    <message>
        <source>sent</source>
        <translation>gesendet</translation>
    </message>
    <message>
        <source>no profile</source>
        <translation>kein Profil</translation>
    </message>
    <message>
        <source>report written to %1</source>
        <translation>Bericht geschrieben nach %1</translation>
    </message>
    <message>
        <source>channel %1 pressed</source>
        <translation>Kanal %1 gedrückt</translation>
    </message>
    <message>
        <source>channel %1 released</source>
        <translation>Kanal %1 losgelassen</translation>
    </message>
    <message>
        <source>not done: interrupted</source>
        <translation>nicht ausgeführt: unterbrochen</translation>
    </message>
    <message>
        <source>%1 (sent %2, read back %3)</source>
        <translation>%1 (gesendet %2, zurückgelesen %3)</translation>
    </message>
    <message>
        <source>all GPIO outputs off</source>
        <translation>alle GPIO-Ausgänge aus</translation>
    </message>
    <message>
        <source>exported to %1</source>
        <translation>exportiert nach %1</translation>
    </message>
</context>
<context>
    <name>UnitProcs</name>
    <message>
        <source>min</source>
        <translation>min</translation>
    </message>
    <message>
        <source>none</source>
        <translation>keine</translation>
    </message>
</context>
<context>
    <name>VirtualPanelsWindow</name>
    <message>
        <source>Virtual panels</source>
        <translation>Virtuelle Panels</translation>
    </message>
    <message>
        <source>%1 key %2</source>
        <translation>%1 Taste %2</translation>
    </message>
    <message>
        <source>%1 GPIO output %2</source>
        <translation>%1 GPIO-Ausgang %2</translation>
    </message>
    <message>
        <source>%1 GPI input %2</source>
        <translation>%1 GPI-Eingang %2</translation>
    </message>
    <message>
        <source>%1 key F%2</source>
        <translation>%1 Taste F%2</translation>
    </message>
    <message>
        <source>Locked</source>
        <translation>Gesperrt</translation>
    </message>
    <message>
        <source>%1 key lock turned</source>
        <translation>%1 Tastensperre gedreht</translation>
    </message>
    <message>
        <source>Plugged in</source>
        <translation>Eingesteckt</translation>
    </message>
    <message>
        <source>%1 plugged in</source>
        <translation>%1 eingesteckt</translation>
    </message>
</context>
</TS>

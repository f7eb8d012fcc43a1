<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr_FR">
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
        <translation>s. o.</translation>
    </message>
    <message>
        <source>Free</source>
        <translation>Libre</translation>
    </message>
    <message>
        <source>Fixed</source>
        <translation>Fixe</translation>
    </message>
    <message>
        <source>Pulse</source>
        <translation>Impulsion</translation>
    </message>
    <message>
        <source>Free: the GPIO output follows the button while it is held</source>
        <translation>Libre : la sortie GPIO suit la touche tant qu’elle est enfoncée</translation>
    </message>
    <message>
        <source>Fixed: each press switches the GPIO output on or off</source>
        <translation>Fixe : chaque appui allume ou éteint la sortie GPIO</translation>
    </message>
    <message>
        <source>Pulse: each press switches the GPIO output on for the pulse duration</source>
        <translation>Impulsion : chaque appui allume la sortie GPIO pour la durée d&apos;impulsion</translation>
    </message>
    <message>
        <source>Channel %1 mode: %2</source>
        <translation>Canal %1 mode : %2</translation>
    </message>
    <message>
        <source>Channel %1 group</source>
        <translation>Canal %1 groupe</translation>
    </message>
    <message>
        <source>The channel&apos;s group: copying to the same group reaches the channels that share it</source>
        <translation>Le groupe du canal : copier au même groupe atteint les canaux qui le partagent</translation>
    </message>
    <message>
        <source>Channel %1 pulse duration in seconds</source>
        <translation>Canal %1 durée d&apos;impulsion en secondes</translation>
    </message>
    <message>
        <source>Pulse duration in seconds, in Pulse mode</source>
        <translation>Durée d&apos;impulsion en secondes, en mode Impulsion</translation>
    </message>
    <message>
        <source>Off</source>
        <translation>Éteint</translation>
    </message>
</context>
<context>
    <name>CommandColumn</name>
    <message>
        <source>Close</source>
        <translation>Fermer</translation>
    </message>
    <message>
        <source>GPIO<byte value="xd"/>
Switch off</source>
        <translation>GPIO<byte value="xd"/>
Éteindre</translation>
    </message>
    <message>
        <source>Load...</source>
        <translation>Charger...</translation>
    </message>
    <message>
        <source>Save...</source>
        <translation>Enregistrer...</translation>
    </message>
    <message>
        <source>TEST</source>
        <translation>TEST</translation>
    </message>
    <message>
        <source>MEMORY</source>
        <translation>MÉMOIRE</translation>
    </message>
    <message>
        <source>Close the editor (Ctrl+W)</source>
        <translation>Fermer l&apos;éditeur (Ctrl+W)</translation>
    </message>
    <message>
        <source>Switch every GPIO output of the panel off</source>
        <translation>Éteindre toutes les sorties GPIO du panneau</translation>
    </message>
    <message>
        <source>Load a configuration onto the panel (Ctrl+O: from a file)</source>
        <translation>Charger une configuration dans le panneau (Ctrl+O : depuis un fichier)</translation>
    </message>
    <message>
        <source>Save the panel&apos;s configuration (Ctrl+S: to a file)</source>
        <translation>Enregistrer la configuration du panneau (Ctrl+S : dans un fichier)</translation>
    </message>
    <message>
        <source>Run every light of the panel through its colours</source>
        <translation>Faire passer chaque voyant du panneau par ses couleurs</translation>
    </message>
    <message>
        <source>Show or hide the memory map</source>
        <translation>Afficher ou masquer la table de mémoire</translation>
    </message>
    <message>
        <source>from File...</source>
        <translation>depuis un fichier...</translation>
    </message>
    <message>
        <source>Default values</source>
        <translation>Valeurs par défaut</translation>
    </message>
    <message>
        <source>Factory Settings</source>
        <translation>Réglages d&apos;usine</translation>
    </message>
    <message>
        <source>Compare with File...</source>
        <translation>Comparer avec un fichier...</translation>
    </message>
    <message>
        <source>Undo</source>
        <translation>Annuler</translation>
    </message>
    <message>
        <source>Redo</source>
        <translation>Rétablir</translation>
    </message>
    <message>
        <source>Revert to the configuration read at open</source>
        <translation>Revenir à la configuration lue à l&apos;ouverture</translation>
    </message>
    <message>
        <source>to File...</source>
        <translation>dans un fichier...</translation>
    </message>
    <message>
        <source>as Default</source>
        <translation>comme valeurs par défaut</translation>
    </message>
    <message>
        <source>Undo %1</source>
        <translation>Annuler : %1</translation>
    </message>
    <message>
        <source>Redo %1</source>
        <translation>Rétablir : %1</translation>
    </message>
    <message>
        <source>STOP</source>
        <translation>ARRÊT</translation>
    </message>
    <message>
        <source>HIDE</source>
        <translation>MASQUER</translation>
    </message>
</context>
<context>
    <name>ComparedValues</name>
    <message>
        <source>%1: the file&apos;s %2 is out of range</source>
        <translation>%1 : la valeur %2 du fichier est hors limites</translation>
    </message>
    <message>
        <source>%1 (out of range)</source>
        <translation>%1 (hors limites)</translation>
    </message>
</context>
<context>
    <name>ControlPanel</name>
    <message>
        <source>Control</source>
        <translation>Commande</translation>
    </message>
    <message>
        <source>F%1 key function</source>
        <translation>Fonction de la touche F%1</translation>
    </message>
    <message>
        <source>What the panel&apos;s F%1 key does; click to choose</source>
        <translation>Ce que fait la touche F%1 du panneau ; cliquer pour choisir</translation>
    </message>
    <message>
        <source>Options</source>
        <translation>Options</translation>
    </message>
    <message>
        <source>Restore GPIO state
on Power up</source>
        <translation>Rétablir l&apos;état GPIO
à la mise sous tension</translation>
    </message>
    <message>
        <source>Restore GPIO state on Power up</source>
        <translation>Rétablir l&apos;état GPIO à la mise sous tension</translation>
    </message>
    <message>
        <source>The panel sets its GPIO outputs as they were when it is powered up</source>
        <translation>À la mise sous tension, le panneau rétablit l&apos;état de ses sorties GPIO</translation>
    </message>
    <message>
        <source>None</source>
        <translation>Aucune</translation>
    </message>
    <message>
        <source>UnLock</source>
        <translation>Déverrouiller</translation>
    </message>
    <message>
        <source>GPIO<byte value="xd"/>
 OFF</source>
        <translation>GPIO<byte value="xd"/>
 ÉTEINT</translation>
    </message>
    <message>
        <source>MEM</source>
        <translation>MEM</translation>
    </message>
    <message>
        <source>F%1 key function: %2</source>
        <translation>Fonction de la touche F%1 : %2</translation>
    </message>
    <message>
        <source>pressed</source>
        <translation>appuyée</translation>
    </message>
    <message>
        <source>released</source>
        <translation>relâchée</translation>
    </message>
</context>
<context>
    <name>EditorLook</name>
    <message>
        <source>No signals</source>
        <translation>Aucun signal</translation>
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
        <translation>Revenir à la configuration lue à l&apos;ouverture</translation>
    </message>
    <message>
        <source>Configuration from before the panel test</source>
        <translation>Configuration d&apos;avant le test du panneau</translation>
    </message>
    <message>
        <source>Mode of channel %1</source>
        <translation>Mode du canal %1</translation>
    </message>
    <message>
        <source>Mode to the same group</source>
        <translation>Mode au même groupe</translation>
    </message>
    <message>
        <source>Mode to all channels</source>
        <translation>Mode à tous les canaux</translation>
    </message>
    <message>
        <source>Group of channel %1</source>
        <translation>Groupe du canal %1</translation>
    </message>
    <message>
        <source>Duration of channel %1</source>
        <translation>Durée du canal %1</translation>
    </message>
    <message>
        <source>Duration to the same group</source>
        <translation>Durée au même groupe</translation>
    </message>
    <message>
        <source>Duration to all channels</source>
        <translation>Durée à tous les canaux</translation>
    </message>
    <message>
        <source>Colour of channel %1</source>
        <translation>Couleur du canal %1</translation>
    </message>
    <message>
        <source>Brightness</source>
        <translation>Luminosité</translation>
    </message>
    <message>
        <source>Copy colours</source>
        <translation>Copier les couleurs</translation>
    </message>
    <message>
        <source>Memory map</source>
        <translation>Table de mémoire</translation>
    </message>
    <message>
        <source>F%1 function</source>
        <translation>Fonction F%1</translation>
    </message>
    <message>
        <source>Restore GPIO state on Power up</source>
        <translation>Rétablir l&apos;état GPIO à la mise sous tension</translation>
    </message>
    <message>
        <source>Keylock installed</source>
        <translation>Verrouillage installé</translation>
    </message>
    <message>
        <source>Panel test</source>
        <translation>Test du panneau</translation>
    </message>
    <message>
        <source>Nothing to undo</source>
        <translation>Rien à annuler</translation>
    </message>
    <message>
        <source>Nothing to redo</source>
        <translation>Rien à rétablir</translation>
    </message>
    <message>
        <source>The panel holds the configuration read at open</source>
        <translation>Le panneau a la configuration lue à l&apos;ouverture</translation>
    </message>
    <message>
        <source>No panel test to restore from</source>
        <translation>Aucun test du panneau à partir duquel restaurer</translation>
    </message>
    <message>
        <source>The memory map is hidden</source>
        <translation>La table de mémoire est masquée</translation>
    </message>
    <message>
        <source>No GPIO output is held</source>
        <translation>Aucune sortie GPIO n&apos;est maintenue</translation>
    </message>
    <message>
        <source>Waits for the panel to read back the last change</source>
        <translation>Attend que le panneau ait relu la dernière modification</translation>
    </message>
</context>
<context>
    <name>EditorModes</name>
    <message>
        <source>No panel is open</source>
        <translation>Aucun panneau n&apos;est ouvert</translation>
    </message>
    <message>
        <source>The panel&apos;s configuration is being read</source>
        <translation>La configuration du panneau est en cours de lecture</translation>
    </message>
    <message>
        <source>Not while the panel test runs</source>
        <translation>Impossible pendant le test du panneau</translation>
    </message>
    <message>
        <source>The editor is closing</source>
        <translation>L&apos;éditeur se ferme</translation>
    </message>
    <message>
        <source>No panel test runs</source>
        <translation>Aucun test du panneau en cours</translation>
    </message>
    <message>
        <source>The editor closes once the panel has what was sent</source>
        <translation>L&apos;éditeur se ferme dès que le panneau a reçu ce qui a été envoyé</translation>
    </message>
</context>
<context>
    <name>IniFile</name>
    <message>
        <source>%1 is larger than 1 MiB and is no settings file of this program</source>
        <translation>%1 dépasse 1 Mio et n&apos;est pas un fichier de réglages de ce programme</translation>
    </message>
</context>
<context>
    <name>LegendColumn</name>
    <message>
        <source>Channel numbers</source>
        <translation>Numéros des canaux</translation>
    </message>
    <message>
        <source>Online Control </source>
        <translation>Contrôle en ligne </translation>
    </message>
    <message>
        <source>Keylock installed</source>
        <translation>Verrouillage installé</translation>
    </message>
    <message>
        <source>The panel has a key lock: its state shows below</source>
        <translation>Le panneau a un verrouillage des touches : son état est affiché dessous</translation>
    </message>
    <message>
        <source>UNLOCKED</source>
        <translation>DÉVERROUILLÉ</translation>
    </message>
    <message>
        <source>Key lock</source>
        <translation>Verrouillage des touches</translation>
    </message>
    <message>
        <source>Group</source>
        <translation>Groupe</translation>
    </message>
    <message>
        <source>GPIO</source>
        <translation>GPIO</translation>
    </message>
    <message>
        <source>Mode</source>
        <translation>Mode</translation>
    </message>
    <message>
        <source>Duration<byte value="xd"/>
(sec.)</source>
        <translation>Durée<byte value="xd"/>
(s)</translation>
    </message>
    <message>
        <source>Colors </source>
        <translation>Couleurs </translation>
    </message>
    <message>
        <source>Brightness of this signal state on every channel; click to choose</source>
        <translation>Luminosité de cet état du signal sur tous les canaux ; cliquer pour choisir</translation>
    </message>
    <message>
        <source>Brightness of %1</source>
        <translation>Luminosité de %1</translation>
    </message>
    <message>
        <source>LOCKED</source>
        <translation>VERROUILLÉ</translation>
    </message>
    <message>
        <source>locked</source>
        <translation>verrouillé</translation>
    </message>
    <message>
        <source>unlocked</source>
        <translation>déverrouillé</translation>
    </message>
    <message>
        <source>%1<byte value="xd"/>
Br: %2</source>
        <translation>%1<byte value="xd"/>
Lum : %2</translation>
    </message>
    <message>
        <source>Brightness of %1: %2</source>
        <translation>Luminosité de %1 : %2</translation>
    </message>
</context>
<context>
    <name>LinkFailure</name>
    <message>
        <source>USB Connection Failed</source>
        <translation>Échec de la connexion USB</translation>
    </message>
    <message>
        <source>write error</source>
        <translation>erreur d&apos;écriture</translation>
    </message>
    <message>
        <source>read error</source>
        <translation>erreur de lecture</translation>
    </message>
    <message>
        <source>Invalid Device ID</source>
        <translation>ID d&apos;appareil non valide</translation>
    </message>
    <message>
        <source>Device Error</source>
        <translation>Erreur de l&apos;appareil</translation>
    </message>
    <message>
        <source>error code</source>
        <translation>code d&apos;erreur</translation>
    </message>
    <message>
        <source>Invalid Device EID</source>
        <translation>EID d&apos;appareil non valide</translation>
    </message>
    <message>
        <source>command code</source>
        <translation>code de commande</translation>
    </message>
</context>
<context>
    <name>MemoryMapView</name>
    <message>
        <source>Memory</source>
        <translation>Mémoire</translation>
    </message>
    <message>
        <source>Memory map</source>
        <translation>Table de mémoire</translation>
    </message>
    <message>
        <source>Slots and their member channels: the arrow keys move, Space toggles</source>
        <translation>Emplacements et leurs canaux membres : les flèches déplacent, Espace bascule</translation>
    </message>
    <message>
        <source>Slot %1</source>
        <translation>Emplacement %1</translation>
    </message>
</context>
<context>
    <name>PanelDiagnosis</name>
    <message>
        <source>%1 is attached but the kernel&apos;s serial driver holds it: start the program with --driver=libftdi, which takes the chip over, or unload the driver with &quot;sudo rmmod ftdi_sio&quot; for FTDI&apos;s D2XX library.</source>
        <translation>%1 est branché mais le pilote série du noyau le tient : lancez le programme avec --driver=libftdi, qui prend la puce en charge, ou déchargez le pilote avec &quot;sudo rmmod ftdi_sio&quot; pour la bibliothèque D2XX de FTDI.</translation>
    </message>
    <message>
        <source>%1 is attached but you may not open %2: install the program&apos;s udev rule (it comes with the package) and plug the panel in again; without a desktop session (a service, SSH) the user must be in the plugdev group.</source>
        <translation>%1 est branché mais vous ne pouvez pas ouvrir %2 : installez la règle udev du programme (fournie avec le paquet) et rebranchez le panneau ; sans session de bureau (un service, SSH), l&apos;utilisateur doit être dans le groupe plugdev.</translation>
    </message>
    <message>
        <source>%1 is attached but another program has it open; close it there.</source>
        <translation>%1 est branché mais un autre programme l&apos;a ouvert ; fermez-le là-bas.</translation>
    </message>
    <message>
        <source>%1 is attached and free.</source>
        <translation>%1 est branché et libre.</translation>
    </message>
    <message>
        <source>No QUVO-8261 panel attached.</source>
        <translation>Aucun panneau QUVO-8261 branché.</translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <source>Only one settings file can be opened: %1</source>
        <translation>Un seul fichier de réglages peut être ouvert : %1</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Erreur</translation>
    </message>
    <message>
        <source>QUVO USB driver used by another application</source>
        <translation>Le pilote USB QUVO est utilisé par une autre application</translation>
    </message>
    <message>
        <source>Cannot run program</source>
        <translation>Impossible de lancer le programme</translation>
    </message>
    <message>
        <source>Confirm</source>
        <translation>Confirmer</translation>
    </message>
    <message>
        <source>Save report</source>
        <translation>Enregistrer le rapport</translation>
    </message>
    <message>
        <source>Text files</source>
        <translation>Fichiers texte</translation>
    </message>
    <message>
        <source>Load</source>
        <translation>Charger</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>Enregistrer</translation>
    </message>
    <message>
        <source>GPIO/GPI Settings</source>
        <translation>Réglages GPIO/GPI</translation>
    </message>
    <message>
        <source>Compare with File</source>
        <translation>Comparer avec un fichier</translation>
    </message>
    <message>
        <source>The panel and %1:</source>
        <translation>Le panneau et %1 :</translation>
    </message>
    <message>
        <source>Differences</source>
        <translation>Différences</translation>
    </message>
    <message>
        <source>No differences.</source>
        <translation>Aucune différence.</translation>
    </message>
    <message>
        <source>Load File</source>
        <translation>Charger le fichier</translation>
    </message>
</context>
<context>
    <name>RegularFile</name>
    <message>
        <source>Cannot read file %1: %2</source>
        <translation>Impossible de lire le fichier %1 : %2</translation>
    </message>
    <message>
        <source>Cannot write file %1: %2</source>
        <translation>Impossible d&apos;écrire le fichier %1 : %2</translation>
    </message>
    <message>
        <source>the current folder cannot be found</source>
        <translation>le dossier courant est introuvable</translation>
    </message>
    <message>
        <source>the folder does not exist</source>
        <translation>le dossier n&apos;existe pas</translation>
    </message>
    <message>
        <source>it is not a regular file</source>
        <translation>ce n&apos;est pas un fichier ordinaire</translation>
    </message>
    <message>
        <source>it is a link to a file of another user</source>
        <translation>c&apos;est un lien vers un fichier d&apos;un autre utilisateur</translation>
    </message>
    <message>
        <source>the file does not exist</source>
        <translation>le fichier n&apos;existe pas</translation>
    </message>
</context>
<context>
    <name>SettingsFiles</name>
    <message>
        <source>%1 is not a settings file: it holds binary data.</source>
        <translation>%1 n&apos;est pas un fichier de réglages : il contient des données binaires.</translation>
    </message>
    <message>
        <source>%1 is not a settings file: it holds none of its keys.</source>
        <translation>%1 n&apos;est pas un fichier de réglages : il ne contient aucune de ses clés.</translation>
    </message>
</context>
<context>
    <name>SpokenTexts</name>
    <message>
        <source>green</source>
        <translation>vert</translation>
    </message>
    <message>
        <source>red</source>
        <translation>rouge</translation>
    </message>
    <message>
        <source>blue</source>
        <translation>bleu</translation>
    </message>
    <message>
        <source>lime</source>
        <translation>vert clair</translation>
    </message>
    <message>
        <source>pink</source>
        <translation>rose</translation>
    </message>
    <message>
        <source>cyan</source>
        <translation>cyan</translation>
    </message>
    <message>
        <source>yellow</source>
        <translation>jaune</translation>
    </message>
    <message>
        <source>orange</source>
        <translation>orange</translation>
    </message>
    <message>
        <source>violet</source>
        <translation>violet</translation>
    </message>
    <message>
        <source>white</source>
        <translation>blanc</translation>
    </message>
    <message>
        <source>off</source>
        <translation>éteint</translation>
    </message>
    <message>
        <source>custom colour %1</source>
        <translation>couleur personnalisée %1</translation>
    </message>
    <message>
        <source>Channel %1 colour, %2: off</source>
        <translation>Canal %1 couleur, %2 : éteint</translation>
    </message>
    <message>
        <source>Channel %1 colour, %2: %3, %4 %</source>
        <translation>Canal %1 couleur, %2 : %3, %4 %</translation>
    </message>
    <message>
        <source>Channel %1 GPIO output, %2</source>
        <translation>Canal %1 sortie GPIO, %2</translation>
    </message>
    <message>
        <source>Channel %1 GPI input</source>
        <translation>Canal %1 entrée GPI</translation>
    </message>
    <message>
        <source>Channel %1 GPIO output</source>
        <translation>Canal %1 sortie GPIO</translation>
    </message>
    <message>
        <source>on</source>
        <translation>allumé</translation>
    </message>
    <message>
        <source>Slot %1: enabled</source>
        <translation>Emplacement %1 : actif</translation>
    </message>
    <message>
        <source>Slot %1: disabled</source>
        <translation>Emplacement %1 : inactif</translation>
    </message>
    <message>
        <source>Slot %1, channel %2: member</source>
        <translation>Emplacement %1, canal %2 : membre</translation>
    </message>
    <message>
        <source>Slot %1, channel %2: not a member</source>
        <translation>Emplacement %1, canal %2 : non membre</translation>
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
        <translation>Aucune</translation>
    </message>
    <message>
        <source>copy Color -&gt; All</source>
        <translation>copier la couleur -&gt; Tous</translation>
    </message>
    <message>
        <source>copy Color -&gt; Same Group</source>
        <translation>copier la couleur -&gt; Même groupe</translation>
    </message>
    <message>
        <source>serialize Colors -&gt; All</source>
        <translation>copier les quatre couleurs -&gt; Tous</translation>
    </message>
    <message>
        <source>serialize Colors -&gt; Same Group</source>
        <translation>copier les quatre couleurs -&gt; Même groupe</translation>
    </message>
    <message>
        <source>All</source>
        <translation>Tous</translation>
    </message>
    <message>
        <source>Same Group</source>
        <translation>Même groupe</translation>
    </message>
    <message>
        <source>set %1 mode -&gt; All</source>
        <translation>mode %1 -&gt; Tous</translation>
    </message>
    <message>
        <source>set %1 mode -&gt; Same Group</source>
        <translation>mode %1 -&gt; Même groupe</translation>
    </message>
    <message>
        <source>set Duration = %1 sec. -&gt; All</source>
        <translation>Durée = %1 s -&gt; Tous</translation>
    </message>
    <message>
        <source>set Duration = %1 sec. -&gt; Same Group</source>
        <translation>Durée = %1 s -&gt; Même groupe</translation>
    </message>
    <message>
        <source>Custom</source>
        <translation>Personnalisée</translation>
    </message>
    <message>
        <source>OFF</source>
        <translation>ÉTEINT</translation>
    </message>
</context>
<context>
    <name>TFormEdit</name>
    <message>
        <source>%1: panel %2, file %3</source>
        <translation>%1 : panneau %2, fichier %3</translation>
    </message>
    <message>
        <source>Load from File</source>
        <translation>Charger depuis un fichier</translation>
    </message>
    <message>
        <source>Restore the configuration from before the test?</source>
        <translation>Rétablir la configuration d&apos;avant le test ?</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Erreur</translation>
    </message>
    <message>
        <source>Load Default values?</source>
        <translation>Charger les valeurs par défaut ?</translation>
    </message>
    <message>
        <source>Load Default values</source>
        <translation>Charger les valeurs par défaut</translation>
    </message>
    <message>
        <source>Load Factory settings?</source>
        <translation>Charger les réglages d&apos;usine ?</translation>
    </message>
    <message>
        <source>Load Factory Settings</source>
        <translation>Charger les réglages d&apos;usine</translation>
    </message>
    <message>
        <source>Overwrite Default values?</source>
        <translation>Remplacer les valeurs par défaut ?</translation>
    </message>
    <message>
        <source>The link to this panel ended during the panel test. Restore the configuration from before the test?</source>
        <translation>La liaison avec ce panneau s&apos;est interrompue pendant le test du panneau. Rétablir la configuration d&apos;avant le test ?</translation>
    </message>
</context>
<context>
    <name>TFormMain</name>
    <message>
        <source>Panels</source>
        <translation>Panneaux</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>Nom</translation>
    </message>
    <message>
        <source>S/N</source>
        <translation>N° de série</translation>
    </message>
    <message>
        <source>Save report...</source>
        <translation>Enregistrer un rapport...</translation>
    </message>
    <message>
        <source>Save report</source>
        <translation>Enregistrer un rapport</translation>
    </message>
    <message>
        <source>Saves a plain-text report of the USB devices, the driver and the permissions, to attach to a question about a panel that is not listed</source>
        <translation>Enregistre un rapport en texte brut sur les appareils USB, le pilote et les droits, à joindre à une question sur un panneau qui n&apos;est pas listé</translation>
    </message>
    <message>
        <source>The program goes on with its defaults.</source>
        <translation>Le programme continue avec ses valeurs par défaut.</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Erreur</translation>
    </message>
    <message>
        <source>Cannot get USB Device List</source>
        <translation>Impossible d&apos;obtenir la liste des appareils USB</translation>
    </message>
</context>
<context>
    <name>ToolTexts</name>
    <message>
        <source>%1 FTDI device(s) are in use by another program, perhaps the QUVO-8261 Settings window.</source>
        <translation>%1 appareil(s) FTDI sont utilisés par un autre programme, peut-être la fenêtre de Réglages QUVO-8261.</translation>
    </message>
    <message>
        <source>No usable QUVO-8261 panel attached.</source>
        <translation>Aucun panneau QUVO-8261 utilisable branché.</translation>
    </message>
    <message>
        <source>No usable panel with serial number %1.</source>
        <translation>Aucun panneau utilisable avec le numéro de série %1.</translation>
    </message>
    <message>
        <source>the panel stores something else</source>
        <translation>le panneau enregistre autre chose</translation>
    </message>
    <message>
        <source>unchanged</source>
        <translation>inchangé</translation>
    </message>
    <message>
        <source>differs from its profile</source>
        <translation>diffère de son profil</translation>
    </message>
    <message>
        <source>applied</source>
        <translation>appliqué</translation>
    </message>
    <message>
        <source>sent and verified</source>
        <translation>envoyé et vérifié</translation>
    </message>
    <message>
        <source>sent</source>
        <translation>envoyé</translation>
    </message>
    <message>
        <source>no profile</source>
        <translation>aucun profil</translation>
    </message>
    <message>
        <source>report written to %1</source>
        <translation>rapport écrit dans %1</translation>
    </message>
    <message>
        <source>channel %1 pressed</source>
        <translation>canal %1 appuyé</translation>
    </message>
    <message>
        <source>channel %1 released</source>
        <translation>canal %1 relâché</translation>
    </message>
    <message>
        <source>not done: interrupted</source>
        <translation>non fait : interrompu</translation>
    </message>
    <message>
        <source>%1 (sent %2, read back %3)</source>
        <translation>%1 (envoyé %2, relu %3)</translation>
    </message>
    <message>
        <source>all GPIO outputs off</source>
        <translation>toutes les sorties GPIO éteintes</translation>
    </message>
    <message>
        <source>exported to %1</source>
        <translation>exporté dans %1</translation>
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
        <translation>aucune</translation>
    </message>
</context>
<context>
    <name>VirtualPanelsWindow</name>
    <message>
        <source>Virtual panels</source>
        <translation>Panneaux virtuels</translation>
    </message>
    <message>
        <source>%1 key %2</source>
        <translation>%1 touche %2</translation>
    </message>
    <message>
        <source>%1 GPIO output %2</source>
        <translation>%1 sortie GPIO %2</translation>
    </message>
    <message>
        <source>%1 GPI input %2</source>
        <translation>%1 entrée GPI %2</translation>
    </message>
    <message>
        <source>%1 key F%2</source>
        <translation>%1 touche F%2</translation>
    </message>
    <message>
        <source>Locked</source>
        <translation>Verrouillé</translation>
    </message>
    <message>
        <source>%1 key lock turned</source>
        <translation>%1 verrouillage des touches tourné</translation>
    </message>
    <message>
        <source>Plugged in</source>
        <translation>Branché</translation>
    </message>
    <message>
        <source>%1 plugged in</source>
        <translation>%1 branché</translation>
    </message>
</context>
</TS>

<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>AtomicFile</name>
    <message>
        <source>it is a link to a file that does not exist</source>
        <translation>sie ist eine Verknüpfung auf eine Datei, die es nicht gibt</translation>
    </message>
    <message>
        <source>it is a link to something that is not a file</source>
        <translation>sie ist eine Verknüpfung auf etwas, das keine Datei ist</translation>
    </message>
    <message>
        <source>it is a link to a file of another user</source>
        <translation>sie ist eine Verknüpfung auf eine Datei eines anderen Benutzers</translation>
    </message>
    <message>
        <source>it belongs to another user or group</source>
        <translation>sie gehört einem anderen Benutzer oder einer anderen Gruppe</translation>
    </message>
    <message>
        <source>disk full</source>
        <translation>Datenträger voll</translation>
    </message>
    <message>
        <source>the disk is read-only</source>
        <translation>der Datenträger ist schreibgeschützt</translation>
    </message>
    <message>
        <source>permission denied</source>
        <translation>Zugriff verweigert</translation>
    </message>
    <message>
        <source>a folder has that name</source>
        <translation>ein Ordner hat diesen Namen</translation>
    </message>
    <message>
        <source>the folder is missing</source>
        <translation>der Ordner fehlt</translation>
    </message>
    <message>
        <source>the disk reported an error</source>
        <translation>der Datenträger meldete einen Fehler</translation>
    </message>
    <message>
        <source>it is not an ordinary file</source>
        <translation>sie ist keine gewöhnliche Datei</translation>
    </message>
    <message>
        <source>the file is read-only</source>
        <translation>die Datei ist schreibgeschützt</translation>
    </message>
    <message>
        <source>disk full (only %1 of %2 bytes were stored)</source>
        <translation>Datenträger voll (nur %1 von %2 Bytes wurden gespeichert)</translation>
    </message>
</context>
<context>
    <name>BoardAccess</name>
    <message>
        <source>Board</source>
        <translation>Spielfeld</translation>
    </message>
    <message>
        <source>%1 Time %2.</source>
        <translation>%1 Zeit %2.</translation>
    </message>
</context>
<context>
    <name>CardBacks</name>
    <message>
        <source>None</source>
        <translation>Keine</translation>
    </message>
</context>
<context>
    <name>CardNames</name>
    <message>
        <source>Card %1, row %2, column %3, face down</source>
        <translation>Karte %1, Reihe %2, Spalte %3, verdeckt</translation>
    </message>
    <message>
        <source>Card %1, row %2, column %3, %4, matched</source>
        <translation>Karte %1, Reihe %2, Spalte %3, %4, gefunden</translation>
    </message>
    <message>
        <source>Card %1, row %2, column %3, %4</source>
        <translation>Karte %1, Reihe %2, Spalte %3, %4</translation>
    </message>
    <message>
        <source>Score %1.</source>
        <translation>Punkte %1.</translation>
    </message>
    <message>
        <source>Match: %1. %2</source>
        <translation>Paar: %1. %2</translation>
    </message>
    <message>
        <source>No match. %1</source>
        <translation>Kein Paar. %1</translation>
    </message>
    <message>
        <source>Board complete. %1 Bonus %2. Total %3. Time %4.</source>
        <translation>Spielfeld gelöst. %1 Bonus %2. Gesamt %3. Zeit %4.</translation>
    </message>
</context>
<context>
    <name>DataLock</name>
    <message>
        <source>another copy of Tavimo is saving its files</source>
        <translation>ein anderes Tavimo speichert gerade seine Dateien</translation>
    </message>
</context>
<context>
    <name>Desktop</name>
    <message>
        <source>Tavimo</source>
        <translation>Tavimo</translation>
    </message>
    <message>
        <source>Memory Card Game</source>
        <translation>Memory-Kartenspiel</translation>
    </message>
    <message>
        <source>Turn the cards and find the pairs, with your own pictures</source>
        <translation>Karten umdrehen und Paare finden, mit eigenen Bildern</translation>
    </message>
    <message>
        <source>memory;pairs;concentration;cards;pictures;</source>
        <translation>Gedächtnis;Paare;Konzentration;Karten;Bilder;</translation>
    </message>
    <message>
        <source>Find the pairs among cards showing your own pictures</source>
        <translation>Finden Sie die Paare unter Karten mit Ihren eigenen Bildern</translation>
    </message>
    <message>
        <source>Tavimo is a memory card game. The cards are dealt face down; turn two at a time and find the pairs. Each board is timed, and the quickest players of the larger boards make it onto the high-score table.</source>
        <translation>Tavimo ist ein Gedächtnisspiel mit Karten. Die Karten liegen verdeckt; decken Sie jeweils zwei auf und finden Sie die Paare. Jedes Spielfeld läuft auf Zeit, und die schnellsten Spieler der größeren Spielfelder kommen in die Bestenliste.</translation>
    </message>
    <message>
        <source>Features:</source>
        <translation>Merkmale:</translation>
    </message>
    <message>
        <source>Boards of 4 to 40 pairs</source>
        <translation>Spielfelder mit 4 bis 40 Paaren</translation>
    </message>
    <message>
        <source>Card faces from the picture folders you choose: BMP, GIF, JPEG, icons and metafiles</source>
        <translation>Kartenbilder aus den Bilderordnern Ihrer Wahl: BMP, GIF, JPEG, Icons und Metadateien</translation>
    </message>
    <message>
        <source>Several card backs, sounds, and a pause key</source>
        <translation>Mehrere Kartenrückseiten, Klänge und eine Pausentaste</translation>
    </message>
    <message>
        <source>A picture viewer to look at a card&apos;s picture in full</source>
        <translation>Eine Bildansicht, die das Bild einer Karte ganz zeigt</translation>
    </message>
    <message>
        <source>A board of eight pairs in play</source>
        <translation>Ein Spielfeld mit acht Paaren im Spiel</translation>
    </message>
    <message>
        <source>Choosing the picture folders and the board size</source>
        <translation>Bilderordner und Spielfeldgröße wählen</translation>
    </message>
</context>
<context>
    <name>DirectoryList</name>
    <message>
        <source>Path not found</source>
        <translation>Pfad nicht gefunden</translation>
    </message>
    <message>
        <source>Device unavailable</source>
        <translation>Gerät nicht verfügbar</translation>
    </message>
    <message>
        <source>Path/File access error</source>
        <translation>Fehler beim Zugriff auf Pfad/Datei</translation>
    </message>
    <message>
        <source>File not found</source>
        <translation>Datei nicht gefunden</translation>
    </message>
    <message>
        <source>Invalid picture</source>
        <translation>Ungültiges Bild</translation>
    </message>
    <message>
        <source>a comma</source>
        <translation>ein Komma</translation>
    </message>
    <message>
        <source>bytes that are no UTF-8 text</source>
        <translation>Bytes, die kein UTF-8-Text sind</translation>
    </message>
    <message>
        <source>a tab or a line break</source>
        <translation>einen Tabulator oder Zeilenumbruch</translation>
    </message>
    <message numerus="yes">
        <source>a line is longer than %n bytes</source>
        <translation>
            <numerusform>eine Zeile ist länger als %n Byte</numerusform>
            <numerusform>eine Zeile ist länger als %n Bytes</numerusform>
        </translation>
    </message>
    <message>
        <source>it holds characters that are no text</source>
        <translation>sie enthält Zeichen, die kein Text sind</translation>
    </message>
    <message numerus="yes">
        <source>more than %n folders</source>
        <translation>
            <numerusform>mehr als %n Ordner</numerusform>
            <numerusform>mehr als %n Ordner</numerusform>
        </translation>
    </message>
    <message>
        <source>The folder list %1 is damaged (%2). It was kept as %3, and the Graphics folder is used instead.</source>
        <translation>Die Ordnerliste %1 ist beschädigt (%2). Sie wurde als %3 aufbewahrt, stattdessen wird der Ordner Graphics verwendet.</translation>
    </message>
    <message>
        <source>unknown error</source>
        <translation>unbekannter Fehler</translation>
    </message>
</context>
<context>
    <name>Form1</name>
    <message>
        <source>BOARD CONFIGURATION</source>
        <translation>SPIELFELD EINRICHTEN</translation>
    </message>
    <message>
        <source>BOARD SIZE: 2x</source>
        <translation>SPIELFELD: 2x</translation>
    </message>
    <message>
        <source>Aquire Additional</source>
        <translation>Weitere holen</translation>
    </message>
    <message>
        <source>File Types</source>
        <translation>Dateitypen</translation>
    </message>
    <message>
        <source>Photos</source>
        <translation>Fotos</translation>
    </message>
    <message>
        <source>PNG, WebP, TIFF, HEIC/HEIF, AVIF and JPEG XL</source>
        <translation>PNG, WebP, TIFF, HEIC/HEIF, AVIF und JPEG XL</translation>
    </message>
    <message>
        <source>All Graphics</source>
        <translation>Alle Bilder</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Drives:</source>
        <translation>Laufwerke:</translation>
    </message>
    <message>
        <source>Directories:</source>
        <translation>Ordner:</translation>
    </message>
    <message>
        <source>Type or paste a folder and press Enter to browse it</source>
        <translation>Ordner eintippen oder einfügen und mit der Eingabetaste öffnen</translation>
    </message>
    <message>
        <source>Files:</source>
        <translation>Dateien:</translation>
    </message>
    <message>
        <source>Add</source>
        <translation>Hinzufügen</translation>
    </message>
    <message>
        <source>Remove</source>
        <translation>Entfernen</translation>
    </message>
    <message>
        <source>DIRECTORIES INCLUDED</source>
        <translation>GEWÄHLTE ORDNER</translation>
    </message>
    <message>
        <source>Files Available: </source>
        <translation>Verfügbare Dateien: </translation>
    </message>
    <message>
        <source>View</source>
        <translation>Vorschau</translation>
    </message>
    <message>
        <source>Board size</source>
        <translation>Spielfeldgröße</translation>
    </message>
    <message>
        <source>Drives</source>
        <translation>Laufwerke</translation>
    </message>
    <message>
        <source>Folder</source>
        <translation>Ordner</translation>
    </message>
    <message>
        <source>Directories</source>
        <translation>Ordner</translation>
    </message>
    <message>
        <source>Files</source>
        <translation>Dateien</translation>
    </message>
    <message>
        <source>Directories included</source>
        <translation>Gewählte Ordner</translation>
    </message>
    <message>
        <source>Preview</source>
        <translation>Vorschau</translation>
    </message>
    <message>
        <source>Files: %1</source>
        <translation>Dateien: %1</translation>
    </message>
    <message>
        <source>not available now</source>
        <translation>zurzeit nicht verfügbar</translation>
    </message>
    <message>
        <source>Files Available: %1</source>
        <translation>Verfügbare Dateien: %1</translation>
    </message>
    <message>
        <source>%1 is a file, not a folder.</source>
        <translation>%1 ist eine Datei, kein Ordner.</translation>
    </message>
    <message>
        <source>There is no folder %1.</source>
        <translation>Es gibt keinen Ordner %1.</translation>
    </message>
    <message>
        <source>The folder %1 cannot be opened (%2).</source>
        <translation>Der Ordner %1 lässt sich nicht öffnen (%2).</translation>
    </message>
    <message>
        <source>Device Unavalable</source>
        <translation>Gerät nicht verfügbar</translation>
    </message>
    <message>
        <source>Retry</source>
        <translation>Erneut versuchen?</translation>
    </message>
    <message>
        <source>The folder %1 cannot be added: %2</source>
        <translation>Der Ordner %1 kann nicht hinzugefügt werden: %2</translation>
    </message>
    <message>
        <source>its name contains %1, which the folder list cannot store. Rename the folder or choose another one.</source>
        <translation>sein Name enthält %1, was die Ordnerliste nicht speichern kann. Benennen Sie den Ordner um oder wählen Sie einen anderen.</translation>
    </message>
    <message>
        <source>it cannot be read (%1).</source>
        <translation>er lässt sich nicht lesen (%1).</translation>
    </message>
    <message>
        <source>Not enough files available.  Minimum of 4 pictures required.  Try selecting more file types or selecting more directories.</source>
        <translation>Nicht genug Dateien verfügbar.  Mindestens 4 Bilder sind nötig.  Wählen Sie weitere Dateitypen oder weitere Ordner.</translation>
    </message>
    <message>
        <source>Not enough pictures found, minimum of 4 pictures required.</source>
        <translation>Nicht genug Bilder gefunden, mindestens 4 Bilder sind nötig.</translation>
    </message>
</context>
<context>
    <name>Form2</name>
    <message>
        <source>480 by 600</source>
        <translation>480 × 600</translation>
    </message>
    <message>
        <source>720 by 576</source>
        <translation>720 × 576</translation>
    </message>
    <message>
        <source>800 by 600</source>
        <translation>800 × 600</translation>
    </message>
    <message>
        <source>1024 by 768</source>
        <translation>1024 × 768</translation>
    </message>
    <message>
        <source>1152 by 864</source>
        <translation>1152 × 864</translation>
    </message>
    <message>
        <source>1280 by 1024</source>
        <translation>1280 × 1024</translation>
    </message>
    <message>
        <source>Game paused, press any key to continue.</source>
        <translation>Spiel angehalten, weiter mit beliebiger Taste.</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Datei</translation>
    </message>
    <message>
        <source>&amp;New Game</source>
        <translation>&amp;Neues Spiel</translation>
    </message>
    <message>
        <source>&amp;Restart Game</source>
        <translation>Spiel neu &amp;starten</translation>
    </message>
    <message>
        <source>&amp;Configuration</source>
        <translation>&amp;Konfiguration</translation>
    </message>
    <message>
        <source>&amp;Exit</source>
        <translation>&amp;Beenden</translation>
    </message>
    <message>
        <source>&amp;Board Size</source>
        <translation>Spiel&amp;feldgröße</translation>
    </message>
    <message>
        <source>&amp;Preferences</source>
        <translation>&amp;Einstellungen</translation>
    </message>
    <message>
        <source>&amp;Speed</source>
        <translation>&amp;Geschwindigkeit</translation>
    </message>
    <message>
        <source>&amp;Slow</source>
        <translation>&amp;Langsam</translation>
    </message>
    <message>
        <source>&amp;Normal</source>
        <translation>&amp;Normal</translation>
    </message>
    <message>
        <source>&amp;Fast</source>
        <translation>&amp;Schnell</translation>
    </message>
    <message>
        <source>Card &amp;Backs</source>
        <translation>&amp;Kartenrückseiten</translation>
    </message>
    <message>
        <source>&amp;Keep Picture Shapes</source>
        <translation>Bild&amp;formen beibehalten</translation>
    </message>
    <message>
        <source>S&amp;ound</source>
        <translation>&amp;Ton</translation>
    </message>
    <message>
        <source>Screen Size</source>
        <translation>Fenstergröße</translation>
    </message>
    <message>
        <source>Manual: - + </source>
        <translation>Von Hand: - + </translation>
    </message>
    <message>
        <source>S&amp;ave on Exit</source>
        <translation>Beim Beenden &amp;speichern</translation>
    </message>
    <message>
        <source>High &amp;Scores</source>
        <translation>&amp;Bestenliste</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Hilfe</translation>
    </message>
    <message>
        <source>&amp;About</source>
        <translation>Ü&amp;ber Tavimo</translation>
    </message>
    <message>
        <source>&amp;Contents</source>
        <translation>&amp;Inhalt</translation>
    </message>
    <message>
        <source>Please wait:  %1</source>
        <translation>Bitte warten:  %1</translation>
    </message>
    <message>
        <source>Loading Pictures:  %1</source>
        <translation>Bilder werden geladen:  %1</translation>
    </message>
    <message>
        <source>Are you sure you want to exit the program?</source>
        <translation>Möchten Sie das Programm wirklich beenden?</translation>
    </message>
    <message>
        <source>Not enough pictures</source>
        <translation>Nicht genug Bilder</translation>
    </message>
    <message>
        <source>Tavimo   Score:  %1       Time 0:0:0</source>
        <translation>Tavimo   Punkte:  %1       Zeit 0:0:0</translation>
    </message>
    <message>
        <source>Invalid picture</source>
        <translation>Ungültiges Bild</translation>
    </message>
    <message>
        <source>File not found</source>
        <translation>Datei nicht gefunden</translation>
    </message>
    <message>
        <source>The help file %1 could not be opened.</source>
        <translation>Die Hilfedatei %1 ließ sich nicht öffnen.</translation>
    </message>
    <message>
        <source>The picture %1 of the board you left cannot be read. A new board is dealt.</source>
        <translation>Das Bild %1 des verlassenen Spielfelds lässt sich nicht lesen. Ein neues Spielfeld wird ausgeteilt.</translation>
    </message>
</context>
<context>
    <name>Form3</name>
    <message>
        <source>Picture</source>
        <translation>Bild</translation>
    </message>
    <message>
        <source>Fit to screen</source>
        <translation>Einpassen</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Normal size</source>
        <translation>Normalgröße</translation>
    </message>
</context>
<context>
    <name>Form4</name>
    <message>
        <source>High Scores</source>
        <translation>Bestenliste</translation>
    </message>
    <message>
        <source>Trophy</source>
        <translation>Pokal</translation>
    </message>
    <message>
        <source>RANK</source>
        <translation>RANG</translation>
    </message>
    <message>
        <source>NAME</source>
        <translation>NAME</translation>
    </message>
    <message>
        <source>BOARD</source>
        <translation>PAARE</translation>
    </message>
    <message>
        <source>TIME</source>
        <translation>ZEIT</translation>
    </message>
    <message>
        <source>SCORE</source>
        <translation>PUNKTE</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Your total of %1 no longer makes the high-score table: another game of Tavimo saved ten better totals meanwhile.</source>
        <translation>Ihre Gesamtpunktzahl %1 reicht nicht mehr für die Bestenliste: ein anderes Tavimo hat inzwischen zehn bessere Ergebnisse gespeichert.</translation>
    </message>
</context>
<context>
    <name>Form6</name>
    <message>
        <source>Board Completed</source>
        <translation>Spielfeld gelöst</translation>
    </message>
    <message>
        <source>Board</source>
        <translation>Paare</translation>
    </message>
    <message>
        <source>Score</source>
        <translation>Punkte</translation>
    </message>
    <message>
        <source>Time</source>
        <translation>Zeit</translation>
    </message>
    <message>
        <source>Bonus</source>
        <translation>Bonus</translation>
    </message>
    <message>
        <source>Total</source>
        <translation>Gesamt</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
</context>
<context>
    <name>Form7</name>
    <message>
        <source>Congratulations your a winner</source>
        <translation>Glückwunsch, Sie haben gewonnen</translation>
    </message>
    <message>
        <source>RANK   BOARD   SCORE   TIME    BONUS   TOTAL</source>
        <translation>RANG   PAARE  PUNKTE  ZEIT   BONUS  GESAMT</translation>
    </message>
    <message>
        <source>Please enter your name.</source>
        <translation>Bitte Namen eingeben.</translation>
    </message>
    <message>
        <source>Your name</source>
        <translation>Ihr Name</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
</context>
<context>
    <name>Form8</name>
    <message>
        <source>About Tavimo</source>
        <translation>Über Tavimo</translation>
    </message>
    <message>
        <source>Version %1.%2, requires Windows 95</source>
        <translation>Version %1.%2, benötigt Windows 95</translation>
    </message>
    <message>
        <source>Okay</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>License Agreement</source>
        <translation>Lizenzvereinbarung</translation>
    </message>
    <message>
        <source>Tavimo comes as it is, with no warranty of any kind.

Nobody promises that it works as described, that it suits any purpose of yours, or that it leaves your computer, your files and your pictures unharmed. You use it entirely at your own risk.

The makers of Tavimo are not liable for any loss or damage, direct or indirect, that comes from using the program or from being unable to use it. If you do not accept these terms, do not use the program.</source>
        <translation>Tavimo wird so geliefert, wie es ist, ohne jede Gewährleistung.

Niemand verspricht, dass es wie beschrieben funktioniert, dass es sich für einen Ihrer Zwecke eignet oder dass es Ihren Computer, Ihre Dateien und Ihre Bilder unversehrt lässt. Sie benutzen es ganz auf eigene Gefahr.

Die Macher von Tavimo haften nicht für Verluste oder Schäden, weder direkte noch indirekte, die aus der Benutzung des Programms oder daraus entstehen, dass es sich nicht benutzen lässt. Wenn Sie diese Bedingungen nicht annehmen, benutzen Sie das Programm nicht.</translation>
    </message>
</context>
<context>
    <name>GameClock</name>
    <message>
        <source>Tavimo    Score: %1       Time %2</source>
        <translation>Tavimo    Punkte: %1       Zeit %2</translation>
    </message>
    <message>
        <source>%1    Bonus %2    Total Score %3</source>
        <translation>%1    Bonus %2    Gesamtpunkte %3</translation>
    </message>
</context>
<context>
    <name>GamePaths</name>
    <message>
        <source>Tavimo cannot save its settings, folder list and high scores in %1 (%2). The game plays on and keeps them until it ends.</source>
        <translation>Tavimo kann Einstellungen, Ordnerliste und Bestenliste nicht in %1 speichern (%2). Das Spiel läuft weiter und behält sie bis zum Ende.</translation>
    </message>
</context>
<context>
    <name>HelpWindow</name>
    <message>
        <source>Tavimo Help</source>
        <translation>Tavimo-Hilfe</translation>
    </message>
</context>
<context>
    <name>PictureScan</name>
    <message>
        <source>Device Unavalable %1</source>
        <translation>Gerät %1 nicht verfügbar</translation>
    </message>
    <message>
        <source>Retry</source>
        <translation>Erneut versuchen?</translation>
    </message>
</context>
<context>
    <name>SavedBoard</name>
    <message>
        <source>it is cut short</source>
        <translation>sie ist abgeschnitten</translation>
    </message>
    <message>
        <source>a line is out of place</source>
        <translation>eine Zeile steht an falscher Stelle</translation>
    </message>
    <message>
        <source>a number is out of range</source>
        <translation>eine Zahl liegt außerhalb des Bereichs</translation>
    </message>
    <message>
        <source>it is larger than %1 KB</source>
        <translation>sie ist größer als %1 KB</translation>
    </message>
    <message>
        <source>it was written by a newer version</source>
        <translation>sie stammt von einer neueren Version</translation>
    </message>
    <message>
        <source>it is no saved board</source>
        <translation>sie ist kein gespeichertes Spielfeld</translation>
    </message>
    <message>
        <source>its cards do not make a board</source>
        <translation>ihre Karten ergeben kein Spielfeld</translation>
    </message>
    <message>
        <source>it is no file</source>
        <translation>sie ist keine Datei</translation>
    </message>
    <message>
        <source>The board you left, %1, is damaged (%2). It was kept as %3, and a new board is dealt.</source>
        <translation>Das verlassene Spielfeld %1 ist beschädigt (%2). Es wurde als %3 aufbewahrt, und ein neues Spielfeld wird ausgeteilt.</translation>
    </message>
    <message>
        <source>The board you left, %1, cannot be read (%2). A new board is dealt.</source>
        <translation>Das verlassene Spielfeld %1 lässt sich nicht lesen (%2). Ein neues Spielfeld wird ausgeteilt.</translation>
    </message>
</context>
<context>
    <name>ScoreTableMirror</name>
    <message>
        <source>High scores</source>
        <translation>Bestenliste</translation>
    </message>
    <message>
        <source>Rank</source>
        <translation>Rang</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>Score</source>
        <translation>Punkte</translation>
    </message>
    <message>
        <source>Time</source>
        <translation>Zeit</translation>
    </message>
    <message>
        <source>Board</source>
        <translation>Paare</translation>
    </message>
</context>
<context>
    <name>SettingsFile</name>
    <message>
        <source>the damaged file cannot be moved aside</source>
        <translation>die beschädigte Datei lässt sich nicht beiseitelegen</translation>
    </message>
    <message>
        <source>unreadable</source>
        <translation>nicht lesbar</translation>
    </message>
    <message>
        <source>Tavimo cannot save its settings in %1 (%2). It starts with the default settings, and changes to them are lost when it ends.</source>
        <translation>Tavimo kann seine Einstellungen nicht in %1 speichern (%2). Es startet mit den Standardeinstellungen, und Änderungen gehen beim Beenden verloren.</translation>
    </message>
</context>
<context>
    <name>StartUp</name>
    <message>
        <source>The settings file %1 cannot be written (%2). Tavimo cannot start.</source>
        <translation>Die Einstellungsdatei %1 lässt sich nicht schreiben (%2). Tavimo kann nicht starten.</translation>
    </message>
    <message>
        <source>unreadable</source>
        <translation>nicht lesbar</translation>
    </message>
    <message>
        <source>Resume the board you left?</source>
        <translation>Das verlassene Spielfeld fortsetzen?</translation>
    </message>
</context>
<context>
    <name>TextFile</name>
    <message>
        <source>Tavimo could not save %1: %2.
The file was left as it was.</source>
        <translation>Tavimo konnte %1 nicht speichern: %2.
Die Datei blieb unverändert.</translation>
    </message>
    <message>
        <source>unknown error</source>
        <translation>unbekannter Fehler</translation>
    </message>
    <message numerus="yes">
        <source>larger than %n bytes</source>
        <translation>
            <numerusform>größer als %n Byte</numerusform>
            <numerusform>größer als %n Bytes</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>frmSplash</name>
    <message>
        <source>Creating Picture List</source>
        <translation>Bilderliste wird erstellt</translation>
    </message>
    <message>
        <source>Loading pictures</source>
        <translation>Bilder werden geladen</translation>
    </message>
    <message>
        <source>Version %1.%2.%3</source>
        <translation>Version %1.%2.%3</translation>
    </message>
    <message>
        <source>The object of this game is to match pairs of pictures together as quickly as possible.  The game ends when all matches have been found.  Clicking on a card with the left mouse button causes the card to be flipped over revealing its picture.</source>
        <translation>Ziel des Spiels ist es, so schnell wie möglich die Paare gleicher Bilder zu finden.  Das Spiel endet, wenn alle Paare gefunden sind.  Ein Klick mit der linken Maustaste auf eine Karte dreht sie um und zeigt ihr Bild.</translation>
    </message>
    <message>
        <source>To use your own pictures or change the board size use the Configuration option in the File menu.  Simply add the directories that include the pictures you wish to be used by the program.</source>
        <translation>Für eigene Bilder oder eine andere Spielfeldgröße wählen Sie Konfiguration im Menü Datei.  Fügen Sie dort einfach die Ordner mit den gewünschten Bildern hinzu.</translation>
    </message>
</context>
</TS>

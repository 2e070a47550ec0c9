<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr_FR">
<context>
    <name>AtomicFile</name>
    <message>
        <source>it is a link to a file that does not exist</source>
        <translation>c&apos;est un lien vers un fichier qui n&apos;existe pas</translation>
    </message>
    <message>
        <source>it is a link to something that is not a file</source>
        <translation>c&apos;est un lien vers quelque chose qui n&apos;est pas un fichier</translation>
    </message>
    <message>
        <source>it is a link to a file of another user</source>
        <translation>c&apos;est un lien vers un fichier d&apos;un autre utilisateur</translation>
    </message>
    <message>
        <source>it belongs to another user or group</source>
        <translation>il appartient à un autre utilisateur ou groupe</translation>
    </message>
    <message>
        <source>disk full</source>
        <translation>disque plein</translation>
    </message>
    <message>
        <source>the disk is read-only</source>
        <translation>le disque est en lecture seule</translation>
    </message>
    <message>
        <source>permission denied</source>
        <translation>permission refusée</translation>
    </message>
    <message>
        <source>a folder has that name</source>
        <translation>un dossier porte ce nom</translation>
    </message>
    <message>
        <source>the folder is missing</source>
        <translation>le dossier est absent</translation>
    </message>
    <message>
        <source>the disk reported an error</source>
        <translation>le disque a signalé une erreur</translation>
    </message>
    <message>
        <source>it is not an ordinary file</source>
        <translation>ce n&apos;est pas un fichier ordinaire</translation>
    </message>
    <message>
        <source>the file is read-only</source>
        <translation>le fichier est en lecture seule</translation>
    </message>
    <message>
        <source>disk full (only %1 of %2 bytes were stored)</source>
        <translation>disque plein (seuls %1 octets sur %2 ont été enregistrés)</translation>
    </message>
</context>
<context>
    <name>BoardAccess</name>
    <message>
        <source>Board</source>
        <translation>Plateau</translation>
    </message>
    <message>
        <source>%1 Time %2.</source>
        <translation>%1 Temps %2.</translation>
    </message>
</context>
<context>
    <name>CardBacks</name>
    <message>
        <source>None</source>
        <translation>Aucun</translation>
    </message>
</context>
<context>
    <name>CardNames</name>
    <message>
        <source>Card %1, row %2, column %3, face down</source>
        <translation>Carte %1, rangée %2, colonne %3, face cachée</translation>
    </message>
    <message>
        <source>Card %1, row %2, column %3, %4, matched</source>
        <translation>Carte %1, rangée %2, colonne %3, %4, trouvée</translation>
    </message>
    <message>
        <source>Card %1, row %2, column %3, %4</source>
        <translation>Carte %1, rangée %2, colonne %3, %4</translation>
    </message>
    <message>
        <source>Score %1.</source>
        <translation>Score %1.</translation>
    </message>
    <message>
        <source>Match: %1. %2</source>
        <translation>Paire&#xa0;: %1. %2</translation>
    </message>
    <message>
        <source>No match. %1</source>
        <translation>Pas de paire. %1</translation>
    </message>
    <message>
        <source>Board complete. %1 Bonus %2. Total %3. Time %4.</source>
        <translation>Plateau terminé. %1 Bonus %2. Total %3. Temps %4.</translation>
    </message>
</context>
<context>
    <name>DataLock</name>
    <message>
        <source>another copy of Tavimo is saving its files</source>
        <translation>une autre copie de Tavimo enregistre ses fichiers</translation>
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
        <translation>Jeu de mémoire</translation>
    </message>
    <message>
        <source>Turn the cards and find the pairs, with your own pictures</source>
        <translation>Retournez les cartes et trouvez les paires, avec vos propres images</translation>
    </message>
    <message>
        <source>memory;pairs;concentration;cards;pictures;</source>
        <translation>mémoire;paires;concentration;cartes;images;</translation>
    </message>
    <message>
        <source>Find the pairs among cards showing your own pictures</source>
        <translation>Trouvez les paires parmi des cartes à vos propres images</translation>
    </message>
    <message>
        <source>Tavimo is a memory card game. The cards are dealt face down; turn two at a time and find the pairs. Each board is timed, and the quickest players of the larger boards make it onto the high-score table.</source>
        <translation>Tavimo est un jeu de mémoire. Les cartes sont distribuées face cachée&#xa0;; retournez-en deux à la fois et trouvez les paires. Chaque plateau est chronométré, et les joueurs les plus rapides des grands plateaux entrent au tableau des meilleurs scores.</translation>
    </message>
    <message>
        <source>Features:</source>
        <translation>Points forts&#xa0;:</translation>
    </message>
    <message>
        <source>Boards of 4 to 40 pairs</source>
        <translation>Plateaux de 4 à 40 paires</translation>
    </message>
    <message>
        <source>Card faces from the picture folders you choose: BMP, GIF, JPEG, icons and metafiles</source>
        <translation>Faces des cartes tirées des dossiers d&apos;images de votre choix&#xa0;: BMP, GIF, JPEG, icônes et métafichiers</translation>
    </message>
    <message>
        <source>Several card backs, sounds, and a pause key</source>
        <translation>Plusieurs dos de cartes, des sons et une touche de pause</translation>
    </message>
    <message>
        <source>A picture viewer to look at a card&apos;s picture in full</source>
        <translation>Une visionneuse pour voir l&apos;image d&apos;une carte en entier</translation>
    </message>
    <message>
        <source>A board of eight pairs in play</source>
        <translation>Un plateau de huit paires en cours de partie</translation>
    </message>
    <message>
        <source>Choosing the picture folders and the board size</source>
        <translation>Choix des dossiers d&apos;images et de la taille du plateau</translation>
    </message>
</context>
<context>
    <name>DirectoryList</name>
    <message>
        <source>Path not found</source>
        <translation>Chemin introuvable</translation>
    </message>
    <message>
        <source>Device unavailable</source>
        <translation>Périphérique indisponible</translation>
    </message>
    <message>
        <source>Path/File access error</source>
        <translation>Erreur d&apos;accès au chemin/fichier</translation>
    </message>
    <message>
        <source>File not found</source>
        <translation>Fichier introuvable</translation>
    </message>
    <message>
        <source>Invalid picture</source>
        <translation>Image non valide</translation>
    </message>
    <message>
        <source>a comma</source>
        <translation>une virgule</translation>
    </message>
    <message>
        <source>bytes that are no UTF-8 text</source>
        <translation>des octets qui ne sont pas du texte UTF-8</translation>
    </message>
    <message>
        <source>a tab or a line break</source>
        <translation>une tabulation ou un saut de ligne</translation>
    </message>
    <message numerus="yes">
        <source>a line is longer than %n bytes</source>
        <translation>
            <numerusform>une ligne dépasse %n octet</numerusform>
            <numerusform>une ligne dépasse %n octets</numerusform>
        </translation>
    </message>
    <message>
        <source>it holds characters that are no text</source>
        <translation>elle contient des caractères qui ne sont pas du texte</translation>
    </message>
    <message numerus="yes">
        <source>more than %n folders</source>
        <translation>
            <numerusform>plus de %n dossier</numerusform>
            <numerusform>plus de %n dossiers</numerusform>
        </translation>
    </message>
    <message>
        <source>The folder list %1 is damaged (%2). It was kept as %3, and the Graphics folder is used instead.</source>
        <translation>La liste des dossiers %1 est endommagée (%2). Elle a été conservée sous %3, et le dossier Graphics est utilisé à sa place.</translation>
    </message>
    <message>
        <source>unknown error</source>
        <translation>erreur inconnue</translation>
    </message>
</context>
<context>
    <name>Form1</name>
    <message>
        <source>BOARD CONFIGURATION</source>
        <translation>CONFIGURATION DU PLATEAU</translation>
    </message>
    <message>
        <source>BOARD SIZE: 2x</source>
        <translation>PLATEAU&#xa0;: 2x</translation>
    </message>
    <message>
        <source>Aquire Additional</source>
        <translation>Compléter</translation>
    </message>
    <message>
        <source>File Types</source>
        <translation>Types de fichiers</translation>
    </message>
    <message>
        <source>Photos</source>
        <translation>Photos</translation>
    </message>
    <message>
        <source>PNG, WebP, TIFF, HEIC/HEIF, AVIF and JPEG XL</source>
        <translation>PNG, WebP, TIFF, HEIC/HEIF, AVIF et JPEG XL</translation>
    </message>
    <message>
        <source>All Graphics</source>
        <translation>Toutes images</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Annuler</translation>
    </message>
    <message>
        <source>Drives:</source>
        <translation>Lecteurs&#xa0;:</translation>
    </message>
    <message>
        <source>Directories:</source>
        <translation>Dossiers&#xa0;:</translation>
    </message>
    <message>
        <source>Type or paste a folder and press Enter to browse it</source>
        <translation>Tapez ou collez un dossier et appuyez sur Entrée pour le parcourir</translation>
    </message>
    <message>
        <source>Files:</source>
        <translation>Fichiers&#xa0;:</translation>
    </message>
    <message>
        <source>Add</source>
        <translation>Ajouter</translation>
    </message>
    <message>
        <source>Remove</source>
        <translation>Retirer</translation>
    </message>
    <message>
        <source>DIRECTORIES INCLUDED</source>
        <translation>DOSSIERS CHOISIS</translation>
    </message>
    <message>
        <source>Files Available: </source>
        <translation>Fichiers disponibles&#xa0;: </translation>
    </message>
    <message>
        <source>View</source>
        <translation>Aperçu</translation>
    </message>
    <message>
        <source>Board size</source>
        <translation>Taille du plateau</translation>
    </message>
    <message>
        <source>Drives</source>
        <translation>Lecteurs</translation>
    </message>
    <message>
        <source>Folder</source>
        <translation>Dossier</translation>
    </message>
    <message>
        <source>Directories</source>
        <translation>Dossiers</translation>
    </message>
    <message>
        <source>Files</source>
        <translation>Fichiers</translation>
    </message>
    <message>
        <source>Directories included</source>
        <translation>Dossiers choisis</translation>
    </message>
    <message>
        <source>Preview</source>
        <translation>Aperçu</translation>
    </message>
    <message>
        <source>Files: %1</source>
        <translation>Fichiers&#xa0;: %1</translation>
    </message>
    <message>
        <source>not available now</source>
        <translation>indisponible pour l&apos;instant</translation>
    </message>
    <message>
        <source>Files Available: %1</source>
        <translation>Fichiers disponibles&#xa0;: %1</translation>
    </message>
    <message>
        <source>%1 is a file, not a folder.</source>
        <translation>%1 est un fichier, pas un dossier.</translation>
    </message>
    <message>
        <source>There is no folder %1.</source>
        <translation>Le dossier %1 n&apos;existe pas.</translation>
    </message>
    <message>
        <source>The folder %1 cannot be opened (%2).</source>
        <translation>Impossible d&apos;ouvrir le dossier %1 (%2).</translation>
    </message>
    <message>
        <source>Device Unavalable</source>
        <translation>Périphérique indisponible</translation>
    </message>
    <message>
        <source>Retry</source>
        <translation>Réessayer&#xa0;?</translation>
    </message>
    <message>
        <source>The folder %1 cannot be added: %2</source>
        <translation>Impossible d&apos;ajouter le dossier %1&#xa0;: %2</translation>
    </message>
    <message>
        <source>its name contains %1, which the folder list cannot store. Rename the folder or choose another one.</source>
        <translation>son nom contient %1, que la liste des dossiers ne peut pas enregistrer. Renommez le dossier ou choisissez-en un autre.</translation>
    </message>
    <message>
        <source>it cannot be read (%1).</source>
        <translation>il est illisible (%1).</translation>
    </message>
    <message>
        <source>Not enough files available.  Minimum of 4 pictures required.  Try selecting more file types or selecting more directories.</source>
        <translation>Pas assez de fichiers disponibles.  Il faut au moins 4 images.  Choisissez d&apos;autres types de fichiers ou d&apos;autres dossiers.</translation>
    </message>
    <message>
        <source>Not enough pictures found, minimum of 4 pictures required.</source>
        <translation>Pas assez d&apos;images trouvées, il faut au moins 4 images.</translation>
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
        <translation>Partie en pause, appuyez sur une touche pour continuer.</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Fichier</translation>
    </message>
    <message>
        <source>&amp;New Game</source>
        <translation>&amp;Nouvelle partie</translation>
    </message>
    <message>
        <source>&amp;Restart Game</source>
        <translation>&amp;Recommencer la partie</translation>
    </message>
    <message>
        <source>&amp;Configuration</source>
        <translation>&amp;Configuration</translation>
    </message>
    <message>
        <source>&amp;Exit</source>
        <translation>&amp;Quitter</translation>
    </message>
    <message>
        <source>&amp;Board Size</source>
        <translation>&amp;Taille du plateau</translation>
    </message>
    <message>
        <source>&amp;Preferences</source>
        <translation>&amp;Préférences</translation>
    </message>
    <message>
        <source>&amp;Speed</source>
        <translation>&amp;Vitesse</translation>
    </message>
    <message>
        <source>&amp;Slow</source>
        <translation>&amp;Lente</translation>
    </message>
    <message>
        <source>&amp;Normal</source>
        <translation>&amp;Normale</translation>
    </message>
    <message>
        <source>&amp;Fast</source>
        <translation>&amp;Rapide</translation>
    </message>
    <message>
        <source>Card &amp;Backs</source>
        <translation>&amp;Dos des cartes</translation>
    </message>
    <message>
        <source>&amp;Keep Picture Shapes</source>
        <translation>&amp;Garder la forme des images</translation>
    </message>
    <message>
        <source>S&amp;ound</source>
        <translation>S&amp;on</translation>
    </message>
    <message>
        <source>Screen Size</source>
        <translation>Taille de la fenêtre</translation>
    </message>
    <message>
        <source>Manual: - + </source>
        <translation>Manuelle&#xa0;: - + </translation>
    </message>
    <message>
        <source>S&amp;ave on Exit</source>
        <translation>&amp;Enregistrer en quittant</translation>
    </message>
    <message>
        <source>High &amp;Scores</source>
        <translation>&amp;Meilleurs scores</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Aide</translation>
    </message>
    <message>
        <source>&amp;About</source>
        <translation>À &amp;propos</translation>
    </message>
    <message>
        <source>&amp;Contents</source>
        <translation>&amp;Sommaire</translation>
    </message>
    <message>
        <source>Please wait:  %1</source>
        <translation>Patientez&#xa0;:  %1</translation>
    </message>
    <message>
        <source>Loading Pictures:  %1</source>
        <translation>Chargement des images&#xa0;:  %1</translation>
    </message>
    <message>
        <source>Are you sure you want to exit the program?</source>
        <translation>Voulez-vous vraiment quitter le programme&#xa0;?</translation>
    </message>
    <message>
        <source>Not enough pictures</source>
        <translation>Pas assez d&apos;images</translation>
    </message>
    <message>
        <source>Tavimo   Score:  %1       Time 0:0:0</source>
        <translation>Tavimo   Score&#xa0;:  %1       Temps 0:0:0</translation>
    </message>
    <message>
        <source>Invalid picture</source>
        <translation>Image non valide</translation>
    </message>
    <message>
        <source>File not found</source>
        <translation>Fichier introuvable</translation>
    </message>
    <message>
        <source>The help file %1 could not be opened.</source>
        <translation>Impossible d&apos;ouvrir le fichier d&apos;aide %1.</translation>
    </message>
    <message>
        <source>The picture %1 of the board you left cannot be read. A new board is dealt.</source>
        <translation>L&apos;image %1 du plateau laissé en cours est illisible. Un nouveau plateau est distribué.</translation>
    </message>
</context>
<context>
    <name>Form3</name>
    <message>
        <source>Picture</source>
        <translation>Image</translation>
    </message>
    <message>
        <source>Fit to screen</source>
        <translation>Ajuster</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Normal size</source>
        <translation>Taille réelle</translation>
    </message>
</context>
<context>
    <name>Form4</name>
    <message>
        <source>High Scores</source>
        <translation>Meilleurs scores</translation>
    </message>
    <message>
        <source>Trophy</source>
        <translation>Trophée</translation>
    </message>
    <message>
        <source>RANK</source>
        <translation>RANG</translation>
    </message>
    <message>
        <source>NAME</source>
        <translation>NOM</translation>
    </message>
    <message>
        <source>BOARD</source>
        <translation>PAIRES</translation>
    </message>
    <message>
        <source>TIME</source>
        <translation>TEMPS</translation>
    </message>
    <message>
        <source>SCORE</source>
        <translation>SCORE</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Your total of %1 no longer makes the high-score table: another game of Tavimo saved ten better totals meanwhile.</source>
        <translation>Votre total de %1 n&apos;entre plus au tableau des meilleurs scores&#xa0;: une autre partie de Tavimo a entre-temps enregistré dix meilleurs totaux.</translation>
    </message>
</context>
<context>
    <name>Form6</name>
    <message>
        <source>Board Completed</source>
        <translation>Plateau terminé</translation>
    </message>
    <message>
        <source>Board</source>
        <translation>Paires</translation>
    </message>
    <message>
        <source>Score</source>
        <translation>Score</translation>
    </message>
    <message>
        <source>Time</source>
        <translation>Temps</translation>
    </message>
    <message>
        <source>Bonus</source>
        <translation>Bonus</translation>
    </message>
    <message>
        <source>Total</source>
        <translation>Total</translation>
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
        <translation>Félicitations, vous avez gagné</translation>
    </message>
    <message>
        <source>RANK   BOARD   SCORE   TIME    BONUS   TOTAL</source>
        <translation>RANG  PAIRES   SCORE  TEMPS   BONUS   TOTAL</translation>
    </message>
    <message>
        <source>Please enter your name.</source>
        <translation>Entrez votre nom.</translation>
    </message>
    <message>
        <source>Your name</source>
        <translation>Votre nom</translation>
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
        <translation>À propos de Tavimo</translation>
    </message>
    <message>
        <source>Version %1.%2, requires Windows 95</source>
        <translation>Version %1.%2, nécessite Windows 95</translation>
    </message>
    <message>
        <source>Okay</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>License Agreement</source>
        <translation>Contrat de licence</translation>
    </message>
    <message>
        <source>Tavimo comes as it is, with no warranty of any kind.

Nobody promises that it works as described, that it suits any purpose of yours, or that it leaves your computer, your files and your pictures unharmed. You use it entirely at your own risk.

The makers of Tavimo are not liable for any loss or damage, direct or indirect, that comes from using the program or from being unable to use it. If you do not accept these terms, do not use the program.</source>
        <translation>Tavimo est fourni tel quel, sans aucune garantie.

Personne ne promet qu&apos;il fonctionne comme décrit, qu&apos;il convienne à l&apos;un de vos usages, ni qu&apos;il laisse intacts votre ordinateur, vos fichiers et vos images. Vous l&apos;utilisez entièrement à vos propres risques.

Les auteurs de Tavimo ne sont responsables d&apos;aucune perte ni d&apos;aucun dommage, direct ou indirect, résultant de l&apos;utilisation du programme ou de l&apos;impossibilité de l&apos;utiliser. Si vous n&apos;acceptez pas ces conditions, n&apos;utilisez pas le programme.</translation>
    </message>
</context>
<context>
    <name>GameClock</name>
    <message>
        <source>Tavimo    Score: %1       Time %2</source>
        <translation>Tavimo    Score&#xa0;: %1       Temps %2</translation>
    </message>
    <message>
        <source>%1    Bonus %2    Total Score %3</source>
        <translation>%1    Bonus %2    Score total %3</translation>
    </message>
</context>
<context>
    <name>GamePaths</name>
    <message>
        <source>Tavimo cannot save its settings, folder list and high scores in %1 (%2). The game plays on and keeps them until it ends.</source>
        <translation>Tavimo ne peut pas enregistrer ses réglages, sa liste de dossiers et ses meilleurs scores dans %1 (%2). Le jeu continue et les garde jusqu&apos;à sa fermeture.</translation>
    </message>
</context>
<context>
    <name>HelpWindow</name>
    <message>
        <source>Tavimo Help</source>
        <translation>Aide de Tavimo</translation>
    </message>
</context>
<context>
    <name>PictureScan</name>
    <message>
        <source>Device Unavalable %1</source>
        <translation>Périphérique %1 indisponible</translation>
    </message>
    <message>
        <source>Retry</source>
        <translation>Réessayer&#xa0;?</translation>
    </message>
</context>
<context>
    <name>SavedBoard</name>
    <message>
        <source>it is cut short</source>
        <translation>il est tronqué</translation>
    </message>
    <message>
        <source>a line is out of place</source>
        <translation>une ligne n&apos;est pas à sa place</translation>
    </message>
    <message>
        <source>a number is out of range</source>
        <translation>un nombre est hors limites</translation>
    </message>
    <message>
        <source>it is larger than %1 KB</source>
        <translation>il dépasse %1 Ko</translation>
    </message>
    <message>
        <source>it was written by a newer version</source>
        <translation>il a été écrit par une version plus récente</translation>
    </message>
    <message>
        <source>it is no saved board</source>
        <translation>ce n&apos;est pas un plateau enregistré</translation>
    </message>
    <message>
        <source>its cards do not make a board</source>
        <translation>ses cartes ne forment pas un plateau</translation>
    </message>
    <message>
        <source>it is no file</source>
        <translation>ce n&apos;est pas un fichier</translation>
    </message>
    <message>
        <source>The board you left, %1, is damaged (%2). It was kept as %3, and a new board is dealt.</source>
        <translation>Le plateau laissé en cours, %1, est endommagé (%2). Il a été conservé sous %3, et un nouveau plateau est distribué.</translation>
    </message>
    <message>
        <source>The board you left, %1, cannot be read (%2). A new board is dealt.</source>
        <translation>Le plateau laissé en cours, %1, est illisible (%2). Un nouveau plateau est distribué.</translation>
    </message>
</context>
<context>
    <name>ScoreTableMirror</name>
    <message>
        <source>High scores</source>
        <translation>Meilleurs scores</translation>
    </message>
    <message>
        <source>Rank</source>
        <translation>Rang</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>Nom</translation>
    </message>
    <message>
        <source>Score</source>
        <translation>Score</translation>
    </message>
    <message>
        <source>Time</source>
        <translation>Temps</translation>
    </message>
    <message>
        <source>Board</source>
        <translation>Paires</translation>
    </message>
</context>
<context>
    <name>SettingsFile</name>
    <message>
        <source>the damaged file cannot be moved aside</source>
        <translation>le fichier endommagé ne peut pas être mis de côté</translation>
    </message>
    <message>
        <source>unreadable</source>
        <translation>illisible</translation>
    </message>
    <message>
        <source>Tavimo cannot save its settings in %1 (%2). It starts with the default settings, and changes to them are lost when it ends.</source>
        <translation>Tavimo ne peut pas enregistrer ses réglages dans %1 (%2). Il démarre avec les réglages par défaut, et leurs changements seront perdus à sa fermeture.</translation>
    </message>
</context>
<context>
    <name>StartUp</name>
    <message>
        <source>The settings file %1 cannot be written (%2). Tavimo cannot start.</source>
        <translation>Impossible d&apos;écrire le fichier de réglages %1 (%2). Tavimo ne peut pas démarrer.</translation>
    </message>
    <message>
        <source>unreadable</source>
        <translation>illisible</translation>
    </message>
    <message>
        <source>Resume the board you left?</source>
        <translation>Reprendre le plateau laissé en cours&#xa0;?</translation>
    </message>
</context>
<context>
    <name>TextFile</name>
    <message>
        <source>Tavimo could not save %1: %2.
The file was left as it was.</source>
        <translation>Tavimo n&apos;a pas pu enregistrer %1&#xa0;: %2.
Le fichier est resté tel quel.</translation>
    </message>
    <message>
        <source>unknown error</source>
        <translation>erreur inconnue</translation>
    </message>
    <message numerus="yes">
        <source>larger than %n bytes</source>
        <translation>
            <numerusform>plus de %n octet</numerusform>
            <numerusform>plus de %n octets</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>frmSplash</name>
    <message>
        <source>Creating Picture List</source>
        <translation>Création de la liste des images</translation>
    </message>
    <message>
        <source>Loading pictures</source>
        <translation>Chargement des images</translation>
    </message>
    <message>
        <source>Version %1.%2.%3</source>
        <translation>Version %1.%2.%3</translation>
    </message>
    <message>
        <source>The object of this game is to match pairs of pictures together as quickly as possible.  The game ends when all matches have been found.  Clicking on a card with the left mouse button causes the card to be flipped over revealing its picture.</source>
        <translation>Le but du jeu est de retrouver le plus vite possible les paires d&apos;images identiques.  La partie se termine quand toutes les paires sont trouvées.  Un clic gauche sur une carte la retourne et montre son image.</translation>
    </message>
    <message>
        <source>To use your own pictures or change the board size use the Configuration option in the File menu.  Simply add the directories that include the pictures you wish to be used by the program.</source>
        <translation>Pour utiliser vos propres images ou changer la taille du plateau, choisissez Configuration dans le menu Fichier.  Ajoutez-y simplement les dossiers qui contiennent les images voulues.</translation>
    </message>
</context>
</TS>

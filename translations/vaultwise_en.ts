<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="it">
<context>
    <name>JobText</name>
    <message>
        <source>l&apos;intestazione è più corta di 11 byte</source>
        <translation>the header is shorter than 11 bytes</translation>
    </message>
    <message>
        <source>la lunghezza dei dati non compressi non è positiva</source>
        <translation>the uncompressed length is not positive</translation>
    </message>
    <message>
        <source>il numero di simboli, %1, è inferiore a 2</source>
        <translation>the symbol count %1 is below 2</translation>
    </message>
    <message>
        <source>la tabella dei simboli va oltre la fine del flusso</source>
        <translation>the symbol table runs past the end of the stream</translation>
    </message>
    <message>
        <source>i bit dei codici vanno oltre la fine del flusso</source>
        <translation>the code bits run past the end of the stream</translation>
    </message>
    <message>
        <source>il codice del valore %1 prosegue oltre il codice del valore %2 (non è un codice prefisso)</source>
        <translation>the code of byte value %1 continues past the code of byte value %2 (not a prefix code)</translation>
    </message>
    <message>
        <source>il codice del valore %1 coincide con un altro codice o ne è l&apos;inizio (non è un codice prefisso)</source>
        <translation>the code of byte value %1 is the same as or a prefix of another code (not a prefix code)</translation>
    </message>
    <message>
        <source>la tabella dei codici richiede più di 512 nodi</source>
        <translation>the code table needs more than 512 tree nodes</translation>
    </message>
    <message>
        <source>la tabella dei codici non è un codice prefisso completo</source>
        <translation>the code table is not a complete prefix code</translation>
    </message>
    <message>
        <source>i bit dei dati portano a un nodo che non esiste</source>
        <translation>the data bits lead to a missing tree node</translation>
    </message>
    <message>
        <source>un codice supererebbe i 255 bit</source>
        <translation>a code would be longer than 255 bits</translation>
    </message>
    <message>
        <source>il flusso compresso raggiungerebbe 2 GiB</source>
        <translation>the compressed stream would reach 2 GiB</translation>
    </message>
    <message>
        <source>impossibile creare un file nella cartella &quot;%1&quot;: %2</source>
        <translation>cannot create a file in the folder &quot;%1&quot;: %2</translation>
    </message>
    <message>
        <source>la cartella &quot;%1&quot; non accetta nuovi file</source>
        <translation>the folder &quot;%1&quot; does not accept new files</translation>
    </message>
    <message>
        <source>impossibile scrivere &quot;%1&quot;: %2</source>
        <translation>cannot write &quot;%1&quot;: %2</translation>
    </message>
    <message>
        <source>impossibile dare al file completo il nome &quot;%1&quot;: %2</source>
        <translation>cannot give the finished file the name &quot;%1&quot;: %2</translation>
    </message>
    <message>
        <source>impossibile sostituire &quot;%1&quot;: %2</source>
        <translation>cannot replace &quot;%1&quot;: %2</translation>
    </message>
    <message>
        <source>il file &quot;%1&quot; esiste già</source>
        <translation>the file &quot;%1&quot; already exists</translation>
    </message>
    <message>
        <source>&quot;%1&quot; è stato scritto, ma non è stato possibile eliminare &quot;%2&quot;: %3</source>
        <translation>&quot;%1&quot; was written, but &quot;%2&quot; could not be deleted: %3</translation>
    </message>
    <message>
        <source>il file &quot;%1&quot; è cambiato durante l&apos;elaborazione, perciò è stato conservato; &quot;%2&quot; contiene ciò che conteneva prima</source>
        <translation>the file &quot;%1&quot; changed during the job, so it was kept; &quot;%2&quot; holds what it contained before</translation>
    </message>
    <message>
        <source>impossibile aprire il file &quot;%1&quot;: %2</source>
        <translation>cannot open the file &quot;%1&quot;: %2</translation>
    </message>
    <message>
        <source>impossibile leggere il file &quot;%1&quot;: %2</source>
        <translation>cannot read the file &quot;%1&quot;: %2</translation>
    </message>
    <message>
        <source>il file &quot;%1&quot; è cambiato durante l&apos;elaborazione; non è stato scritto nulla</source>
        <translation>the file &quot;%1&quot; changed during the job; nothing was written</translation>
    </message>
    <message>
        <source>il file &quot;%1&quot; è troppo grande per il formato, che arriva a meno di 2 GiB</source>
        <translation>the file &quot;%1&quot; is too large for the format, which stops short of 2 GiB</translation>
    </message>
    <message>
        <source>l&apos;estensione &quot;%1&quot; di &quot;%2&quot; contiene un carattere di controllo, che nessun ripristino potrebbe rimettere nel nome di un file; rinominare prima il file</source>
        <translation>the extension &quot;%1&quot; of &quot;%2&quot; holds a control character, which no restore could put back into a file name; rename the file first</translation>
    </message>
    <message>
        <source>l&apos;estensione memorizzata &quot;%1&quot; non è valida per il nome di un file</source>
        <translation>the stored extension &quot;%1&quot; is not a valid file name extension</translation>
    </message>
    <message>
        <source>l&apos;estensione memorizzata non ha fine (file danneggiato)</source>
        <translation>the stored extension has no end (damaged file)</translation>
    </message>
    <message>
        <source>l&apos;intestazione e l&apos;estensione memorizzata sono più lunghe di quanto il formato ammetta</source>
        <translation>the header and the stored extension are longer than the format allows</translation>
    </message>
    <message>
        <source>il flusso HE3 è danneggiato: %1</source>
        <translation>the HE3 stream is damaged: %1</translation>
    </message>
    <message>
        <source>il file ripristinato sarebbe di %1 byte, più dei %2 byte ammessi in memoria</source>
        <translation>the restored file would be %1 bytes, more than the %2 bytes allowed in memory</translation>
    </message>
    <message>
        <source>memoria insufficiente</source>
        <translation>not enough memory</translation>
    </message>
    <message>
        <source>la fonte di numeri casuali del sistema non risponde: %1</source>
        <translation>the system&apos;s random source failed: %1</translation>
    </message>
    <message>
        <source>errore interno del programma (%1)</source>
        <translation>internal error of the program (%1)</translation>
    </message>
    <message>
        <source>operazione non permessa</source>
        <translation>operation not permitted</translation>
    </message>
    <message>
        <source>il file o la cartella non esiste</source>
        <translation>no such file or folder</translation>
    </message>
    <message>
        <source>errore di lettura o scrittura del dispositivo</source>
        <translation>input/output error of the device</translation>
    </message>
    <message>
        <source>permesso negato</source>
        <translation>permission denied</translation>
    </message>
    <message>
        <source>il file esiste già</source>
        <translation>the file already exists</translation>
    </message>
    <message>
        <source>una parte del percorso non è una cartella</source>
        <translation>a part of the path is not a folder</translation>
    </message>
    <message>
        <source>è una cartella</source>
        <translation>it is a folder</translation>
    </message>
    <message>
        <source>operazione non valida per questo file</source>
        <translation>operation not valid for this file</translation>
    </message>
    <message>
        <source>troppi file aperti</source>
        <translation>too many open files</translation>
    </message>
    <message>
        <source>file troppo grande</source>
        <translation>file too large</translation>
    </message>
    <message>
        <source>spazio esaurito sul dispositivo</source>
        <translation>no space left on the device</translation>
    </message>
    <message>
        <source>file system in sola lettura</source>
        <translation>read-only file system</translation>
    </message>
    <message>
        <source>nome di file troppo lungo</source>
        <translation>file name too long</translation>
    </message>
    <message>
        <source>troppi collegamenti simbolici</source>
        <translation>too many symbolic links</translation>
    </message>
    <message>
        <source>quota del disco superata</source>
        <translation>disk quota exceeded</translation>
    </message>
    <message>
        <source>i due percorsi sono su dispositivi diversi</source>
        <translation>the two paths are on different devices</translation>
    </message>
    <message>
        <source>dispositivo o risorsa occupata</source>
        <translation>device or resource busy</translation>
    </message>
    <message>
        <source>file in uso</source>
        <translation>file in use</translation>
    </message>
    <message>
        <source>dispositivo non disponibile</source>
        <translation>device not available</translation>
    </message>
    <message>
        <source>risorsa temporaneamente non disponibile</source>
        <translation>resource temporarily unavailable</translation>
    </message>
    <message>
        <source>operazione non supportata</source>
        <translation>operation not supported</translation>
    </message>
    <message>
        <source>errore di sistema %1</source>
        <translation>system error %1</translation>
    </message>
    <message>
        <source>l&apos;estensione di &quot;%1&quot; contiene caratteri che la code page Windows-1252 non può memorizzare (%2): nessun ripristino potrebbe rimetterla com&apos;è; rinominare prima il file</source>
        <translation>the extension of &quot;%1&quot; holds characters the Windows-1252 code page cannot store (%2): no restore could put it back as it is; rename the file first</translation>
    </message>
    <message>
        <source>chi leggeva ha chiuso la pipe</source>
        <translation>the reader closed the pipe</translation>
    </message>
</context>
<context>
    <name>engine</name>
    <message>
        <source>Impossibile continuare 1</source>
        <translation>The job stopped with an unexpected error (status 1)</translation>
    </message>
    <message>
        <source>Impossibile continuare 2</source>
        <translation>The job stopped with an unexpected error (status 2)</translation>
    </message>
    <message>
        <source>Password troppo corta</source>
        <translation>The password is too short or too simple: use at least 5 characters, and not one short sequence repeated</translation>
    </message>
    <message>
        <source>File non trovato</source>
        <translation>File not found</translation>
    </message>
    <message>
        <source>Errore di compressione</source>
        <translation>The file is damaged: the restored data does not match its checksum</translation>
    </message>
    <message>
        <source>File vuoto</source>
        <translation>The file is empty</translation>
    </message>
    <message>
        <source>Errore Generico 1</source>
        <translation>The job stopped with an unexpected error (status 10)</translation>
    </message>
    <message>
        <source>Elaborazione interrota</source>
        <translation>Cancelled; nothing was written</translation>
    </message>
    <message>
        <source>Errore: </source>
        <translation>Error: </translation>
    </message>
    <message>
        <source>Errore generico 2</source>
        <translation>Unknown protected file format</translation>
    </message>
    <message>
        <source>Errore Generico 3</source>
        <translation>The file could not be decrypted</translation>
    </message>
    <message>
        <source>Errore File corrotto</source>
        <translation>The file is damaged</translation>
    </message>
    <message>
        <source>Errore Generico 4</source>
        <translation>The job stopped with an unexpected error (status 33)</translation>
    </message>
    <message>
        <source>Le password non conincidono</source>
        <translation>The passwords do not match</translation>
    </message>
    <message>
        <source>La password contiene caratteri non ammessi: </source>
        <translation>The password contains characters that are not allowed: </translation>
    </message>
</context>
<context>
    <name>vw::ui::DesktopActions</name>
    <message>
        <source>Tipo File Sconosciuto</source>
        <translation>No program is set up to open this type of file</translation>
    </message>
</context>
<context>
    <name>vw::ui::FileCommands</name>
    <message>
        <source>Tutti i files (*.*);; (*.vwx)</source>
        <translation>All files (*.*);;Protected files (*.vwx)</translation>
    </message>
    <message>
        <source>Tutti i files (*.*)</source>
        <translation>All files (*.*)</translation>
    </message>
    <message>
        <source>Seleziona File...</source>
        <translation>Open File</translation>
    </message>
    <message>
        <source>Salva file...</source>
        <translation>Save As</translation>
    </message>
</context>
<context>
    <name>vw::ui::InfoWindows</name>
    <message>
        <source>Come iniziare</source>
        <translation>Getting started</translation>
    </message>
    <message>
        <source>&lt;p&gt;Vaultwise protegge un file alla volta con una password e lo ripristina quando serve.&lt;/p&gt;&lt;ol&gt;&lt;li&gt;Premi &lt;b&gt;Apri&lt;/b&gt; e scegli il file.&lt;/li&gt;&lt;li&gt;Premi &lt;b&gt;Elabora&lt;/b&gt;: scrivi la password due volte e scegli dove salvare.&lt;/li&gt;&lt;li&gt;Attendi la fine: la barra mostra l&apos;avanzamento, &lt;b&gt;Interrompi&lt;/b&gt; ferma il lavoro.&lt;/li&gt;&lt;/ol&gt;</source>
        <translation>&lt;p&gt;Vaultwise protects one file at a time with a password and restores it when you need it.&lt;/p&gt;&lt;ol&gt;&lt;li&gt;Press &lt;b&gt;Open&lt;/b&gt; and choose the file.&lt;/li&gt;&lt;li&gt;Press &lt;b&gt;Process&lt;/b&gt;: type the password twice and choose where to save the result.&lt;/li&gt;&lt;li&gt;Wait until it is done: the bar shows the progress, and &lt;b&gt;Stop&lt;/b&gt; cancels the job.&lt;/li&gt;&lt;/ol&gt;</translation>
    </message>
    <message>
        <source>Apri</source>
        <translation>Open</translation>
    </message>
    <message>
        <source>&lt;p&gt;Il pulsante &lt;b&gt;Apri&lt;/b&gt; mostra la finestra di scelta del file. Puoi anche trascinare un file sulla finestra principale o aprirlo con Vaultwise dal gestore dei file.&lt;/p&gt;&lt;p&gt;Il nome, il percorso, l&apos;icona e il tempo di conversione stimato del file scelto compaiono nella finestra principale.&lt;/p&gt;</source>
        <translation>&lt;p&gt;The &lt;b&gt;Open&lt;/b&gt; button lets you choose a file. You can also drag a file onto the main window, or open it with Vaultwise from your file manager.&lt;/p&gt;&lt;p&gt;The main window then shows the file&apos;s name, path and icon, and an estimate of the processing time.&lt;/p&gt;</translation>
    </message>
    <message>
        <source>Elabora</source>
        <translation>Process</translation>
    </message>
    <message>
        <source>&lt;p&gt;&lt;b&gt;Elabora&lt;/b&gt; protegge un file normale in un file &lt;tt&gt;.vwx&lt;/tt&gt;, oppure ripristina un file &lt;tt&gt;.vwx&lt;/tt&gt; nel file originale.&lt;/p&gt;&lt;p&gt;La password va scritta due volte; l&apos;indicatore ne valuta la robustezza. Se la password è già stata inserita, Vaultwise passa subito alla scelta del file di destinazione.&lt;/p&gt;</source>
        <translation>&lt;p&gt;&lt;b&gt;Process&lt;/b&gt; protects an ordinary file as a &lt;tt&gt;.vwx&lt;/tt&gt; file, or restores a &lt;tt&gt;.vwx&lt;/tt&gt; file to the original.&lt;/p&gt;&lt;p&gt;You type the password twice, and the meter shows how strong it is. If you have already entered the password, Vaultwise goes straight on to asking where to save the result.&lt;/p&gt;</translation>
    </message>
    <message>
        <source>Anteprima</source>
        <translation>Preview</translation>
    </message>
    <message>
        <source>&lt;p&gt;Fai clic sull&apos;icona del file per vedere un&apos;immagine (JPG, BMP, GIF, ICO) in una finestra di anteprima, ridimensionabile.&lt;/p&gt;</source>
        <translation>&lt;p&gt;Click the file&apos;s icon to see a picture (JPG, BMP, GIF, ICO) in a resizable preview window.&lt;/p&gt;</translation>
    </message>
    <message>
        <source>Esci</source>
        <translation>Exit</translation>
    </message>
    <message>
        <source>&lt;p&gt;Il pulsante con il simbolo di spegnimento, a destra, chiude subito il programma.&lt;/p&gt;</source>
        <translation>&lt;p&gt;The power button on the right closes the program at once.&lt;/p&gt;</translation>
    </message>
    <message>
        <source>Il banner e la barra di stato</source>
        <translation>The banner and the status bar</translation>
    </message>
    <message>
        <source>&lt;p&gt;Il banner in basso apre la pagina del servizio partner nel browser. La barra di stato mostra l&apos;ora; un clic sul nome del programma apre la pagina del produttore.&lt;/p&gt;</source>
        <translation>&lt;p&gt;The banner at the bottom opens the partner service&apos;s page in your browser. The status bar shows the time; click the program&apos;s name to open the maker&apos;s page.&lt;/p&gt;</translation>
    </message>
    <message>
        <source>Codice privato</source>
        <translation>Private code</translation>
    </message>
    <message>
        <source>&lt;p&gt;Un codice privato salvato nelle impostazioni si aggiunge alla password di ogni lavoro finché la casella &lt;b&gt;Use PCM&lt;/b&gt; è spuntata, come all&apos;avvio. Senza la spunta i file si proteggono e si ripristinano con la sola password.&lt;/p&gt;&lt;p&gt;Chi ripristina il file deve conoscere la stessa password e avere lo stesso codice privato, se è stato usato.&lt;/p&gt;</source>
        <translation>&lt;p&gt;A private code stored in the settings is added to the password of every job while the &lt;b&gt;Use private code&lt;/b&gt; box is ticked, as it is at start-up. Untick it to protect and restore files with the password alone.&lt;/p&gt;&lt;p&gt;To restore a file you need the same password and, if one was used, the same private code.&lt;/p&gt;</translation>
    </message>
    <message>
        <source>Sì</source>
        <translation>Yes</translation>
    </message>
    <message>
        <source>No</source>
        <translation>No</translation>
    </message>
    <message>
        <source>Opzioni</source>
        <translation>Options</translation>
    </message>
    <message>
        <source>Impostazioni in uso</source>
        <translation>Settings in use</translation>
    </message>
    <message>
        <source>Sì: la password si dimentica a ogni nuovo file scelto</source>
        <translation>Yes: the password is forgotten whenever you choose another file</translation>
    </message>
    <message>
        <source>No: la password resta valida per i file successivi</source>
        <translation>No: the password is kept for the next files</translation>
    </message>
    <message>
        <source>Nuova password per ogni file:</source>
        <translation>New password for each file:</translation>
    </message>
    <message>
        <source>(cartella di avvio del programma)</source>
        <translation>(the program&apos;s start folder)</translation>
    </message>
    <message>
        <source>Cartella iniziale:</source>
        <translation>Start folder:</translation>
    </message>
    <message>
        <source>Codice privato salvato:</source>
        <translation>Private code stored:</translation>
    </message>
    <message>
        <source>Le impostazioni si leggono all&apos;avvio e qui sono in sola lettura: per cambiarle modifica la configurazione di Vaultwise e riavvia il programma.</source>
        <translation>Settings are read at start-up and cannot be changed here: to change them, edit Vaultwise&apos;s configuration file and restart the program.</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Argomenti della guida</source>
        <translation>Help Topics</translation>
    </message>
    <message>
        <source>Chiudi</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>Informazioni su %1</source>
        <translation>About %1</translation>
    </message>
    <message>
        <source>Versione %1</source>
        <translation>Version %1</translation>
    </message>
    <message>
        <source>Licenza GNU GPL 3 o successiva, senza garanzia.</source>
        <translation>Licence: GNU GPL 3 or later, with no warranty.</translation>
    </message>
    <message>
        <source>Protegge un file alla volta con una password e lo ripristina quando serve.</source>
        <translation>Protects one file at a time with a password and restores it when you need it.</translation>
    </message>
    <message>
        <source>&lt;b&gt;Nota sulla sicurezza:&lt;/b&gt; i file &lt;tt&gt;.vwx&lt;/tt&gt; usano un formato storico, con un cifrario proprio e senza cifratura autenticata. Tiene lontani i curiosi, ma non sostituisce strumenti moderni per dati davvero riservati.</source>
        <translation>&lt;b&gt;Security note:&lt;/b&gt; &lt;tt&gt;.vwx&lt;/tt&gt; files use a legacy format, with a cipher of its own and no authenticated encryption. It keeps casual snoopers out, but it is no substitute for modern tools for truly confidential data.</translation>
    </message>
    <message>
        <source>Argomenti</source>
        <translation>Topics</translation>
    </message>
    <message>
        <source>Testo dell&apos;argomento</source>
        <translation>Topic text</translation>
    </message>
</context>
<context>
    <name>vw::ui::JobMessages</name>
    <message>
        <source>File non trovato</source>
        <translation>File not found</translation>
    </message>
    <message>
        <source>Il file non contiene dati</source>
        <translation>The file is empty</translation>
    </message>
    <message>
        <source>Elaborazione interrotta</source>
        <translation>Processing stopped. Nothing was written.</translation>
    </message>
    <message>
        <source>Elaborazione non riuscita sul file:</source>
        <translation>The file could not be processed:</translation>
    </message>
    <message>
        <source>Elaborazione interrotta.</source>
        <translation>Processing stopped. Nothing was written.</translation>
    </message>
    <message>
        <source>Elaborazione non riuscita:

- Password errata.
o File danneggiato</source>
        <translation>The file could not be restored:

Wrong password or damaged file.</translation>
    </message>
</context>
<context>
    <name>vw::ui::KeyDialog</name>
    <message>
        <source>Password</source>
        <translation>Password</translation>
    </message>
    <message>
        <source>Inserisci la password</source>
        <translation>Enter the password</translation>
    </message>
    <message>
        <source>Ripeti password</source>
        <translation>Confirm password</translation>
    </message>
    <message>
        <source>Key Quality</source>
        <translation>Strength</translation>
    </message>
    <message>
        <source>&amp;Hide typing</source>
        <translation>&amp;Hide password</translation>
    </message>
    <message>
        <source>Chiudi</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
</context>
<context>
    <name>vw::ui::MainWindow</name>
    <message>
        <source>Percorso</source>
        <translation>Path</translation>
    </message>
    <message>
        <source>File</source>
        <translation>File</translation>
    </message>
    <message>
        <source>Tempo Conversione</source>
        <translation>Estimated time</translation>
    </message>
    <message>
        <source>Icona del file</source>
        <translation>File icon</translation>
    </message>
    <message>
        <source>Use PCM</source>
        <translation>Use private code</translation>
    </message>
    <message>
        <source>Apri</source>
        <translation>Open</translation>
    </message>
    <message>
        <source>Crypta</source>
        <translation>Process the selected file (protect or restore it)</translation>
    </message>
    <message>
        <source>Elabora</source>
        <translation>Process</translation>
    </message>
    <message>
        <source>Esci</source>
        <translation>Exit</translation>
    </message>
    <message>
        <source>Servizio SMS Lampo di Lumora Net</source>
        <translation>Lumora Net&apos;s Flash SMS service</translation>
    </message>
    <message>
        <source>Invia SMS</source>
        <translation>Send SMS</translation>
    </message>
    <message>
        <source>Apre la pagina del servizio SMS nel browser</source>
        <translation>Opens the SMS service&apos;s page in the browser</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;File</translation>
    </message>
    <message>
        <source>&amp;Select...</source>
        <translation>&amp;Open...</translation>
    </message>
    <message>
        <source>&amp;View</source>
        <translation>Pre&amp;view</translation>
    </message>
    <message>
        <source>&amp;Open</source>
        <translation>Open in Default &amp;Application</translation>
    </message>
    <message>
        <source>&amp;Properties...</source>
        <translation>&amp;Properties...</translation>
    </message>
    <message>
        <source>&amp;Exit</source>
        <translation>&amp;Exit</translation>
    </message>
    <message>
        <source>&amp;Key</source>
        <translation>Pass&amp;word...</translation>
    </message>
    <message>
        <source>&amp;Encode</source>
        <translation>&amp;Process</translation>
    </message>
    <message>
        <source>E&amp;xtra</source>
        <translation>&amp;Tools</translation>
    </message>
    <message>
        <source>Private Crypto Code</source>
        <translation>Private Code</translation>
    </message>
    <message>
        <source>&amp;Configure</source>
        <translation>&amp;Configure</translation>
    </message>
    <message>
        <source>&amp;Delete</source>
        <translation>&amp;Delete</translation>
    </message>
    <message>
        <source>&amp;Options...</source>
        <translation>&amp;Options...</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Help</translation>
    </message>
    <message>
        <source>Help topics...</source>
        <translation>Help Topics...</translation>
    </message>
    <message>
        <source>About ORBIT</source>
        <translation>About Vaultwise</translation>
    </message>
    <message>
        <source>Apre la pagina del produttore nel browser</source>
        <translation>Opens the maker&apos;s page in the browser</translation>
    </message>
    <message>
        <source> Click here for a quick view </source>
        <translation>Click to preview</translation>
    </message>
    <message>
        <source>Crypto version: </source>
        <translation>Protected file version: </translation>
    </message>
    <message>
        <source>&amp;Decrypt</source>
        <translation>&amp;Restore</translation>
    </message>
    <message>
        <source>Unprotected</source>
        <translation>Not protected</translation>
    </message>
    <message>
        <source>&amp;Encrypt</source>
        <translation>&amp;Protect</translation>
    </message>
    <message>
        <source>Unknown crypto format</source>
        <translation>Unknown protected file format</translation>
    </message>
</context>
<context>
    <name>vw::ui::OutputChoice</name>
    <message>
        <source>Il file %1 esiste già e non è stato sostituito.
Non è stato scritto nulla.</source>
        <translation>%1 already exists and was not replaced.
Nothing was written.</translation>
    </message>
</context>
<context>
    <name>vw::ui::PanelRules</name>
    <message>
        <source>%1 min %2 sec </source>
        <translation>%1 min %2 sec </translation>
    </message>
    <message>
        <source>Systemfile  </source>
        <translation>System file  </translation>
    </message>
    <message>
        <source>Read-only  </source>
        <translation>Read-only  </translation>
    </message>
    <message>
        <source>Hidden</source>
        <translation>Hidden</translation>
    </message>
    <message>
        <source> Bytes</source>
        <translation> bytes</translation>
    </message>
</context>
<context>
    <name>vw::ui::PictureArt</name>
    <message>
        <source>Invia SMS</source>
        <translation>Send SMS</translation>
    </message>
    <message>
        <source>dal tuo computer, in pochi secondi</source>
        <translation>from your computer, in seconds</translation>
    </message>
    <message>
        <source>Prova ora ›</source>
        <translation>Try now ›</translation>
    </message>
</context>
<context>
    <name>vw::ui::ProgressDialog</name>
    <message>
        <source>Attendere.....</source>
        <translation>Please wait</translation>
    </message>
    <message>
        <source>Avanzamento operazione</source>
        <translation>Progress</translation>
    </message>
    <message>
        <source>Interrompi</source>
        <translation>Stop</translation>
    </message>
    <message>
        <source> Elaborazione in corso... </source>
        <translation>Please wait…</translation>
    </message>
    <message>
        <source>Attendere... %1 ...</source>
        <translation>Processing %1…</translation>
    </message>
</context>
<context>
    <name>vw::ui::PropertiesWindow</name>
    <message>
        <source>it_IT</source>
        <comment>the locale of numbers and dates</comment>
        <translation>en_US</translation>
    </message>
    <message>
        <source> byte</source>
        <translation> bytes</translation>
    </message>
    <message>
        <source>lettura e scrittura</source>
        <translation>read and write</translation>
    </message>
    <message>
        <source>sola lettura</source>
        <translation>read-only</translation>
    </message>
    <message>
        <source>sola scrittura</source>
        <translation>write-only</translation>
    </message>
    <message>
        <source>nessun accesso</source>
        <translation>no access</translation>
    </message>
    <message>
        <source>Proprietà di %1</source>
        <translation>%1 Properties</translation>
    </message>
    <message>
        <source>Nome:</source>
        <translation>Name:</translation>
    </message>
    <message>
        <source>Cartella:</source>
        <translation>Folder:</translation>
    </message>
    <message>
        <source>Tipo:</source>
        <translation>Type:</translation>
    </message>
    <message>
        <source>Dimensione:</source>
        <translation>Size:</translation>
    </message>
    <message>
        <source>Ultima modifica:</source>
        <translation>Last modified:</translation>
    </message>
    <message>
        <source>d MMMM yyyy, HH:mm:ss</source>
        <translation>MMMM d, yyyy, HH:mm:ss</translation>
    </message>
    <message>
        <source>Permessi:</source>
        <translation>Permissions:</translation>
    </message>
    <message>
        <source>Chiudi</source>
        <translation>Close</translation>
    </message>
</context>
<context>
    <name>vw::ui::ProtectedPictureView</name>
    <message>
        <source>Riempi la finestra</source>
        <translation>Fill the window</translation>
    </message>
    <message>
        <source>Anteprima non disponibile per questo file</source>
        <translation>This file cannot be previewed</translation>
    </message>
    <message>
        <source>Immagine troppo grande per l&apos;anteprima</source>
        <translation>The picture is too large to preview</translation>
    </message>
    <message>
        <source>%1 (file protetto)</source>
        <translation>%1 (protected file)</translation>
    </message>
</context>
<context>
    <name>vwx</name>
    <message>
        <source>usage: vwx [-t | -e | -d] [-o PATH | --replace] [-f] [-q] [--password-file FILE] [--no-private-code] FILE...</source>
        <translation>usage: vwx [-t | -e | -d] [-o PATH | --replace] [-f] [-q] [--password-file FILE] [--no-private-code] FILE...</translation>
    </message>
    <message>
        <source>Protects each FILE into a .vwx file, or restores a protected file (one whose
name contains &quot;vwx&quot;) under its stored extension. The files are handled one
after the other with one password.

  -t, --test            restore without writing anything: the password and
                        the data are checked; prints &quot;FILE: ok&quot; or
                        &quot;FILE: reason&quot; for each FILE
  -e, --protect         protect FILE even when its name contains &quot;vwx&quot;
  -d, --restore         restore FILE even when its name lacks &quot;vwx&quot;
  -o, --output PATH     write to PATH, with its extension replaced by
                        .vwx or by the stored extension (one FILE only)
      --replace         the result replaces FILE (and no other file)
  -f, --force           replace an existing file at the result&apos;s path
  -q, --quiet           print errors only: no written paths, no &quot;ok&quot;
                        lines, no progress
      --password-file F take the password from the first line of F
                        (&quot;-&quot; reads standard input)
      --no-private-code leave the stored private crypto code out
  -h, --help            show this help
      --version         show the version

Without -o the result is written beside FILE and its path printed on
standard output. An existing file is never replaced without -f, except FILE
itself with --replace. The password is asked on the terminal (twice when a
file is protected) unless --password-file or VWX_PASSWORD gives it. On a
terminal, standard error shows each file&apos;s progress. A file that fails does
not stop the others; Ctrl-C stops the running job, which writes nothing, and
the files after it.
Exit status: 0 when every file succeeded, else the status of the first file
that failed, in the order given: the job&apos;s status code (3: the password is
not acceptable; 23: wrong password or damaged file), 64 on a usage error, 73
when the result would replace an existing file.
</source>
        <translation>Protects each FILE into a .vwx file, or restores a protected file (one whose
name contains &quot;vwx&quot;) under its stored extension. The files are handled one
after the other with one password.

  -t, --test            restore without writing anything: the password and
                        the data are checked; prints &quot;FILE: ok&quot; or
                        &quot;FILE: reason&quot; for each FILE
  -e, --protect         protect FILE even when its name contains &quot;vwx&quot;
  -d, --restore         restore FILE even when its name lacks &quot;vwx&quot;
  -o, --output PATH     write to PATH, with its extension replaced by
                        .vwx or by the stored extension (one FILE only)
      --replace         the result replaces FILE (and no other file)
  -f, --force           replace an existing file at the result&apos;s path
  -q, --quiet           print errors only: no written paths, no &quot;ok&quot;
                        lines, no progress
      --password-file F take the password from the first line of F
                        (&quot;-&quot; reads standard input)
      --no-private-code leave the stored private crypto code out
  -h, --help            show this help
      --version         show the version

Without -o the result is written beside FILE and its path printed on
standard output. An existing file is never replaced without -f, except FILE
itself with --replace. The password is asked on the terminal (twice when a
file is protected) unless --password-file or VWX_PASSWORD gives it. On a
terminal, standard error shows each file&apos;s progress. A file that fails does
not stop the others; Ctrl-C stops the running job, which writes nothing, and
the files after it.
Exit status: 0 when every file succeeded, else the status of the first file
that failed, in the order given: the job&apos;s status code (3: the password is
not acceptable; 23: wrong password or damaged file), 64 on a usage error, 73
when the result would replace an existing file.
</translation>
    </message>
    <message>
        <source>ok</source>
        <translation>ok</translation>
    </message>
    <message>
        <source>%1 left</source>
        <translation>%1 left</translation>
    </message>
    <message>
        <source>%1 would be replaced by its own protected form; use --replace for that</source>
        <translation>%1 would be replaced by its own protected form; use --replace for that</translation>
    </message>
    <message>
        <source>%1 MB/s</source>
        <translation>%1 MB/s</translation>
    </message>
    <message>
        <source> (password errata o file danneggiato)</source>
        <translation> (wrong password or damaged file)</translation>
    </message>
    <message>
        <source>Inserisci la password: </source>
        <translation>Enter the password: </translation>
    </message>
    <message>
        <source>Ripeti password: </source>
        <translation>Confirm password: </translation>
    </message>
    <message>
        <source>File non trovato: </source>
        <translation>File not found: </translation>
    </message>
    <message>
        <source>the output path is given twice</source>
        <translation>the output path is given twice</translation>
    </message>
    <message>
        <source>the output path is empty</source>
        <translation>the output path is empty</translation>
    </message>
    <message>
        <source>--password-file is given twice</source>
        <translation>--password-file is given twice</translation>
    </message>
    <message>
        <source>the password file&apos;s path is empty</source>
        <translation>the password file&apos;s path is empty</translation>
    </message>
    <message>
        <source>no file given</source>
        <translation>no file given</translation>
    </message>
    <message>
        <source>the file&apos;s path is empty</source>
        <translation>the file&apos;s path is empty</translation>
    </message>
    <message>
        <source>--replace and --output exclude each other</source>
        <translation>--replace and --output exclude each other</translation>
    </message>
    <message>
        <source>--output takes one file only</source>
        <translation>--output takes one file only</translation>
    </message>
    <message>
        <source>--protect and --restore exclude each other</source>
        <translation>--protect and --restore exclude each other</translation>
    </message>
    <message>
        <source>--test and --protect exclude each other</source>
        <translation>--test and --protect exclude each other</translation>
    </message>
    <message>
        <source>--test writes nothing: it takes neither --output nor --replace</source>
        <translation>--test writes nothing: it takes neither --output nor --replace</translation>
    </message>
    <message>
        <source>%1 was written earlier in this run and is not replaced, even with -f</source>
        <translation>%1 was written earlier in this run and is not replaced, even with -f</translation>
    </message>
    <message>
        <source>Private code: </source>
        <translation>Private code: </translation>
    </message>
    <message>
        <source>Confirm private code: </source>
        <translation>Confirm private code: </translation>
    </message>
    <message>
        <source>cancelled; nothing was stored</source>
        <translation>cancelled; nothing was stored</translation>
    </message>
    <message>
        <source>the first line of %1 is too long for a private code</source>
        <translation>the first line of %1 is too long for a private code</translation>
    </message>
    <message>
        <source>cannot read the private code file %1</source>
        <translation>cannot read the private code file %1</translation>
    </message>
    <message>
        <source>no terminal to ask the private code on; use --private-code-file</source>
        <translation>no terminal to ask the private code on; use --private-code-file</translation>
    </message>
    <message>
        <source>a private code is stored already in %1; -f replaces it, and the files protected with it then no longer open</source>
        <translation>a private code is stored already in %1; -f replaces it, and the files protected with it then no longer open</translation>
    </message>
    <message>
        <source>cannot write the settings file %1; nothing was stored</source>
        <translation>cannot write the settings file %1; nothing was stored</translation>
    </message>
    <message>
        <source>the settings file %1 does not give the stored private code back</source>
        <translation>the settings file %1 does not give the stored private code back</translation>
    </message>
    <message>
        <source>private code stored in %1</source>
        <translation>private code stored in %1</translation>
    </message>
    <message>
        <source>cannot write the settings file %1; the private code stays</source>
        <translation>cannot write the settings file %1; the private code stays</translation>
    </message>
    <message>
        <source>the settings file %1 still holds a private code</source>
        <translation>the settings file %1 still holds a private code</translation>
    </message>
    <message>
        <source>no private code was stored</source>
        <translation>no private code was stored</translation>
    </message>
    <message>
        <source>private code forgotten: files protected with it no longer open until it is stored again</source>
        <translation>private code forgotten: files protected with it no longer open until it is stored again</translation>
    </message>
    <message>
        <source>--private-code-file is given twice</source>
        <translation>--private-code-file is given twice</translation>
    </message>
    <message>
        <source>the private code file&apos;s path is empty</source>
        <translation>the private code file&apos;s path is empty</translation>
    </message>
    <message>
        <source>--store-private-code and --forget-private-code exclude each other</source>
        <translation>--store-private-code and --forget-private-code exclude each other</translation>
    </message>
    <message>
        <source>--private-code-file goes with --store-private-code only</source>
        <translation>--private-code-file goes with --store-private-code only</translation>
    </message>
    <message>
        <source>%1 runs no job: it takes no FILE and none of -t, -e, -d, -o, --replace, --password-file, --no-private-code</source>
        <translation>%1 runs no job: it takes no FILE and none of -t, -e, -d, -o, --replace, --password-file, --no-private-code</translation>
    </message>
    <message>
        <source>the private code is empty; nothing was stored (--forget-private-code removes a stored one)</source>
        <translation>the private code is empty; nothing was stored (--forget-private-code removes a stored one)</translation>
    </message>
    <message>
        <source>the private code</source>
        <translation>the private code</translation>
    </message>
    <message>
        <source>the private code has control characters, use printable ones: </source>
        <translation>the private code has control characters, use printable ones: </translation>
    </message>
    <message>
        <source>the private code is longer than 16383 characters</source>
        <translation>the private code is longer than 16383 characters</translation>
    </message>
    <message>
        <source>the two private codes do not match</source>
        <translation>the two private codes do not match</translation>
    </message>
    <message>
        <source>
The private crypto code is a second key beside the password, kept in your
settings and bound to this computer&apos;s name. vwx keys every job with it, and so
does the desktop program once restarted.

  vwx --store-private-code [-f] [-q] [--private-code-file F]
      asks for the code twice on the terminal, or takes the first line of F
      (&quot;-&quot; reads standard input), and stores it; -f replaces a stored code
  vwx --forget-private-code [-q]
      removes the stored code

Files protected with a private code cannot be restored without it: keep a
copy of the code before you forget or replace it.
Exit status of these two: 0 when done, 64 on a usage error (also: no terminal
to ask on, an unreadable code file), 65 when the code cannot be stored as
given, 73 when a code is stored already (without -f), 74 when the settings
file cannot be written, 130 when the prompt is cancelled.
</source>
        <translation>
The private crypto code is a second key beside the password, kept in your
settings and bound to this computer&apos;s name. vwx keys every job with it, and so
does the desktop program once restarted.

  vwx --store-private-code [-f] [-q] [--private-code-file F]
      asks for the code twice on the terminal, or takes the first line of F
      (&quot;-&quot; reads standard input), and stores it; -f replaces a stored code
  vwx --forget-private-code [-q]
      removes the stored code

Files protected with a private code cannot be restored without it: keep a
copy of the code before you forget or replace it.
Exit status of these two: 0 when done, 64 on a usage error (also: no terminal
to ask on, an unreadable code file), 65 when the code cannot be stored as
given, 73 when a code is stored already (without -f), 74 when the settings
file cannot be written, 130 when the prompt is cancelled.
</translation>
    </message>
    <message>
        <source>warning: only the first %1 characters of the password are used; the rest adds nothing</source>
        <translation>warning: only the first %1 characters of the password are used; the rest adds nothing</translation>
    </message>
    <message>
        <source>%1 would be replaced by its own restored form; use --replace for that</source>
        <translation>%1 would be replaced by its own restored form; use --replace for that</translation>
    </message>
    <message>
        <source>%1 is one of the files of this run and is not replaced, even with -f</source>
        <translation>%1 is one of the files of this run and is not replaced, even with -f</translation>
    </message>
    <message>
        <source>%1 is the result of an earlier file of this run and is not replaced, even with -f</source>
        <translation>%1 is the result of an earlier file of this run and is not replaced, even with -f</translation>
    </message>
    <message>
        <source>%1 appeared while the job ran and was not replaced</source>
        <translation>%1 appeared while the job ran and was not replaced</translation>
    </message>
    <message>
        <source>%1 already exists; use -f to replace it</source>
        <translation>%1 already exists; use -f to replace it</translation>
    </message>
    <message>
        <source>%1 is a folder; no file takes its place</source>
        <translation>%1 is a folder; no file takes its place</translation>
    </message>
    <message>
        <source>unknown option %1</source>
        <translation>unknown option %1</translation>
    </message>
    <message>
        <source>option %1 needs a value</source>
        <translation>option %1 needs a value</translation>
    </message>
    <message>
        <source>cannot open the password file %1</source>
        <translation>cannot open the password file %1</translation>
    </message>
    <message>
        <source>the first line of the password file %1 is longer than %2 bytes</source>
        <translation>the first line of the password file %1 is longer than %2 bytes</translation>
    </message>
    <message>
        <source>cannot read the password file %1</source>
        <translation>cannot read the password file %1</translation>
    </message>
    <message>
        <source>the password</source>
        <translation>the password</translation>
    </message>
    <message>
        <source>%1 has characters that the Windows-1252 code page cannot carry, use others: %2</source>
        <translation>%1 has characters that the Windows-1252 code page cannot carry, use others: %2</translation>
    </message>
    <message>
        <source> (U+FFFD stands for bytes that are not UTF-8)</source>
        <translation> (U+FFFD stands for bytes that are not UTF-8)</translation>
    </message>
    <message>
        <source>no terminal to ask the password on; use --password-file or %1</source>
        <translation>no terminal to ask the password on; use --password-file or %1</translation>
    </message>
    <message>
        <source>%1 is a folder, not a file</source>
        <translation>%1 is a folder, not a file</translation>
    </message>
    <message>
        <source>%1 is a FIFO, not a file</source>
        <translation>%1 is a FIFO, not a file</translation>
    </message>
    <message>
        <source>%1 is a device, not a file</source>
        <translation>%1 is a device, not a file</translation>
    </message>
    <message>
        <source>%1 is a socket, not a file</source>
        <translation>%1 is a socket, not a file</translation>
    </message>
    <message>
        <source>%1 is a special file, not a file</source>
        <translation>%1 is a special file, not a file</translation>
    </message>
    <message>
        <source>the output path %1 is a folder</source>
        <translation>the output path %1 is a folder</translation>
    </message>
    <message>
        <source>cannot write to standard output: %1</source>
        <translation>cannot write to standard output: %1</translation>
    </message>
    <message>
        <source>the job failed with status %1</source>
        <translation>the job failed with status %1</translation>
    </message>
</context>
</TS>

<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="it_IT">
<context>
    <name>vwx</name>
    <message>
        <source>the output path is given twice</source>
        <translation>il percorso di destinazione è indicato due volte</translation>
    </message>
    <message>
        <source>the output path is empty</source>
        <translation>il percorso di destinazione è vuoto</translation>
    </message>
    <message>
        <source>--password-file is given twice</source>
        <translation>--password-file è indicato due volte</translation>
    </message>
    <message>
        <source>the password file&apos;s path is empty</source>
        <translation>il percorso del file della password è vuoto</translation>
    </message>
    <message>
        <source>unknown option %1</source>
        <translation>opzione sconosciuta %1</translation>
    </message>
    <message>
        <source>no file given</source>
        <translation>nessun file indicato</translation>
    </message>
    <message>
        <source>the file&apos;s path is empty</source>
        <translation>il percorso del file è vuoto</translation>
    </message>
    <message>
        <source>--replace and --output exclude each other</source>
        <translation>--replace e --output si escludono a vicenda</translation>
    </message>
    <message>
        <source>--output takes one file only</source>
        <translation>--output vale per un solo file</translation>
    </message>
    <message>
        <source>--protect and --restore exclude each other</source>
        <translation>--protect e --restore si escludono a vicenda</translation>
    </message>
    <message>
        <source>--test and --protect exclude each other</source>
        <translation>--test e --protect si escludono a vicenda</translation>
    </message>
    <message>
        <source>--test writes nothing: it takes neither --output nor --replace</source>
        <translation>--test non scrive nulla: non accetta né --output né --replace</translation>
    </message>
    <message>
        <source>option %1 needs a value</source>
        <translation>l&apos;opzione %1 richiede un valore</translation>
    </message>
    <message>
        <source>usage: vwx [-t | -e | -d] [-o PATH | --replace] [-f] [-q] [--password-file FILE] [--no-private-code] FILE...</source>
        <translation>uso: vwx [-t | -e | -d] [-o PERCORSO | --replace] [-f] [-q] [--password-file FILE] [--no-private-code] FILE...</translation>
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
        <translation>Protegge ogni FILE in un file .vwx, o ripristina un file protetto (uno il cui
nome contiene &quot;vwx&quot;) con la sua estensione salvata. I file vengono elaborati
uno dopo l&apos;altro con una sola password.

  -t, --test            ripristina senza scrivere nulla: vengono verificati la
                        password e i dati; stampa &quot;FILE: ok&quot; o &quot;FILE: motivo&quot;
                        per ogni FILE
  -e, --protect         protegge FILE anche quando il nome contiene &quot;vwx&quot;
  -d, --restore         ripristina FILE anche quando il nome non contiene &quot;vwx&quot;
  -o, --output PERCORSO scrive in PERCORSO, con l&apos;estensione sostituita da
                        .vwx o da quella salvata (un solo FILE)
      --replace         il risultato sostituisce FILE (e nessun altro file)
  -f, --force           sostituisce un file esistente al percorso del risultato
  -q, --quiet           stampa solo gli errori: né percorsi scritti, né righe
                        &quot;ok&quot;, né avanzamento
      --password-file F prende la password dalla prima riga di F
                        (&quot;-&quot; legge l&apos;input standard)
      --no-private-code non usa il codice privato salvato
  -h, --help            mostra questo aiuto
      --version         mostra la versione

Senza -o il risultato viene scritto accanto a FILE e il suo percorso stampato
sull&apos;output standard. Un file esistente non viene mai sostituito senza -f,
tranne FILE stesso con --replace. La password viene chiesta sul terminale (due
volte quando un file viene protetto) a meno che --password-file o VWX_PASSWORD
la forniscano. Su un terminale, l&apos;errore standard mostra l&apos;avanzamento di ogni
file. Un file che non riesce non ferma gli altri; Ctrl-C interrompe il lavoro
in corso, che non scrive nulla, e i file successivi.
Stato d&apos;uscita: 0 quando ogni file è riuscito, altrimenti lo stato del primo
file non riuscito, nell&apos;ordine dato: il codice di stato del lavoro (3: la
password non è accettabile; 23: password errata o file danneggiato), 64 per un
errore d&apos;uso, 73 quando il risultato sostituirebbe un file esistente.
</translation>
    </message>
    <message>
        <source>Inserisci la password: </source>
        <translation>Inserisci la password: </translation>
    </message>
    <message>
        <source>Ripeti password: </source>
        <translation>Ripeti password: </translation>
    </message>
    <message>
        <source>cannot open the password file %1</source>
        <translation>impossibile aprire il file della password %1</translation>
    </message>
    <message>
        <source>the first line of the password file %1 is longer than %2 bytes</source>
        <translation>la prima riga del file della password %1 supera i %2 byte</translation>
    </message>
    <message>
        <source>cannot read the password file %1</source>
        <translation>impossibile leggere il file della password %1</translation>
    </message>
    <message>
        <source>the password</source>
        <translation>la password</translation>
    </message>
    <message>
        <source>%1 has characters that the Windows-1252 code page cannot carry, use others: %2</source>
        <translation>%1 contiene caratteri che la code page Windows-1252 non può rappresentare, usarne altri: %2</translation>
    </message>
    <message>
        <source> (U+FFFD stands for bytes that are not UTF-8)</source>
        <translation> (U+FFFD indica byte che non sono UTF-8)</translation>
    </message>
    <message>
        <source>no terminal to ask the password on; use --password-file or %1</source>
        <translation>nessun terminale su cui chiedere la password; usare --password-file o %1</translation>
    </message>
    <message>
        <source>warning: only the first %1 characters of the password are used; the rest adds nothing</source>
        <translation>attenzione: contano solo i primi %1 caratteri della password; il resto non aggiunge nulla</translation>
    </message>
    <message>
        <source>%1 is a folder, not a file</source>
        <translation>%1 è una cartella, non un file</translation>
    </message>
    <message>
        <source>%1 is a FIFO, not a file</source>
        <translation>%1 è una FIFO, non un file</translation>
    </message>
    <message>
        <source>%1 is a device, not a file</source>
        <translation>%1 è un dispositivo, non un file</translation>
    </message>
    <message>
        <source>%1 is a socket, not a file</source>
        <translation>%1 è un socket, non un file</translation>
    </message>
    <message>
        <source>%1 is a special file, not a file</source>
        <translation>%1 è un file speciale, non un file ordinario</translation>
    </message>
    <message>
        <source>File non trovato: </source>
        <translation>File non trovato: </translation>
    </message>
    <message>
        <source>the output path %1 is a folder</source>
        <translation>il percorso di destinazione %1 è una cartella</translation>
    </message>
    <message>
        <source>Private code: </source>
        <translation>Codice privato: </translation>
    </message>
    <message>
        <source>Confirm private code: </source>
        <translation>Ripeti il codice privato: </translation>
    </message>
    <message>
        <source>cancelled; nothing was stored</source>
        <translation>annullato; non è stato salvato nulla</translation>
    </message>
    <message>
        <source>cannot write to standard output: %1</source>
        <translation>impossibile scrivere sull&apos;output standard: %1</translation>
    </message>
    <message>
        <source>the first line of %1 is too long for a private code</source>
        <translation>la prima riga di %1 è troppo lunga per un codice privato</translation>
    </message>
    <message>
        <source>cannot read the private code file %1</source>
        <translation>impossibile leggere il file del codice privato %1</translation>
    </message>
    <message>
        <source>no terminal to ask the private code on; use --private-code-file</source>
        <translation>nessun terminale su cui chiedere il codice privato; usare --private-code-file</translation>
    </message>
    <message>
        <source>a private code is stored already in %1; -f replaces it, and the files protected with it then no longer open</source>
        <translation>in %1 è già salvato un codice privato; -f lo sostituisce, e i file protetti con quello non si aprono più</translation>
    </message>
    <message>
        <source>cannot write the settings file %1; nothing was stored</source>
        <translation>impossibile scrivere il file delle impostazioni %1; non è stato salvato nulla</translation>
    </message>
    <message>
        <source>the settings file %1 does not give the stored private code back</source>
        <translation>il file delle impostazioni %1 non restituisce il codice privato salvato</translation>
    </message>
    <message>
        <source>private code stored in %1</source>
        <translation>codice privato salvato in %1</translation>
    </message>
    <message>
        <source>the settings file %1 still holds a private code</source>
        <translation>il file delle impostazioni %1 contiene ancora un codice privato</translation>
    </message>
    <message>
        <source>cannot write the settings file %1; the private code stays</source>
        <translation>impossibile scrivere il file delle impostazioni %1; il codice privato resta</translation>
    </message>
    <message>
        <source>no private code was stored</source>
        <translation>nessun codice privato era salvato</translation>
    </message>
    <message>
        <source>private code forgotten: files protected with it no longer open until it is stored again</source>
        <translation>codice privato dimenticato: i file protetti con esso non si aprono finché non viene salvato di nuovo</translation>
    </message>
    <message>
        <source>--private-code-file is given twice</source>
        <translation>--private-code-file è indicato due volte</translation>
    </message>
    <message>
        <source>the private code file&apos;s path is empty</source>
        <translation>il percorso del file del codice privato è vuoto</translation>
    </message>
    <message>
        <source>--store-private-code and --forget-private-code exclude each other</source>
        <translation>--store-private-code e --forget-private-code si escludono a vicenda</translation>
    </message>
    <message>
        <source>--private-code-file goes with --store-private-code only</source>
        <translation>--private-code-file va solo con --store-private-code</translation>
    </message>
    <message>
        <source>%1 runs no job: it takes no FILE and none of -t, -e, -d, -o, --replace, --password-file, --no-private-code</source>
        <translation>%1 non esegue lavori: non accetta FILE né alcuna di -t, -e, -d, -o, --replace, --password-file, --no-private-code</translation>
    </message>
    <message>
        <source>the private code is empty; nothing was stored (--forget-private-code removes a stored one)</source>
        <translation>il codice privato è vuoto; non è stato salvato nulla (--forget-private-code rimuove quello salvato)</translation>
    </message>
    <message>
        <source>the private code</source>
        <translation>il codice privato</translation>
    </message>
    <message>
        <source>the private code has control characters, use printable ones: </source>
        <translation>il codice privato contiene caratteri di controllo, usarne di stampabili: </translation>
    </message>
    <message>
        <source>the private code is longer than 16383 characters</source>
        <translation>il codice privato supera i 16383 caratteri</translation>
    </message>
    <message>
        <source>the two private codes do not match</source>
        <translation>i due codici privati non coincidono</translation>
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
Il codice privato è una seconda chiave accanto alla password, conservata nelle
impostazioni e legata al nome di questo computer. vwx lo usa in ogni lavoro, e
così il programma desktop dopo il riavvio.

  vwx --store-private-code [-f] [-q] [--private-code-file F]
      chiede il codice due volte sul terminale, o prende la prima riga di F
      (&quot;-&quot; legge l&apos;input standard), e lo salva; -f sostituisce quello salvato
  vwx --forget-private-code [-q]
      rimuove il codice salvato

I file protetti con un codice privato non si ripristinano senza di esso:
conservarne una copia prima di dimenticarlo o sostituirlo.
Stato d&apos;uscita di questi due: 0 a lavoro fatto, 64 per un errore d&apos;uso (anche:
nessun terminale su cui chiedere, un file del codice illeggibile), 65 quando il
codice non può essere salvato così com&apos;è, 73 quando un codice è già salvato
(senza -f), 74 quando il file delle impostazioni non può essere scritto, 130
quando la richiesta viene annullata.
</translation>
    </message>
    <message>
        <source>%1 MB/s</source>
        <translation>%1 MB/s</translation>
    </message>
    <message>
        <source>%1 left</source>
        <translation>mancano %1</translation>
    </message>
    <message>
        <source>%1 was written earlier in this run and is not replaced, even with -f</source>
        <translation>%1 è stato scritto prima in questa esecuzione e non viene sostituito, nemmeno con -f</translation>
    </message>
    <message>
        <source> (password errata o file danneggiato)</source>
        <translation> (password errata o file danneggiato)</translation>
    </message>
    <message>
        <source>the job failed with status %1</source>
        <translation>il lavoro è terminato con lo stato %1</translation>
    </message>
    <message>
        <source>ok</source>
        <translation>ok</translation>
    </message>
    <message>
        <source>%1 is the result of an earlier file of this run and is not replaced, even with -f</source>
        <translation>%1 è il risultato di un file precedente di questa esecuzione e non viene sostituito, nemmeno con -f</translation>
    </message>
    <message>
        <source>%1 would be replaced by its own protected form; use --replace for that</source>
        <translation>%1 verrebbe sostituito dalla sua forma protetta; per questo usare --replace</translation>
    </message>
    <message>
        <source>%1 would be replaced by its own restored form; use --replace for that</source>
        <translation>%1 verrebbe sostituito dalla sua forma ripristinata; per questo usare --replace</translation>
    </message>
    <message>
        <source>%1 is one of the files of this run and is not replaced, even with -f</source>
        <translation>%1 è uno dei file di questa esecuzione e non viene sostituito, nemmeno con -f</translation>
    </message>
    <message>
        <source>%1 is a folder; no file takes its place</source>
        <translation>%1 è una cartella; nessun file ne prende il posto</translation>
    </message>
    <message>
        <source>%1 appeared while the job ran and was not replaced</source>
        <translation>%1 è comparso durante il lavoro e non è stato sostituito</translation>
    </message>
    <message>
        <source>%1 already exists; use -f to replace it</source>
        <translation>%1 esiste già; usare -f per sostituirlo</translation>
    </message>
</context>
</TS>
